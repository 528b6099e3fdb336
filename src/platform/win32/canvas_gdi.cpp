#include "platform/win32/win32_seams.h"

std::unique_ptr<Canvas> Win32WindowSystem::CanvasFor(HDC) { return nullptr; }
