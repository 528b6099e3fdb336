// Seam: the device-context operations of the slider drawing, in GDI's terms and with GDI's pixel rules
// (one-pixel pens, line end points not drawn, right and bottom edges exclusive).
#pragma once
#include "platform/win_types.h"

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual int SaveDC() = 0;
    virtual BOOL RestoreDC(int saved) = 0;
    // Selects a pen or brush made by the window system; returns the object selected before.
    virtual HGDIOBJ SelectObject(HGDIOBJ object) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void SetPixel(int x, int y, COLORREF colour) = 0;
    virtual void RoundRect(int left, int top, int right, int bottom, int width, int height) = 0;
    virtual void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) = 0;
    virtual void FloodFill(int x, int y, COLORREF border) = 0;
    virtual void FillRect(const RECT& rect, HBRUSH brush) = 0;
};
