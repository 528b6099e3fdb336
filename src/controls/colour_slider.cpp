#include "controls/colour_slider.h"

#include "controls/palette.h"

namespace {
constexpr BYTE kShade = 51;
constexpr COLORREF kColourMask = 0x00ffffff;

COLORREF SysColour(WindowSystem& windows, int index) {
    return windows.GetSysColor(index) & kColourMask;
}
} // namespace

CColourSliderCtrl::CColourSliderCtrl(WindowSystem& windows) : CSliderCtrl(windows) {
    m_clrFace = SysColour(m_windows, COLOR_BTNFACE);
    m_clrChannel = SysColour(m_windows, COLOR_WINDOW);
    m_clrSelection = SysColour(m_windows, COLOR_HIGHLIGHT);
    BuildPalette();
    CreatePens();
}

CColourSliderCtrl::~CColourSliderCtrl() {
    DeletePens();
}

void CColourSliderCtrl::BuildPalette() {
    m_clrLight = Lighten(m_clrFace, kShade);
    m_clrLighter = Lighten(m_clrLight, kShade);
    m_clrDark = Darken(m_clrFace, kShade);
    m_clrDarker = Darken(m_clrDark, kShade);
    m_clrHilight = SysColour(m_windows, COLOR_BTNHIGHLIGHT);
    const COLORREF face = SysColour(m_windows, COLOR_BTNFACE);
    const COLORREF shadow = SysColour(m_windows, COLOR_BTNSHADOW);
    const COLORREF darkShadow = SysColour(m_windows, COLOR_3DDKSHADOW);
    m_clrHalfShadow = Average(face, shadow);
    m_clrDeepShadow = Average(shadow, darkShadow);
}

void CColourSliderCtrl::CreatePens() {
    DeletePens();
    m_penFace.CreatePen(m_windows, PS_SOLID, 1, m_clrFace);
    m_penLight.CreatePen(m_windows, PS_SOLID, 1, m_clrLight);
    m_penLighter.CreatePen(m_windows, PS_SOLID, 1, m_clrLighter);
    m_penDark.CreatePen(m_windows, PS_SOLID, 1, m_clrDark);
    m_penDarker.CreatePen(m_windows, PS_SOLID, 1, m_clrDarker);
    m_penDeepShadow.CreatePen(m_windows, PS_SOLID, 1, m_clrDeepShadow);
    m_penHalfShadow.CreatePen(m_windows, PS_SOLID, 1, m_clrHalfShadow);
    m_penHilight.CreatePen(m_windows, PS_SOLID, 1, m_clrHilight);
}

void CColourSliderCtrl::DeletePens() {
    for (CPen* pen : {&m_penFace, &m_penLight, &m_penLighter, &m_penDark, &m_penDarker, &m_penDeepShadow,
                      &m_penHalfShadow, &m_penHilight})
        pen->DeleteObject();
}

LRESULT CColourSliderCtrl::OnCustomDraw(const NMCUSTOMDRAW& draw) {
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return OnItemPrePaint(draw);
    default:
        return CDRF_DODEFAULT;
    }
}

LRESULT CColourSliderCtrl::OnItemPrePaint(const NMCUSTOMDRAW& draw) {
    if (draw.dwItemSpec == TBCD_TICS) return CDRF_DODEFAULT;

    const std::unique_ptr<Canvas> dc = m_windows.CanvasFor(draw.hdc);
    // Without a device context to paint into, the trackbar's own painting is better than a hole.
    if (dc == nullptr) return CDRF_DODEFAULT;

    const RECT rect = draw.rc;
    {
        const CSavedDC saved(*dc);
        if (draw.dwItemSpec == TBCD_THUMB)
            PaintThumbItem(*dc, rect, (draw.uItemState & CDIS_SELECTED) != 0);
        else if (draw.dwItemSpec == TBCD_CHANNEL)
            PaintChannelItem(*dc, rect);
    }
    return CDRF_SKIPDEFAULT;
}

void CColourSliderCtrl::PaintThumbItem(Canvas& dc, const RECT& rect, bool pressed) {
    const COLORREF face = m_clrFace;
    if (pressed) {
        m_clrFace = Darken(m_clrFace, kShade);
        BuildPalette();
        CreatePens();
    }
    const bool upright = rect.bottom - rect.top > rect.right - rect.left;
    if (upright)
        DrawThumbUpright(dc, rect);
    else
        DrawThumbLying(dc, rect);
    if (pressed) {
        m_clrFace = face;
        BuildPalette();
        CreatePens();
    }
}

void CColourSliderCtrl::PaintChannelItem(Canvas& dc, const RECT& rect) {
    const COLORREF channel = m_clrChannel;
    if (!m_windows.IsWindowEnabled(m_hWnd)) m_clrChannel = SysColour(m_windows, COLOR_BTNFACE);
    RECT queried{0, 0, 0, 0};
    Send(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&queried));
    const bool vertical = queried.bottom - queried.top > queried.right - queried.left;
    DrawChannel(dc, rect, vertical);
    m_clrChannel = channel;
}
