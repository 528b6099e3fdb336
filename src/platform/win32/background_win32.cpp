#include <utility>

#include "platform/win32/win32_seams.h"

namespace {
constexpr int kWriteRetries = 5;
constexpr DWORD kWriteRetryMs = 100;

// Holds a critical section for the length of a scope.
class Locked {
public:
    explicit Locked(CRITICAL_SECTION& lock) : m_lock(lock) { ::EnterCriticalSection(&m_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    ~Locked() { ::LeaveCriticalSection(&m_lock); }

private:
    CRITICAL_SECTION& m_lock;
};

} // namespace

// Quit ends the thread. A host that unloads the DLL without quit ends the process soon after: the thread
// is left alone, since waiting for it here, under the loader's lock, could hang the host.
Win32Background::~Win32Background() {
    if (m_thread != nullptr) return;
    if (m_wake != nullptr) ::CloseHandle(m_wake);
    ::DeleteCriticalSection(&m_lock);
}

void Win32Background::Replace(const std::string& path, std::vector<unsigned char> bytes) {
    {
        Locked locked(m_lock);
        m_writePath = path;
        m_writeBytes = std::move(bytes);
        m_writeWaiting = true;
        if (Wake()) return;
        m_writeWaiting = false;
    }
    // No thread to be had: written here, as it would have been without one.
    const bool written = m_files.Replace(path, m_writeBytes);
    Locked locked(m_lock);
    m_writeFailed = m_writeFailed || !written;
}

bool Win32Background::TakeWriteFailure() {
    Locked locked(m_lock);
    const bool failed = m_writeFailed;
    m_writeFailed = false;
    return failed;
}

void Win32Background::Identify(const std::string& path, bool utf8, unsigned ticket) {
    Locked locked(m_lock);
    m_identifyPath = path;
    m_identifyUtf8 = utf8;
    m_identifyTicket = ticket;
    m_identifyWaiting = true;
    if (Wake()) return;
    // No thread: no identity rather than a read on the host's thread.
    m_identifyWaiting = false;
    m_answered = true;
    m_answerTicket = ticket;
    m_answer = FileIdentity{};
}

bool Win32Background::TakeIdentity(unsigned& ticket, FileIdentity& identity) {
    Locked locked(m_lock);
    if (!m_answered) return false;
    m_answered = false;
    ticket = m_answerTicket;
    identity = m_answer;
    return true;
}

void Win32Background::Finish() {
    HANDLE thread;
    {
        Locked locked(m_lock);
        m_identifyWaiting = m_answered = false;
        thread = m_thread;
        if (thread == nullptr) return;
        m_stopping = true;
        ::SetEvent(m_wake);
    }
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    Locked locked(m_lock);
    m_thread = nullptr;
    m_stopping = m_answered = false;
}

bool Win32Background::Wake() {
    if (m_wake == nullptr) m_wake = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (m_wake == nullptr) return false;
    if (m_thread == nullptr)
        m_thread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
    return m_thread != nullptr && ::SetEvent(m_wake);
}

DWORD WINAPI Win32Background::Run(void* self) {
    static_cast<Win32Background*>(self)->Work();
    return 0;
}

// Writes before reads: the data file is what a person would lose. Once stopping, a waiting identity
// request is dropped and the thread ends after the last write.
void Win32Background::Work() {
    for (;;) {
        ::WaitForSingleObject(m_wake, INFINITE);
        for (;;) {
            std::string path;
            std::vector<unsigned char> bytes;
            bool write = false, utf8 = false;
            unsigned ticket = 0;
            {
                Locked locked(m_lock);
                if (m_writeWaiting) {
                    path = std::move(m_writePath);
                    bytes = std::move(m_writeBytes);
                    m_writeWaiting = false;
                    write = true;
                } else if (m_identifyWaiting && !m_stopping) {
                    path = m_identifyPath;
                    utf8 = m_identifyUtf8;
                    ticket = m_identifyTicket;
                    m_identifyWaiting = false;
                } else if (m_stopping) {
                    return;
                } else {
                    break;
                }
            }
            if (write) {
                bool written = m_files.Replace(path, bytes);
                // Another program may hold the file open for a moment (a virus scanner, a backup, a look
                // at it): the write is tried again a few times, unless a later one has come to replace it.
                for (int retry = 0; !written && retry < kWriteRetries; ++retry) {
                    ::Sleep(kWriteRetryMs);
                    {
                        Locked locked(m_lock);
                        written = m_writeWaiting; // the later one holds the whole state: nothing is lost
                        if (written) break;
                    }
                    written = m_files.Replace(path, bytes);
                }
                Locked locked(m_lock);
                m_writeFailed = m_writeFailed || !written;
                continue;
            }
            const FileIdentity identity = m_files.Identify(path, utf8);
            Locked locked(m_lock);
            m_answered = true;
            m_answerTicket = ticket;
            m_answer = identity;
        }
    }
}
