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
//   quit                           the host's position once more, if the     yes, and quit returns once
//                                  tracked file is still current             the write is done
//   identity of a new file read    a remembered file of the same identity    yes, when it resumed
//                                  (moved or renamed) resumes under the new
//                                  name, unless the person has moved on
//
// The data file is written, and a file read for its identity, by the worker behind Background: the host's
// thread never waits on the disk, except to read the data file when a run starts.
#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "bookmarks/bookmark_entry.h"
#include "bookmarks/remembered_files.h"
#include "platform/background.h"
#include "platform/code_page.h"
#include "platform/file_store.h"
#include "platform/win_types.h"
#include "platform/window_system.h"

class CWinampIPC;
struct Settings;

class CBookmarkStore : public RememberedFiles {
public:
    // Told when a remembered file has just been resumed (after its jump).
    struct ResumeListener {
        virtual void OnResumed() = 0;

    protected:
        ~ResumeListener() = default;
    };
    void SetResumeListener(ResumeListener* listener) { m_resumeListener = listener; }

    // clock is the procedure of the store's timers; it calls OnTimer.
    CBookmarkStore(CWinampIPC& host, const Settings& settings, FileStore& files, Background& background,
                   WindowSystem& windows, CodePage& codePage, TIMERPROC clock);

    // Starts a fresh run: builds the data file's path from the host's INI directory, loads the
    // remembered positions and starts the clock.
    void Open();
    // Every WM_USER message to the host's main window; acts on the play-status and track-info notifications.
    void OnHostNotify(LPARAM lParam, WPARAM wParam);
    // A tick of one of the store's timers: the clock, or the look for an identity read meanwhile.
    void OnTimer(UINT_PTR timer, DWORD now);
    // About once a second (now: the system's millisecond count): where the tracked file stands.
    void OnClock(DWORD now);
    // Takes the identity the worker read, if it has: the tracked file keeps it, and when the file is new
    // and a remembered one has the same identity, it resumes there and that entry takes its name.
    void PickUpIdentity();
    // Stops the clock, records the last position and writes the data file.
    void Shutdown();
    // Empties the list and the data file.
    void ForgetAll();
    std::vector<RememberedFile> List() override;
    void Remove(const std::string& key) override;
    void RemoveAll() override { ForgetAll(); }

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
    void Resume(int resumeAt, bool pause);
    void AskIdentity(bool matching);
    void StopPickUp();
    void ApplyIdentity();
    void Remove(std::size_t index);
    // Save's work, whether remembering is on or not.
    void SaveAnyway();
    // A write the worker could not do leaves the file as it was: it is not taken for written.
    void NoteFailedWrite();
    std::size_t CarryOverLossyName(const std::string& name);
    // The current playlist entry's name as the store knows files (see file_name.h).
    std::string CurrentEntryName();
    // True while the host's current playlist entry is still the tracked file.
    bool TrackedIsCurrent();
    bool Bookmarking() const;
    int NextStamp();
    // The index of the first entry named name, or npos.
    std::size_t Find(const std::string& name);
    // Where name's entry stands, or would, among m_byName.
    std::vector<std::size_t>::iterator NameSlot(const std::string& name);
    void Index(std::size_t index);
    void Unindex(std::size_t index);
    void Append(BookmarkEntry entry);
    void DropLeastRecent();
    void Restamp(std::size_t index, int stamp);
    // Puts index among m_byRecency where its entry's stamp belongs.
    void PlaceByStamp(std::size_t index);
    void ReplaceEntries(std::vector<BookmarkEntry> loaded);
    void MergeUnreadFile();
    void Write();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    CWinampIPC& m_host;
    const Settings& m_settings;
    FileStore& m_files;
    Background& m_background;
    WindowSystem& m_windows;
    CodePage& m_codePage;
    TIMERPROC m_clockProc;

    std::string currentFile;
    int currentPos = -1;
    int useCounter = 0;
    std::string dataFilePath;
    std::vector<BookmarkEntry> entries;

    // Every entry's index in the order of its name (the first of two with one name only), so that a lookup
    // takes a binary search.
    std::vector<std::size_t> m_byName;
    // Every entry's index, least recently used first, so the most recent ones are at hand without sorting
    // the list (at most kMaxRemembered: moving one to the end is a short copy).
    std::vector<std::size_t> m_byRecency;
    // True once the data file's previous contents are in the list, or were replaced by a write of ours;
    // until then a write first tries to read what it would replace.
    bool m_fileKnown = false;
    // True once the data file was read (or emptied) this run, whatever became of the writes since.
    bool m_fileRead = false;
    // What this run last wrote to the data file; empty before the first write (a written file never is).
    std::vector<unsigned char> m_lastWritten;

    UINT_PTR m_clock = 0;
    // Runs while an identity is being read, to pick it up soon after it comes.
    UINT_PTR m_pickUp = 0;
    // The tracked file's identity was asked for (with m_track as its ticket); when it is a new file, a
    // remembered one of the same identity is resumed.
    bool m_identityWanted = false;
    bool m_identityMatches = false;
    // The identity came while the player was stopped: it is applied when the file plays.
    bool m_identityCame = false;
    FileIdentity m_identity;
    // The tracked file was the run's first: a resume found by identity does not pause it.
    bool m_firstOfRun = false;
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
