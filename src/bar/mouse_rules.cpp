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

int HideCountdownFor(const RECT& bar, POINT pt, bool clipMouse, int outsideTicks) {
    if (PointInRect(bar, pt)) return 0;
    return clipMouse ? kHideTicksClipped : outsideTicks;
}

int SliderPosAt(int x, const RECT& channel, int thumbWidth, int rangeMax) {
    const int half = thumbWidth / 2;
    const long long span = static_cast<long long>(channel.right) - channel.left - 2 * half - 1;
    if (span <= 0) return 0;
    const long long pos = (static_cast<long long>(rangeMax) * (x - channel.left - half)) / span;
    return pos < 0 ? 0 : pos > rangeMax ? rangeMax : static_cast<int>(pos);
}

RECT ClipAroundBar(const RECT& bar) {
    RECT r = bar;
    r.top -= 1;
    r.bottom += 2;
    return r;
}
