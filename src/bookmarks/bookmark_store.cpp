#include "bookmarks/bookmark_store.h"

#include "bookmarks/data_file_codec.h"
#include "bookmarks/file_name.h"
#include "host/winamp_ipc.h"
#include "settings/settings.h"

namespace {
constexpr UINT kClockMs = 1000;
// While a file plays, the data file is written when its position has moved this far since it was last
// recorded, and then no sooner than this after the last write: a crash loses about this much.
constexpr int kWriteEveryMs = 30000;
// A file left this close to its end has been watched: it is forgotten and starts over next time.
constexpr int kEndMs = 10000;
// After a resume's jump the host may report the old place for a while: for up to this many ticks a
// position far from the jump's target is taken for the old place, not for a move of the person's.
constexpr int kSettleTicks = 5;
// A tick that sees another entry current takes it for a new file only this near that entry's start: the
// current entry also moves without a new file (the playing entry taken out of the playlist).
constexpr int kNewFileMs = 5000;
// How long a run's start waits for the data file's read: well under one call of a slow disk.
constexpr DWORD kLoadWaitMs = 100;
} // namespace

CBookmarkStore::CBookmarkStore(CWinampIPC& host, const Settings& settings, Background& background,
                               WindowSystem& windows, CodePage& codePage, TIMERPROC clock)
    : m_host(host), m_settings(settings), m_background(background), m_windows(windows), m_codePage(codePage),
      m_clockProc(clock), m_dataFile(background) {}

void CBookmarkStore::Open() {
    // A run after a quit in the same loaded module starts as fresh as the first.
    currentFile.clear();
    currentPos = -1;
    entries.Replace({}, 0);
    m_clockSeen = false;
    m_identityStage = IdentityStage::NotWanted;
    m_lookingFor.clear();
    m_dataFile.Open(m_host.GetIniDirectory());
    if (m_clock == 0) m_clock = m_windows.SetThreadTimer(kClockMs, m_clockProc);
    Load();
}

void CBookmarkStore::OnHostNotify(LPARAM lParam, WPARAM wParam) {
    if (lParam != ipc::kNotify || (wParam != ipc::kNotifyInfo && wParam != ipc::kNotifyStatus)) return;
    const std::string name = CurrentEntryName();
    if (m_dataFile.Loading()) CollectWrites();
    if (name.empty() || name == currentFile) {
        RefreshPosition();
        if (m_identityStage == IdentityStage::CameWhileStopped) ApplyIdentity();
    } else {
        TrackChange(name);
    }
}

// A tick of a timer already killed (one still queued) does nothing.
void CBookmarkStore::OnTimer(UINT_PTR timer, DWORD now) {
    if (timer == 0) return;
    if (timer == m_pickUp) PickUpIdentity();
    if (timer == m_clock) {
        CollectWrites();
        OnClock(now);
    }
}

// The host sends no notification while a file simply plays: without asking, the position recorded
// when the file is left would be the one of the last notification, often the moment it started.
void CBookmarkStore::OnClock(DWORD now) {
    // Nothing inside a resume (a host that pumps its messages while it pauses).
    if (m_resume == ResumeStage::Pausing) return;
    if (m_resume == ResumeStage::Settling && --m_settleTicks <= 0) m_resume = ResumeStage::None;
    if (!Bookmarking() || currentFile.empty()) return;
    // A host that moves on and announces it later: the tick is the first to see the change, and takes it
    // as the announcement would. Left to the announcement, a quick way back (next, then previous) found
    // the tracked name current again, playing from its start, and recorded that over its place.
    const std::string name = CurrentEntryName();
    if (name != currentFile) {
        const unsigned track = m_track;
        const int position = name.empty() ? -1 : m_host.GetPosition();
        if (track == m_track && position >= 0 && position < kNewFileMs) TrackChange(name);
        return;
    }
    m_now = now;
    if (!m_clockSeen) m_writtenAt = now;
    m_clockSeen = true;
    const unsigned track = m_track;
    RefreshPosition();
    if (currentPos == -1 || track != m_track) return;
    // A file's length does not change while it plays: asked until known, so that a tick costs the
    // host three requests (which file, where, and this one until answered).
    if (m_lengthMs <= 0) {
        const int length = m_host.GetLength();
        if (track != m_track) return;
        m_lengthMs = length;
        LengthKnown();
    }
    const long long moved = static_cast<long long>(currentPos) - m_recordedPos;
    const bool due = (moved >= kWriteEveryMs || moved <= -kWriteEveryMs) &&
                     static_cast<DWORD>(now - m_writtenAt) >= static_cast<DWORD>(kWriteEveryMs);
    // A paused player's position moves only by a seek; nothing is written for it until it plays.
    if (!due) return;
    const bool playing = m_host.GetStatus() == ipc::kStatusPlaying;
    if (playing && track == m_track && Record()) Save();
}

// By name, not by list position: a file opened from outside the player replaces a one-entry playlist,
// so the new file sits where the old one did.
bool CBookmarkStore::TrackedIsCurrent() {
    return CurrentEntryName() == currentFile;
}

std::string CBookmarkStore::CurrentEntryName() {
    const int index = m_host.GetListPos();
    std::u16string wide;
    if (!m_host.GetPlaylistFileW(index, wide)) return m_host.GetPlaylistFile(index);
    std::string ansi;
    // A double-byte code page can make an ANSI name longer than a data file holds; the wide key (UTF-8,
    // with its larger bound) keeps such a name readable once written.
    if (wide.empty() || (m_codePage.ToAnsi(wide, ansi) && ansi.size() <= data_file::kMaxNameBytes))
        return ansi;
    return file_name::FromWide(wide);
}

// An answer counts only for the file it was asked for: a notification handled inside the request (a host
// that pumps its messages there) may have moved on to another file meanwhile.
void CBookmarkStore::RefreshPosition() {
    if (m_resume == ResumeStage::Pausing) return;
    const unsigned track = m_track;
    const int position = m_host.GetPosition();
    if (track != m_track || Settling(position)) return;
    // On a stop the position is recorded while currentPos still holds the last one the player reported.
    const bool recorded = position == -1 && Record();
    currentPos = position;
    if (recorded) Save();
}

void CBookmarkStore::TrackChange(const std::string& name) {
    const bool firstOfRun = currentFile.empty();
    const bool recorded = Record();
    m_firstOfRun = firstOfRun;
    if (Recall(name)) Resume(currentPos, !firstOfRun && IsOn(m_settings.pausefile));
    // Written now rather than only at quit, so that a host that dies loses at most the current file.
    if (recorded) Save();
}

void CBookmarkStore::Resume(int resumeAt, bool pause) {
    const unsigned track = m_track;
    // Pausing makes the host announce its new status, and a host may run its timers meanwhile: neither
    // may take the player's position, which has not been moved yet, for the file's.
    if (pause) {
        m_resume = ResumeStage::Pausing;
        m_host.EnsurePaused();
    }
    // A track change nested in the pause has already resumed its own file.
    if (track != m_track) return;
    currentPos = resumeAt;
    m_host.JumpTo(resumeAt);
    // The recall's settling now counts its ticks, unless it has landed already.
    m_resume = m_settleTicks > 0 ? ResumeStage::Settling : ResumeStage::None;
    if (m_resumeListener) m_resumeListener->OnResumed();
}

void CBookmarkStore::StartSettling(int target) {
    m_resume = ResumeStage::Jumping;
    m_settleTarget = target;
    m_settleTicks = kSettleTicks;
}

bool CBookmarkStore::Settling(int position) {
    if (m_resume == ResumeStage::None || m_settleTicks <= 0 || position == -1) return false;
    const long long off = static_cast<long long>(position) - m_settleTarget;
    if (off > -kWriteEveryMs && off < kWriteEveryMs) {
        m_settleTicks = 0; // landed
        if (m_resume == ResumeStage::Settling) m_resume = ResumeStage::None;
        return false;
    }
    return true;
}

void CBookmarkStore::Shutdown() {
    if (m_clock != 0) m_windows.KillTimer(nullptr, m_clock);
    m_clock = 0;
    StopPickUp();
    m_identityStage = IdentityStage::NotWanted;
    m_lookingFor.clear();
    // Once more from the player, unless it has moved on from the tracked file meanwhile.
    if (Bookmarking() && !currentFile.empty() && currentPos != -1 && CurrentEntryName() == currentFile) {
        const int position = m_host.GetPosition();
        const int length = position != -1 ? m_host.GetLength() : -1;
        if (position != -1 && !Settling(position)) currentPos = position;
        if (length > 0) m_lengthMs = length;
        LengthKnown();
    }
    StoreCurrent();
    Save();
    // No code of the plug-in may run after quit: the last write ends (or is given up on) before quit does.
    m_background.Finish();
}

void CBookmarkStore::StoreCurrent() {
    Record();
}

bool CBookmarkStore::Record() {
    // A position without a file to hold it (one seen while remembering was off) is no bookmark.
    if (!Bookmarking() || currentPos == -1 || currentFile.empty()) return false;
    const std::size_t found = entries.Find(currentFile);
    m_recordedPos = currentPos;
    if (TooShort(m_lengthMs)) {
        // A song, say: it takes no place, and starts where the player starts it next time.
        if (found == RememberedList::npos) return false;
        entries.Remove(found);
        m_dataFile.Removed(currentFile, Now());
        return true;
    }
    // Only near the reported end: a host that under-reports the length must not make a place far past
    // it look watched.
    if (m_lengthMs > 0 && currentPos >= m_lengthMs - kEndMs && currentPos - kEndMs <= m_lengthMs) {
        // Watched to the end: next time the file starts over, like one never seen.
        if (found != RememberedList::npos) entries.Remove(found);
        m_dataFile.Removed(currentFile, Now());
    } else if (found != RememberedList::npos) {
        entries[found].position = currentPos;
        if (m_lengthMs > 0) entries[found].lengthMs = m_lengthMs;
        entries.Touch(found, Now());
    } else {
        entries.Append(currentFile, currentPos, Now());
        if (m_lengthMs > 0) entries[entries.Size() - 1].lengthMs = m_lengthMs;
    }
    return true;
}

bool CBookmarkStore::Recall(const std::string& name) {
    if (!Bookmarking()) return false;
    currentFile = name;
    ++m_track;
    m_resume = ResumeStage::None;
    m_settleTicks = 0;
    m_lengthMs = -1;
    std::size_t found = entries.Find(currentFile);
    if (found == RememberedList::npos && file_name::IsWide(name)) found = CarryOverLossyName(name);
    // Known to be too short from its last play: it starts where the player starts it, and takes no place.
    if (found != RememberedList::npos && TooShort(entries[found].lengthMs)) {
        m_lengthMs = entries[found].lengthMs;
        entries.Remove(found);
        m_dataFile.Removed(currentFile, Now());
        currentPos = 0;
        m_recordedPos = 0;
        m_identityStage = IdentityStage::NotWanted;
        return false;
    }
    if (found == RememberedList::npos) {
        entries.Append(currentFile, 0, Now());
        currentPos = 0;
        m_recordedPos = 0;
        AskIdentity(true);
        return false;
    }
    m_identityStage = IdentityStage::NotWanted;
    // An entry of this run without an identity yet (left before it came) may still be a moved file.
    if (!entries[found].identity.Known()) AskIdentity(entries[found].madeThisRun);
    currentPos = entries[found].position;
    m_recordedPos = currentPos;
    entries.Touch(found, Now());
    // Until the jump has landed the player shows where the file starts, not where it was left: a tick or
    // a notification in between (a host that pumps) must not take that for the place.
    StartSettling(currentPos);
    return currentPos >= 0;
}

void CBookmarkStore::Load() {
    m_dataFile.Load();
    // A disk that answers at once has the places ready for the first file; a slow one is not waited for.
    m_background.WaitForWrites(kLoadWaitMs);
    CollectWrites();
    if (m_dataFile.Loading()) StartPickUp();
}

void CBookmarkStore::Save() {
    if (Bookmarking()) Written(DataFile().Save(entries));
}

DataFileKeeper& CBookmarkStore::DataFile() {
    m_dataFile.Keep(static_cast<std::size_t>(MaxFiles(m_settings)));
    return m_dataFile;
}

bool CBookmarkStore::TooShort(int lengthMs) const {
    return lengthMs > 0 && lengthMs / 60000 < MinLengthMinutes(m_settings);
}

void CBookmarkStore::LengthKnown() {
    const std::size_t found = entries.Find(currentFile);
    if (m_lengthMs <= 0 || found == RememberedList::npos) return;
    if (!TooShort(m_lengthMs)) {
        entries[found].lengthMs = m_lengthMs;
    } else if (!entries[found].madeThisRun || entries[found].position == 0) {
        // Out of the list at once, not only at the next write; a place of this run's is taken out then.
        entries.Remove(found);
        m_dataFile.Removed(currentFile, Now());
    }
}

std::int64_t CBookmarkStore::Now() {
    return m_wallClock != nullptr ? m_wallClock->Now() : 0;
}

void CBookmarkStore::Written(bool handedOver) {
    if (handedOver) m_writtenAt = m_now;
}

// Before wide names were known (1.0.0), a file the ANSI code page lacks was kept under the host's ANSI name,
// with '?' for what the code page lacks ("C:\??.mkv"). When the wide key misses, that entry is looked for
// once and carried over to the wide key. Only a name with a '?' in it, which no real file has, is taken.
std::size_t CBookmarkStore::CarryOverLossyName(const std::string& name) {
    const std::string lossy = m_host.GetPlaylistFile(m_host.GetListPos());
    if (lossy.find('?') == std::string::npos) return RememberedList::npos;
    const std::size_t found = entries.Find(lossy);
    if (found == RememberedList::npos) return found;
    entries.Rename(found, name);
    m_dataFile.Removed(lossy, Now());
    return found;
}

bool CBookmarkStore::Bookmarking() const {
    return IsOn(m_settings.bookmark);
}
