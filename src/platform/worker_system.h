// Seam: what the disk worker needs of the system. A thread that keeps the plug-in's code loaded until it
// has returned (a host may unload the plug-in while a disk call is still under way), one lock, and a
// signal by which a thread tells the waiting host's thread that it has made progress.
#pragma once
#include "platform/win_types.h"

class WorkerSystem {
public:
    virtual ~WorkerSystem() = default;
    // Runs work(context) on a thread of its own; false when none could be started.
    virtual bool Start(void (*work)(void*), void* context) = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual void Signal() = 0;
    // Waits up to ms for a Signal since the last wait; false when none came in time.
    virtual bool Wait(DWORD ms) = 0;
    virtual void Sleep(DWORD ms) = 0;
    // Milliseconds, wrapping.
    virtual DWORD Now() = 0;
};
