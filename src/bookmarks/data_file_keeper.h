// The data file's keeping: where it is, what this run last read or wrote of it (the base of a merge), the
// files this run removed, and the jobs handed to the worker. The host's thread never touches the file:
// the worker reads it at start, and before each write reads it again and merges what another player
// wrote meanwhile (see data_file_merge.h); what the worker found comes back through Collect.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bookmarks/data_file_merge.h"
#include "bookmarks/remembered_list.h"
#include "platform/background.h"

class DataFileKeeper {
public:
    explicit DataFileKeeper(Background& background) : m_background(background) {}

    // A fresh run: the path of the data file in the host's INI directory; none without one (a bare
    // "\plugins" would land at the root of whatever drive is current).
    void Open(const std::string& iniDirectory);
    const std::string& Path() const { return dataFilePath; }
    // How many of the most recently used entries the file keeps.
    void Keep(std::size_t count) { m_keep = count; }
    // Has the worker read the file; what it holds joins the list at Collect.
    void Load();
    // True until the file read at start has come back (or could not be read).
    bool Loading() const { return m_loading; }
    // Hands over a write of list merged with the file as it will be then; true when one was handed over
    // (not when nothing changed since the last one).
    bool Save(const RememberedList& list);
    // The file goes from the list, and from the file however the merge goes, unless another player uses
    // it after now.
    void Removed(const std::string& name, std::int64_t now);
    // Every file of the file as last read or written goes (Forget).
    void RemovedAll(std::int64_t now);
    // Takes what the worker did: the list gets what another player wrote meanwhile (newer places, files
    // added, files removed). True when a job came back; loaded then says whether it was the read at start.
    bool Collect(RememberedList& list, bool& loaded);
    // True when the last write that came back could not be done.
    bool WriteFailed() const { return m_writeFailed; }

private:
    class Job;
    void Integrate(RememberedList& list, const Job& job);
    void Loaded(RememberedList& list, const Job& job);

    Background& m_background;
    std::string dataFilePath;
    std::size_t m_keep = 30;
    // What this run last read or wrote, once known.
    bool m_baseKnown = false;
    std::vector<BookmarkEntry> m_base;
    std::vector<Removal> m_removed;
    bool m_loading = false;
    // Counts the runs: a job of an earlier one is not taken for this one's.
    unsigned m_run = 0;
    bool m_writeFailed = false;
    // The list as last handed over, and the removals then: an unchanged list is not written again.
    std::vector<unsigned char> m_lastHanded;
    std::size_t m_removedHanded = 0;
};
