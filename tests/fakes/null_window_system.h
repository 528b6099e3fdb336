// A window system that does nothing and answers 0 everywhere: derive a fake from it and override
// only what a test looks at.
#pragma once
#include "platform/window_system.h"

class NullWindowSystem : public WindowSystem {
public:
    HWND CreateDialogFromTemplate(int, HWND, DialogHandler*) override { return nullptr; }
    INT_PTR RunModalDialog(int, HWND, DialogHandler*) override { return 0; }
    BOOL EndDialog(HWND, INT_PTR) override { return FALSE; }
    HWND GetDlgItem(HWND, int) override { return nullptr; }
    BOOL DestroyWindow(HWND) override { return FALSE; }
    LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    BOOL SetWindowPos(HWND, HWND, int, int, int, int, UINT) override { return FALSE; }
    BOOL GetWindowRect(HWND, RECT* rect) override {
        *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    BOOL ScreenToClientRect(HWND, RECT*) override { return FALSE; }
    BOOL IsWindowVisible(HWND) override { return FALSE; }
    BOOL IsWindowEnabled(HWND) override { return TRUE; }
    LONG_PTR GetStyle(HWND) override { return 0; }
    HWND GetWindow(HWND, UINT) override { return nullptr; }
    int GetClassNameA(HWND, char* buffer, int size) override {
        if (size > 0) buffer[0] = '\0';
        return 0;
    }
    BOOL SetWindowTextA(HWND, const char*) override { return FALSE; }
    int GetWindowTextA(HWND, char* buffer, int size) override {
        if (size > 0) buffer[0] = '\0';
        return 0;
    }
    BOOL RedrawWindow(HWND, UINT) override { return FALSE; }
    BOOL SetFocus(HWND) override { return FALSE; }
    BOOL SetForegroundWindow(HWND) override { return FALSE; }
    HWND GetFocus() override { return nullptr; }
    HWND GetForegroundWindow() override { return nullptr; }
    BOOL IsWindow(HWND) override { return FALSE; }
    BOOL PostMessageA(HWND, UINT, WPARAM, LPARAM) override { return FALSE; }
    BOOL GetCursorPos(POINT* pt) override {
        *pt = POINT{0, 0};
        return FALSE;
    }
    UINT_PTR SetTimer(HWND, UINT_PTR, UINT) override { return 0; }
    BOOL KillTimer(HWND, UINT_PTR) override { return FALSE; }
    UINT_PTR SetThreadTimer(UINT, TIMERPROC) override { return 0; }
    int MessageBoxA(HWND, const char*, const char*, UINT) override { return 0; }
    BOOL GetClipCursor(RECT* rect) override {
        *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    BOOL ClipCursor(const RECT*) override { return FALSE; }
    int GetSystemMetrics(int) override { return 0; }
    int GetDpiForWindow(HWND) override { return 96; }
    SIZE GetTextExtent(HWND, const char*) override { return SIZE{0, 0}; }
    bool GetMonitorRect(HWND, RECT* monitor) override {
        *monitor = RECT{0, 0, 0, 0};
        return true;
    }
    HWND CreateWindowExA(DWORD, const char*, DWORD, HWND) override { return nullptr; }
    DWORD GetSysColor(int) override { return 0; }
    HPEN CreatePen(int, int, COLORREF) override { return nullptr; }
    HBRUSH CreateSolidBrush(COLORREF) override { return nullptr; }
    HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                      const char*) override {
        return nullptr;
    }
    BOOL DeleteObject(HGDIOBJ) override { return FALSE; }
    std::unique_ptr<Canvas> CanvasFor(HDC) override { return nullptr; }
};
