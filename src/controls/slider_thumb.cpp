// The thumb painters of CColourSliderCtrl: four shapes chosen by the trackbar's style, and their grips.
#include "controls/canvas_paths.h"
#include "controls/colour_slider.h"

void CColourSliderCtrl::DrawThumbUpright(Canvas& dc, const RECT& rect) {
    DrawThumb(dc, rect, true);
}

void CColourSliderCtrl::DrawThumbLying(Canvas& dc, const RECT& rect) {
    DrawThumb(dc, rect, false);
}

CColourSliderCtrl::ThumbShape CColourSliderCtrl::ShapeFor(bool upright) const {
    const LONG_PTR style = m_windows.GetStyle(m_hWnd);
    if (style & TBS_BOTH) return ThumbShape::Box;
    if (style & TBS_TOP) return upright ? ThumbShape::Up : ThumbShape::Left;
    return upright ? ThumbShape::Down : ThumbShape::Right;
}

void CColourSliderCtrl::DrawThumb(Canvas& dc, const RECT& rc, bool upright) {
    const CPen frame(m_windows, PS_SOLID, 1, m_windows.GetSysColor(COLOR_WINDOWFRAME) & 0x00ffffff);
    const CBrush face(m_windows, m_clrFace);
    CSelectedObject pen(dc);
    CSelectedObject brush(dc);
    pen.Select(frame);
    brush.Select(face);

    const int size = upright ? rc.right - rc.left : rc.bottom - rc.top;
    RECT origin{};
    switch (ShapeFor(upright)) {
    case ThumbShape::Box:
        origin = DrawBoxShape(dc, rc);
        break;
    case ThumbShape::Up:
        origin = DrawUpShape(dc, pen, rc, size > 5);
        break;
    case ThumbShape::Down:
        origin = DrawDownShape(dc, pen, rc, size > 5);
        break;
    case ThumbShape::Left:
        origin = DrawLeftShape(dc, pen, rc);
        break;
    case ThumbShape::Right:
        origin = DrawRightShape(dc, pen, rc);
        break;
    }

    // A disabled slider shows a smooth thumb.
    if (size > 5 && m_windows.IsWindowEnabled(m_hWnd)) {
        if (upright)
            DrawUprightGrips(dc, pen, origin, size > 9);
        else
            DrawLyingGrips(dc, pen, origin, size > 9);
    }
}

RECT CColourSliderCtrl::DrawBoxShape(Canvas& dc, const RECT& rc) {
    const LONG L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    dc.RoundRect(L, T, R, B, 2, 2);
    dc.Draw3dRect(RECT{L + 1, T + 1, R - 1, B - 1}, m_clrLight, m_clrDark);
    dc.SetPixel(L + 1, T + 1, m_clrLighter);
    dc.SetPixel(R - 2, T + 1, m_clrFace);
    dc.SetPixel(R - 2, B - 2, m_clrDarker);
    dc.SetPixel(L + 1, B - 2, m_clrFace);
    return RECT{L + 1, T + 1, R - 1, B - 1};
}

void CColourSliderCtrl::FillInside(Canvas& dc, const RECT& rc, int half) {
    dc.FloodFill(rc.left + half, rc.top + half, m_windows.GetSysColor(COLOR_WINDOWFRAME) & 0x00ffffff);
}

RECT CColourSliderCtrl::DrawUpShape(Canvas& dc, CSelectedObject& pen, const RECT& rc, bool edges) {
    const LONG L = rc.left, T = rc.top, R = rc.right, B = rc.bottom, h = (R - L) / 2;
    Polyline(dc, {{L, T + h - 1},
                  {L, B - 2},
                  {L + 1, B - 1},
                  {R - 2, B - 1},
                  {R - 1, B - 2},
                  {R - 1, T + h - 1},
                  {R - h, T},
                  {L + h - 1, T},
                  {L, T + h - 1}});
    FillInside(dc, rc, h);
    if (edges) {
        Stroke(dc, pen, m_penLight, {{L + 1, T + h}, {L + 1, B - 2}});
        Stroke(dc, pen, m_penLight, {{R - h, T + 1}, {R - h - 2, T + 1}});
        Stroke(dc, pen, m_penLighter, {{L + 1, T + h - 1}, {L + h, T}});
        Stroke(dc, pen, m_penDark, {{L + 2, B - 2}, {R - 2, B - 2}, {R - 2, T + h - 1}, {R - h, T + 1}});
    }
    return RECT{L + 1, T + 2, R - 1, B};
}

RECT CColourSliderCtrl::DrawDownShape(Canvas& dc, CSelectedObject& pen, const RECT& rc, bool edges) {
    const LONG L = rc.left, T = rc.top, R = rc.right, B = rc.bottom, h = (R - L) / 2;
    Polyline(dc, {{L, T + 1},
                  {L, B - h},
                  {L + h - 1, B - 1},
                  {R - h, B - 1},
                  {R - 1, B - h},
                  {R - 1, T + 1},
                  {R - 2, T},
                  {L, T}});
    FillInside(dc, rc, h);
    if (edges) {
        dc.SetPixel(L + 1, T + 1, m_clrLighter);
        Stroke(dc, pen, m_penLight, {{L + 1, T + 2}, {L + 1, B - h + 1}});
        Stroke(dc, pen, m_penLight, {{L + 2, T + 1}, {R - 2, T + 1}});
        Stroke(dc, pen, m_penDark, {{L + 2, B - h + 1}, {L + h - 1, B - 2}, {R - h, B - 2}});
        Stroke(dc, pen, m_penDark, {{R - 2, B - h - 1}, {R - 2, T + 1}});
        Stroke(dc, pen, m_penDarker, {{R - h, B - 2}, {R - 1, B - h - 1}});
    }
    return RECT{L + 1, T, R - 1, B - 2};
}

RECT CColourSliderCtrl::DrawLeftShape(Canvas& dc, CSelectedObject& pen, const RECT& rc) {
    const LONG L = rc.left, T = rc.top, R = rc.right, B = rc.bottom, h = (B - T) / 2;
    Polyline(dc, {{L + h - 1, T},
                  {L, T + h - 1},
                  {L, B - h},
                  {L + h - 1, B - 1},
                  {R - 2, B - 1},
                  {R - 1, B - 2},
                  {R - 1, T + 1},
                  {R - 2, T},
                  {L + h - 2, T}});
    FillInside(dc, rc, h);
    Stroke(dc, pen, m_penLighter, {{L + 1, T + h - 1}, {L + h, T}});
    Stroke(dc, pen, m_penLight, {{L + 1, T + h + 1}, {L + 1, T + h - 1}});
    Stroke(dc, pen, m_penLight, {{L + h, T + 1}, {R - 2, T + 1}});
    Stroke(dc, pen, m_penDark, {{L + 2, B - h + 1}, {L + h - 1, B - 2}, {R - 2, B - 2}, {R - 2, T + 1}});
    return RECT{L + 2, T + 1, R, B};
}

RECT CColourSliderCtrl::DrawRightShape(Canvas& dc, CSelectedObject& pen, const RECT& rc) {
    const LONG L = rc.left, T = rc.top, R = rc.right, B = rc.bottom, h = (B - T) / 2;
    Polyline(dc, {{L, T + 1},
                  {L, B - 2},
                  {L + 1, B - 1},
                  {R - h, B - 1},
                  {R - 1, B - h},
                  {R - 1, T + h - 1},
                  {R - h, T},
                  {L, T}});
    FillInside(dc, rc, h);
    Stroke(dc, pen, m_penLight, {{L + 1, B - 2}, {L + 1, T + 1}, {R - h + 1, T + 1}});
    dc.SetPixel(L + 1, T + 1, m_clrLighter);
    Stroke(dc, pen, m_penDark, {{L + 2, B - 2}, {R - h, B - 2}});
    Stroke(dc, pen, m_penDark, {{R - 2, T + h}, {R - 2, T + h - 1}, {R - h, T + 1}});
    Stroke(dc, pen, m_penDarker, {{R - h, B - 2}, {R - 1, B - h - 1}});
    return RECT{L, T + 1, R - 1, B};
}

void CColourSliderCtrl::DrawUprightGrips(Canvas& dc, CSelectedObject& pen, const RECT& origin, bool wide) {
    const LONG l = origin.left, t = origin.top, b = origin.bottom;
    const int ridges = wide ? 4 : 2;
    for (int i = 0; i < ridges; ++i)
        Stroke(dc, pen, m_penLight, {{l + 1 + 2 * i, t + 5}, {l + 1 + 2 * i, b - 5}});
    for (int i = 0; i < ridges - (wide ? 1 : 0); ++i)
        Stroke(dc, pen, m_penDarker, {{l + 2 + 2 * i, t + 5}, {l + 2 + 2 * i, b - 4}});
    for (int i = 0; i < ridges; ++i)
        dc.SetPixel(l + 1 + 2 * i, t + 4, m_clrLighter);
}

void CColourSliderCtrl::DrawLyingGrips(Canvas& dc, CSelectedObject& pen, const RECT& origin, bool tall) {
    const LONG l = origin.left, t = origin.top, r = origin.right;
    const int ridges = tall ? 4 : 2;
    for (int i = 0; i < ridges; ++i)
        Stroke(dc, pen, m_penLight, {{l + 5, t + 1 + 2 * i}, {r - 5, t + 1 + 2 * i}});
    for (int i = 0; i < ridges - (tall ? 1 : 0); ++i)
        Stroke(dc, pen, m_penDarker, {{l + 5, t + 2 + 2 * i}, {r - 4, t + 2 + 2 * i}});
    for (int i = 0; i < ridges; ++i)
        dc.SetPixel(l + 4, t + 1 + 2 * i, m_clrLighter);
}
