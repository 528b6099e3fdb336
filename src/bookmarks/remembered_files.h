// The remembered files as the options show them, and what the options may do to them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RememberedFile {
    std::string key;         // the memory's name for the file
    std::u16string name;     // its name without its folder, as the person reads it
    std::u16string folder;   // the folder, without a trailing separator; empty when the name has none
    int position;            // ms
    std::int64_t lastPlayed; // seconds since 1970-01-01 UTC; 0 when not known (a file of an older version)
};

class RememberedFiles {
public:
    // Most recently used first, at most as many as the data file keeps, from memory alone: the disk is not
    // looked at.
    virtual std::vector<RememberedFile> List() = 0;
    // Takes the file out; the data file is written at once. False when it could not be written (no
    // settings folder, a read-only file): the file stays out of this run's list all the same.
    virtual bool Remove(const std::string& key) = 0;
    // Empties the list and the data file; false as for Remove.
    virtual bool RemoveAll() = 0;

protected:
    ~RememberedFiles() = default;
};
