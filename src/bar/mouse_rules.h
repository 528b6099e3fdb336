// The small rules behind the bar's reaction to the mouse: the jitter filter, the hide countdown and
// the cursor clip while the bar is shown.
#pragma once
#include "platform/win_types.h"

constexpr LONG kNoSample = -1; // an x of -1 in the stored sample means there is none
constexpr int kHideTicksClipped = 1;

// True when the move at pt is large enough to count. Otherwise pt becomes the stored sample, so
// creeping one pixel at a time never counts; a counting move clears the sample.
bool JitterPasses(POINT& sample, POINT pt);

// left <= x < right and top <= y < bottom.
bool PointInRect(const RECT& r, POINT pt);

// Ticks until the bar hides itself after a mouse message at pt; 0 is none. outsideTicks: the hide delay.
int HideCountdownFor(const RECT& bar, POINT pt, bool clipMouse, int outsideTicks);

// The position of a horizontal slider under client x: its channel (client coordinates) less half the
// thumb at each end spans 0..rangeMax, as the trackbar maps a drag; clamped to the range.
int SliderPosAt(int x, const RECT& channel, int thumbWidth, int rangeMax);

// The cursor may leave the bar only by one row above it or two rows below it.
RECT ClipAroundBar(const RECT& bar);
