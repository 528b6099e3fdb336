// The plug-in's start and stop, in the order the host relies on. The taps themselves are Win32 and sit
// behind HostTaps; everything else is reached through its own seam.
#pragma once
#include "platform/profile_store.h"
#include "platform/window_system.h"

class CBookmarkStore;
class CDlgButtons;
class CWinampIPC;
struct Settings;

class HostTaps {
public:
    virtual ~HostTaps() = default;
    // Replaces the host main window's procedure, keeping the previous one to chain to.
    virtual void SubclassHostWindow() = 0;
    // A thread-local mouse hook on the calling thread; false when the system refuses it.
    virtual bool InstallMouseHook() = 0;
    virtual bool HasMouseHook() const = 0;
    virtual void RemoveMouseHook() = 0;
    // Puts the previous procedure back, but only while the window's procedure is still ours.
    virtual void RestoreHostWindow() = 0;
};

struct PluginParts {
    HostTaps& taps;
    WindowSystem& windows;
    ProfileStore& profile;
    CWinampIPC& host;
    CDlgButtons& bar;
    CBookmarkStore& bookmarks;
    Settings& settings;
};

int PluginInit(PluginParts& parts);
void PluginQuit(PluginParts& parts);
