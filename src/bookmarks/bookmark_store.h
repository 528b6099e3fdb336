// Position memory: follows the host's current file and keeps where the person left each one, resumed when
// the file comes back. The list of remembered files is a RememberedList, the data file's keeping a
// DataFileKeeper; the store decides what is recorded and when, resumes, and finds a moved or renamed file
// by its identity.
//
//   event                          what is recorded                          data file written
//   clock tick (about 1 s)         nothing while another entry is current;   when the position moved 30 s
//                                  else the host's position is kept          and 30 s passed since the last
//                                                                            write, while playing
//   notification, same file        the host's position; on a stop, the last  on a stop
//                                  one seen before it
//   notification, another file     the tracked file at its last position     yes, when something was
//                                  (forgotten within its last 10 s)          recorded
//   quit                           the host's position once more, if the     yes; quit waits about a second
//                                  tracked file is still current             at most for that write
//   identity of a new file read    a remembered file of the same identity    yes, when it resumed
//                                  resumes there, unless the person has
//                                  moved on; its entry goes only when its
//                                  own file is gone (a move, not a copy)
//
// Reads and writes of the data file and reads of a file's identity are the worker's (Background): the host's
// thread never touches the disk. Each write merges what another player wrote meanwhile.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "bookmarks/bookmark_entry.h"
#include "bookmarks/data_file_keeper.h"
#include "bookmarks/remembered_files.h"
#include "bookmarks/remembered_list.h"
#include "platform/background.h"
#include "platform/code_page.h"
#include "platform/wall_clock.h"
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
    // When files are played; without one, entries keep no time.
    void SetWallClock(WallClock* clock) { m_wallClock = clock; }

    // clock is the procedure of the store's timers; it calls OnTimer.
    CBookmarkStore(CWinampIPC& host, const Settings& settings, Background& background, WindowSystem& windows,
                   CodePage& codePage, TIMERPROC clock);

    // Starts a fresh run: builds the data file's path from the host's INI directory, has the worker load
    // the remembered positions and starts the clock.
    void Open();
    // Every WM_USER message to the host's main window; acts on the play-status and track-info notifications.
    void OnHostNotify(LPARAM lParam, WPARAM wParam);
    // A tick of one of the store's timers: the clock, or the look for the worker's answers.
    void OnTimer(UINT_PTR timer, DWORD now);
    // About once a second (now: the system's millisecond count): where the tracked file stands.
    void OnClock(DWORD now);
    // Takes what the worker has found meanwhile: the tracked file's identity (when the file is new and a
    // remembered one has the same identity, it resumes there), and whether a matched file is gone.
    void PickUpIdentity();
    // Stops the clock, records the last position and writes the data file.
    void Shutdown();
    // Empties the list and the data file; false when the data file could not be written.
    bool ForgetAll();
    // False when there is no data file to write (no INI directory).
    bool CanWrite() const { return !m_dataFile.Path().empty(); }
    std::vector<RememberedFile> List() override;
    bool Remove(const std::string& key) override;
    bool RemoveAll() override { return ForgetAll(); }

    // Records currentPos as the remembered position of currentFile.
    void StoreCurrent();
    // Makes name the tracked file; true when a remembered position of 0 or more is now in currentPos.
    bool Recall(const std::string& name);
    void Load();
    void Save();

    const std::string& CurrentFile() const { return currentFile; }
    int CurrentPos() const { return currentPos; }
    int UseCounter() const { return entries.UseCounter(); }
    const std::string& DataFilePath() const { return m_dataFile.Path(); }
    // In order of insertion (the loaded file first, in its order), at most the 1,000 most recently used;
    // when one is dropped the last entry takes its place.
    const std::vector<BookmarkEntry>& Entries() const { return entries.Entries(); }

private:
    // Where a resume stands: between the recall and the jump (Jumping), inside the pause before it
    // (Pausing: nothing of the player's is taken), and for a few ticks after it (Settling: a position far
    // from the target is the host's old place, not a move of the person's).
    enum class ResumeStage { None, Jumping, Pausing, Settling };
    // Where the tracked file's identity stands: asked to keep with its entry, asked to find a remembered
    // file of the same identity, or come while the player was stopped (applied when the file plays).
    enum class IdentityStage { NotWanted, AskedToKeep, AskedToMatch, CameWhileStopped };

    // StoreCurrent; true when it recorded (or, for a finished file, forgot) a position.
    bool Record();
    void TrackChange(const std::string& name);
    void RefreshPosition();
    // True while a position is still the host's old place during a resume: it is not taken.
    bool Settling(int position);
    void StartSettling(int target);
    void Resume(int resumeAt, bool pause);
    void AskIdentity(bool matching);
    void StopPickUp();
    void ApplyIdentity();
    void ResumeMatch(std::size_t match);
    void TakeLook();
    // What the worker did with the data file: another player's places join the list; the read at start
    // resumes a file that became current before it came, while the person is still at its start.
    void CollectWrites();
    // Waits a moment for the write just handed over: true when it landed (or is still under way).
    bool WriteLanded();
    void StartPickUp();
    void Written(bool handedOver);
    std::size_t CarryOverLossyName(const std::string& name);
    // The current playlist entry's name as the store knows files (see file_name.h).
    std::string CurrentEntryName();
    // True while the host's current playlist entry is still the tracked file.
    bool TrackedIsCurrent();
    bool Bookmarking() const;
    // True when the host reported a length shorter than the files worth remembering.
    bool TooShort(int lengthMs) const;
    // The tracked file's length is now known: its entry keeps it, or goes when the file is too short.
    void LengthKnown();
    std::int64_t Now();
    // The data file's keeper, set to keep as many files as the options say.
    DataFileKeeper& DataFile();

    CWinampIPC& m_host;
    const Settings& m_settings;
    Background& m_background;
    WindowSystem& m_windows;
    CodePage& m_codePage;
    TIMERPROC m_clockProc;

    std::string currentFile;
    int currentPos = -1;
    RememberedList entries;
    DataFileKeeper m_dataFile;

    UINT_PTR m_clock = 0;
    // Runs while the worker has an answer to give, to pick it up soon after it comes.
    UINT_PTR m_pickUp = 0;
    IdentityStage m_identityStage = IdentityStage::NotWanted;
    FileIdentity m_identity;
    // The remembered file whose place a file found by identity took, while the worker looks whether it is
    // still there (a copy) or gone (a move: its entry goes).
    std::string m_lookingFor;
    FileIdentity m_lookingForIdentity;
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
    WallClock* m_wallClock = nullptr;
    // Counts the files tracked: an answer is applied only if no other file was tracked while it came.
    unsigned m_track = 0;
    ResumeStage m_resume = ResumeStage::None;
    int m_settleTarget = 0;
    int m_settleTicks = 0;
};
