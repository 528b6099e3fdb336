// The worker's disk work done on the calling thread: writes and looks at once; identities at once, or only
// when the test lets the disk answer (a slow disk).
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/background.h"
#include "platform/file_store.h"

class InlineBackground : public Background {
public:
    explicit InlineBackground(FileStore& files) : m_files(files) {}

    bool answerAtOnce = true;
    std::vector<std::string> asked; // every path whose identity was asked for
    int finished = 0;

    // While true, writes wait for RunWrites (a disk that is slow at start).
    bool holdWrites = false;

    void Write(const std::string& path, std::unique_ptr<DiskJob> job) override {
        if (holdWrites) {
            m_held.emplace_back(path, std::move(job));
            return;
        }
        std::vector<unsigned char> now, bytes;
        const FileStore::Reading reading = m_files.ReadAll(path, now);
        job->done =
            !job->Compose(reading, now, bytes) || m_files.Replace(path, bytes) == FileStore::Outcome::Written;
        if (!job->done) m_failed = true;
        m_done = std::move(job);
    }
    std::unique_ptr<DiskJob> TakeDone() override { return std::move(m_done); }
    void WaitForWrites(DWORD) override {}
    void RunWrites() {
        holdWrites = false;
        for (auto& held : m_held)
            Write(held.first, std::move(held.second));
        m_held.clear();
    }
    bool TakeWriteFailure() override {
        const bool failed = m_failed;
        m_failed = false;
        return failed;
    }
    void Identify(const std::string& path, bool utf8, unsigned ticket) override {
        asked.push_back(path);
        m_path = path;
        m_utf8 = utf8;
        m_ticket = ticket;
        m_waiting = true;
        if (answerAtOnce) Answer();
    }
    // The disk answers the waiting request.
    void Answer() {
        if (!m_waiting) return;
        m_waiting = false;
        m_identity = m_files.Identify(m_path, m_utf8);
        m_answerTicket = m_ticket;
        m_answered = true;
    }
    bool TakeIdentity(unsigned& ticket, FileIdentity& identity) override {
        if (!m_answered) return false;
        m_answered = false;
        ticket = m_answerTicket;
        identity = m_identity;
        return true;
    }
    void LookFor(const std::string& path, bool utf8, unsigned ticket) override {
        m_looked = true;
        m_lookTicket = ticket;
        m_gone = m_files.Gone(path, utf8);
    }
    bool TakeLook(unsigned& ticket, bool& gone) override {
        if (!m_looked) return false;
        m_looked = false;
        ticket = m_lookTicket;
        gone = m_gone;
        return true;
    }
    void Finish() override {
        m_waiting = false;
        ++finished;
    }

private:
    FileStore& m_files;
    std::unique_ptr<DiskJob> m_done;
    std::vector<std::pair<std::string, std::unique_ptr<DiskJob>>> m_held;
    bool m_failed = false;
    bool m_waiting = false, m_answered = false, m_utf8 = false;
    bool m_looked = false, m_gone = false;
    unsigned m_lookTicket = 0;
    std::string m_path;
    unsigned m_ticket = 0, m_answerTicket = 0;
    FileIdentity m_identity;
};
