#include "bar/mouse_rules.h"

namespace {
constexpr long long kJitterLimit = 3; // squared pixels
}

bool JitterPasses(POINT& sample, POINT pt) {
    if (sample.x == kNoSample) {
        sample = pt;
        return false;
    }
    const long long dx = static_cast<long long>(sample.x) - pt.x;
    const long long dy = static_cast<long long>(sample.y) - pt.y;
    if (dx * dx + dy * dy <= kJitterLimit) {
        sample = pt;
        return false;
    }
    sample.x = kNoSample;
    return true;
}

bool PointInRect(const RECT& r, POINT pt) {
    return r.left <= pt.x && pt.x < r.right && r.top <= pt.y && pt.y < r.bottom;
}

int HideCountdownFor(const RECT& bar, POINT pt, bool clipMouse) {
    if (PointInRect(bar, pt)) return 0;
    return clipMouse ? kHideTicksClipped : kHideTicksOutside;
}

RECT ClipAroundBar(const RECT& bar) {
    RECT r = bar;
    r.top -= 1;
    r.bottom += 2;
    return r;
}
