#include <memory>

#include "platform/win32/win32_seams.h"

namespace {

struct Job {
    void (*work)(void*);
    void* context;
    HMODULE module;
};

DWORD WINAPI RunJob(void* parameter) {
    const Job job = *static_cast<Job*>(parameter);
    delete static_cast<Job*>(parameter);
    job.work(job.context);
    // Nothing of the plug-in's runs after this call: it may be the one that unloads it.
    ::FreeLibraryAndExitThread(job.module, 0);
    return 0;
}

} // namespace

Win32WorkerSystem::Win32WorkerSystem() : m_progress(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    ::InitializeCriticalSection(&m_lock);
}

// The module is unloaded only once every thread that holds it has ended; at the process's end the system
// has ended them already.
Win32WorkerSystem::~Win32WorkerSystem() {
    if (m_progress != nullptr) ::CloseHandle(m_progress);
    ::DeleteCriticalSection(&m_lock);
}

bool Win32WorkerSystem::Start(void (*work)(void*), void* context) {
    if (m_progress == nullptr) return false; // quit could not wait for it
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&RunJob),
                              &module))
        return false;
    std::unique_ptr<Job> job(new Job{work, context, module});
    const HANDLE thread = ::CreateThread(nullptr, 0, RunJob, job.get(), 0, nullptr);
    if (thread == nullptr) {
        ::FreeLibrary(module);
        return false;
    }
    job.release();
    ::CloseHandle(thread);
    return true;
}
