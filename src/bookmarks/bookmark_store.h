// Position memory: where the user left each file, resumed when the host makes the file current again.
//
//   event                          what is recorded                          data file written
//   clock tick (about 1 s)         nothing while another entry is current;   when the position moved 30 s
//                                  else the host's position is kept          and 30 s passed since the last
//                                                                            write, while playing
//   notification, same file        the host's position; on a stop, the last  on a stop
//                                  one seen before it
//   notification, another file     the tracked file at its last position     yes, when something was
//                                  (forgotten within its last 10 s)          recorded
//   quit                           the host's position once more, if the     yes
//                                  tracked file is still current
#pragma once
#include <cstddef>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bookmarks/bookmark_entry.h"
#include "platform/code_page.h"
#include "platform/file_store.h"
#include "platform/win_types.h"
#include "platform/window_system.h"

class CWinampIPC;
struct Settings;

class CBookmarkStore {
public:
    // Told when a remembered file has just been resumed (after its jump).
    struct ResumeListener {
        virtual void OnResumed() = 0;

    protected:
        ~ResumeListener() = default;
    };
    void SetResumeListener(ResumeListener* listener) { m_resumeListener = listener; }

    // clock is the procedure of the store's one-second timer; it calls OnClock.
    CBookmarkStore(CWinampIPC& host, const Settings& settings, FileStore& files, WindowSystem& windows,
                   CodePage& codePage, TIMERPROC clock);

    // Starts a fresh run: builds the data file's path from the host's INI directory, loads the
    // remembered positions and starts the clock.
    void Open();
    // Every WM_USER message to the host's main window; acts on the play-status and track-info notifications.
    void OnHostNotify(LPARAM lParam, WPARAM wParam);
    // About once a second (now: the system's millisecond count): where the tracked file stands.
    void OnClock(DWORD now);
    // Stops the clock, records the last position and writes the data file.
    void Shutdown();
    // Empties the list and the data file.
    void ForgetAll();

    // Records currentPos as the remembered position of currentFile.
    void StoreCurrent();
    // Makes name the tracked file; true when a remembered position of 0 or more is now in currentPos.
    bool Recall(const std::string& name);
    void Load();
    void Save();

    const std::string& CurrentFile() const { return currentFile; }
    int CurrentPos() const { return currentPos; }
    int UseCounter() const { return useCounter; }
    const std::string& DataFilePath() const { return dataFilePath; }
    // In order of insertion (the loaded file first, in its order), at most the 1,000 most recently used;
    // when one is dropped the last entry takes its place.
    const std::vector<BookmarkEntry>& Entries() const { return entries; }

private:
    // StoreCurrent; true when it recorded (or, for a finished file, forgot) a position.
    bool Record();
    void TrackChange(const std::string& name);
    void RefreshPosition();
    bool Settling(int position);
    std::size_t CarryOverLossyName(const std::string& name);
    // The current playlist entry's name as the store knows files (see file_name.h).
    std::string CurrentEntryName();
    // True while the host's current playlist entry is still the tracked file.
    bool TrackedIsCurrent();
    bool Bookmarking() const;
    int NextStamp();
    // The index of the first entry named name, or npos.
    std::size_t Find(const std::string& name) const;
    void Append(BookmarkEntry entry);
    void DropLeastRecent();
    void Restamp(std::size_t index, int stamp);
    void ReplaceEntries(std::vector<BookmarkEntry> loaded);
    void MergeUnreadFile();
    void Write();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    CWinampIPC& m_host;
    const Settings& m_settings;
    FileStore& m_files;
    WindowSystem& m_windows;
    CodePage& m_codePage;
    TIMERPROC m_clockProc;

    std::string currentFile;
    int currentPos = -1;
    int useCounter = 0;
    std::string dataFilePath;
    std::vector<BookmarkEntry> entries;

    // Name to the first entry of that name, so a lookup costs the same however many files a run touched.
    std::unordered_map<std::string, std::size_t> m_byName;
    // (stamp, index) of every entry, so the most recent ones are at hand without sorting the list.
    std::set<std::pair<int, std::size_t>> m_byRecency;
    // True once the data file's previous contents are in the list, or were replaced by a write of ours;
    // until then a write first tries to read what it would replace.
    bool m_fileKnown = false;
    // What this run last wrote to the data file; empty before the first write (a written file never is).
    std::vector<unsigned char> m_lastWritten;

    UINT_PTR m_clock = 0;
    // The tracked file's length as the host last reported it; 0 or less when unknown.
    int m_lengthMs = -1;
    // The tracked file's position as last recorded or recalled, and when the clock last saw the data
    // file written (or first ran): a write while playing waits for both to lie 30 s back.
    int m_recordedPos = 0;
    DWORD m_now = 0;
    DWORD m_writtenAt = 0;
    bool m_clockSeen = false;
    ResumeListener* m_resumeListener = nullptr;
    // Counts the files tracked: an answer is applied only if no other file was tracked while it came.
    unsigned m_track = 0;
    // Between a resume's pause and its jump nothing of the player's is taken; from the recall until the
    // jump, and a few ticks after it, only a position near the target (see Settling).
    bool m_resuming = false;
    bool m_jumpPending = false;
    int m_settleTarget = 0;
    int m_settleTicks = 0;
};
