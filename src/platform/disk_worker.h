// The disk work of a FileStore done off the host's thread, in two lanes: writes of the data file, and
// reads (a file's identity, a look whether a file is gone). Each lane has a thread of its own, started
// when work comes and ended when none is left, so that a read stuck on a share that went away never holds
// up a write, and an idle plug-in runs no thread. Quit waits about a second at most, and only for writes.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/background.h"
#include "platform/file_store.h"
#include "platform/worker_system.h"

class DiskWorker : public Background {
public:
    // Another program may hold the data file for a moment (a virus scanner, a backup, a look at it): a
    // refused write is tried again this many times this far apart, unless a later one has come.
    static constexpr int kWriteRetries = 5;
    static constexpr DWORD kWriteRetryMs = 100;
    // How long quit waits for the last write.
    static constexpr DWORD kFinishMs = 1000;

    DiskWorker(FileStore& files, WorkerSystem& system) : m_files(files), m_system(system) {}

    void Write(const std::string& path, std::unique_ptr<DiskJob> job) override;
    std::unique_ptr<DiskJob> TakeDone() override;
    void WaitForWrites(DWORD ms) override;
    bool TakeWriteFailure() override;
    void Identify(const std::string& path, bool utf8, unsigned ticket) override;
    bool TakeIdentity(unsigned& ticket, FileIdentity& identity) override;
    void LookFor(const std::string& path, bool utf8, unsigned ticket) override;
    bool TakeLook(unsigned& ticket, bool& gone) override;
    void Finish() override;

    // The lanes' threads.
    static void RunWrites(void* self) { static_cast<DiskWorker*>(self)->Writes(); }
    static void RunReads(void* self) { static_cast<DiskWorker*>(self)->Reads(); }

private:
    struct Request {
        bool waiting = false;
        std::string path;
        bool utf8 = false;
        unsigned ticket = 0;
    };
    template <typename T> struct Answer {
        bool came = false;
        unsigned ticket = 0;
        T value = {};
    };
    // Holds the lock for the length of a scope.
    class Locked {
    public:
        explicit Locked(WorkerSystem& system) : m_system(system) { m_system.Lock(); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;
        ~Locked() { m_system.Unlock(); }

    private:
        WorkerSystem& m_system;
    };

    void Writes();
    // Reads the file, composes and writes; false when a write failed.
    bool Run(const std::string& path, DiskJob& job);
    void Reads();
    FileStore::Outcome WriteWithRetries(const std::string& path, const std::vector<unsigned char>& bytes);
    // Under the lock: a read request waits; the reads' thread is started unless it runs.
    void AskRead(Request& request, const std::string& path, bool utf8, unsigned ticket);
    // Under the lock: a later write is waiting.
    bool Superseded() const { return m_write.waiting; }

    FileStore& m_files;
    WorkerSystem& m_system;
    // All below under the lock.
    Request m_write;
    std::unique_ptr<DiskJob> m_writeJob, m_done;
    bool m_writing = false; // the writes' thread runs
    bool m_writeFailed = false;
    bool m_quitting = false;
    Request m_identify, m_look;
    bool m_reading = false; // the reads' thread runs
    // A read's answer counts only if no quit came while it was under way.
    unsigned m_run = 0;
    Answer<FileIdentity> m_identity;
    Answer<bool> m_gone;
};
