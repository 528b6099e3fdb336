// A window system for slider tests: system colours from a table, pens and brushes as numbered handles
// that stand for colours, one trackbar answered from plain fields, and one raster canvas that every
// custom-draw device context paints into. It counts live GDI objects and faulty deletions.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "null_window_system.h"
#include "raster_canvas.h"

class FakeSliderWindows : public NullWindowSystem, public GdiObjectDirectory {
public:
    FakeSliderWindows(int width = 64, int height = 64, COLORREF background = 0x00ff00ff);

    // The classic Windows scheme unless a test sets others.
    std::map<int, COLORREF> sysColours;

    // The trackbar's state.
    int rangeMin = 0;
    int rangeMax = 100;
    int selStart = 0;
    int selEnd = 0;
    RECT channelRect{0, 0, 0, 0};
    LONG_PTR style = 0;
    bool enabled = true;

    // Makes CreatePen answer no handle, as a platform out of GDI resources does.
    bool failPens = false;

    RasterCanvas canvas;

    int LivePens() const { return Live(GdiObjectInfo::Pen); }
    int LiveBrushes() const { return Live(GdiObjectInfo::Brush); }
    // Colours of the pens alive now, in the order they were made.
    std::vector<COLORREF> LivePenColours() const;
    int pensMade = 0;
    int brushesMade = 0;
    // Deletions of null, unknown or already deleted handles.
    int badDeletes = 0;
    // Deletions of an object still selected into the canvas; GDI refuses them and the object lives on.
    int deletesWhileSelected = 0;

    DWORD GetSysColor(int index) override;
    HPEN CreatePen(int style, int width, COLORREF colour) override;
    HBRUSH CreateSolidBrush(COLORREF colour) override;
    BOOL DeleteObject(HGDIOBJ object) override;
    LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LONG_PTR GetStyle(HWND) override { return style; }
    BOOL IsWindowEnabled(HWND) override { return enabled ? TRUE : FALSE; }
    std::unique_ptr<Canvas> CanvasFor(HDC dc) override;

    const GdiObjectInfo* Find(HGDIOBJ object) const override;

private:
    HGDIOBJ Make(GdiObjectInfo::Kind kind, COLORREF colour);
    int Live(GdiObjectInfo::Kind kind) const;

    std::uintptr_t m_nextHandle = 0x1000;
    std::map<std::uintptr_t, GdiObjectInfo> m_live;
};
