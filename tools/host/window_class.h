// What the stand-in host's two windows share: their class registered once, and the C++ object behind a
// window handed over through CreateWindowEx's creation parameter.
#pragma once
#include <windows.h>

inline void RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSA wc = {};
    if (::GetClassInfoA(instance, name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

// The object a window procedure works for; null for the few messages before WM_NCCREATE.
template <class Window> Window* WindowObject(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}
