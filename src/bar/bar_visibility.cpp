// When the bar is on screen: the mouse brings it up over full-screen video, its tick puts it away.
#include <cstring>

#include "bar/dlg_buttons.h"
#include "bar/mouse_rules.h"
#include "host/winamp_ipc.h"
#include "settings/settings.h"

namespace {
constexpr UINT_PTR kBarTimerId = 1;
constexpr UINT kTickMs = 500;
// Never activated: the keyboard stays with the window that had it (the video, the player's shortcuts).
constexpr UINT kShowFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOACTIVATE;
constexpr UINT kHideFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOOWNERZORDER;
constexpr const char* kVideoClass = "Winamp Video";
constexpr int kClassBufferSize = 50;
constexpr const char* kVideoLostText =
    "It appears the FullScreen has closed but WinAmp hasn't been informed\n"
    "The Morvix will not appear until it's sorted out\n"
    "(Try double clicking on video screen a few times).";
constexpr const char* kVideoLostCaption = "Morvix";
} // namespace

bool CDlgButtons::OnMouseEvent(UINT message, const MOUSEHOOKSTRUCT* mouse, bool taken) {
    // The hook runs before the bar's window exists; nothing to show then.
    if (m_hWnd == nullptr || mouse == nullptr) return false;
    if (!HostFullScreen()) {
        m_bNoVideo = false;
        if (m_windows.IsWindowVisible(m_hWnd)) ShowBar(false);
        return false;
    }
    const POINT pt = mouse->pt;
    if (!PassesFilters(message, pt)) return false;
    // The notch that brings the bar up is the host's (its volume, say): the person could not see where
    // the bar's sliders would be.
    const bool wasShown = m_windows.IsWindowVisible(m_hWnd);
    // A click on a button or slider activates the bar on its way (the control takes the focus): once
    // the control has had the click, the keyboard goes back.
    if (wasShown && (message == WM_LBUTTONUP || message == WM_RBUTTONUP))
        m_windows.PostMessageA(m_hWnd, kGiveKeyboardBack, 0, 0);
    // Showing may move the bar to the video's monitor, so the point is compared with where it is then.
    ShowBar(true);
    m_nHideCountdown = HideCountdownFor(BarRect(), pt, IsOn(m_settings.clipmouse), HideTicks());
    if (!m_windows.IsWindowVisible(m_hWnd)) return false;
    TrackTip(pt);
    if (message != WM_MOUSEWHEEL || !taken || !wasShown) return false;
    const DWORD data = static_cast<const MOUSEHOOKSTRUCTEX*>(mouse)->mouseData;
    return OnWheel(pt, static_cast<short>(HIWORD(data)));
}

// A host before 5.0 answers 1 to the full-screen request it lacks: it is never taken to be full screen.
bool CDlgButtons::HostFullScreen() {
    return m_bHostHasFullScreen && m_host.IsFullScreen();
}

int CDlgButtons::HideTicks() const {
    return HideDelaySeconds(m_settings) * 1000 / static_cast<int>(kTickMs);
}

void CDlgButtons::OnPlaybackChanged() {
    m_bNoVideo = false;
}

void CDlgButtons::ShowNotice() {
    // While the video window is lost the mouse decides when to look again; the notice raises no box.
    if (m_hWnd == nullptr || m_bVideoLost || m_windows.IsWindowVisible(m_hWnd) || !HostFullScreen()) return;
    ShowIfHidden(false);
    m_nHideCountdown = HideTicks();
}

// The video-lost guard, the right-click pause and the jitter filter, in that order.
bool CDlgButtons::PassesFilters(UINT message, POINT pt) {
    if (m_bVideoLost) {
        if (FindVideoWindow() == nullptr) return false;
        m_bVideoLost = false;
    }
    if (IsOn(m_settings.mousepause) && message == WM_RBUTTONUP) m_host.PlayPause(-1);
    if (message == WM_MOUSEMOVE && !m_windows.IsWindowVisible(m_hWnd)) return JitterPasses(m_ptLastMouse, pt);
    return true;
}

void CDlgButtons::ShowBar(bool show) {
    if (show)
        ShowIfHidden();
    else
        Hide();
}

// The mouse's show takes the cursor (with "Clip mouse to control") and tells of a lost video window; the
// resume notice only shows: it raises no box, which would run its modal loop inside the host's
// track-change notification.
void CDlgButtons::ShowIfHidden(bool byMouse) {
    if (m_windows.IsWindowVisible(m_hWnd)) return;
    // Full screen without video is a visualisation: nothing to control, no window to look for. The
    // answer holds until full screen ends or the playback changes, so the mouse keeps costing one request.
    if (m_bNoVideo) return;
    // A video window on screen settles it, paused or not: a host may say no video plays while it is
    // paused. A hidden one or none, and the host is asked first: it tells a visualisation (no video
    // plays) from a lost window.
    const HWND video = FindVideoWindow();
    if (video == nullptr || !m_windows.IsWindowVisible(video)) {
        if (!m_host.MayPlayVideo()) {
            m_bNoVideo = true;
            return;
        }
    }
    if (video == nullptr) {
        if (!byMouse) return;
        // Set before the box opens: its modal loop re-enters the mouse hook, which must stop early.
        m_bVideoLost = true;
        m_windows.MessageBoxA(m_hWnd, kVideoLostText, kVideoLostCaption, MB_OK);
        return;
    }
    PlaceOnMonitorOf(video);
    // A host that is per-monitor aware: a monitor of another scale than the last show's.
    if (m_windows.GetDpiForWindow(m_hWnd) != m_nDpi) SetUpClockFont();
    const HWND top = m_windows.GetForegroundWindow();
    if (top != m_hWnd) {
        m_hKeyboardTop = top;
        m_hKeyboardFocus = m_windows.GetFocus();
    }
    m_windows.SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, kShowFlags);
    m_nTimer = m_windows.SetTimer(m_hWnd, kBarTimerId, kTickMs);
    UpdateTime();
    SyncVolume();
    if (byMouse && IsOn(m_settings.clipmouse)) ClipToBar();
}

// No visibility test: every path into hidden repeats the whole sequence.
void CDlgButtons::Hide() {
    // Before the bar goes: hiding the active window would let the system pick one (under Wine the desktop).
    GiveKeyboardBack();
    m_windows.SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kHideFlags);
    if (m_nTimer != 0) {
        m_windows.KillTimer(m_hWnd, m_nTimer);
        m_nTimer = 0;
    }
    m_nHideCountdown = 0;
    HideTip();
    RestoreClip();
}

// Only while the bar has it: a person who has clicked elsewhere since keeps the keyboard there. A window
// that has gone or hidden meanwhile (the video window "Rstr" closed) leaves it to the host's main window;
// without that, the bar keeps it (Alt+F4 still hides the bar).
void CDlgButtons::GiveKeyboardBack() {
    if (m_hWnd == nullptr || m_windows.GetForegroundWindow() != m_hWnd) return;
    const auto there = [this](HWND w) {
        return w != nullptr && m_windows.IsWindow(w) && m_windows.IsWindowVisible(w);
    };
    if (!there(m_hKeyboardTop)) {
        const HWND host = m_host.MainWindow();
        if (there(host)) m_windows.SetForegroundWindow(host);
        return;
    }
    m_windows.SetForegroundWindow(m_hKeyboardTop);
    if (there(m_hKeyboardFocus)) m_windows.SetFocus(m_hKeyboardFocus);
}

void CDlgButtons::ClipToBar() {
    // A clip saved earlier and not yet given back is the user's; the current one may be our own strip.
    if (!m_bClipSaved) {
        m_windows.GetClipCursor(&m_rcSavedClip);
        m_bClipSaved = true;
    }
    const RECT clip = ClipAroundBar(BarRect());
    m_windows.ClipCursor(&clip);
}

// Whatever clipmouse says now: a clip we narrowed is given back exactly once, and a clip we never
// read is never applied.
void CDlgButtons::RestoreClip() {
    if (!m_bClipSaved) return;
    m_bClipSaved = false;
    m_windows.ClipCursor(&m_rcSavedClip);
}

HWND CDlgButtons::FindVideoWindow() {
    if (m_hWnd == nullptr) return nullptr;
    for (HWND w = m_windows.GetWindow(m_hWnd, GW_HWNDFIRST); w != nullptr;
         w = m_windows.GetWindow(w, GW_HWNDNEXT)) {
        char name[kClassBufferSize] = {};
        const int length = m_windows.GetClassNameA(w, name, kClassBufferSize);
        name[kClassBufferSize - 1] = '\0';
        if (length != 0 && std::strcmp(name, kVideoClass) == 0) return w;
    }
    return nullptr;
}

bool CDlgButtons::OnTimer(UINT_PTR id) {
    if (m_nTimer == 0 || id != m_nTimer) return false;
    // Full screen left by a key while the pointer rests on the bar: no mouse message will come to hide it.
    if (!HostFullScreen()) {
        m_bNoVideo = false;
        ShowBar(false);
        return true;
    }
    // The pointer can leave the bar where no message of this thread follows it (another program's window,
    // the next monitor): the countdown starts all the same, and the tip goes.
    POINT cursor{0, 0};
    if (m_nHideCountdown == 0 && m_windows.GetCursorPos(&cursor) && !PointInRect(BarRect(), cursor)) {
        m_nHideCountdown = HideCountdownFor(BarRect(), cursor, IsOn(m_settings.clipmouse), HideTicks());
        HideTip();
    }
    if (m_nHideCountdown > 0 && --m_nHideCountdown == 0) {
        ShowBar(false);
        return true;
    }
    TickWind();
    TickBlink();
    UpdateTime();
    return false;
}

void CDlgButtons::OnRestore() {
    const HWND video = FindVideoWindow();
    if (video != nullptr) {
        // The keyboard is the video's (the bar's button does not take it): it goes to the host's main
        // window first, or the system would give it to the desktop as the video window goes.
        const HWND top = m_windows.GetForegroundWindow();
        const HWND host = m_host.MainWindow();
        if (host != nullptr && (top == video || top == m_hWnd)) m_windows.SetForegroundWindow(host);
        // The bar stays: its next tick (or mouse message) finds the host out of full screen and hides it.
        m_windows.SendMessageA(video, WM_CLOSE, 0, 0);
        return;
    }
    m_bVideoLost = true;
    ShowBar(false);
}

void CDlgButtons::OnExit() {
    ShowBar(false);
    m_host.QuitHost();
}

RECT CDlgButtons::BarRect() {
    return WindowRect(m_hWnd);
}

RECT CDlgButtons::WindowRect(HWND window) {
    RECT r{0, 0, 0, 0};
    m_windows.GetWindowRect(window, &r);
    return r;
}
