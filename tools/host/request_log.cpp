#include "request_log.h"

#include <cstdio>

#include "host/winamp_ipc.h"

namespace {
const char* UserName(LPARAM code) {
    switch (code) {
    case ipc::kStartPlay:
        return "start play";
    case ipc::kGetStatus:
        return "status";
    case ipc::kGetOutputTime:
        return "position/length";
    case ipc::kJumpToTime:
        return "jump";
    case ipc::kSetVolume:
        return "volume";
    case ipc::kGetListPos:
        return "list pos";
    case ipc::kGetPlaylistFile:
        return "playlist file";
    case ipc::kGetPlaylistFileW:
        return "wide file name";
    case ipc::kGetIniFile:
        return "INI file";
    case ipc::kGetIniDirectory:
        return "INI directory";
    case ipc::kNotify:
        return "notification";
    case ipc::kIsFullScreen:
        return "full screen?";
    default:
        return "unknown";
    }
}

const char* CommandName(WPARAM id) {
    switch (id) {
    case ipc::kCmdQuit:
        return "quit";
    case ipc::kCmdPause:
        return "pause toggle";
    case ipc::kCmdForward5:
        return "forward 5 s";
    case ipc::kCmdBack5:
        return "back 5 s";
    case ipc::kCmdPreviousEntry:
        return "previous entry";
    case ipc::kCmdNextEntry:
        return "next entry";
    default:
        return "unknown";
    }
}
} // namespace

std::string HostRequest::Describe() const {
    char line[200];
    if (message == WM_USER) {
        std::snprintf(line, sizeof line, "WM_USER    lParam=%-4lld %-16s wParam=%lld -> %lld",
                      static_cast<long long>(lParam), UserName(lParam),
                      static_cast<long long>(static_cast<LONG_PTR>(wParam)), static_cast<long long>(answer));
        if (!note.empty()) return std::string(line) + " \"" + note + "\"";
    } else if (message == WM_COMMAND) {
        std::snprintf(line, sizeof line, "WM_COMMAND wParam=%-5llu %s",
                      static_cast<unsigned long long>(wParam), CommandName(LOWORD(wParam)));
    } else {
        return "-- " + note;
    }
    return line;
}

void RequestLog::Note(std::string text) {
    HostRequest entry;
    entry.note = std::move(text);
    m_entries.push_back(std::move(entry));
}

std::size_t RequestLog::CountUser(LPARAM code) const {
    std::size_t n = 0;
    for (const HostRequest& r : m_entries)
        n += r.IsUser(code);
    return n;
}

std::size_t RequestLog::CountCommand(WPARAM id) const {
    std::size_t n = 0;
    for (const HostRequest& r : m_entries)
        n += r.IsCommand(id);
    return n;
}

std::string RequestLog::Format(std::size_t last) const {
    std::string out;
    const std::size_t first = last && m_entries.size() > last ? m_entries.size() - last : 0;
    for (std::size_t i = first; i < m_entries.size(); ++i) {
        char index[16];
        std::snprintf(index, sizeof index, "%5zu  ", i);
        out += index + m_entries[i].Describe() + "\n";
    }
    return out;
}
