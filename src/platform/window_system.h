// Seam: the USER and GDI-object calls of the bar, its sliders and the configuration dialog.
// Method names carry the A suffix where the platform's headers define a macro for the plain name.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/win_types.h"

// Receives every message of a dialog made from one of the plug-in's templates.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    // True when handled; *result then is the message's result (for WM_INITDIALOG the value the dialog
    // procedure returns). False leaves the message to the platform's dialog defaults.
    virtual bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
};

// A moment on the person's clock: its local date and time as seconds since 1970-01-01 (which tells its
// day), and its date and time of day as the user's locale writes them; empty texts when it cannot be shown.
struct LocalMoment {
    std::int64_t localSeconds = 0;
    std::u16string date;
    std::u16string time;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Dialogs from the plug-in's own resources.
    virtual HWND CreateDialogFromTemplate(int templateId, HWND parent, DialogHandler* handler) = 0;
    virtual INT_PTR RunModalDialog(int templateId, HWND parent, DialogHandler* handler) = 0;
    virtual BOOL EndDialog(HWND dialog, INT_PTR result) = 0;
    virtual HWND GetDlgItem(HWND dialog, int id) = 0;
    virtual BOOL DestroyWindow(HWND hwnd) = 0;

    virtual LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) = 0;
    virtual BOOL GetWindowRect(HWND hwnd, RECT* rect) = 0;
    // Converts a rectangle from screen to the client coordinates of hwnd.
    virtual BOOL ScreenToClientRect(HWND hwnd, RECT* rect) = 0;
    virtual BOOL IsWindowVisible(HWND hwnd) = 0;
    virtual BOOL IsWindowEnabled(HWND hwnd) = 0;
    virtual LONG_PTR GetStyle(HWND hwnd) = 0;
    virtual HWND GetWindow(HWND hwnd, UINT command) = 0;
    virtual int GetClassNameA(HWND hwnd, char* buffer, int size) = 0;
    virtual BOOL SetWindowTextA(HWND hwnd, const char* text) = 0;
    virtual int GetWindowTextA(HWND hwnd, char* buffer, int size) = 0;
    virtual BOOL RedrawWindow(HWND hwnd, UINT flags) = 0;
    virtual BOOL SetFocus(HWND hwnd) = 0;
    virtual BOOL SetForegroundWindow(HWND hwnd) = 0;
    // Where the keyboard is: this thread's focus window, and the window the system gives keys to.
    virtual HWND GetFocus() = 0;
    virtual HWND GetForegroundWindow() = 0;
    virtual BOOL IsWindow(HWND hwnd) = 0;
    virtual BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL GetCursorPos(POINT* pt) = 0;

    virtual UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) = 0;
    virtual BOOL KillTimer(HWND hwnd, UINT_PTR id) = 0;
    // A timer of the calling thread, with no window: proc runs from the thread's message loop; kill it
    // with KillTimer(nullptr, id).
    virtual UINT_PTR SetThreadTimer(UINT elapse, TIMERPROC proc) = 0;

    virtual int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) = 0;
    virtual BOOL GetClipCursor(RECT* rect) = 0;
    virtual BOOL ClipCursor(const RECT* rect) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    // The dots per inch hwnd is drawn at: its own where the system knows per-window scales, else the
    // screen's (96 is 100%).
    virtual int GetDpiForWindow(HWND hwnd) = 0;
    // The size of text in hwnd's own font; {0, 0} when it cannot be measured.
    virtual SIZE GetTextExtent(HWND hwnd, const char* text) = 0;
    // The rectangle of the monitor that holds the most of hwnd (the nearest one when none does); true
    // when that monitor is the primary one.
    virtual bool GetMonitorRect(HWND hwnd, RECT* monitor) = 0;
    // A top-level or owned window of a system class (the bar's time tip).
    virtual HWND CreateWindowExA(DWORD exStyle, const char* className, DWORD style, HWND owner) = 0;

    // GDI objects.
    virtual DWORD GetSysColor(int index) = 0;
    virtual HPEN CreatePen(int style, int width, COLORREF colour) = 0;
    virtual HBRUSH CreateSolidBrush(COLORREF colour) = 0;
    virtual HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                              DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                              DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                              const char* face) = 0;
    virtual BOOL DeleteObject(HGDIOBJ object) = 0;
    // A canvas over a device context handed over for painting (a custom-draw notification's HDC); null
    // when there is none or it cannot be made.
    virtual std::unique_ptr<Canvas> CanvasFor(HDC dc) = 0;

    // A report list of UTF-16 texts, a row selected at a time. A window system without one shows nothing.
    // The columns share the list's width by the given percentages, the last one taking what is left.
    virtual void ListColumns(HWND, const char* const* /*titles*/, const int* /*percents*/, int /*count*/) {}
    virtual void ListAddRow(HWND, const std::u16string* /*cells*/, int /*count*/) {}
    // The selected row, or -1.
    virtual int ListSelection(HWND) { return -1; }
    // Deletes a row and selects the one that takes its place (else the last).
    virtual void ListDeleteRow(HWND, int /*row*/) {}
    virtual void ListClear(HWND) {}
    // True when a WM_NOTIFY's lParam tells of the Delete key pressed in a list.
    virtual bool ListDeleteKey(LPARAM) { return false; }
    // The column whose heading was clicked, when a WM_NOTIFY's lParam tells of one; else -1.
    virtual int ListColumnClicked(LPARAM) { return -1; }

    // The clock: now in seconds since 1970-01-01 UTC, and such a moment in the person's time zone.
    virtual std::int64_t UtcNow() { return 0; }
    virtual LocalMoment ToLocal(std::int64_t /*utcSeconds*/) { return {}; }
};
