// One run of the stand-in host on a folder: the INI file and INI directory inside it, the plug-ins
// folder below it, the main and video windows, the simulated player and the loaded plug-ins.
// Used by the morvix_host program and, in-process, by the end-to-end tests.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "host_window.h"
#include "plugin_loader.h"
#include "request_log.h"
#include "sim_player.h"
#include "video_window.h"

struct HostOptions {
    std::string folder; // Windows path; INI file "winamp.ini" and folder "plugins" live in it
    // Where the INI file lives and what the host answers for its INI directory, when not the folder
    // itself (the real player may keep them in the user's profile, apart from its plug-ins).
    std::string iniDirectory;
    std::vector<PlaylistEntry> playlist;
    bool showMainWindow = true;
    bool animateVideo = true;
    SimPlayer::Clock clock; // empty: real time
    bool wideNames = true;  // false: the host lacks the wide file-name request
};

// A built-in playlist for trying the plug-in.
std::vector<PlaylistEntry> DemoPlaylist();

class HostSession {
public:
    explicit HostSession(HostOptions options);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Creates the windows, loads the plug-ins and calls their init. False if a window cannot be made.
    bool Start();
    // quit for the plug-ins, windows destroyed, then FreeLibrary. Safe to call twice.
    void Shutdown();
    bool Running() const { return m_running; }
    int Runs() const { return m_runs; } // how many times Start has run

    // Quit (from 40001 or closing the main window) and restart are carried out by the message loop
    // through ServicePending, never inside a call that may have come from the plug-in.
    void RequestShutdown() { m_shutdownPending = true; }
    void RequestRestart() { m_restartPending = true; }
    // Carries out a pending shutdown or restart; true when it did something.
    bool ServicePending();

    // Calls every plug-in's config (returns when its dialog closes).
    void Configure();
    // Posts a configure request to the main window, so the dialog runs from the message loop.
    void PostConfigure();

    // Full screen as the player reports it (630), with the video window made to match, on monitor
    // `monitor` (0 the primary one).
    void SetFullScreen(bool on, int monitor = 0);
    // The two halves of SetFullScreen, for tests that must order them: the window, and the report.
    void ShowVideo(bool fullScreen, int monitor = 0);
    void ReportFullScreen(bool on);
    // The video window goes away but the player goes on reporting full screen (a confused player).
    void DestroyVideoKeepingFullScreen();
    // The main window spans the screen behind the others, so the user's mouse lands on the host
    // wherever it goes (what a user clicks when the player believes it is full screen without video).
    void CoverScreenWithMainWindow();
    bool ReportsFullScreen() const { return m_fullScreen; }

    // Facts of the host beyond the player. A visualisation full screen: the player reports full screen
    // (630 answers 1) with no video window, and says no video plays (501 answers 0).
    void SetVisualisationFullScreen(bool on);
    // The version the host answers (WM_USER, lParam 0). Below 0x5000 the host is an old one: it lacks
    // the full-screen and video-playing requests and answers 1 to them, as to every request it lacks.
    void SetVersion(int version) { m_version = version; }
    // A host that opens the next entry and announces it only once decoding runs: the entry has changed
    // for this long before the notification, and the host's messages (the plug-in's timers) go on.
    void SetAnnounceDelay(int ms) { m_announceDelayMs = ms; }
    // A host that pumps its messages (the plug-in's timers among them) for this long inside every
    // request it answers.
    void SetPumpInRequests(int ms) { m_pumpInRequestsMs = ms; }
    // A disk that takes ms for each open, look at attributes, read, write, flush and rename of the plug-ins.
    void SetSlowDisk(int ms) { m_plugins.SetSlowDisk(ms); }
    // A share that went away: the plug-ins' opens of a path that holds `text` take ms, then fail.
    void SetLostShare(const std::string& text, int ms) { m_plugins.SetLostShare(text, ms); }
    // The longest time the plug-ins held the host's thread in one notification or one of their timers.
    void NoteHold(DWORD ms) { m_longestHoldMs = ms > m_longestHoldMs ? ms : m_longestHoldMs; }
    DWORD LongestHold() const { return m_longestHoldMs; }
    // How long the plug-ins' quit held the host's thread at the last shutdown: the player's window
    // answers nothing meanwhile.
    DWORD LastQuitMs() const { return m_lastQuitMs; }
    // How long the plug-ins' init held the host's thread at the last start.
    DWORD LastInitMs() const { return static_cast<DWORD>(m_plugins.LastInitUs() / 1000); }
    // A file of the playlist moved (or renamed) on disk, and its entry named anew; flipByte >= 0 changes
    // that byte of the moved file. False when the file could not be moved.
    bool MoveEntry(int index, const std::string& name, int flipByte);
    void PumpInsideRequest();
    // A host that says no video plays (501 answers 0) while its video is paused.
    void SetNoVideoWhilePaused(bool on) { m_noVideoWhilePaused = on; }
    bool NoVideoWhilePaused() const { return m_noVideoWhilePaused; }
    // A host whose shortcuts work only where the keyboard focus is (its main or video window), rather
    // than from its message loop whatever has the focus.
    void SetKeysToFocusOnly(bool on) { m_keysToFocusOnly = on; }
    bool KeysToFocusOnly() const { return m_keysToFocusOnly; }
    // The player's shortcuts: F full screen, Escape out of it, Space pause, N/P, +/-, C configure, Q quit.
    bool HandleKey(WPARAM key);
    int Version() const { return m_version; }
    bool OldHost() const { return m_version < 0x5000; }
    bool VisualisationFullScreen() const { return m_visualisation; }

    SimPlayer& Player() { return m_player; }
    RequestLog& Log() { return m_log; }
    HWND MainWindow() const { return m_main.Hwnd(); }
    HWND VideoHwnd() const { return m_video.Hwnd(); }
    const PluginLoader& Plugins() const { return m_plugins; }
    const std::string& Folder() const { return m_options.folder; }
    const std::string& IniFile() const { return m_iniFile; }
    const std::string& IniDirectory() const { return m_iniDirectory; }
    std::string PluginsFolder() const { return m_options.folder + "\\plugins"; }

private:
    HostOptions m_options;
    std::string m_iniFile;
    std::string m_iniDirectory;
    RequestLog m_log;
    SimPlayer m_player;
    HostWindow m_main;
    VideoWindow m_video;
    PluginLoader m_plugins;
    bool m_fullScreen = false;
    bool m_visualisation = false;
    int m_version = 0x5091;
    int m_announceDelayMs = 0;
    int m_pumpInRequestsMs = 0;
    DWORD m_longestHoldMs = 0;
    DWORD m_lastQuitMs = 0;
    int m_pumpDepth = 0;
    int m_notifyDepth = 0;
    bool m_noVideoWhilePaused = false;
    bool m_keysToFocusOnly = false;
    bool m_running = false;
    bool m_shutdownPending = false;
    bool m_restartPending = false;
    int m_runs = 0;
};
