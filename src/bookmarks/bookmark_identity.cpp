// The store's round trip with the worker for a file's identity: asked when a file first plays, picked up
// on the host's thread, and applied to the file it was asked for.
#include "bookmarks/bookmark_store.h"
#include "bookmarks/file_name.h"
#include "host/winamp_ipc.h"
#include "settings/settings.h"

namespace {
// While the worker has an answer to give, the store looks this often whether it has come.
constexpr UINT kPickUpMs = 100;
// An identity that comes when the new file has played further than this resumes nothing: the person has
// started watching it from the start.
constexpr int kLateMs = 5000;

std::string PathOf(const std::string& name) {
    return name.substr(file_name::IsWide(name) ? 1 : 0);
}
} // namespace

// A file's identity is read once, when it first plays: to find it among the remembered files when it may
// have been moved, else to keep with its entry from now on. A name that is no file path (a stream, a
// device) is never read.
void CBookmarkStore::AskIdentity(bool matching) {
    m_identityStage = IdentityStage::NotWanted;
    if (!file_name::IsFilePath(currentFile)) return;
    m_identityStage = matching ? IdentityStage::AskedToMatch : IdentityStage::AskedToKeep;
    m_background.Identify(PathOf(currentFile), file_name::IsWide(currentFile), m_track);
    StartPickUp();
}

void CBookmarkStore::StartPickUp() {
    if (m_pickUp == 0) m_pickUp = m_windows.SetThreadTimer(kPickUpMs, m_clockProc);
}

void CBookmarkStore::CollectWrites() {
    const std::size_t tracked = entries.Find(currentFile);
    const int before = tracked != RememberedList::npos ? entries[tracked].position : -1;
    bool loaded = false;
    if (!m_dataFile.Collect(entries, loaded) || currentFile.empty()) return;
    if (m_identityStage == IdentityStage::CameWhileStopped && !m_dataFile.Loading()) ApplyIdentity();
    if (!loaded) return;
    const std::size_t found = entries.Find(currentFile);
    if (found == RememberedList::npos || entries[found].position == before || entries[found].position <= 0)
        return;
    // Resumed as a late identity is: only while the person is still at the file's start.
    const unsigned track = m_track;
    const int position = TrackedIsCurrent() ? m_host.GetPosition() : -1;
    if (track != m_track || position < 0 || position > kLateMs) {
        entries[found].position = before;
        return;
    }
    ResumeMatch(found);
}

void CBookmarkStore::PickUpIdentity() {
    unsigned ticket = 0;
    FileIdentity identity;
    const bool asked =
        m_identityStage == IdentityStage::AskedToKeep || m_identityStage == IdentityStage::AskedToMatch;
    // An answer for a file left meanwhile is dropped: the tracked file's own may still come.
    if (m_background.TakeIdentity(ticket, identity) && asked && ticket == m_track) {
        m_identity = identity;
        if (m_identityStage == IdentityStage::AskedToMatch) m_identityStage = IdentityStage::CameWhileStopped;
        ApplyIdentity();
    }
    TakeLook();
    if (m_dataFile.Loading()) CollectWrites();
    const bool waiting =
        m_identityStage == IdentityStage::AskedToKeep || m_identityStage == IdentityStage::AskedToMatch;
    if (!waiting && m_lookingFor.empty() && !m_dataFile.Loading()) StopPickUp();
}

// A stopped player waits with the identity until the file plays (the notification of its start).
void CBookmarkStore::ApplyIdentity() {
    const bool matching = m_identityStage == IdentityStage::CameWhileStopped;
    // The remembered files are not all known before the data file's read has come: matched then.
    if (matching && m_dataFile.Loading()) return;
    const std::size_t here = entries.Find(currentFile);
    if (!m_identity.Known() || here == RememberedList::npos || !Bookmarking()) {
        m_identityStage = IdentityStage::NotWanted;
        return;
    }
    entries[here].identity = m_identity;
    std::size_t match = RememberedList::npos;
    for (std::size_t i = 0; matching && i < entries.Size(); ++i)
        if (i != here && entries[i].identity == m_identity && entries[i].position >= 0 &&
            (match == RememberedList::npos || entries[i].stamp - entries[match].stamp > 0))
            match = i;
    if (match == RememberedList::npos) {
        m_identityStage = IdentityStage::NotWanted;
        return;
    }
    const unsigned track = m_track;
    const bool current = TrackedIsCurrent();
    const int position = current ? m_host.GetPosition() : 0;
    if (track != m_track || (current && position == -1)) return;
    m_identityStage = IdentityStage::NotWanted;
    // Too late when the person has moved on: another file, or a place past the start. Both entries stay.
    if (!current || position > kLateMs) return;
    // The worker looks whether the other file is still there: gone, this was a move and its entry goes;
    // there, this is a copy with a place of its own from now on.
    m_lookingFor = entries[match].fileName;
    m_lookingForIdentity = m_identity;
    m_background.LookFor(PathOf(m_lookingFor), file_name::IsWide(m_lookingFor), m_track);
    StartPickUp();
    ResumeMatch(match);
    TakeLook();
    Save();
}

void CBookmarkStore::ResumeMatch(std::size_t match) {
    const int resumeAt = entries[match].position;
    entries[entries.Find(currentFile)].position = resumeAt;
    currentPos = m_recordedPos = resumeAt;
    StartSettling(resumeAt);
    Resume(resumeAt, !m_firstOfRun && IsOn(m_settings.pausefile));
}

// The matched file's entry goes once its own file is known to be gone, and only if it still holds the
// identity it matched by.
void CBookmarkStore::TakeLook() {
    unsigned ticket = 0;
    bool gone = false;
    if (m_lookingFor.empty() || !m_background.TakeLook(ticket, gone)) return;
    const std::string name = m_lookingFor;
    m_lookingFor.clear();
    const std::size_t found = entries.Find(name);
    if (!gone || found == RememberedList::npos || name == currentFile ||
        !(entries[found].identity == m_lookingForIdentity))
        return;
    entries.Remove(found);
    m_dataFile.Removed(name, Now());
    Save();
}

void CBookmarkStore::StopPickUp() {
    if (m_pickUp != 0) m_windows.KillTimer(nullptr, m_pickUp);
    m_pickUp = 0;
}
