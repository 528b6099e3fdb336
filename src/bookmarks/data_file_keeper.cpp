#include "bookmarks/data_file_keeper.h"

#include <algorithm>
#include <utility>

#include "bookmarks/data_file_codec.h"

// Runs on the worker's thread: everything it reads is its own copy.
class DataFileKeeper::Job : public DiskJob {
public:
    bool load = false;
    bool baseKnown = false;
    unsigned run = 0;
    std::size_t keep = 30;
    std::vector<BookmarkEntry> base, ours;
    std::vector<Removal> removed;
    // Set on the worker's thread: the file as merged (all of it, not only what was written), when known;
    // for the read at start, as read, stamped, with the last stamp handed out.
    bool known = false;
    std::vector<BookmarkEntry> merged, dropped; // dropped: of ours, what the merge took out
    int useCounter = -1;

    bool Compose(FileStore::Reading reading, const std::vector<unsigned char>& now,
                 std::vector<unsigned char>& write) override {
        // A file that is there and cannot be read is not written over blindly: its places would be lost.
        if (reading == FileStore::Reading::Unreadable) return false;
        DecodedDataFile file = DecodeDataFile(now);
        known = true;
        if (load) {
            merged = std::move(file.entries);
            useCounter = file.useCounter;
            return false;
        }
        const std::vector<BookmarkEntry>& theirs = file.entries;
        merged = MergeDataFile(baseKnown ? &base : nullptr, ours, theirs, removed);
        for (const BookmarkEntry& o : ours) {
            bool kept = false;
            for (std::size_t i = 0; i < merged.size() && !kept; ++i)
                kept = merged[i].fileName == o.fileName;
            if (!kept) dropped.push_back(o);
        }
        std::vector<const BookmarkEntry*> recent;
        for (std::size_t i = 0; i < merged.size() && i < keep; ++i)
            recent.push_back(&merged[i]);
        write = EncodeDataFile(recent);
        // The file already holds exactly these bytes: replacing it again costs a flush and a rename.
        return reading != FileStore::Reading::Read || write != now;
    }
};

void DataFileKeeper::Open(const std::string& iniDirectory) {
    ++m_run;
    m_baseKnown = m_loading = m_writeFailed = false;
    m_base.clear();
    m_removed.clear();
    m_lastHanded.clear();
    m_removedHanded = 0;
    dataFilePath = iniDirectory;
    if (dataFilePath.empty()) return;
    if (dataFilePath.back() != '\\') dataFilePath += '\\';
    dataFilePath += "plugins\\gen_morvix.dat";
}

void DataFileKeeper::Load() {
    if (dataFilePath.empty()) return;
    std::unique_ptr<Job> job(new Job);
    job->run = m_run;
    job->load = true;
    m_loading = true;
    m_background.Write(dataFilePath, std::move(job));
}

bool DataFileKeeper::Save(const RememberedList& list) {
    if (dataFilePath.empty()) return false;
    if (m_background.TakeWriteFailure()) m_lastHanded.clear();
    // Only what the file keeps takes part: an older entry of this run's could not be written anyway.
    const std::vector<const BookmarkEntry*> recent = list.MostRecent(m_keep);
    std::vector<unsigned char> handed = EncodeDataFile(recent);
    if (!m_lastHanded.empty() && handed == m_lastHanded && m_removedHanded == m_removed.size()) return false;
    m_lastHanded = std::move(handed);
    m_removedHanded = m_removed.size();
    std::unique_ptr<Job> job(new Job);
    for (const BookmarkEntry* e : recent)
        job->ours.push_back(*e);
    job->run = m_run;
    job->keep = m_keep;
    job->baseKnown = m_baseKnown;
    job->base = m_base;
    job->removed = m_removed;
    m_background.Write(dataFilePath, std::move(job));
    return true;
}

void DataFileKeeper::Removed(const std::string& name, std::int64_t now) {
    m_removed.push_back(Removal{name, now});
}

void DataFileKeeper::RemovedAll(std::int64_t now) {
    Removed(std::string(), now);
}

bool DataFileKeeper::Collect(RememberedList& list, bool& loaded) {
    std::unique_ptr<DiskJob> done = m_background.TakeDone();
    if (!done) return false;
    Job& job = static_cast<Job&>(*done);
    // The last write of an earlier run (quit does not wait for it without bound).
    if (job.run != m_run) return false;
    loaded = job.load;
    // A write that superseded the read at start has read the file too.
    m_loading = false;
    if (!job.load) m_writeFailed = !job.done;
    if (!job.known) return true;
    if (job.done) {
        m_baseKnown = true;
        m_base.assign(job.merged.begin(),
                      job.merged.begin() +
                          static_cast<std::ptrdiff_t>(job.load ? job.merged.size()
                                                               : std::min(job.keep, job.merged.size())));
    }
    Integrate(list, job);
    return true;
}

namespace {
// A file of this run that became current before the read at start came, and has not been watched yet.
constexpr int kUnwatchedMs = 5000;
} // namespace

// The list takes what the merge found that it does not know better: another player's newer place, its
// files, its removals. What this run did since the job was handed over stands.
void DataFileKeeper::Integrate(RememberedList& list, const Job& job) {
    if (job.load) {
        Loaded(list, job);
        return;
    }
    for (const BookmarkEntry& m : job.merged) {
        const std::size_t i = list.Find(m.fileName);
        if (i == RememberedList::npos) {
            bool removed = false;
            for (const Removal& r : m_removed)
                removed = removed || RemovesUse(r, m.fileName, m.lastPlayed);
            if (!removed) list.Adopt(m);
            continue;
        }
        BookmarkEntry& e = list[i];
        if (m.lastPlayed <= e.lastPlayed) continue;
        e.position = m.position;
        e.lastPlayed = m.lastPlayed;
        if (m.identity.Known()) e.identity = m.identity;
        if (m.lengthMs > 0) e.lengthMs = m.lengthMs;
    }
    // Gone from the merge while unchanged since it was handed over: the other player removed it.
    for (const BookmarkEntry& d : job.dropped) {
        const std::size_t i = list.Find(d.fileName);
        if (i != RememberedList::npos && list[i].position == d.position && list[i].lastPlayed == d.lastPlayed)
            list.Remove(i);
    }
    list.OrderByTime();
}

// The file read at start, as the list of a run begins; the files this run used before it came stay more
// recent than every file it holds. One that has not been watched yet takes the file's place.
void DataFileKeeper::Loaded(RememberedList& list, const Job& job) {
    RememberedList before = std::move(list);
    list.Replace(job.merged, job.useCounter);
    // From the least recent of this run's to the most recent.
    const std::vector<const BookmarkEntry*> ours = before.MostRecent(before.Size());
    for (auto it = ours.rbegin(); it != ours.rend(); ++it) {
        const BookmarkEntry& e = **it;
        const std::size_t i = list.Find(e.fileName);
        if (i == RememberedList::npos) {
            list.Adopt(e);
            continue;
        }
        BookmarkEntry& loaded = list[i];
        if (!(e.madeThisRun && e.position < kUnwatchedMs)) {
            const FileIdentity identity = loaded.identity;
            loaded = e;
            if (!loaded.identity.Known()) loaded.identity = identity;
        }
        list.Touch(i, e.lastPlayed);
    }
}
