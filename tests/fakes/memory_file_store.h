// Files held in memory behind the file-store seam, with switches for the failures a real disk shows.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_store.h"

class MemoryFileStore : public FileStore {
public:
    std::map<std::string, std::vector<unsigned char>> files;
    // Paths another program holds open without sharing: neither read nor replaced.
    std::set<std::string> locked;
    // Paths marked read-only: read, never replaced.
    std::set<std::string> readOnly;
    int reads = 0;
    int replaces = 0;   // successful ones
    int identified = 0; // files read for their identity

    Reading ReadAll(const std::string& path, std::vector<unsigned char>& bytes) override;
    int attempts = 0; // replaces tried, done or not
    Outcome Replace(const std::string& path, const std::vector<unsigned char>& bytes) override;
    bool Gone(const std::string& path, bool) override { return files.count(path) == 0; }
    FileIdentity Identify(const std::string& path, bool utf8) override;

};
