#include "bar/bar_layout.h"

#include <climits>

namespace {
// Truncation toward zero, saturated where a float no longer fits an int.
int Trunc(float value) {
    if (!(value > static_cast<float>(INT_MIN))) return value != value ? 0 : INT_MIN;
    if (!(value < static_cast<float>(INT_MAX))) return INT_MAX;
    return static_cast<int>(value);
}
} // namespace

Placement PlaceBar(const RECT& barWindow, int screenWidth, int screenHeight) {
    const int height = barWindow.bottom - barWindow.top;
    return Placement{0, screenHeight - height, screenWidth, height};
}

Placement PlaceBarOnMonitor(const RECT& barWindow, const RECT& monitor, bool primary, int screenWidth,
                            int screenHeight) {
    if (monitor.right <= monitor.left || monitor.bottom <= monitor.top)
        return PlaceBar(barWindow, screenWidth, screenHeight);
    if (primary) {
        // Under Wine the full-screen height is larger than the screen: the bar's bottom row would be cut
        // off. Moved up onto the monitor only then; on Windows the place is already inside it.
        Placement p = PlaceBar(barWindow, screenWidth, screenHeight);
        if (p.y + p.cy > monitor.bottom) p.y = monitor.bottom - p.cy;
        if (p.y < monitor.top) p.y = monitor.top;
        return p;
    }
    const int height = barWindow.bottom - barWindow.top;
    return Placement{monitor.left, monitor.bottom - height, monitor.right - monitor.left, height};
}

float StretchFactor(int screenWidth, int templateWidth) {
    if (templateWidth <= 0) return 1.0f;
    return static_cast<float>(screenWidth) / static_cast<float>(templateWidth);
}

RECT ShuttleBesideListButtons(const RECT& shuttle, const RECT& previous, const RECT& next) {
    RECT r = shuttle;
    const long right = previous.left - (next.left - previous.right);
    r.right = right < r.left ? r.left : right;
    return r;
}

Placement StretchChild(const RECT& client, float factor) {
    const float left = static_cast<float>(client.left);
    const float width = static_cast<float>(client.right - client.left);
    return Placement{Trunc(left * factor), client.top, Trunc(width * factor), client.bottom - client.top};
}
