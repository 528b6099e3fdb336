// A small model of the bar's windows for native tests: the bar and its children with rectangles,
// visibility, text and trackbar state; other top-level windows with class names; timers; the cursor
// clip; a message box hook; and a log of the calls a test compares.
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "null_window_system.h"

struct FakeWindow {
    HWND parent = nullptr;
    int id = 0;
    std::string className;
    RECT rect{0, 0, 0, 0}; // screen coordinates for top-level windows, parent client coordinates for children
    bool visible = false;
    std::string text;
    int rangeMin = 0, rangeMax = 100, pos = 0, selStart = 0, selEnd = 0, ticFreq = 1;
    HFONT font = nullptr;
    LPARAM fontRedraw = 0;
};

struct ChildSpec {
    int id;
    const char* className;
    RECT rect; // client coordinates of the bar as created
};

struct FontRequest {
    int height, width, escapement, orientation, weight;
    DWORD italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily;
    std::string face;
};

class FakeBarWindows : public NullWindowSystem {
public:
    FakeBarWindows();

    // What the next dialog is made of; change before Create.
    RECT barRect{0, 0, 673, 66};
    std::vector<ChildSpec> children;
    int screenWidth = 800;    // SM_CXFULLSCREEN
    int screenHeight = 600;   // SM_CYFULLSCREEN
    UINT_PTR timerAnswer = 0; // 0: SetTimer answers the id it was given; UINT_PTR(-1): it fails (0)
    RECT clip{0, 0, 800, 600};
    // What GetMonitorRect answers for any window: the monitor and whether it is the primary one.
    RECT monitor{0, 0, 800, 600};
    bool monitorPrimary = true;
    std::function<void()> onMessageBox; // runs while the box is "up"
    // The pointer (the rig's last mouse message puts it there) and the keyboard: a show without
    // SWP_NOACTIVATE makes the window the foreground one.
    POINT cursor{0, 0};
    bool cursorKnown = false;
    HWND foreground = nullptr, focus = nullptr;
    int dpi = 96; // of every window
    // Made hidden, as without WS_VISIBLE (the bar's time tip).
    HWND CreateWindowExA(DWORD, const char* className, DWORD, HWND) override {
        const HWND made = AddTopLevel(className);
        W(made).visible = false;
        return made;
    }
    int GetDpiForWindow(HWND) override { return dpi; }
    // Text 7 pixels a character and 13 high, at 96 DPI.
    SIZE GetTextExtent(HWND, const char* text) override {
        return SIZE{static_cast<LONG>(std::strlen(text)) * 7 * dpi / 96, 13 * dpi / 96};
    }

    std::vector<std::string> calls; // SetWindowPos, SetTimer, KillTimer, MessageBox, ClipCursor, WM_CLOSE
    std::vector<FontRequest> fonts;
    std::vector<HGDIOBJ> deleted;
    int messageBoxes = 0;
    std::string lastBoxText, lastBoxCaption;
    UINT lastBoxType = 0;

    HWND bar() const { return m_bar; }
    HWND Item(int id);
    FakeWindow& W(HWND hwnd) { return m_windows.at(hwnd); }
    RECT ScreenRect(HWND hwnd);
    // Top-level windows in z-order after the bar (which is topmost).
    HWND AddTopLevel(const std::string& className);
    void RemoveTopLevel(HWND hwnd);
    // Delivers a message to the dialog's handler, as the platform's dialog procedure would.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    bool timerRunning() const { return !m_timers.empty(); }

    HWND CreateDialogFromTemplate(int templateId, HWND parent, DialogHandler* handler) override;
    HWND GetDlgItem(HWND dialog, int id) override;
    LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) override;
    BOOL GetWindowRect(HWND hwnd, RECT* rect) override;
    BOOL ScreenToClientRect(HWND hwnd, RECT* rect) override;
    BOOL IsWindowVisible(HWND hwnd) override;
    HWND GetWindow(HWND hwnd, UINT command) override;
    int GetClassNameA(HWND hwnd, char* buffer, int size) override;
    BOOL SetWindowTextA(HWND hwnd, const char* text) override;
    BOOL RedrawWindow(HWND hwnd, UINT flags) override;
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) override;
    BOOL KillTimer(HWND hwnd, UINT_PTR id) override;
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) override;
    BOOL GetClipCursor(RECT* rect) override;
    BOOL GetCursorPos(POINT* pt) override {
        *pt = cursor;
        return cursorKnown;
    }
    HWND GetForegroundWindow() override { return foreground; }
    HWND GetFocus() override { return focus; }
    BOOL IsWindow(HWND hwnd) override { return m_windows.count(hwnd) != 0; }
    BOOL SetForegroundWindow(HWND hwnd) override;
    BOOL SetFocus(HWND hwnd) override;
    BOOL PostMessageA(HWND hwnd, UINT message, WPARAM, LPARAM) override;
    BOOL ClipCursor(const RECT* rect) override;
    int GetSystemMetrics(int index) override;
    bool GetMonitorRect(HWND, RECT* rect) override {
        *rect = monitor;
        return monitorPrimary;
    }
    HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                      DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                      DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* face) override;
    BOOL DeleteObject(HGDIOBJ object) override;

    std::string Name(HWND hwnd) const;

private:
    HWND NewHandle();
    LRESULT Trackbar(FakeWindow& w, UINT message, WPARAM wParam, LPARAM lParam);
    const std::vector<HWND>& Siblings(HWND hwnd) const;

    std::map<HWND, FakeWindow> m_windows;
    std::vector<HWND> m_topLevel;
    std::vector<HWND> m_children;
    std::vector<UINT_PTR> m_timers;
    HWND m_bar = nullptr;
    DialogHandler* m_handler = nullptr;
    std::uintptr_t m_nextHandle = 0x1000;
};

std::string RectText(const RECT& r);
