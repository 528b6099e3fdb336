#include "bookmarks/bookmark_store.h"

#include <algorithm>

#include "bookmarks/data_file_codec.h"
#include "bookmarks/file_name.h"
#include "host/winamp_ipc.h"
#include "settings/settings.h"

namespace {
// Stamps count up for as long as the host runs; wrapping is defined rather than left to chance.
int Increment(int value) {
    return static_cast<int>(static_cast<unsigned>(value) + 1u);
}
int Add(int value, int delta) {
    return static_cast<int>(static_cast<unsigned>(value) + static_cast<unsigned>(delta));
}

constexpr UINT kClockMs = 1000;
// While a file plays, the data file is written when its position has moved this far since it was last
// recorded, and then no sooner than this after the last write: a crash loses about this much.
constexpr int kWriteEveryMs = 30000;
// A file left this close to its end has been watched: it is forgotten and starts over next time.
constexpr int kEndMs = 10000;
// The list in memory keeps this many of the most recently used files: only 30 are ever written, and a
// host left running for weeks on a shuffled library would otherwise grow by every file it played.
constexpr std::size_t kMaxRemembered = 1000;
// After a resume's jump the host may report the old place for a while: for up to this many ticks a
// position far from the jump's target is taken for the old place, not for a move of the person's.
constexpr int kSettleTicks = 5;
// While a file's identity is read, the store looks this often whether it has come.
constexpr UINT kPickUpMs = 100;
// An identity that comes when the new file has played further than this resumes nothing: the person has
// started watching it from the start.
constexpr int kLateMs = 5000;
} // namespace

CBookmarkStore::CBookmarkStore(CWinampIPC& host, const Settings& settings, FileStore& files,
                               Background& background, WindowSystem& windows, CodePage& codePage,
                               TIMERPROC clock)
    : m_host(host), m_settings(settings), m_files(files), m_background(background), m_windows(windows),
      m_codePage(codePage), m_clockProc(clock) {}

void CBookmarkStore::Open() {
    // A run after a quit in the same loaded module starts as fresh as the first.
    currentFile.clear();
    currentPos = -1;
    useCounter = 0;
    ReplaceEntries({});
    m_fileKnown = m_fileRead = false;
    m_lastWritten.clear();
    m_clockSeen = false;
    m_identityWanted = m_identityCame = false;
    // Without an INI directory there is no data file: a bare "\plugins" would land at the root of
    // whatever drive is current.
    dataFilePath = m_host.GetIniDirectory();
    if (!dataFilePath.empty()) {
        if (dataFilePath.back() != '\\') dataFilePath += '\\';
        dataFilePath += "plugins\\gen_morvix.dat";
        Load();
    }
    if (m_clock == 0) m_clock = m_windows.SetThreadTimer(kClockMs, m_clockProc);
}

void CBookmarkStore::OnHostNotify(LPARAM lParam, WPARAM wParam) {
    if (lParam != ipc::kNotify || (wParam != ipc::kNotifyInfo && wParam != ipc::kNotifyStatus)) return;
    const std::string name = CurrentEntryName();
    if (name.empty() || name == currentFile) {
        RefreshPosition();
        if (m_identityCame) ApplyIdentity();
    } else {
        TrackChange(name);
    }
}

// A tick of a timer already killed (one still queued) does nothing.
void CBookmarkStore::OnTimer(UINT_PTR timer, DWORD now) {
    if (timer == 0) return;
    if (timer == m_pickUp) PickUpIdentity();
    if (timer == m_clock) OnClock(now);
}

// The host sends no notification while a file simply plays: without asking, the position recorded
// when the file is left would be the one of the last notification, often the moment it started.
void CBookmarkStore::OnClock(DWORD now) {
    // A host that moves on and announces it later (or a file that played while remembering was off)
    // would have another file's position recorded under the tracked name.
    // Nor inside a resume (a host that pumps its messages while it pauses).
    if (m_resuming) return;
    if (m_settleTicks > 0 && !m_jumpPending) --m_settleTicks;
    if (!Bookmarking() || currentFile.empty() || !TrackedIsCurrent()) return;
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
    if (m_resuming) return;
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
    const bool outer = m_resuming;
    m_resuming = true;
    if (pause) m_host.EnsurePaused();
    m_resuming = outer;
    // A track change nested in the pause has already resumed its own file.
    if (track != m_track) return;
    currentPos = resumeAt;
    m_host.JumpTo(resumeAt);
    m_jumpPending = false; // the recall's settling now counts its ticks
    if (m_resumeListener) m_resumeListener->OnResumed();
}

// A file's identity is read once, when it first plays: to find it among the remembered files when it is
// new, else to keep with its entry from now on. A name that is no file path (a stream) is never read.
void CBookmarkStore::AskIdentity(bool matching) {
    m_identityCame = false;
    m_identityWanted = file_name::IsFilePath(currentFile);
    if (!m_identityWanted) return;
    m_identityMatches = matching;
    const bool wide = file_name::IsWide(currentFile);
    m_background.Identify(currentFile.substr(wide ? 1 : 0), wide, m_track);
    if (m_pickUp == 0) m_pickUp = m_windows.SetThreadTimer(kPickUpMs, m_clockProc);
}

void CBookmarkStore::PickUpIdentity() {
    unsigned ticket = 0;
    FileIdentity identity;
    // An answer for a file left meanwhile is dropped: the tracked file's own may still come.
    if (m_background.TakeIdentity(ticket, identity) && m_identityWanted && ticket == m_track) {
        StopPickUp();
        m_identity = identity;
        m_identityCame = true;
        ApplyIdentity();
    } else if (!m_identityWanted) {
        StopPickUp();
    }
}

// A stopped player waits with the identity until the file plays (the notification of its start).
void CBookmarkStore::ApplyIdentity() {
    const std::size_t here = Find(currentFile);
    if (!m_identity.Known() || here == npos || !Bookmarking()) {
        m_identityWanted = m_identityCame = false;
        return;
    }
    entries[here].identity = m_identity;
    std::size_t match = npos;
    for (std::size_t i = 0; m_identityMatches && i < entries.size(); ++i)
        if (i != here && entries[i].identity == m_identity && entries[i].position >= 0 &&
            (match == npos || entries[i].stamp - entries[match].stamp > 0))
            match = i;
    if (match == npos) {
        m_identityWanted = m_identityCame = false;
        return;
    }
    const unsigned track = m_track;
    const bool current = TrackedIsCurrent();
    const int position = current ? m_host.GetPosition() : 0;
    if (track != m_track || (current && position == -1)) return;
    m_identityWanted = m_identityCame = false;
    // Too late when the person has moved on: another file, or a place past the start.
    if (!current || position > kLateMs) return;
    const int resumeAt = entries[match].position;
    // The remembered file's place under its new name, with its identity; the old entry goes.
    entries[here].position = resumeAt;
    Remove(match);
    currentPos = m_recordedPos = m_settleTarget = resumeAt;
    m_settleTicks = kSettleTicks;
    m_jumpPending = true;
    Resume(resumeAt, !m_firstOfRun && IsOn(m_settings.pausefile));
    Save();
}

void CBookmarkStore::StopPickUp() {
    if (m_pickUp != 0) m_windows.KillTimer(nullptr, m_pickUp);
    m_pickUp = 0;
}

void CBookmarkStore::Shutdown() {
    if (m_clock != 0) m_windows.KillTimer(nullptr, m_clock);
    m_clock = 0;
    StopPickUp();
    m_identityWanted = m_identityCame = false;
    // Once more from the player, unless it has moved on from the tracked file meanwhile.
    if (Bookmarking() && !currentFile.empty() && currentPos != -1 && CurrentEntryName() == currentFile) {
        const int position = m_host.GetPosition();
        const int length = position != -1 ? m_host.GetLength() : -1;
        if (position != -1 && !Settling(position)) currentPos = position;
        if (length > 0) m_lengthMs = length;
    }
    StoreCurrent();
    Save();
    // No code of the plug-in may run after quit: the last write ends before the worker does.
    m_background.Finish();
}

void CBookmarkStore::ForgetAll() {
    ReplaceEntries({});
    // The list now is the whole truth: what the file held before must not come back through a merge.
    m_fileKnown = m_fileRead = true;
    Write();
}

std::vector<RememberedFile> CBookmarkStore::List() {
    std::vector<RememberedFile> files;
    for (auto it = m_byRecency.rbegin(); it != m_byRecency.rend(); ++it) {
        const BookmarkEntry& e = entries[*it];
        const std::u16string whole =
            file_name::IsWide(e.fileName) ? file_name::ToWide(e.fileName) : m_codePage.ToWide(e.fileName);
        const std::size_t slash = whole.find_last_of(u"\\/");
        const std::size_t cut = slash == std::u16string::npos ? 0 : slash;
        // The tracked file stands where the player last was, not where it was last recorded.
        const int position = e.fileName == currentFile && currentPos >= 0 ? currentPos : e.position;
        files.push_back(RememberedFile{e.fileName, whole.substr(slash == std::u16string::npos ? 0 : slash + 1),
                                       whole.substr(0, cut), position});
    }
    return files;
}

// As Forget does for all: the file playing now is remembered again from where it is left. What the data
// file held that this run could not read comes in first, so that the write takes out only this file.
void CBookmarkStore::Remove(const std::string& key) {
    if (dataFilePath.empty()) return;
    if (!m_fileKnown) MergeUnreadFile();
    const std::size_t found = Find(key);
    if (found != npos) Remove(found);
    SaveAnyway();
}

void CBookmarkStore::StoreCurrent() {
    Record();
}

bool CBookmarkStore::Record() {
    // A position without a file to hold it (one seen while remembering was off) is no bookmark.
    if (!Bookmarking() || currentPos == -1 || currentFile.empty()) return false;
    const std::size_t found = Find(currentFile);
    m_recordedPos = currentPos;
    // Only near the reported end: a host that under-reports the length must not make a place far past
    // it look watched.
    if (m_lengthMs > 0 && currentPos >= m_lengthMs - kEndMs && currentPos - kEndMs <= m_lengthMs) {
        // Watched to the end: next time the file starts over, like one never seen.
        if (found != npos) Remove(found);
    } else if (found != npos) {
        entries[found].position = currentPos;
        Restamp(found, NextStamp());
    } else {
        const int stamp = NextStamp();
        Append(BookmarkEntry{currentFile, currentPos, stamp});
    }
    return true;
}

bool CBookmarkStore::Recall(const std::string& name) {
    if (!Bookmarking()) return false;
    currentFile = name;
    ++m_track;
    m_settleTicks = 0;
    m_jumpPending = false;
    m_lengthMs = -1;
    std::size_t found = Find(currentFile);
    if (found == npos && file_name::IsWide(name)) found = CarryOverLossyName(name);
    const int stamp = NextStamp();
    if (found == npos) {
        Append(BookmarkEntry{currentFile, 0, stamp});
        currentPos = 0;
        m_recordedPos = 0;
        AskIdentity(true);
        return false;
    }
    m_identityWanted = m_identityCame = false;
    if (!entries[found].identity.Known()) AskIdentity(false);
    currentPos = entries[found].position;
    m_recordedPos = currentPos;
    Restamp(found, stamp);
    // Until the jump has landed the player shows where the file starts, not where it was left: a tick or
    // a notification in between (a host that pumps) must not take that for the place.
    m_settleTarget = currentPos;
    m_settleTicks = kSettleTicks;
    m_jumpPending = true;
    return currentPos >= 0;
}

void CBookmarkStore::Load() {
    std::vector<unsigned char> bytes;
    if (!m_files.ReadAll(dataFilePath, bytes)) return;
    m_fileKnown = m_fileRead = true;
    DecodedDataFile file = DecodeDataFile(bytes);
    useCounter = file.useCounter;
    ReplaceEntries(std::move(file.entries));
}

void CBookmarkStore::Save() {
    if (Bookmarking()) SaveAnyway();
}

void CBookmarkStore::SaveAnyway() {
    // No data file: not even a look at what it would replace.
    if (dataFilePath.empty()) return;
    NoteFailedWrite();
    if (!m_fileKnown) MergeUnreadFile();
    // A file that is there and cannot be read (another program holds it) is not written over blindly: the
    // worker's write could come once it is free, and its positions would be lost.
    if (!m_fileKnown && m_files.Exists(dataFilePath)) return;
    Write();
}

void CBookmarkStore::Write() {
    // No INI directory (or no init): no data file.
    if (dataFilePath.empty()) return;
    NoteFailedWrite();
    std::vector<const BookmarkEntry*> recent;
    for (auto it = m_byRecency.rbegin(); it != m_byRecency.rend() && recent.size() < data_file::kMaxEntries;
         ++it)
        recent.push_back(&entries[*it]);
    std::vector<unsigned char> bytes = EncodeDataFile(recent);
    // The file already holds exactly these bytes: replacing it again costs a flush and a rename for nothing.
    if (m_fileKnown && m_lastWritten == bytes) return;
    m_lastWritten = bytes;
    m_background.Replace(dataFilePath, std::move(bytes));
    m_fileKnown = true;
    m_writtenAt = m_now;
}

void CBookmarkStore::NoteFailedWrite() {
    if (!m_background.TakeWriteFailure()) return;
    m_lastWritten.clear();
    m_fileKnown = m_fileRead;
}

// The file could not be read at start (another program held it, say) but can be now: its entries join
// the list as less recent than everything this run used, and entries the run knows better are dropped.
void CBookmarkStore::MergeUnreadFile() {
    std::vector<unsigned char> bytes;
    if (!m_files.ReadAll(dataFilePath, bytes)) return;
    m_fileKnown = m_fileRead = true;
    DecodedDataFile file = DecodeDataFile(bytes);
    // The file's stamps lie below every shifted one of the run's, which keep their order.
    const int shift = static_cast<int>(file.entries.size());
    for (BookmarkEntry& e : entries)
        e.stamp = Add(e.stamp, shift);
    useCounter = Add(useCounter, shift);
    for (BookmarkEntry& e : file.entries) {
        if (Find(e.fileName) != npos) continue;
        entries.push_back(std::move(e));
        Index(entries.size() - 1);
        PlaceByStamp(entries.size() - 1);
    }
    while (entries.size() > kMaxRemembered)
        DropLeastRecent();
}

// Before wide names were known (1.0.0), a file the ANSI code page lacks was kept under the host's ANSI name,
// with '?' for what the code page lacks ("C:\??.mkv"). When the wide key misses, that entry is looked for
// once and carried over to the wide key. Only a name with a '?' in it, which no real file has, is taken.
std::size_t CBookmarkStore::CarryOverLossyName(const std::string& name) {
    const std::string lossy = m_host.GetPlaylistFile(m_host.GetListPos());
    if (lossy.find('?') == std::string::npos) return npos;
    const std::size_t found = Find(lossy);
    if (found == npos) return npos;
    Unindex(found);
    entries[found].fileName = name;
    Index(found);
    return found;
}

// True while a position far from a resume's target is still the host's old place: it is not taken.
bool CBookmarkStore::Settling(int position) {
    if (m_settleTicks <= 0 || position == -1) return false;
    const long long off = static_cast<long long>(position) - m_settleTarget;
    if (off > -kWriteEveryMs && off < kWriteEveryMs) {
        m_settleTicks = 0; // landed
        return false;
    }
    return true;
}

bool CBookmarkStore::Bookmarking() const {
    return IsOn(m_settings.bookmark);
}

int CBookmarkStore::NextStamp() {
    useCounter = Increment(useCounter);
    return useCounter;
}

std::vector<std::size_t>::iterator CBookmarkStore::NameSlot(const std::string& name) {
    return std::lower_bound(m_byName.begin(), m_byName.end(), name,
                            [this](std::size_t i, const std::string& n) { return entries[i].fileName < n; });
}

std::size_t CBookmarkStore::Find(const std::string& name) {
    const auto it = NameSlot(name);
    return it != m_byName.end() && entries[*it].fileName == name ? *it : npos;
}

// A name already there keeps its entry: the first of two with one name wins, as a search from the front
// would find it.
void CBookmarkStore::Index(std::size_t index) {
    const auto it = NameSlot(entries[index].fileName);
    if (it == m_byName.end() || entries[*it].fileName != entries[index].fileName) m_byName.insert(it, index);
}

void CBookmarkStore::Unindex(std::size_t index) {
    const auto it = NameSlot(entries[index].fileName);
    if (it != m_byName.end() && *it == index) m_byName.erase(it);
}

void CBookmarkStore::Append(BookmarkEntry entry) {
    const std::size_t index = entries.size();
    entries.push_back(std::move(entry));
    Index(index);
    m_byRecency.push_back(index); // the newest stamp
    while (entries.size() > kMaxRemembered)
        DropLeastRecent();
}

// The last entry takes the dropped one's place, so that no other index moves.
void CBookmarkStore::DropLeastRecent() {
    const std::size_t gone = m_byRecency.front(), last = entries.size() - 1;
    m_byRecency.erase(m_byRecency.begin());
    Unindex(gone);
    if (gone != last) {
        *std::find(m_byRecency.begin(), m_byRecency.end(), last) = gone;
        const auto it = NameSlot(entries[last].fileName);
        if (it != m_byName.end() && *it == last) *it = gone;
        entries[gone] = std::move(entries[last]);
    }
    entries.pop_back();
}

void CBookmarkStore::Remove(std::size_t index) {
    std::vector<BookmarkEntry> kept = std::move(entries);
    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(index));
    ReplaceEntries(std::move(kept));
}

void CBookmarkStore::Restamp(std::size_t index, int stamp) {
    BookmarkEntry& e = entries[index];
    m_byRecency.erase(std::find(m_byRecency.begin(), m_byRecency.end(), index));
    e.stamp = stamp;
    PlaceByStamp(index);
}

void CBookmarkStore::PlaceByStamp(std::size_t index) {
    const int stamp = entries[index].stamp;
    const auto at = std::upper_bound(m_byRecency.begin(), m_byRecency.end(), stamp,
                                     [this](int s, std::size_t i) { return s < entries[i].stamp; });
    m_byRecency.insert(at, index);
}

void CBookmarkStore::ReplaceEntries(std::vector<BookmarkEntry> loaded) {
    entries = std::move(loaded);
    m_byName.clear();
    m_byRecency.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Index(i);
        PlaceByStamp(i);
    }
}
