#include "sim_player.h"

#include <algorithm>
#include <chrono>

#include <windows.h>

namespace {
// Each name in the other form, as the real player keeps both.
void CompleteNames(PlaylistEntry& e) {
    if (e.wideName.empty() && !e.name.empty()) {
        const int n =
            ::MultiByteToWideChar(CP_ACP, 0, e.name.data(), static_cast<int>(e.name.size()), nullptr, 0);
        e.wideName.resize(static_cast<std::size_t>(n));
        ::MultiByteToWideChar(CP_ACP, 0, e.name.data(), static_cast<int>(e.name.size()), &e.wideName[0], n);
    } else if (e.name.empty() && !e.wideName.empty()) {
        const int size = static_cast<int>(e.wideName.size());
        const int n = ::WideCharToMultiByte(CP_ACP, 0, e.wideName.data(), size, nullptr, 0, nullptr, nullptr);
        e.name.resize(static_cast<std::size_t>(n));
        ::WideCharToMultiByte(CP_ACP, 0, e.wideName.data(), size, &e.name[0], n, nullptr, nullptr);
    }
}

std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

SimPlayer::SimPlayer(Clock clock) : m_clock(clock ? std::move(clock) : Clock(SteadyMs)) {}

void SimPlayer::SetPlaylist(std::vector<PlaylistEntry> entries) {
    m_entries = std::move(entries);
    for (PlaylistEntry& e : m_entries)
        CompleteNames(e);
    m_index = 0;
    m_baseMs = 0;
    ChangeStatus(kStopped);
    Notify(Change::Entry);
}

const PlaylistEntry* SimPlayer::Current() const {
    if (m_index < 0 || m_index >= static_cast<int>(m_entries.size())) return nullptr;
    return &m_entries[static_cast<std::size_t>(m_index)];
}

const char* SimPlayer::EntryName(int index) const {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return nullptr;
    return m_entries[static_cast<std::size_t>(index)].name.c_str();
}

const wchar_t* SimPlayer::EntryWideName(int index) const {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return nullptr;
    return m_entries[static_cast<std::size_t>(index)].wideName.c_str();
}

int SimPlayer::LengthSec() const {
    const PlaylistEntry* entry = Current();
    return entry ? entry->lengthSec : -1;
}

int SimPlayer::RawPositionMs() const {
    std::int64_t ms = m_baseMs;
    if (m_status == kPlaying) ms += Now() - m_startedAt;
    const std::int64_t end = std::max(0, LengthSec()) * std::int64_t{1000};
    return static_cast<int>(std::clamp<std::int64_t>(ms, 0, end));
}

int SimPlayer::PositionMs() const {
    return m_status == kStopped ? -1 : RawPositionMs();
}

void SimPlayer::SetPositionMs(int ms) {
    m_baseMs = ms;
    m_startedAt = Now();
}

void SimPlayer::ChangeStatus(int status) {
    if (status == m_status) return;
    if (m_status == kPlaying) m_baseMs = RawPositionMs();
    if (status == kPlaying) m_startedAt = Now();
    m_status = status;
    Notify(Change::Status);
}

void SimPlayer::Play() {
    if (!Current()) return;
    SetPositionMs(0);
    ChangeStatus(kPlaying);
}

void SimPlayer::TogglePause() {
    if (m_status == kPlaying) {
        ChangeStatus(kPaused);
    } else if (m_status == kPaused) {
        ChangeStatus(kPlaying);
    }
}

void SimPlayer::Stop() {
    ChangeStatus(kStopped);
    m_baseMs = 0;
}

void SimPlayer::SetStatus(int status) {
    if (status == kStopped) {
        Stop();
    } else if (status == kPlaying || status == kPaused) {
        if (!Current()) return;
        if (m_status == kStopped) SetPositionMs(0);
        ChangeStatus(status);
    }
}

int SimPlayer::JumpTo(int ms) {
    if (m_status == kStopped) return -1;
    const int end = std::max(0, LengthSec()) * 1000;
    SetPositionMs(std::clamp(ms, 0, end));
    return ms > end ? 1 : 0;
}

void SimPlayer::SkipMs(int deltaMs) {
    if (m_status == kStopped) return;
    JumpTo(RawPositionMs() + deltaMs);
}

void SimPlayer::SetListPos(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
    m_index = index;
    SetPositionMs(0);
    if (m_status == kPaused) ChangeStatus(kPlaying);
    Notify(Change::Entry);
}

void SimPlayer::Next() {
    SetListPos(m_index + 1);
}

void SimPlayer::Previous() {
    SetListPos(m_index - 1);
}

void SimPlayer::SetVolume(int volume) {
    m_volume = std::clamp(volume, 0, 255);
    Notify(Change::Volume);
}

void SimPlayer::Tick() {
    if (m_status != kPlaying || RawPositionMs() < LengthSec() * 1000) return;
    if (m_index + 1 < static_cast<int>(m_entries.size())) {
        SetListPos(m_index + 1);
    } else {
        Stop();
    }
}

void SimPlayer::Reset() {
    m_index = 0;
    m_status = kStopped;
    m_baseMs = 0;
}

void SimPlayer::Notify(Change change) const {
    if (m_listener) m_listener(change);
}
