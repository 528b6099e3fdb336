// The host player's window-message interface. Stateless apart from the link it sends through.
#pragma once
#include <string>

#include "platform/host_link.h"

namespace ipc {
// Request codes: lParam of WM_USER requests, wParam of WM_COMMAND requests.
constexpr LPARAM kStartPlay = 102;
constexpr LPARAM kGetStatus = 104;
constexpr LPARAM kGetOutputTime = 105;
constexpr LPARAM kJumpToTime = 106;
constexpr LPARAM kSetVolume = 122;
constexpr LPARAM kGetListPos = 125;
constexpr LPARAM kGetPlaylistFile = 211;
constexpr LPARAM kGetIniFile = 334;
constexpr LPARAM kGetIniDirectory = 335;
constexpr LPARAM kNotify = 603;
constexpr LPARAM kIsFullScreen = 630;
constexpr WPARAM kQueryVolume = static_cast<WPARAM>(-666);
constexpr WPARAM kCmdQuit = 40001;
constexpr WPARAM kCmdPreviousEntry = 40044;
constexpr WPARAM kCmdPause = 40046;
constexpr WPARAM kCmdNextEntry = 40048;
constexpr WPARAM kCmdForward5 = 40060;
constexpr WPARAM kCmdBack5 = 40061;
// wParam of a kNotify message.
constexpr WPARAM kNotifyVolume = 1;
constexpr WPARAM kNotifyStatus = 2;
constexpr WPARAM kNotifyInfo = 5;

constexpr int kStatusPlaying = 1;
constexpr int kStatusPaused = 3;

// The host's version (WM_USER, lParam 0): 0x5000 and above for 5.0 and later.
constexpr LPARAM kGetVersion = 0;
constexpr int kFirstVersionWithFullScreen = 0x5000;
// Whether video plays (lParam 501): more than 1 while it does, 0 while it does not, 1 on old hosts.
constexpr LPARAM kIsVideoPlaying = 501;

// The longest text copied from a host answer; longer texts are cut.
constexpr std::size_t kMaxText = 4096;
// The entry's file name as UTF-16 text (wParam = entry index). A host without the request answers 1;
// any answer below this is no text.
constexpr LPARAM kGetPlaylistFileW = 214;
constexpr LRESULT kLowestTextAddress = 65536;
} // namespace ipc

class CWinampIPC {
public:
    explicit CWinampIPC(HostLink& link) : m_link(link) {}

    bool IsFullScreen();
    int GetPosition();
    int GetLength();
    void JumpTo(int ms);
    void SetVolume(int volume);
    int GetVolume();
    int GetStatus();
    int GetListPos();
    std::string GetPlaylistFile(int index);
    std::string GetIniFile();
    std::string GetIniDirectory();
    void SkipForward5();
    void SkipBack5();
    void QuitHost();
    // The playlist's previous and next entry; the host answers nothing.
    void PreviousEntry() { Command(ipc::kCmdPreviousEntry); }
    void NextEntry() { Command(ipc::kCmdNextEntry); }
    // The host's main window, which the requests go to.
    HWND MainWindow() { return m_link.Window(); }
    // The entry's name as UTF-16 text; false when the host answers none.
    bool GetPlaylistFileW(int index, std::u16string& name);

    // wanted: -1 toggles; 0 or 1 asks for that state and toggles only when the player is not in it.
    void PlayPause(int wanted);
    // Leaves the player paused: starts and pauses a stopped player, pauses a playing one.
    void EnsurePaused();

    int GetVersion();
    // False only when the host says no video plays; an old host's 1 reads as "it may".
    bool MayPlayVideo();

private:
    LRESULT User(WPARAM wParam, LPARAM code) { return m_link.Send(WM_USER, wParam, code); }
    void Command(WPARAM id) { m_link.Send(WM_COMMAND, id, 0); }
    std::string Text(WPARAM wParam, LPARAM code);

    HostLink& m_link;
};
