// The channel painter of CColourSliderCtrl: the sunken channel and the selection range inside it.
#include <cmath>
#include <limits>

#include "controls/canvas_paths.h"
#include "controls/colour_slider.h"

namespace {

// Scaled selection offsets are truncated toward zero; a value no LONG can hold is pinned to the nearest one
// that can, so a nonsense selection fills an off-screen or empty rectangle instead of overflowing.
LONG ToLong(double value) {
    constexpr double lowest = std::numeric_limits<LONG>::min();
    constexpr double highest = std::numeric_limits<LONG>::max();
    if (std::isnan(value)) return 0;
    if (value <= lowest) return std::numeric_limits<LONG>::min();
    if (value >= highest) return std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value);
}

LONG Offset(LONG origin, double delta) {
    return ToLong(static_cast<double>(origin) + delta);
}

} // namespace

void CColourSliderCtrl::DrawChannel(Canvas& dc, const RECT& rect, bool vertical) {
    const int minimum = GetRangeMin();
    const int maximum = GetRangeMax();

    LONG l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    if (minimum != 0 || maximum != 0) {
        t += 1;
        b -= 1;
    }
    if (vertical) {
        l += 1;
        r -= 1;
        b += 1;
    } else {
        t += 1;
        b -= 1;
    }

    const CBrush channel(m_windows, m_clrChannel);
    CSelectedObject pen(dc);
    CSelectedObject brush(dc);
    pen.Select(m_penDeepShadow);
    brush.Select(channel);

    const LONG length = vertical ? b - t : r - l;
    if (length > 3) dc.RoundRect(l, t, r, b, 2, 2);
    Stroke(dc, pen, m_penHalfShadow, {{l - 1, b - 2}, {l - 1, t + 1}, {l + 1, t - 1}, {r - 1, t - 1}});
    Stroke(dc, pen, m_penHilight,
           {{l, b - 1}, {l + 1, b}, {r - 1, b}, {r - 1, b - 1}, {r, b - 1}, {r, t + 1}, {r - 2, t - 1}});

    DrawSelection(dc, rect, vertical, minimum, maximum);
}

void CColourSliderCtrl::DrawSelection(Canvas& dc, const RECT& rect, bool vertical, int minimum, int maximum) {
    int start = 0;
    int end = 0;
    GetSelection(start, end);
    // An empty range has no scale to place a selection on.
    if (start >= end || maximum == minimum) return;

    const double extent =
        vertical ? static_cast<double>(rect.bottom) - rect.top : static_cast<double>(rect.right) - rect.left;
    const double span = static_cast<double>(maximum) - minimum;
    const double e = std::trunc((static_cast<double>(start) - minimum) * extent / span);
    const double f = std::trunc((static_cast<double>(end) - minimum) * extent / span);

    const RECT fill =
        vertical ? RECT{rect.left + 1, Offset(rect.top, e + 2), rect.right - 1, Offset(rect.top, f - 2)}
                 : RECT{Offset(rect.left, e + 2), rect.top + 2, Offset(rect.left, f - 2), rect.bottom - 1};
    const CBrush selection(m_windows, m_clrSelection);
    dc.FillRect(fill, selection.GetSafeHandle());
}
