// The user's mouse, through SendInput with absolute coordinates, so the input goes through the
// system's queue and reaches thread-local mouse hooks like a real mouse.
#pragma once
#include "platform/win_types.h"

namespace mouse {
enum class Button { Left, Right };

// Moves the cursor to the screen point; false if the system refused the input.
bool MoveTo(int x, int y);
// Moves there, presses and releases the button.
bool Click(int x, int y, Button button = Button::Left);
// Presses the left button at the first point, moves with it held to the second, releases it there.
bool Drag(int fromX, int fromY, int toX, int toY);
// Moves there and turns the wheel by `notches` (positive: away from the user).
bool Wheel(int x, int y, int notches);
} // namespace mouse
