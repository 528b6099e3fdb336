// The Win32 side of the seams: each method is the platform call of the same name.
#pragma once
#include "platform/background.h"
#include "platform/code_page.h"
#include "platform/disk_worker.h"
#include "platform/file_store.h"
#include "platform/host_link.h"
#include "platform/profile_store.h"
#include "platform/wall_clock.h"
#include "platform/window_system.h"

// The plug-in's own module; resources and dialogs come from here, never from the host's executable.
HINSTANCE ThisModule();

// Sends to the window whose handle *target holds at the time of the call (the host writes it late).
class Win32HostLink : public HostLink {
public:
    explicit Win32HostLink(const HWND* target) : m_target(target) {}
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override {
        return ::SendMessageA(*m_target, message, wParam, lParam);
    }
    HWND Window() override { return *m_target; }

private:
    const HWND* m_target;
};

class Win32ProfileStore : public ProfileStore {
public:
    DWORD GetString(const char* section, const char* key, const char* defaultValue, char* buffer, DWORD size,
                    const char* path) override {
        return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path);
    }
    BOOL WriteString(const char* section, const char* key, const char* value, const char* path) override {
        return ::WritePrivateProfileStringA(section, key, value, path);
    }
};

class Win32CodePage : public CodePage {
public:
    bool ToAnsi(const std::u16string& wide, std::string& ansi) override;
    std::u16string ToWide(const std::string& ansi) override;
};

class Win32WallClock : public WallClock {
public:
    std::int64_t Now() override {
        FILETIME now;
        ::GetSystemTimeAsFileTime(&now);
        const std::uint64_t ticks = static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
        // 100 ns ticks since 1601 to seconds since 1970.
        return static_cast<std::int64_t>(ticks / 10000000u) - 11644473600ll;
    }
};

class Win32FileStore : public FileStore {
public:
    Reading ReadAll(const std::string& path, std::vector<unsigned char>& bytes) override;
    Outcome Replace(const std::string& path, const std::vector<unsigned char>& bytes) override;
    bool Gone(const std::string& path, bool utf8) override;
    FileIdentity Identify(const std::string& path, bool utf8) override;
};

// Threads that take their own reference to the plug-in's module and end with FreeLibraryAndExitThread, so
// that their code stays loaded however long a disk call takes, even when the host unloads the plug-in.
class Win32WorkerSystem : public WorkerSystem {
public:
    Win32WorkerSystem();
    ~Win32WorkerSystem() override;
    Win32WorkerSystem(const Win32WorkerSystem&) = delete;
    Win32WorkerSystem& operator=(const Win32WorkerSystem&) = delete;
    bool Start(void (*work)(void*), void* context) override;
    void Lock() override { ::EnterCriticalSection(&m_lock); }
    void Unlock() override { ::LeaveCriticalSection(&m_lock); }
    void Signal() override { ::SetEvent(m_progress); }
    bool Wait(DWORD ms) override { return ::WaitForSingleObject(m_progress, ms) == WAIT_OBJECT_0; }
    void Sleep(DWORD ms) override { ::Sleep(ms); }
    DWORD Now() override { return ::GetTickCount(); }

private:
    CRITICAL_SECTION m_lock;
    HANDLE m_progress;
};

// The disk worker over the Win32 file store's calls and Win32 threads.
class Win32Background : private Win32WorkerSystem, public DiskWorker {
public:
    explicit Win32Background(FileStore& files) : DiskWorker(files, *static_cast<Win32WorkerSystem*>(this)) {}
};

class Win32WindowSystem : public WindowSystem {
public:
    HWND CreateDialogFromTemplate(int templateId, HWND parent, DialogHandler* handler) override;
    INT_PTR RunModalDialog(int templateId, HWND parent, DialogHandler* handler) override;
    BOOL EndDialog(HWND dialog, INT_PTR result) override { return ::EndDialog(dialog, result); }
    HWND GetDlgItem(HWND dialog, int id) override { return ::GetDlgItem(dialog, id); }
    BOOL DestroyWindow(HWND hwnd) override { return ::DestroyWindow(hwnd); }

    LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        return ::SendMessageA(hwnd, message, wParam, lParam);
    }
    BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) override {
        return ::SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
    }
    BOOL GetWindowRect(HWND hwnd, RECT* rect) override { return ::GetWindowRect(hwnd, rect); }
    BOOL ScreenToClientRect(HWND hwnd, RECT* rect) override {
        ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(rect), 2);
        return TRUE;
    }
    BOOL IsWindowVisible(HWND hwnd) override { return ::IsWindowVisible(hwnd); }
    BOOL IsWindowEnabled(HWND hwnd) override { return ::IsWindowEnabled(hwnd); }
    LONG_PTR GetStyle(HWND hwnd) override { return ::GetWindowLongPtrA(hwnd, GWL_STYLE); }
    HWND GetWindow(HWND hwnd, UINT command) override { return ::GetWindow(hwnd, command); }
    int GetClassNameA(HWND hwnd, char* buffer, int size) override {
        return ::GetClassNameA(hwnd, buffer, size);
    }
    BOOL SetWindowTextA(HWND hwnd, const char* text) override { return ::SetWindowTextA(hwnd, text); }
    int GetWindowTextA(HWND hwnd, char* buffer, int size) override {
        return ::GetWindowTextA(hwnd, buffer, size);
    }
    BOOL RedrawWindow(HWND hwnd, UINT flags) override {
        return ::RedrawWindow(hwnd, nullptr, nullptr, flags);
    }
    BOOL SetFocus(HWND hwnd) override { return ::SetFocus(hwnd) != nullptr; }
    BOOL SetForegroundWindow(HWND hwnd) override { return ::SetForegroundWindow(hwnd); }
    HWND GetFocus() override { return ::GetFocus(); }
    HWND GetForegroundWindow() override { return ::GetForegroundWindow(); }
    BOOL IsWindow(HWND hwnd) override { return ::IsWindow(hwnd); }
    BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        return ::PostMessageA(hwnd, message, wParam, lParam);
    }
    BOOL GetCursorPos(POINT* pt) override { return ::GetCursorPos(pt); }

    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) override {
        return ::SetTimer(hwnd, id, elapse, nullptr);
    }
    BOOL KillTimer(HWND hwnd, UINT_PTR id) override { return ::KillTimer(hwnd, id); }
    UINT_PTR SetThreadTimer(UINT elapse, TIMERPROC proc) override {
        return ::SetTimer(nullptr, 0, elapse, proc);
    }

    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) override {
        return ::MessageBoxA(owner, text, caption, type);
    }
    BOOL GetClipCursor(RECT* rect) override { return ::GetClipCursor(rect); }
    BOOL ClipCursor(const RECT* rect) override { return ::ClipCursor(rect); }
    int GetSystemMetrics(int index) override { return ::GetSystemMetrics(index); }
    int GetDpiForWindow(HWND hwnd) override;
    SIZE GetTextExtent(HWND hwnd, const char* text) override;
    void ListColumns(HWND list, const char* const* titles, const int* percents, int count) override;
    void ListAddRow(HWND list, const std::u16string* cells, int count) override;
    int ListSelection(HWND list) override {
        return static_cast<int>(
            ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    void ListDeleteRow(HWND list, int row) override;
    void ListClear(HWND list) override { ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0); }
    bool ListDeleteKey(LPARAM lParam) override {
        const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
        return key->hdr.code == LVN_KEYDOWN && key->wVKey == VK_DELETE;
    }
    int ListColumnClicked(LPARAM lParam) override {
        const auto* click = reinterpret_cast<const NMLISTVIEW*>(lParam);
        return click->hdr.code == LVN_COLUMNCLICK ? click->iSubItem : -1;
    }
    std::int64_t UtcNow() override;
    LocalMoment ToLocal(std::int64_t utcSeconds) override;
    bool GetMonitorRect(HWND hwnd, RECT* monitor) override {
        MONITORINFO info = {sizeof info, {}, {}, 0};
        ::GetMonitorInfoA(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
        *monitor = info.rcMonitor;
        return (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    }
    HWND CreateWindowExA(DWORD exStyle, const char* className, DWORD style, HWND owner) override {
        return ::CreateWindowExA(exStyle, className, "", style, 0, 0, 0, 0, owner, nullptr, ThisModule(),
                                 nullptr);
    }

    DWORD GetSysColor(int index) override { return ::GetSysColor(index); }
    HPEN CreatePen(int style, int width, COLORREF colour) override {
        return ::CreatePen(style, width, colour);
    }
    HBRUSH CreateSolidBrush(COLORREF colour) override { return ::CreateSolidBrush(colour); }
    HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                      DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                      DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* face) override {
        return ::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                             charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face);
    }
    BOOL DeleteObject(HGDIOBJ object) override { return ::DeleteObject(object); }
    std::unique_ptr<Canvas> CanvasFor(HDC dc) override;
};
