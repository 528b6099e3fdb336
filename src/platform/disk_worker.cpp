#include "platform/disk_worker.h"

#include <utility>

void DiskWorker::Write(const std::string& path, std::unique_ptr<DiskJob> job) {
    {
        Locked locked(m_system);
        m_quitting = false;
        m_write.waiting = true;
        m_write.path = path;
        m_writeJob = std::move(job);
        if (m_writing) return;
        m_writing = m_system.Start(RunWrites, this);
        if (m_writing) return;
        m_write.waiting = false;
        job = std::move(m_writeJob);
    }
    // No thread to be had: done here, as it would have been without one.
    const bool written = Run(path, *job);
    Locked locked(m_system);
    m_writeFailed = m_writeFailed || !written;
    m_done = std::move(job);
}

std::unique_ptr<DiskJob> DiskWorker::TakeDone() {
    Locked locked(m_system);
    return std::move(m_done);
}

bool DiskWorker::Run(const std::string& path, DiskJob& job) {
    std::vector<unsigned char> now, bytes;
    const FileStore::Reading reading = m_files.ReadAll(path, now);
    job.done =
        !job.Compose(reading, now, bytes) || WriteWithRetries(path, bytes) == FileStore::Outcome::Written;
    return job.done;
}

bool DiskWorker::TakeWriteFailure() {
    Locked locked(m_system);
    const bool failed = m_writeFailed;
    m_writeFailed = false;
    return failed;
}

void DiskWorker::Identify(const std::string& path, bool utf8, unsigned ticket) {
    Locked locked(m_system);
    AskRead(m_identify, path, utf8, ticket);
    // No thread: no identity rather than a read on the host's thread.
    if (!m_reading) m_identity = {true, ticket, FileIdentity{}};
}

bool DiskWorker::TakeIdentity(unsigned& ticket, FileIdentity& identity) {
    Locked locked(m_system);
    if (!m_identity.came) return false;
    m_identity.came = false;
    ticket = m_identity.ticket;
    identity = m_identity.value;
    return true;
}

void DiskWorker::LookFor(const std::string& path, bool utf8, unsigned ticket) {
    Locked locked(m_system);
    AskRead(m_look, path, utf8, ticket);
    if (!m_reading) m_gone = {true, ticket, false};
}

bool DiskWorker::TakeLook(unsigned& ticket, bool& gone) {
    Locked locked(m_system);
    if (!m_gone.came) return false;
    m_gone.came = false;
    ticket = m_gone.ticket;
    gone = m_gone.value;
    return true;
}

void DiskWorker::AskRead(Request& request, const std::string& path, bool utf8, unsigned ticket) {
    m_quitting = false;
    request = Request{true, path, utf8, ticket};
    if (!m_reading) m_reading = m_system.Start(RunReads, this);
    if (!m_reading) request.waiting = false;
}

// The last write may take a disk call or a few; a share that does not answer, or a file held for long,
// must not hold the player's quit: after kFinishMs the write is left to its thread.
void DiskWorker::Finish() {
    {
        Locked locked(m_system);
        m_quitting = true;
        m_identify.waiting = m_look.waiting = false;
        m_identity.came = m_gone.came = false;
        ++m_run;
    }
    WaitForWrites(kFinishMs);
}

void DiskWorker::WaitForWrites(DWORD ms) {
    Locked locked(m_system);
    const DWORD start = m_system.Now();
    while (m_writing) {
        const DWORD waited = m_system.Now() - start;
        if (waited >= ms) break;
        m_system.Unlock();
        m_system.Wait(ms - waited);
        m_system.Lock();
    }
}

void DiskWorker::Writes() {
    for (;;) {
        std::string path;
        std::unique_ptr<DiskJob> job;
        {
            Locked locked(m_system);
            if (!m_write.waiting) {
                m_writing = false;
                m_system.Signal();
                return;
            }
            m_write.waiting = false;
            path = std::move(m_write.path);
            job = std::move(m_writeJob);
        }
        const bool written = Run(path, *job);
        Locked locked(m_system);
        // A later write holds the whole state: nothing is lost when this one failed.
        m_writeFailed = m_writeFailed || (!written && !Superseded());
        m_done = std::move(job);
    }
}

// Tried again while running whatever the failure; once quitting only when refused, since nothing else
// (a full disk, a read-only file, a share gone) is over in half a second.
FileStore::Outcome DiskWorker::WriteWithRetries(const std::string& path,
                                                const std::vector<unsigned char>& bytes) {
    FileStore::Outcome outcome = m_files.Replace(path, bytes);
    for (int retry = 0; outcome != FileStore::Outcome::Written && retry < kWriteRetries; ++retry) {
        {
            Locked locked(m_system);
            if (Superseded() || (m_quitting && outcome != FileStore::Outcome::Refused)) break;
        }
        m_system.Sleep(kWriteRetryMs);
        {
            Locked locked(m_system);
            if (Superseded()) break;
        }
        outcome = m_files.Replace(path, bytes);
    }
    return outcome;
}

// Looks before identities: a look decides whether an entry goes, an identity read takes longer.
void DiskWorker::Reads() {
    for (;;) {
        Request request;
        bool look = false;
        unsigned run = 0;
        {
            Locked locked(m_system);
            look = m_look.waiting;
            Request& next = look ? m_look : m_identify;
            if (!next.waiting) {
                m_reading = false;
                return;
            }
            request = next;
            next.waiting = false;
            run = m_run;
        }
        if (look) {
            const bool gone = m_files.Gone(request.path, request.utf8);
            Locked locked(m_system);
            if (run == m_run) m_gone = {true, request.ticket, gone};
        } else {
            const FileIdentity identity = m_files.Identify(request.path, request.utf8);
            Locked locked(m_system);
            if (run == m_run) m_identity = {true, request.ticket, identity};
        }
    }
}
