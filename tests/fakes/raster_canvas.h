// A software canvas in plain C++ that paints by GDI's pixel rules, for exact pixel tests and for
// comparison with what a real GDI paints: one-pixel pens, line end points not drawn, right and bottom
// edges exclusive, 4-connected flood fill bounded by one colour.
#pragma once
#include <vector>

#include "platform/canvas.h"

struct GdiObjectInfo {
    enum Kind { Pen, Brush } kind;
    COLORREF colour;
};

// Tells the canvas what a pen or brush handle stands for; unknown handles are answered with null.
class GdiObjectDirectory {
public:
    virtual ~GdiObjectDirectory() = default;
    virtual const GdiObjectInfo* Find(HGDIOBJ object) const = 0;
};

class RasterCanvas : public Canvas {
public:
    // The objects a fresh device context holds: a black pen and a white brush.
    static HGDIOBJ DefaultPen();
    static HGDIOBJ DefaultBrush();

    RasterCanvas(int width, int height, COLORREF background, const GdiObjectDirectory& objects);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Out-of-canvas pixels read as 0xffffffff, a value no pixel holds.
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF colour);
    const std::vector<COLORREF>& Pixels() const { return m_pixels; }
    std::vector<COLORREF>& Pixels() { return m_pixels; }

    // The corner pixels of rounded rectangles, whose look each GDI implementation chooses itself; this
    // canvas leaves them untouched.
    bool IsBackEndPixel(int x, int y) const;
    void ClearBackEndPixels();

    HGDIOBJ SelectedPen() const { return m_state.pen; }
    HGDIOBJ SelectedBrush() const { return m_state.brush; }
    bool IsSelected(HGDIOBJ object) const;
    int SavedStates() const { return static_cast<int>(m_saved.size()); }

    int SaveDC() override;
    BOOL RestoreDC(int saved) override;
    HGDIOBJ SelectObject(HGDIOBJ object) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void SetPixel(int x, int y, COLORREF colour) override;
    void RoundRect(int left, int top, int right, int bottom, int width, int height) override;
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) override;
    void FloodFill(int x, int y, COLORREF border) override;
    void FillRect(const RECT& rect, HBRUSH brush) override;

private:
    struct State {
        HGDIOBJ pen;
        HGDIOBJ brush;
        POINT position;
    };

    bool Colour(HGDIOBJ object, GdiObjectInfo::Kind kind, COLORREF* colour) const;
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    void Put(int x, int y, COLORREF colour);
    void FillArea(int left, int top, int right, int bottom, COLORREF colour);

    int m_width;
    int m_height;
    std::vector<COLORREF> m_pixels;
    std::vector<bool> m_backEnd;
    const GdiObjectDirectory& m_objects;
    State m_state;
    std::vector<State> m_saved;
};
