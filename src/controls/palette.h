// Colour arithmetic of the slider palette: per channel, on COLORREF values laid out 0x00BBGGRR.
// Byte 3 of every result is 0, whatever the inputs carry there.
#pragma once
#include "platform/win_types.h"

// A channel that would pass 255 keeps its value rather than clamping, so very light faces stay as they are.
COLORREF Lighten(COLORREF colour, BYTE amount);
// A channel below the amount keeps its value rather than clamping to 0.
COLORREF Darken(COLORREF colour, BYTE amount);
// Per-channel mean, rounded down.
COLORREF Average(COLORREF a, COLORREF b);
