#include "platform/win32/win32_seams.h"

#include <new>

namespace {

// A canvas over a device context that the caller owns (the trackbar's, for one notification).
class GdiCanvas : public Canvas {
public:
    explicit GdiCanvas(HDC dc) : m_dc(dc) {}

    int SaveDC() override { return ::SaveDC(m_dc); }
    BOOL RestoreDC(int saved) override { return ::RestoreDC(m_dc, saved); }
    HGDIOBJ SelectObject(HGDIOBJ object) override { return object ? ::SelectObject(m_dc, object) : nullptr; }
    void MoveTo(int x, int y) override { ::MoveToEx(m_dc, x, y, nullptr); }
    void LineTo(int x, int y) override { ::LineTo(m_dc, x, y); }
    void SetPixel(int x, int y, COLORREF colour) override { ::SetPixelV(m_dc, x, y, colour); }
    void RoundRect(int left, int top, int right, int bottom, int width, int height) override {
        ::RoundRect(m_dc, left, top, right, bottom, width, height);
    }
    // Four solid strips, the bottom-right pair painted last so it owns the two corners it shares.
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) override {
        const int x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
        FillSolid(x, y, cx - 1, 1, topLeft);
        FillSolid(x, y, 1, cy - 1, topLeft);
        FillSolid(x + cx, y, -1, cy, bottomRight);
        FillSolid(x, y + cy, cx, -1, bottomRight);
    }
    void FloodFill(int x, int y, COLORREF border) override {
        ::ExtFloodFill(m_dc, x, y, border, FLOODFILLBORDER);
    }
    void FillRect(const RECT& rect, HBRUSH brush) override { ::FillRect(m_dc, &rect, brush); }

private:
    // A strip given by corner and signed size, as a solid colour without making a brush.
    void FillSolid(int x, int y, int cx, int cy, COLORREF colour) {
        RECT strip{x < x + cx ? x : x + cx, y < y + cy ? y : y + cy, x < x + cx ? x + cx : x,
                   y < y + cy ? y + cy : y};
        const COLORREF before = ::SetBkColor(m_dc, colour);
        ::ExtTextOutA(m_dc, 0, 0, ETO_OPAQUE, &strip, nullptr, 0, nullptr);
        ::SetBkColor(m_dc, before);
    }

    HDC m_dc;
};

} // namespace

std::unique_ptr<Canvas> Win32WindowSystem::CanvasFor(HDC dc) {
    if (dc == nullptr) return nullptr;
    // The DLL has no exceptions: a canvas that cannot be allocated is a null one, which the caller handles.
    return std::unique_ptr<Canvas>(new (std::nothrow) GdiCanvas(dc));
}
