// Seam: the disk work the host's thread hands over and never waits on. Writes of the data file run in the
// order they were handed over (a write still waiting is superseded by a later one: the last state wins);
// a file's identity is read, and a file looked for, and the answers handed back to be picked up on the
// host's thread. A read never holds up a write.
#pragma once
#include <string>
#include <vector>

#include "platform/file_identity.h"

class Background {
public:
    virtual ~Background() = default;
    // Replaces path by bytes, as FileStore::Replace does, later.
    virtual void Replace(const std::string& path, std::vector<unsigned char> bytes) = 0;
    // True (once) when a write failed since the last call: the file does not hold what was handed over.
    virtual bool TakeWriteFailure() = 0;
    // Reads the identity of the file at path (UTF-8 when utf8, else ANSI); a request still waiting is
    // superseded. The answer carries ticket.
    virtual void Identify(const std::string& path, bool utf8, unsigned ticket) = 0;
    // An answer that has come since the last call: false when none has. An unreadable file's identity is
    // unknown.
    virtual bool TakeIdentity(unsigned& ticket, FileIdentity& identity) = 0;
    // Looks whether the file at path is gone (FileStore::Gone); a look still waiting is superseded.
    virtual void LookFor(const std::string& path, bool utf8, unsigned ticket) = 0;
    virtual bool TakeLook(unsigned& ticket, bool& gone) = 0;
    // Quit: returns once every write handed over is done, or after about a second of waiting for it; reads
    // waiting are dropped and a read under way is not waited for (its answer is dropped). The next request
    // starts afresh.
    virtual void Finish() = 0;
};
