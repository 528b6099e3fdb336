// The DLL's face towards the host: the export, the record, init/config/quit, the two taps, and the
// program's global objects in the order they are built. The DLL is built without exceptions (see
// lean_runtime.cpp), so none can leave these entries into the host.
#include "bar/dlg_buttons.h"
#include "bookmarks/bookmark_store.h"
#include "host/lifecycle.h"
#include "host/taps.h"
#include "host/winamp_ipc.h"
#include "platform/win32/win32_seams.h"
#include "plugin/plugin_record.h"
#include "settings/dlg_config.h"
#include "settings/settings.h"

namespace {
int Init();
void Config();
void Quit();
LRESULT CALLBACK HostWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
void CALLBACK BookmarkClock(HWND, UINT, UINT_PTR, DWORD now);
} // namespace

PluginRecord g_plugin = {kPluginVersion, "Morvix (gen_morvix.dll)", Init, Config, Quit, nullptr, nullptr};

WNDPROC g_prevWndProc = nullptr;
HHOOK g_mouseHook = nullptr;

namespace {
// The Win32 seams hold no state of their own; they are built first so the program objects can refer to them.
Win32HostLink s_hostLink(&g_plugin.hwndParent);
Win32WindowSystem s_windows;
Win32ProfileStore s_profile;
Win32FileStore s_files;
Win32Background s_background(s_files);
Win32CodePage s_codePage;
Win32WallClock s_wallClock;
} // namespace

extern Settings g_settings;

CWinampIPC g_winamp(s_hostLink);
CDlgButtons g_dlgButtons(g_winamp, g_settings, s_windows, s_profile);
CBookmarkStore g_bookmarks(g_winamp, g_settings, s_background, s_windows, s_codePage, BookmarkClock);
Settings g_settings;

namespace {

// The host window whose chain still holds HostWndProc, chaining to g_prevWndProc: quit cannot take it out
// again when something subclassed the window after us.
HWND s_chainedWindow = nullptr;

class Win32HostTaps : public HostTaps {
public:
    void SubclassHostWindow() override {
        HWND host = g_plugin.hwndParent;
        // Still in this window's chain from before: subclassing again would make the foreign procedure
        // above us our "previous" one, and it chains back to us, without end.
        if (host != nullptr && host == s_chainedWindow && ::IsWindow(host)) return;
        g_prevWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostWndProc)));
        s_chainedWindow = g_prevWndProc != nullptr ? host : nullptr;
    }
    bool InstallMouseHook() override {
        g_mouseHook = ::SetWindowsHookExA(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
        return g_mouseHook != nullptr;
    }
    bool HasMouseHook() const override { return g_mouseHook != nullptr; }
    void RemoveMouseHook() override {
        ::UnhookWindowsHookEx(g_mouseHook);
        g_mouseHook = nullptr;
    }
    void RestoreHostWindow() override {
        HWND host = g_plugin.hwndParent;
        if (g_prevWndProc == nullptr || !::IsWindow(host)) return;
        if (::GetWindowLongPtrA(host, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(HostWndProc)) return;
        ::SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_prevWndProc));
        s_chainedWindow = nullptr;
    }
};

Win32HostTaps s_taps;

// A remembered file that resumes over full-screen video brings the bar up, so the person sees where.
class ResumeNotice : public CBookmarkStore::ResumeListener {
public:
    void OnResumed() override { g_dlgButtons.ShowNotice(); }
};
ResumeNotice s_resumeNotice;
// A second init would subclass the host window with our own procedure as the previous one, and every
// message would then chain to itself forever.
bool s_running = false;

PluginParts Parts() {
    return PluginParts{s_taps, s_windows, s_profile, g_winamp, g_dlgButtons, g_bookmarks, g_settings};
}

// The bar's trackbars and the dialog's up-down control; a host that has not registered them yet still
// gets working dialogs.
void RegisterControlClasses() {
    INITCOMMONCONTROLSEX classes = {sizeof classes,
                                    ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
}

int Init() {
    if (s_running) return 0;
    s_running = true;
    RegisterControlClasses();
    PluginParts parts = Parts();
    PluginInit(parts);
    g_bookmarks.SetResumeListener(&s_resumeNotice);
    g_bookmarks.SetWallClock(&s_wallClock);
    return 0;
}

void Config() {
    RegisterControlClasses();
    RunConfigDialog(s_windows, g_dlgButtons.GetSafeHwnd(), g_settings, g_winamp, s_profile, &g_bookmarks);
}

void Quit() {
    // From here on the host window's messages are only passed on: nothing may reach the store once it
    // has written its last file.
    s_running = false;
    PluginParts parts = Parts();
    PluginQuit(parts);
}

LRESULT CALLBACK HostWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // After quit the procedure may still be in the chain; it only passes messages on then.
    if (s_running) ObserveHostMessage(g_bookmarks, g_dlgButtons, message, wParam, lParam);
    return ::CallWindowProcA(g_prevWndProc, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const bool usedUp = ObserveMouse(g_dlgButtons, code, wParam, lParam);
    const LRESULT next = ::CallNextHookEx(g_mouseHook, code, wParam, lParam);
    // A wheel notch the bar took must not also scroll the control that has the focus.
    return usedUp ? 1 : next;
}

void CALLBACK BookmarkClock(HWND, UINT, UINT_PTR timer, DWORD now) {
    if (s_running) g_bookmarks.OnTimer(timer, now);
}

} // namespace

extern "C" PluginRecord* winampGetGeneralPurposePlugin() {
    return &g_plugin;
}
