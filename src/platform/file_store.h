// Seam: whole-file access for the bookmark data file.
#pragma once
#include <string>
#include <vector>

#include "platform/file_identity.h"

class FileStore {
public:
    virtual ~FileStore() = default;
    // Reads the whole file (others may read, not write, meanwhile). Absent: nothing is there (nor its
    // folder); Unreadable: it cannot be opened or read.
    enum class Reading { Read, Absent, Unreadable };
    virtual Reading ReadAll(const std::string& path, std::vector<unsigned char>& bytes) = 0;
    // Replaces the file with bytes so that a reader sees either the old file or the complete new one.
    // On failure the old file is intact and nothing is left behind. Refused: another program holds the
    // file or the folder refused access (a moment later it may not); Failed: anything else.
    enum class Outcome { Written, Refused, Failed };
    virtual Outcome Replace(const std::string& path, const std::vector<unsigned char>& bytes) = 0;
    // True only when the system says nothing is at path (UTF-8 when utf8, else ANSI), nor its folder: a
    // share that does not answer is not taken for a file that is gone.
    virtual bool Gone(const std::string& path, bool utf8) = 0;
    // The identity of the file at path (UTF-8 when utf8, else ANSI), read without disturbing a program
    // that has it open, even for writing. Unknown when it cannot be read.
    virtual FileIdentity Identify(const std::string& path, bool utf8) = 0;
};
