// The simulated player behind the stand-in host: a playlist, a transport and a volume, with no windows.
// Time comes from an injectable clock so tests can drive positions without waiting.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PlaylistEntry {
    std::string name; // byte string, reported to the plug-in exactly as stored
    int lengthSec = 0;
    // The name as UTF-16 text; when left empty it is the name read in the ANSI code page. A name given
    // only here gets as `name` what the ANSI code page makes of it (a '?' for each character it lacks).
    std::wstring wideName = {};
};

class SimPlayer {
public:
    static constexpr int kStopped = 0;
    static constexpr int kPlaying = 1;
    static constexpr int kPaused = 3;

    // What changed, so the host can tell its main window the way the real player does.
    enum class Change { Volume = 1, Status = 2, Entry = 5 };

    using Clock = std::function<std::int64_t()>; // milliseconds, monotonic
    using Listener = std::function<void(Change)>;

    explicit SimPlayer(Clock clock = {});

    void SetListener(Listener listener) { m_listener = std::move(listener); }

    // Replaces the playlist; the first entry becomes current and the player stops.
    void SetPlaylist(std::vector<PlaylistEntry> entries);
    const std::vector<PlaylistEntry>& Playlist() const { return m_entries; }

    int ListPos() const { return m_index; }
    const PlaylistEntry* Current() const;
    // Pointer to the entry's name, kept alive until the playlist is replaced; null for a bad index.
    const char* EntryName(int index) const;
    const wchar_t* EntryWideName(int index) const;

    int Status() const { return m_status; }
    int PositionMs() const; // -1 while stopped
    int LengthSec() const;  // -1 without a current entry
    int Volume() const { return m_volume; }

    // Start play: the current entry from its beginning.
    void Play();
    // Pause toggle: playing <-> paused; a stopped player stays stopped.
    void TogglePause();
    void Stop();
    // Any status directly: 0 stops, 1 plays (resuming a paused entry), 3 pauses (a stopped entry at 0).
    void SetStatus(int status);
    // Seek within the current entry; answers 0 done, -1 nothing playing, 1 past the end (clamped).
    int JumpTo(int ms);
    void SkipMs(int deltaMs);
    // Makes entry `index` current, from its beginning; a stopped player stays stopped, a paused one plays.
    void SetListPos(int index);
    void Next();
    void Previous();
    void SetVolume(int volume); // clamped to 0..255

    // Ends the current entry when its time is up and starts the next one (or stops after the last).
    void Tick();

    // Back to a freshly started player with the same playlist: stopped at entry 0.
    void Reset();

private:
    std::int64_t Now() const { return m_clock(); }
    int RawPositionMs() const;
    void SetPositionMs(int ms);
    void ChangeStatus(int status);
    void Notify(Change change) const;

    Clock m_clock;
    Listener m_listener;
    std::vector<PlaylistEntry> m_entries;
    int m_index = 0;
    int m_status = kStopped;
    int m_volume = 200;
    // While playing the position is m_baseMs plus the time since m_startedAt; otherwise m_baseMs.
    std::int64_t m_baseMs = 0;
    std::int64_t m_startedAt = 0;
};
