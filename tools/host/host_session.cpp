#include "host_session.h"

std::vector<PlaylistEntry> DemoPlaylist() {
    return {{"C:\\Videos\\Big Buck Bunny.avi", 596},
            {"C:\\Videos\\Elephants Dream.mkv", 654},
            {"C:\\Videos\\Sintel.mp4", 888},
            {"C:\\Videos\\Tears of Steel.avi", 734}};
}

namespace {
// The host's messages go on for ms, as in a host busy inside a call.
void PumpFor(int ms) {
    const DWORD until = ::GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<LONG>(until - ::GetTickCount()) > 0) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) { // for the loop outside to see
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

HostWindowLinks Links(HostSession& session, SimPlayer& player, RequestLog& log, const std::string& iniFile,
                      const std::string& iniDirectory, bool wideNames) {
    HostWindowLinks links;
    links.wideNames = wideNames;
    links.player = &player;
    links.log = &log;
    links.iniFile = &iniFile;
    links.iniDirectory = &iniDirectory;
    links.reportsFullScreen = [&session] { return session.ReportsFullScreen(); };
    links.session = &session;
    links.requestQuit = [&session] { session.RequestShutdown(); };
    links.requestConfigure = [&session] { session.Configure(); };
    return links;
}
} // namespace

HostSession::HostSession(HostOptions options)
    : m_options(std::move(options)), m_player(m_options.clock),
      m_main(Links(*this, m_player, m_log, m_iniFile, m_iniDirectory, m_options.wideNames)),
      m_plugins(m_log) {
    m_options.folder = WithoutTrailingSlash(m_options.folder);
    m_iniDirectory =
        m_options.iniDirectory.empty() ? m_options.folder : WithoutTrailingSlash(m_options.iniDirectory);
    m_iniFile = m_iniDirectory + "\\winamp.ini";
    m_player.SetPlaylist(m_options.playlist);
    m_player.SetListener([this](SimPlayer::Change change) {
        if (change == SimPlayer::Change::Entry && m_announceDelayMs > 0) PumpFor(m_announceDelayMs);
        ++m_notifyDepth;
        const DWORD start = ::GetTickCount();
        m_main.Notify(change);
        NoteHold(::GetTickCount() - start);
        --m_notifyDepth;
    });
    m_video.SetAnimated(m_options.animateVideo);
    m_video.SetOnWheel([this](int notches) { m_player.SetVolume(m_player.Volume() + 16 * notches); });
    m_video.SetOnKey([this](WPARAM key) { return m_keysToFocusOnly && HandleKey(key); });
    m_video.SetOnClose([this] {
        m_fullScreen = false;
        m_log.Note("video window closed; full screen off");
        ::InvalidateRect(m_main.Hwnd(), nullptr, TRUE);
    });
}

HostSession::~HostSession() {
    Shutdown();
}

bool HostSession::Start() {
    if (m_running) return true;
    ::CreateDirectoryA(m_options.folder.c_str(), nullptr);
    ::CreateDirectoryA(PluginsFolder().c_str(), nullptr);
    m_log.Note("host start #" + std::to_string(++m_runs) + " on " + m_options.folder);
    // The real player has the trackbar and up-down classes registered before any plug-in starts.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&classes);
    if (!m_main.Create(m_options.showMainWindow)) return false;
    m_video.Show(false);
    m_running = true;
    m_plugins.LoadAll(PluginsFolder(), m_main.Hwnd());
    return true;
}

void HostSession::Shutdown() {
    if (!m_running) return;
    m_running = false;
    m_shutdownPending = false;
    const DWORD start = ::GetTickCount();
    m_plugins.QuitAll();
    m_lastQuitMs = ::GetTickCount() - start;
    m_video.Destroy();
    m_fullScreen = false;
    m_main.Destroy();
    m_plugins.FreeAll();
    m_player.Reset();
    m_log.Note("host stopped");
}

bool HostSession::ServicePending() {
    if (m_restartPending) {
        m_restartPending = false;
        Shutdown();
        Start();
        return true;
    }
    if (m_shutdownPending) {
        Shutdown();
        return true;
    }
    return false;
}

void HostSession::Configure() {
    m_plugins.ConfigAll();
}

void HostSession::PostConfigure() {
    ::PostMessageA(m_main.Hwnd(), HostWindow::kConfigureMessage, 0, 0);
}

void HostSession::SetFullScreen(bool on, int monitor) {
    ReportFullScreen(on);
    ShowVideo(on, monitor);
}

void HostSession::ShowVideo(bool fullScreen, int monitor) {
    m_video.Show(fullScreen, monitor);
}

void HostSession::SetVisualisationFullScreen(bool on) {
    m_visualisation = on;
    if (on) m_video.Destroy();
    ReportFullScreen(on);
    m_log.Note(on ? "visualisation full screen, no video plays" : "visualisation closed");
    if (!on) m_video.Show(false);
}

void HostSession::ReportFullScreen(bool on) {
    if (on == m_fullScreen) return;
    m_fullScreen = on;
    m_log.Note(on ? "full screen on" : "full screen off");
    ::InvalidateRect(m_main.Hwnd(), nullptr, TRUE);
}

void HostSession::CoverScreenWithMainWindow() {
    HWND main = m_main.Hwnd();
    ::SetWindowLongPtrA(main, GWL_STYLE, WS_POPUP);
    ::SetWindowPos(main, HWND_BOTTOM, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                   SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void HostSession::DestroyVideoKeepingFullScreen() {
    m_video.Destroy();
    m_log.Note("video window destroyed; still reporting full screen");
}

void HostSession::PumpInsideRequest() {
    // One pump per notification being sent: a request made from the plug-in's timer inside a pump answers
    // at once, but one made from a notification sent inside it pumps again (so the plug-in's clock can
    // run inside what it asks while handling the notification).
    if (m_pumpInRequestsMs <= 0 || m_pumpDepth > m_notifyDepth) return;
    ++m_pumpDepth;
    PumpFor(m_pumpInRequestsMs);
    --m_pumpDepth;
}

bool HostSession::HandleKey(WPARAM key) {
    switch (key) {
    case 'F':
        SetFullScreen(!ReportsFullScreen());
        return true;
    case VK_ESCAPE:
        SetFullScreen(false);
        return true;
    case VK_SPACE:
        if (m_player.Status() == SimPlayer::kStopped) {
            m_player.Play();
        } else {
            m_player.TogglePause();
        }
        return true;
    case 'N':
        m_player.Next();
        return true;
    case 'P':
        m_player.Previous();
        return true;
    case VK_ADD:
    case VK_OEM_PLUS:
        m_player.SetVolume(m_player.Volume() + 16);
        return true;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        m_player.SetVolume(m_player.Volume() - 16);
        return true;
    case 'C':
        PostConfigure();
        return true;
    case 'Q':
        RequestShutdown();
        return true;
    default:
        return false;
    }
}

bool HostSession::MoveEntry(int index, const std::string& name, int flipByte) {
    std::vector<PlaylistEntry> entries = m_player.Playlist();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return false;
    PlaylistEntry& entry = entries[static_cast<std::size_t>(index)];
    const std::size_t slash = name.find_last_of('\\');
    if (slash != std::string::npos) ::CreateDirectoryA(name.substr(0, slash).c_str(), nullptr);
    if (!::MoveFileExA(entry.name.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    if (flipByte >= 0) {
        HANDLE file = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        unsigned char byte = 0;
        DWORD done = 0;
        ::SetFilePointer(file, flipByte, nullptr, FILE_BEGIN);
        ::ReadFile(file, &byte, 1, &done, nullptr);
        byte ^= 0xFF;
        ::SetFilePointer(file, flipByte, nullptr, FILE_BEGIN);
        const BOOL written = ::WriteFile(file, &byte, 1, &done, nullptr);
        ::CloseHandle(file);
        if (!written || done != 1) return false;
    }
    entry.name = name;
    entry.wideName.clear();
    m_player.SetPlaylist(std::move(entries));
    return true;
}
