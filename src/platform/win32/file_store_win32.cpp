#include "platform/win32/win32_seams.h"

bool Win32FileStore::ReadAll(const std::string&, std::vector<unsigned char>&) { return false; }

bool Win32FileStore::Replace(const std::string&, const std::vector<unsigned char>&) { return false; }
