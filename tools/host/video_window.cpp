#include "video_window.h"
#include "window_class.h"

#include <cstdio>
#include <cstring>

namespace {
const char kClassName[] = "Winamp Video";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMs = 100;
constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kFullScreenStyle = WS_POPUP;

void RegisterOnce(HINSTANCE instance, WNDPROC proc) {
    RegisterClassOnce(instance, kClassName, proc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void FillColour(HDC dc, const RECT& rc, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
}
} // namespace

namespace {
struct MonitorSearch {
    int wanted;
    int seen = 0;
    RECT found{};
    bool done = false;
};

BOOL CALLBACK NextMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* search = reinterpret_cast<MonitorSearch*>(data);
    MONITORINFO info = {sizeof info, {}, {}, 0};
    ::GetMonitorInfoA(monitor, &info);
    if (info.dwFlags & MONITORINFOF_PRIMARY) return TRUE; // counted as 0 already
    if (++search->seen == search->wanted) {
        search->found = info.rcMonitor;
        search->done = true;
        return FALSE;
    }
    return TRUE;
}
} // namespace

bool MonitorRect(int index, RECT* rect) {
    *rect = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (index == 0) return true;
    MonitorSearch search{index};
    ::EnumDisplayMonitors(nullptr, nullptr, NextMonitor, reinterpret_cast<LPARAM>(&search));
    if (search.done) *rect = search.found;
    return search.done;
}

bool VideoWindow::Show(bool fullScreen, int monitor) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (!m_hwnd) {
        RegisterOnce(instance, Proc);
        m_hwnd = ::CreateWindowExA(0, kClassName, "Video", kFramedStyle, 520, 60, 640, 400, nullptr, nullptr,
                                   instance, this);
        if (!m_hwnd) return false;
        if (m_animated) ::SetTimer(m_hwnd, kFrameTimer, kFrameMs, nullptr);
    }
    m_fullScreen = fullScreen;
    ::SetWindowLongPtrA(m_hwnd, GWL_STYLE,
                        static_cast<LONG_PTR>(fullScreen ? kFullScreenStyle : kFramedStyle));
    const UINT flags = SWP_FRAMECHANGED | SWP_SHOWWINDOW;
    if (fullScreen) {
        RECT area;
        MonitorRect(monitor, &area);
        ::SetWindowPos(m_hwnd, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       flags);
    } else {
        ::SetWindowPos(m_hwnd, HWND_TOP, 520, 60, 640, 400, flags);
    }
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
    return true;
}

void VideoWindow::Destroy() {
    if (!m_hwnd) return;
    HWND hwnd = m_hwnd;
    m_hwnd = nullptr;
    m_fullScreen = false;
    ::DestroyWindow(hwnd);
}

void VideoWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    RECT client;
    ::GetClientRect(m_hwnd, &client);
    // Colour bars, then a box that travels across them so a screenshot shows the picture moving.
    static const COLORREF kBars[] = {RGB(192, 192, 192), RGB(192, 192, 0), RGB(0, 192, 192), RGB(0, 192, 0),
                                     RGB(192, 0, 192),   RGB(192, 0, 0),   RGB(0, 0, 192)};
    const int n = static_cast<int>(sizeof kBars / sizeof kBars[0]);
    const int width = client.right - client.left;
    for (int i = 0; i < n; ++i) {
        RECT bar = {width * i / n, 0, width * (i + 1) / n, client.bottom * 2 / 3};
        FillColour(dc, bar, kBars[i]);
    }
    RECT lower = {0, client.bottom * 2 / 3, client.right, client.bottom};
    FillColour(dc, lower, RGB(16, 16, 16));
    const int box = client.bottom / 6;
    const int span = width > box ? width - box : 1;
    const int x = (m_frame * 8) % span;
    RECT mover = {x, client.bottom * 2 / 3 + box / 4, x + box, client.bottom * 2 / 3 + box / 4 + box};
    FillColour(dc, mover, RGB(255, 255, 255));
    char caption[64];
    std::snprintf(caption, sizeof caption, "Winamp Video test picture  frame %d", m_frame);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::TextOutA(dc, 12, client.bottom - 28, caption, static_cast<int>(std::strlen(caption)));
    ::EndPaint(m_hwnd, &ps);
}

LRESULT CALLBACK VideoWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject<VideoWindow>(hwnd, message, lParam);
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN:
        if (self->m_onKey && self->m_onKey(wParam)) return 0;
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_MOUSEWHEEL:
        if (self->m_onWheel) self->m_onWheel(GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    case WM_TIMER:
        if (wParam == kFrameTimer) {
            ++self->m_frame;
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_PAINT:
        self->Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CLOSE: {
        // Closing the video window ends full screen in the player; the owner hears of it first.
        self->Destroy();
        if (self->m_onClose) self->m_onClose();
        return 0;
    }
    case WM_DESTROY:
        ::KillTimer(hwnd, kFrameTimer);
        if (self->m_hwnd == hwnd) self->m_hwnd = nullptr;
        return 0;
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
