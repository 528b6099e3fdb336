// The bar's trackbar class: standard trackbar behaviour, its own thumb, channel and selection painting in
// colours derived from the system's at construction.
#pragma once
#include "controls/gdi_objects.h"
#include "controls/slider_ctrl.h"

class CColourSliderCtrl : public CSliderCtrl {
public:
    // Reads the system colours and makes the pens; needs no window (the bar is built at module load).
    explicit CColourSliderCtrl(WindowSystem& windows);
    ~CColourSliderCtrl() override;

    // The trackbar's NM_CUSTOMDRAW, forwarded by the parent; returns the notification's result.
    LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw);

    void BuildPalette();
    void CreatePens();
    void DeletePens();

    void DrawThumbUpright(Canvas& dc, const RECT& rect);
    void DrawThumbLying(Canvas& dc, const RECT& rect);
    void DrawChannel(Canvas& dc, const RECT& rect, bool vertical);

private:
    enum class ThumbShape { Box, Up, Down, Left, Right };

    LRESULT OnItemPrePaint(const NMCUSTOMDRAW& draw);
    void PaintThumbItem(Canvas& dc, const RECT& rect, bool pressed);
    void PaintChannelItem(Canvas& dc, const RECT& rect);

    void DrawThumb(Canvas& dc, const RECT& rect, bool upright);
    ThumbShape ShapeFor(bool upright) const;
    // Each shape paints outline, fill and edges and returns the rectangle its grips are placed from.
    // The frame pen and face brush are selected on entry; pen holds the pen slot's previous object.
    RECT DrawBoxShape(Canvas& dc, const RECT& rc);
    RECT DrawUpShape(Canvas& dc, CSelectedObject& pen, const RECT& rc, bool edges);
    RECT DrawDownShape(Canvas& dc, CSelectedObject& pen, const RECT& rc, bool edges);
    RECT DrawLeftShape(Canvas& dc, CSelectedObject& pen, const RECT& rc);
    RECT DrawRightShape(Canvas& dc, CSelectedObject& pen, const RECT& rc);
    void FillInside(Canvas& dc, const RECT& rc, int half);
    void DrawUprightGrips(Canvas& dc, CSelectedObject& pen, const RECT& origin, bool wide);
    void DrawLyingGrips(Canvas& dc, CSelectedObject& pen, const RECT& origin, bool tall);
    void DrawSelection(Canvas& dc, const RECT& rect, bool vertical, int minimum, int maximum);

    CPen m_penFace;
    CPen m_penLight;
    CPen m_penLighter;
    CPen m_penDark;
    CPen m_penDarker;
    CPen m_penDeepShadow;
    CPen m_penHalfShadow;
    CPen m_penHilight;
    COLORREF m_clrSelection = 0;
    COLORREF m_clrChannel = 0;
    COLORREF m_clrFace = 0;
    COLORREF m_clrLight = 0;
    COLORREF m_clrLighter = 0;
    COLORREF m_clrDark = 0;
    COLORREF m_clrDarker = 0;
    COLORREF m_clrDeepShadow = 0;
    COLORREF m_clrHalfShadow = 0;
    COLORREF m_clrHilight = 0;
};
