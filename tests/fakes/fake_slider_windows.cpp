#include "fake_slider_windows.h"

#include <algorithm>
#include <cstdint>

namespace {

// Hands every call on to a canvas that outlives it, as a DC wrapper over a borrowed HDC does.
class BorrowedCanvas : public Canvas {
public:
    explicit BorrowedCanvas(Canvas& target) : m_target(target) {}
    int SaveDC() override { return m_target.SaveDC(); }
    BOOL RestoreDC(int saved) override { return m_target.RestoreDC(saved); }
    HGDIOBJ SelectObject(HGDIOBJ object) override { return m_target.SelectObject(object); }
    void MoveTo(int x, int y) override { m_target.MoveTo(x, y); }
    void LineTo(int x, int y) override { m_target.LineTo(x, y); }
    void SetPixel(int x, int y, COLORREF colour) override { m_target.SetPixel(x, y, colour); }
    void RoundRect(int l, int t, int r, int b, int w, int h) override {
        m_target.RoundRect(l, t, r, b, w, h);
    }
    void Draw3dRect(const RECT& rect, COLORREF a, COLORREF b) override { m_target.Draw3dRect(rect, a, b); }
    void FloodFill(int x, int y, COLORREF border) override { m_target.FloodFill(x, y, border); }
    void FillRect(const RECT& rect, HBRUSH brush) override { m_target.FillRect(rect, brush); }

private:
    Canvas& m_target;
};

} // namespace

FakeSliderWindows::FakeSliderWindows(int width, int height, COLORREF background)
    : sysColours{{COLOR_WINDOW, 0xffffff},    {COLOR_WINDOWFRAME, 0x000000}, {COLOR_HIGHLIGHT, 0x6a240a},
                 {COLOR_BTNFACE, 0xc0c0c0},   {COLOR_BTNSHADOW, 0x808080},   {COLOR_BTNHIGHLIGHT, 0xffffff},
                 {COLOR_3DDKSHADOW, 0x404040}},
      canvas(width, height, background, *this) {}

DWORD FakeSliderWindows::GetSysColor(int index) {
    const auto found = sysColours.find(index);
    return found == sysColours.end() ? 0 : found->second;
}

HGDIOBJ FakeSliderWindows::Make(GdiObjectInfo::Kind kind, COLORREF colour) {
    const std::uintptr_t id = m_nextHandle++;
    m_live.emplace(id, GdiObjectInfo{kind, colour});
    return reinterpret_cast<HGDIOBJ>(id);
}

HPEN FakeSliderWindows::CreatePen(int, int, COLORREF colour) {
    if (failPens) return nullptr;
    ++pensMade;
    return static_cast<HPEN>(Make(GdiObjectInfo::Pen, colour));
}

HBRUSH FakeSliderWindows::CreateSolidBrush(COLORREF colour) {
    ++brushesMade;
    return static_cast<HBRUSH>(Make(GdiObjectInfo::Brush, colour));
}

BOOL FakeSliderWindows::DeleteObject(HGDIOBJ object) {
    const auto found = m_live.find(reinterpret_cast<std::uintptr_t>(object));
    if (found == m_live.end()) {
        ++badDeletes;
        return FALSE;
    }
    if (canvas.IsSelected(object)) {
        ++deletesWhileSelected;
        return FALSE;
    }
    m_live.erase(found);
    return TRUE;
}

const GdiObjectInfo* FakeSliderWindows::Find(HGDIOBJ object) const {
    const auto found = m_live.find(reinterpret_cast<std::uintptr_t>(object));
    return found == m_live.end() ? nullptr : &found->second;
}

int FakeSliderWindows::Live(GdiObjectInfo::Kind kind) const {
    return static_cast<int>(std::count_if(m_live.begin(), m_live.end(),
                                          [&](const auto& entry) { return entry.second.kind == kind; }));
}

std::vector<COLORREF> FakeSliderWindows::LivePenColours() const {
    std::vector<COLORREF> colours;
    for (const auto& entry : m_live)
        if (entry.second.kind == GdiObjectInfo::Pen) colours.push_back(entry.second.colour);
    return colours;
}

LRESULT FakeSliderWindows::SendMessageA(HWND, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case TBM_GETRANGEMIN:
        return rangeMin;
    case TBM_GETRANGEMAX:
        return rangeMax;
    case TBM_GETSELSTART:
        return selStart;
    case TBM_GETSELEND:
        return selEnd;
    case TBM_GETCHANNELRECT:
        if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = channelRect;
        return 0;
    default:
        return 0;
    }
}

std::unique_ptr<Canvas> FakeSliderWindows::CanvasFor(HDC dc) {
    if (dc == nullptr) return nullptr;
    return std::make_unique<BorrowedCanvas>(canvas);
}
