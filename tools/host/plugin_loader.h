// Loads general-purpose plug-ins the way the player does: every gen_*.dll of the plug-ins folder,
// the export called, the main window and module handle written into the record, then init.
#pragma once
#include <string>
#include <vector>

#include "request_log.h"

// The record a general-purpose plug-in hands to the player, as the player reads it. Declared here on its
// own rather than taken from the plug-in's header, so that a layout fault in the plug-in shows in tests.
struct GeneralPurposePluginRecord {
    int version;
    const char* description;
    int (*init)();
    void (*config)();
    void (*quit)();
    HWND hwndParent;
    HINSTANCE hDllInstance;
};

constexpr int kGeneralPurposeRecordVersion = 16;

struct LoadedPlugin {
    std::string path;
    HMODULE module = nullptr;
    GeneralPurposePluginRecord* record = nullptr;
    bool initialised = false;
};

class PluginLoader {
public:
    explicit PluginLoader(RequestLog& log) : m_log(log) {}
    ~PluginLoader() { FreeAll(); }
    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

    // Loads and initialises every plug-in in `folder`; returns how many were initialised.
    int LoadAll(const std::string& folder, HWND mainWindow);
    void ConfigAll();
    // quit for every initialised plug-in, in reverse order of loading.
    void QuitAll();
    void FreeAll();
    // Every open, look at attributes, read, write, flush and rename of the plug-ins' own takes ms longer,
    // from now on and after a reload (0: as fast as the disk is).
    void SetSlowDisk(int ms);
    // From now on and after a reload, the plug-ins' opens of a path that holds `text` take ms, then fail
    // with ERROR_BAD_NETPATH: a share that went away. Set before the plug-ins open files of their own.
    void SetLostShare(const std::string& text, int ms);

    const std::vector<LoadedPlugin>& Plugins() const { return m_plugins; }
    // How long the plug-ins' init calls held the caller's thread at the last LoadAll, in microseconds.
    double LastInitUs() const { return m_lastInitUs; }

private:
    RequestLog& m_log;
    double m_lastInitUs = 0;
    std::vector<LoadedPlugin> m_plugins;
};
