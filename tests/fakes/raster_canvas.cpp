#include "raster_canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xffffff;
constexpr COLORREF kNoPixel = 0xffffffff;
} // namespace

HGDIOBJ RasterCanvas::DefaultPen() {
    return reinterpret_cast<HGDIOBJ>(std::uintptr_t{0x11});
}
HGDIOBJ RasterCanvas::DefaultBrush() {
    return reinterpret_cast<HGDIOBJ>(std::uintptr_t{0x12});
}

RasterCanvas::RasterCanvas(int width, int height, COLORREF background, const GdiObjectDirectory& objects)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<size_t>(m_width) * m_height, background),
      m_backEnd(static_cast<size_t>(m_width) * m_height, false),
      m_objects(objects), m_state{DefaultPen(), DefaultBrush(), POINT{0, 0}} {}

COLORREF RasterCanvas::Pixel(int x, int y) const {
    return Inside(x, y) ? m_pixels[static_cast<size_t>(y) * m_width + x] : kNoPixel;
}

void RasterCanvas::Fill(COLORREF colour) {
    std::fill(m_pixels.begin(), m_pixels.end(), colour);
}

bool RasterCanvas::IsBackEndPixel(int x, int y) const {
    return Inside(x, y) && m_backEnd[static_cast<size_t>(y) * m_width + x];
}

void RasterCanvas::ClearBackEndPixels() {
    std::fill(m_backEnd.begin(), m_backEnd.end(), false);
}

bool RasterCanvas::IsSelected(HGDIOBJ object) const {
    if (object == nullptr) return false;
    if (m_state.pen == object || m_state.brush == object) return true;
    return std::any_of(m_saved.begin(), m_saved.end(),
                       [&](const State& s) { return s.pen == object || s.brush == object; });
}

int RasterCanvas::SaveDC() {
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

// As GDI: a positive level restores that saved state and drops every later one; a negative level counts
// back from the most recent.
BOOL RasterCanvas::RestoreDC(int saved) {
    const int depth = static_cast<int>(m_saved.size());
    const int level = saved < 0 ? depth + saved + 1 : saved;
    if (level < 1 || level > depth) return FALSE;
    m_state = m_saved[static_cast<size_t>(level) - 1];
    m_saved.resize(static_cast<size_t>(level) - 1);
    return TRUE;
}

bool RasterCanvas::Colour(HGDIOBJ object, GdiObjectInfo::Kind kind, COLORREF* colour) const {
    if (object == DefaultPen() || object == DefaultBrush()) {
        if ((object == DefaultPen()) != (kind == GdiObjectInfo::Pen)) return false;
        *colour = kind == GdiObjectInfo::Pen ? kBlack : kWhite;
        return true;
    }
    const GdiObjectInfo* info = m_objects.Find(object);
    if (info == nullptr || info->kind != kind) return false;
    *colour = info->colour & 0x00ffffff;
    return true;
}

HGDIOBJ RasterCanvas::SelectObject(HGDIOBJ object) {
    COLORREF ignored;
    if (Colour(object, GdiObjectInfo::Pen, &ignored)) return std::exchange(m_state.pen, object);
    if (Colour(object, GdiObjectInfo::Brush, &ignored)) return std::exchange(m_state.brush, object);
    return nullptr;
}

void RasterCanvas::MoveTo(int x, int y) {
    m_state.position = POINT{x, y};
}

// Bresenham from the current position, the end point excluded; exact for horizontal, vertical and 45-degree
// lines, which are all the slider draws.
void RasterCanvas::LineTo(int x, int y) {
    COLORREF colour;
    const bool inked = Colour(m_state.pen, GdiObjectInfo::Pen, &colour);
    int cx = m_state.position.x, cy = m_state.position.y;
    m_state.position = POINT{x, y};
    if (!inked) return;
    const int dx = std::abs(x - cx), dy = std::abs(y - cy);
    const int sx = x > cx ? 1 : -1, sy = y > cy ? 1 : -1;
    int error = dx - dy;
    while (cx != x || cy != y) {
        Put(cx, cy, colour);
        const int twice = 2 * error;
        if (twice > -dy) {
            error -= dy;
            cx += sx;
        }
        if (twice < dx) {
            error += dx;
            cy += sy;
        }
    }
}

void RasterCanvas::SetPixel(int x, int y, COLORREF colour) {
    Put(x, y, colour & 0x00ffffff);
}

// A pixel painted after a rounded rectangle's corner is no longer the back-end's choice.
void RasterCanvas::Put(int x, int y, COLORREF colour) {
    if (!Inside(x, y)) return;
    const size_t index = static_cast<size_t>(y) * m_width + x;
    m_pixels[index] = colour;
    m_backEnd[index] = false;
}

void RasterCanvas::FillArea(int left, int top, int right, int bottom, COLORREF colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_width);
    bottom = std::min(bottom, m_height);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            Put(x, y, colour);
}

// Outline in the pen on the rectangle's edge pixels, inside in the brush. The four corner pixels are left
// as they were and marked as the back-end's choice; the corner ellipse is otherwise too small to show.
void RasterCanvas::RoundRect(int left, int top, int right, int bottom, int, int) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 2 || bottom - top < 2) return;
    COLORREF brush;
    if (Colour(m_state.brush, GdiObjectInfo::Brush, &brush))
        FillArea(left + 1, top + 1, right - 1, bottom - 1, brush);
    COLORREF pen;
    if (Colour(m_state.pen, GdiObjectInfo::Pen, &pen)) {
        FillArea(left + 1, top, right - 1, top + 1, pen);
        FillArea(left + 1, bottom - 1, right - 1, bottom, pen);
        FillArea(left, top + 1, left + 1, bottom - 1, pen);
        FillArea(right - 1, top + 1, right, bottom - 1, pen);
    }
    for (const POINT corner :
         {POINT{left, top}, POINT{right - 1, top}, POINT{left, bottom - 1}, POINT{right - 1, bottom - 1}})
        if (Inside(corner.x, corner.y)) m_backEnd[static_cast<size_t>(corner.y) * m_width + corner.x] = true;
}

// Four solid strips given by corner and signed size, the bottom-right pair last.
void RasterCanvas::Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    const auto strip = [&](int x, int y, int cx, int cy, COLORREF colour) {
        FillArea(std::min(x, x + cx), std::min(y, y + cy), std::max(x, x + cx), std::max(y, y + cy),
                 colour & 0x00ffffff);
    };
    const int x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    strip(x, y, cx - 1, 1, topLeft);
    strip(x, y, 1, cy - 1, topLeft);
    strip(x + cx, y, -1, cy, bottomRight);
    strip(x, y + cy, cx, -1, bottomRight);
}

void RasterCanvas::FloodFill(int x, int y, COLORREF border) {
    COLORREF brush;
    border &= 0x00ffffff;
    if (!Colour(m_state.brush, GdiObjectInfo::Brush, &brush) || !Inside(x, y) || Pixel(x, y) == border)
        return;
    std::vector<bool> reached(m_pixels.size(), false);
    std::vector<POINT> pending{POINT{x, y}};
    reached[static_cast<size_t>(y) * m_width + x] = true;
    while (!pending.empty()) {
        const POINT p = pending.back();
        pending.pop_back();
        Put(p.x, p.y, brush);
        for (const POINT n :
             {POINT{p.x + 1, p.y}, POINT{p.x - 1, p.y}, POINT{p.x, p.y + 1}, POINT{p.x, p.y - 1}}) {
            if (!Inside(n.x, n.y)) continue;
            const size_t index = static_cast<size_t>(n.y) * m_width + n.x;
            if (reached[index] || m_pixels[index] == border) continue;
            reached[index] = true;
            pending.push_back(n);
        }
    }
}

void RasterCanvas::FillRect(const RECT& rect, HBRUSH brush) {
    COLORREF colour;
    if (!Colour(brush, GdiObjectInfo::Brush, &colour)) return;
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    FillArea(rect.left, rect.top, rect.right, rect.bottom, colour);
}
