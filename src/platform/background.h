// Seam: the disk work the host's thread hands over and never waits on. Writes of the data file run in the
// order they were handed over (a write still waiting is superseded by a later one: the last state wins),
// each composed from the file as it is when it runs;
// a file's identity is read, and a file looked for, and the answers handed back to be picked up on the
// host's thread. A read never holds up a write.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/file_identity.h"
#include "platform/file_store.h"
#include "platform/win_types.h"

// A write of a file whose bytes are decided on the worker's thread, from the file as it is then.
class DiskJob {
public:
    virtual ~DiskJob() = default;
    // now holds the file when reading is Read. True with the bytes to write in write; false: nothing to
    // write (the file is as it should be, or the job only reads).
    virtual bool Compose(FileStore::Reading reading, const std::vector<unsigned char>& now,
                         std::vector<unsigned char>& write) = 0;
    // Set once done: the file holds what the job composed (or it needed no write).
    bool done = false;
};

class Background {
public:
    virtual ~Background() = default;
    // Reads path, and replaces it by what job composes from it, as FileStore::Replace does, later.
    virtual void Write(const std::string& path, std::unique_ptr<DiskJob> job) = 0;
    // The job done last since the last call (earlier ones are dropped); null when none.
    virtual std::unique_ptr<DiskJob> TakeDone() = 0;
    // Returns once the writes handed over are done, or after ms.
    virtual void WaitForWrites(DWORD ms) = 0;
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
