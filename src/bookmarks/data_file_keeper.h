// The data file's keeping: where it is, what this run knows of it, and the writes handed to the worker.
// It reads the file at start; a file that could not be read then (another program held it) joins the list
// as soon as it can be, before anything is written over it. A write the worker could not do counts as not
// done; a write of exactly the bytes already in the file is skipped.
#pragma once
#include <string>
#include <vector>

#include "bookmarks/remembered_list.h"
#include "platform/background.h"
#include "platform/file_store.h"

class DataFileKeeper {
public:
    DataFileKeeper(FileStore& files, Background& background) : m_files(files), m_background(background) {}

    // How many of the most recently used entries the file keeps.
    void Keep(std::size_t count) { m_keep = count; }

    // A fresh run: the path of the data file in the host's INI directory; none without one (a bare
    // "\plugins" would land at the root of whatever drive is current).
    void Open(const std::string& iniDirectory);
    const std::string& Path() const { return dataFilePath; }
    // Reads the file into list; a file that cannot be read leaves list as it is.
    void Load(RememberedList& list);
    // Hands over a write of list's most recent entries; true when one was handed over. What the file held
    // that this run could not read joins list first, and a file that is there and still cannot be read is
    // not written over blindly (the worker's write could come once it is free, and its positions be lost).
    bool Save(RememberedList& list);
    // The list is now the whole truth (after Forget): what the file held must not come back through a join.
    bool SaveWhole(RememberedList& list);
    // Before a removal: what the file held that this run could not read joins list, so that the write
    // takes out only what was removed.
    void JoinUnread(RememberedList& list);

private:
    // What the list holds of the file's contents.
    enum class Known {
        No,         // could not be read (or was not there) and nothing of ours replaced it yet
        ByOurWrite, // this run's write replaced it without its contents having been read
        ByRead,     // read this run (or emptied by Forget): its contents are in the list
    };
    bool Write(const RememberedList& list);
    // A write the worker could not do leaves the file as it was.
    void NoteFailedWrite();

    FileStore& m_files;
    Background& m_background;
    std::string dataFilePath;
    Known m_known = Known::No;
    // What this run last wrote; empty before the first write (a written file never is).
    std::vector<unsigned char> m_lastWritten;
    std::size_t m_keep = 30;
};
