// Where the bar and its children go: the bar along the bottom of the video's monitor at its whole
// width, every child stretched horizontally by the same factor.
#pragma once
#include "platform/win_types.h"

struct Placement {
    int x, y, cx, cy;
};

// The bar keeps its height; its bottom edge lands on the full-screen client height.
Placement PlaceBar(const RECT& barWindow, int screenWidth, int screenHeight);

// The bar along the bottom of a monitor at its whole width. On the primary monitor (and for a monitor
// the system could not describe) the full-screen metrics place it, as PlaceBar does.
Placement PlaceBarOnMonitor(const RECT& barWindow, const RECT& monitor, bool primary, int screenWidth,
                            int screenHeight);

// Single precision on purpose: the stretched pixel values depend on it. A template without width
// leaves the children as they are.
float StretchFactor(int screenWidth, int templateWidth);

// A child's rectangle in the bar's client coordinates, stretched horizontally; y and height stay.
Placement StretchChild(const RECT& client, float factor);

// The shuttle beside the previous and next buttons, which take the right end of its row: it ends before
// the first of them by the gap between the two, and keeps its left edge, row and height.
RECT ShuttleBesideListButtons(const RECT& shuttle, const RECT& previous, const RECT& next);
