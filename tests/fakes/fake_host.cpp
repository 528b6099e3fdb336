#include "fake_host.h"

#include "host/winamp_ipc.h"

std::ostream& operator<<(std::ostream& out, const HostRequest& r) {
    const char* kind = r.message == WM_USER ? "WM_USER" : r.message == WM_COMMAND ? "WM_COMMAND" : "msg";
    return out << "{" << kind << " w=" << static_cast<long long>(r.wParam) << " l=" << r.lParam << " -> "
               << r.answer << "}";
}

HostRequest User(WPARAM wParam, LPARAM code, LRESULT answer) {
    return {WM_USER, wParam, code, answer};
}
HostRequest Command(WPARAM id) {
    return {WM_COMMAND, id, 0, 0};
}

LRESULT FakeHost::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = Answer(message, wParam, lParam);
    // Text answers are pointers; log them as 0 so that sequences stay comparable.
    const bool text = message == WM_USER && (lParam == ipc::kGetPlaylistFile || lParam == ipc::kGetIniFile ||
                                             lParam == ipc::kGetIniDirectory ||
                                             (lParam == ipc::kGetPlaylistFileW && wideAnswer == 0));
    log.push_back({message, wParam, lParam, text ? 0 : answer});
    if (onRequest) onRequest(log.back());
    return answer;
}

LRESULT FakeHost::WideName(WPARAM index) {
    if (wideAnswer != 0) return wideAnswer;
    if (answerNullTexts || index >= playlist.size()) return 0;
    if (index < widePlaylist.size()) {
        m_wide = widePlaylist[index];
    } else {
        m_wide.clear();
        for (unsigned char c : playlist[index])
            m_wide += static_cast<char16_t>(c);
    }
    return reinterpret_cast<LRESULT>(m_wide.c_str());
}

LRESULT FakeHost::Answer(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (wParam == ipc::kCmdPause) {
            if (status == ipc::kStatusPlaying)
                status = ipc::kStatusPaused;
            else if (status == ipc::kStatusPaused)
                status = ipc::kStatusPlaying;
        }
        return 0;
    }
    if (message != WM_USER) return 0;
    auto textAnswer = [this](const std::string& s) -> LRESULT {
        if (answerNullTexts) return 0;
        if (rawText != nullptr) return reinterpret_cast<LRESULT>(rawText);
        m_text = s;
        return reinterpret_cast<LRESULT>(m_text.c_str());
    };
    switch (lParam) {
    case ipc::kIsFullScreen:
        return fullScreen ? 1 : 0;
    case ipc::kGetOutputTime:
        return wParam == 1 ? lengthSeconds : position;
    case ipc::kJumpToTime:
        position = static_cast<int>(wParam);
        return 0;
    case ipc::kSetVolume:
        if (wParam == ipc::kQueryVolume) return volume;
        volume = static_cast<int>(wParam);
        return 0;
    case ipc::kGetStatus:
        return status;
    case ipc::kStartPlay:
        status = ipc::kStatusPlaying;
        if (position < 0) position = 0;
        return 0;
    case ipc::kGetListPos:
        return listPos;
    case ipc::kGetPlaylistFile:
        if (wParam >= playlist.size()) return 0;
        return textAnswer(playlist[wParam]);
    case ipc::kGetPlaylistFileW:
        return WideName(wParam);
    case ipc::kGetIniFile:
        return textAnswer(iniFile);
    case ipc::kGetIniDirectory:
        return textAnswer(iniDirectory);
    case ipc::kGetVersion:
        return version;
    case ipc::kIsVideoPlaying:
        return videoPlaying;
    default:
        return 0;
    }
}
