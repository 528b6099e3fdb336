#include "mouse_input.h"

namespace mouse {
namespace {
// Absolute input is in 1/65536ths of the whole desktop (every monitor); rounding up lands on the pixel
// asked for. With one monitor the desktop is the primary screen.
LONG Normalise(int value, int origin, int extent) {
    if (extent <= 0) return 0;
    return static_cast<LONG>((static_cast<long long>(value - origin) * 65536 + extent - 1) / extent);
}

INPUT MouseInput(int x, int y, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalise(x, ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    input.mi.dy = Normalise(y, ::GetSystemMetrics(SM_YVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}
} // namespace

bool MoveTo(int x, int y) {
    INPUT input = MouseInput(x, y, 0);
    return ::SendInput(1, &input, sizeof input) == 1;
}

bool Click(int x, int y, Button button) {
    const bool left = button == Button::Left;
    INPUT inputs[3] = {MouseInput(x, y, 0),
                       MouseInput(x, y, left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN),
                       MouseInput(x, y, left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP)};
    return ::SendInput(3, inputs, sizeof inputs[0]) == 3;
}
bool Drag(int fromX, int fromY, int toX, int toY) {
    INPUT inputs[4] = {MouseInput(fromX, fromY, 0), MouseInput(fromX, fromY, MOUSEEVENTF_LEFTDOWN),
                       MouseInput(toX, toY, 0), MouseInput(toX, toY, MOUSEEVENTF_LEFTUP)};
    return ::SendInput(4, inputs, sizeof inputs[0]) == 4;
}

bool Wheel(int x, int y, int notches) {
    INPUT inputs[2] = {MouseInput(x, y, 0), MouseInput(x, y, MOUSEEVENTF_WHEEL)};
    inputs[1].mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    return ::SendInput(2, inputs, sizeof inputs[0]) == 2;
}
} // namespace mouse
