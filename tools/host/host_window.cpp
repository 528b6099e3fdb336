#include "host_window.h"
#include "window_class.h"

#include <cstdio>

#include "host/winamp_ipc.h"
#include "host_session.h"

namespace {
const char kClassName[] = "MorvixStandInHost";
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 250;

void RegisterOnce(HINSTANCE instance, WNDPROC proc) {
    RegisterClassOnce(instance, kClassName, proc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

std::string Clock(int ms) {
    if (ms < 0) return "-:--";
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", ms / 60000, ms / 1000 % 60);
    return text;
}

const char* StatusName(int status) {
    switch (status) {
    case SimPlayer::kPlaying:
        return "playing";
    case SimPlayer::kPaused:
        return "paused";
    default:
        return "stopped";
    }
}
} // namespace

bool HostWindow::Create(bool visible) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    RegisterOnce(instance, Proc);
    const DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
    m_hwnd = ::CreateWindowExA(0, kClassName, "Morvix stand-in host", style, 20, 20, 480, 360, nullptr,
                               nullptr, instance, this);
    if (m_hwnd) ::SetTimer(m_hwnd, kTickTimer, kTickMs, nullptr);
    return m_hwnd != nullptr;
}

void HostWindow::Destroy() {
    if (!m_hwnd) return;
    ::KillTimer(m_hwnd, kTickTimer);
    ::DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

void HostWindow::Notify(SimPlayer::Change change) {
    if (!m_hwnd) return;
    ::SendMessageA(m_hwnd, WM_USER, static_cast<WPARAM>(change), ipc::kNotify);
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
}

LRESULT HostWindow::OnUser(WPARAM wParam, LPARAM code) {
    SimPlayer& player = *m_links.player;
    const int arg = static_cast<int>(static_cast<LONG_PTR>(wParam));
    switch (code) {
    case ipc::kStartPlay:
        player.Play();
        return 0;
    case ipc::kGetStatus:
        return player.Status();
    case ipc::kGetOutputTime:
        if (arg == 0) return player.PositionMs();
        if (arg == 1) return player.LengthSec();
        return -1;
    case ipc::kJumpToTime:
        return player.JumpTo(arg);
    case ipc::kSetVolume:
        if (arg == -666) return player.Volume();
        player.SetVolume(arg);
        return 0;
    case ipc::kGetListPos:
        return player.ListPos();
    case ipc::kGetPlaylistFile:
        return reinterpret_cast<LRESULT>(player.EntryName(arg));
    case ipc::kGetPlaylistFileW:
        if (!m_links.wideNames) return 1;
        return reinterpret_cast<LRESULT>(player.EntryWideName(arg));
    case ipc::kGetIniFile:
        return reinterpret_cast<LRESULT>(m_links.iniFile->c_str());
    case ipc::kGetIniDirectory:
        return reinterpret_cast<LRESULT>(m_links.iniDirectory->c_str());
    case ipc::kIsFullScreen:
        if (m_links.session->OldHost()) return 1;
        return m_links.reportsFullScreen() ? 1 : 0;
    case ipc::kGetVersion:
        return m_links.session->Version();
    case ipc::kIsVideoPlaying:
        if (m_links.session->OldHost()) return 1;
        if (m_links.session->NoVideoWhilePaused() && player.Status() == SimPlayer::kPaused) return 0;
        return m_links.session->VisualisationFullScreen() ? 0 : 2;
    default:
        return 0;
    }
}

void HostWindow::OnCommand(WPARAM wParam) {
    SimPlayer& player = *m_links.player;
    switch (LOWORD(wParam)) {
    case ipc::kCmdPause:
        player.TogglePause();
        break;
    case ipc::kCmdForward5:
        player.SkipMs(5000);
        break;
    case ipc::kCmdBack5:
        player.SkipMs(-5000);
        break;
    case ipc::kCmdQuit:
        m_links.requestQuit();
        break;
    case ipc::kCmdPreviousEntry:
        player.Previous();
        break;
    case ipc::kCmdNextEntry:
        player.Next();
        break;
    default:
        break;
    }
}

void HostWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    const SimPlayer& player = *m_links.player;
    std::string lines = "Morvix stand-in host\n\n";
    const auto& entries = player.Playlist();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        lines += (static_cast<int>(i) == player.ListPos() ? "> " : "   ") + entries[i].name + "  (" +
                 Clock(entries[i].lengthSec * 1000) + ")\n";
    }
    char status[160];
    std::snprintf(status, sizeof status, "\n%s  %s / %s   volume %d   full screen %s\n",
                  StatusName(player.Status()), Clock(player.PositionMs()).c_str(),
                  Clock(player.LengthSec() * 1000).c_str(), player.Volume(),
                  m_links.reportsFullScreen() ? "on" : "off");
    lines += status;
    lines += "\nF full screen  Space pause  N/P next/previous\n+/- volume  C configure  Q quit";
    RECT rc;
    ::GetClientRect(m_hwnd, &rc);
    ::InflateRect(&rc, -10, -10);
    ::DrawTextA(dc, lines.c_str(), -1, &rc, DT_LEFT | DT_NOPREFIX);
    ::EndPaint(m_hwnd, &ps);
}

LRESULT CALLBACK HostWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject<HostWindow>(hwnd, message, lParam);
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);

    switch (message) {
    case WM_USER: {
        if (lParam != ipc::kNotify) self->m_links.session->PumpInsideRequest();
        const std::size_t entry = self->m_links.log->Add(HostRequest{message, wParam, lParam, 0, {}});
        const LRESULT answer = self->OnUser(wParam, lParam);
        self->m_links.log->SetAnswer(entry, answer);
        const bool text =
            lParam == ipc::kGetPlaylistFile || lParam == ipc::kGetIniFile || lParam == ipc::kGetIniDirectory;
        if (text && answer) self->m_links.log->SetText(entry, reinterpret_cast<const char*>(answer));
        return answer;
    }
    case WM_COMMAND:
        self->m_links.log->Add(HostRequest{message, wParam, lParam, 0, {}});
        self->OnCommand(wParam);
        return 0;
    case WM_KEYDOWN:
        if (self->m_links.session->KeysToFocusOnly() && self->m_links.session->HandleKey(wParam)) return 0;
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    case kConfigureMessage:
        self->m_links.requestConfigure();
        return 0;
    case WM_TIMER:
        if (wParam == kTickTimer) {
            self->m_links.player->Tick();
            ::InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_PAINT:
        self->OnPaint();
        return 0;
    case WM_CLOSE:
        self->m_links.requestQuit();
        return 0;
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
