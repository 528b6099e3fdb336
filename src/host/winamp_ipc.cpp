#include "host/winamp_ipc.h"

#include <climits>
#include <cstring>

bool CWinampIPC::IsFullScreen() {
    return User(0, ipc::kIsFullScreen) == 1;
}

int CWinampIPC::GetPosition() {
    return static_cast<int>(User(0, ipc::kGetOutputTime));
}

int CWinampIPC::GetLength() {
    const int seconds = static_cast<int>(User(1, ipc::kGetOutputTime));
    if (seconds < 0) return seconds;
    // A length beyond what milliseconds can hold in 32 bits saturates instead of turning negative.
    const long long ms = 1000LL * seconds;
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

void CWinampIPC::JumpTo(int ms) {
    User(static_cast<WPARAM>(ms), ipc::kJumpToTime);
}

void CWinampIPC::SetVolume(int volume) {
    User(static_cast<WPARAM>(volume), ipc::kSetVolume);
}

int CWinampIPC::GetVolume() {
    return static_cast<int>(User(ipc::kQueryVolume, ipc::kSetVolume));
}

int CWinampIPC::GetStatus() {
    return static_cast<int>(User(0, ipc::kGetStatus));
}

int CWinampIPC::GetListPos() {
    return static_cast<int>(User(0, ipc::kGetListPos));
}

std::string CWinampIPC::GetPlaylistFile(int index) {
    return Text(static_cast<WPARAM>(index), ipc::kGetPlaylistFile);
}

std::string CWinampIPC::GetIniFile() {
    return Text(0, ipc::kGetIniFile);
}

std::string CWinampIPC::GetIniDirectory() {
    return Text(0, ipc::kGetIniDirectory);
}

void CWinampIPC::SkipForward5() {
    Command(ipc::kCmdForward5);
}

void CWinampIPC::SkipBack5() {
    Command(ipc::kCmdBack5);
}

void CWinampIPC::QuitHost() {
    Command(ipc::kCmdQuit);
}

void CWinampIPC::PlayPause(int wanted) {
    if (wanted != -1) {
        const int status = GetStatus();
        if ((status == ipc::kStatusPlaying && wanted == 0) || (status == ipc::kStatusPaused && wanted == 1))
            return;
    }
    Command(ipc::kCmdPause);
}

void CWinampIPC::EnsurePaused() {
    const int status = GetStatus();
    if (status == 0) {
        User(0, ipc::kStartPlay);
        Command(ipc::kCmdPause);
    } else if (status == ipc::kStatusPlaying) {
        Command(ipc::kCmdPause);
    }
}

bool CWinampIPC::GetPlaylistFileW(int index, std::u16string& name) {
    const LRESULT answer = User(static_cast<WPARAM>(index), ipc::kGetPlaylistFileW);
    // A host without the request answers 1; no text lives in the lowest 64 KiB of an address space.
    if (static_cast<ULONG_PTR>(answer) < static_cast<ULONG_PTR>(ipc::kLowestTextAddress)) return false;
    const auto* text = reinterpret_cast<const char16_t*>(answer);
    std::size_t length = 0;
    while (length < ipc::kMaxText && text[length] != 0)
        ++length;
    name.assign(text, length);
    return true;
}

// The host answers with a pointer into its own memory, valid only until its next change: copy at once.
// A null answer reads as empty; the copy stops at the terminator or at kMaxText bytes.
std::string CWinampIPC::Text(WPARAM wParam, LPARAM code) {
    const char* text = reinterpret_cast<const char*>(User(wParam, code));
    if (text == nullptr) return std::string();
    return std::string(text, strnlen(text, ipc::kMaxText));
}

int CWinampIPC::GetVersion() {
    return static_cast<int>(User(0, ipc::kGetVersion));
}

bool CWinampIPC::MayPlayVideo() {
    return User(0, ipc::kIsVideoPlaying) != 0;
}
