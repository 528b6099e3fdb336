// The end-to-end harness: a fresh stand-in host per test, in this process and on this thread, with the
// real gen_morvix.dll loaded from a fresh folder, driven like the player and the user drive it.
//
//   e2e::TestHost host;                          // fresh folder, INI, DLL copied in, init called
//   host.Player().Play();                        // notifications reach the plug-in as from the player
//   host.SetFullScreen(true);
//   host.MouseMove(600, 300); host.MouseMove(610, 300);
//   ASSERT_TRUE(host.WaitFor([&] { return host.BarVisible(); }, 2000));
//   EXPECT_EQ(1u, host.Log().CountCommand(40046));
//
// Every failed check in a test that owns a TestHost prints what the host saw: its state, the tail of
// its request log and the bar as a user sees it (see Describe).
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host_session.h"
#include "window_probe.h"

namespace e2e {

struct TestHostOptions {
    std::string ini = "[Winamp]\r\n";    // written to winamp.ini before init
    std::optional<std::string> dataFile; // bytes of plugins\gen_morvix.dat written before init
    std::vector<PlaylistEntry> playlist = {
        {"C:\\Media\\first.avi", 600}, {"C:\\Media\\second.avi", 300}, {"C:\\Media\\third.avi", 120}};
    // The INI directory (INI file and data file) when not the host folder: a folder of this name inside it,
    // made before init, with a "plugins" folder of its own unless iniPluginsFolder is false.
    std::string iniSubfolder;
    bool iniPluginsFolder = true;
    // When set, the INI subfolder's name is made as long as it takes for the data file's path to have
    // this many characters.
    std::size_t dataPathLength = 0;
    bool loadPlugin = true;   // false: the host alone, no plug-in
    bool manualClock = false; // true: playback time moves only through AdvanceClock
    int hostVersion = 0x5091; // what the host answers for its version; below 0x5000 an old host
};

class TestHost {
public:
    explicit TestHost(TestHostOptions options = {});
    ~TestHost(); // shuts the host down if still running; removes the folder unless the test failed
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // --- the plug-in's lifecycle, as the host drives it
    const GeneralPurposePluginRecord* Record() const; // null when no plug-in is loaded
    // Runs the plug-in's config; it returns when its dialog closes, so arrange the answer first with
    // WhenWindowAppears("Config Morvix", ...).
    void Config();
    void Quit();    // quit, then FreeLibrary; the host stops
    void Restart(); // Quit if running, then a new host on the same folder (INI and data file kept)
    bool Running() const { return m_session->Running(); }

    // --- the player. Its changes send the notifications the real player sends (volume 1, status 2,
    // entry 5) through the plug-in's subclass.
    SimPlayer& Player() { return m_session->Player(); }
    void AdvanceClock(int ms); // with manualClock
    // Full screen on: the video window covers the screen first, and the mouse move the system may
    // send when a window appears under the cursor is delivered before the host reports full screen,
    // so the plug-in ignores it; the jitter filter then still has no sample at a test's first move.
    void SetFullScreen(bool on, int monitor = 0); // monitor 0 the primary one, 1 the next
    // A visualisation full screen: full screen reported, no video window, no video playing (501 is 0).
    // Its main window spans the screen behind, so the user's mouse reaches the host.
    void SetVisualisationFullScreen();
    // The video window goes, the player goes on reporting full screen, and its main window now spans
    // the screen behind everything, so the user's clicks land on the host (and reach the hook).
    // As with SetFullScreen, the system's own moves are delivered before full screen is reported.
    void DestroyVideoKeepingFullScreen();
    // The host's unkind switches (requests that pump, no video while paused); its shortcuts always work
    // only in the window with the keyboard focus.
    HostSession& Session() { return *m_session; }
    HWND MainWindow() const { return m_session->MainWindow(); }
    HWND VideoWindow() const { return m_session->VideoHwnd(); }

    // --- files
    const std::string& Folder() const { return m_session->Folder(); }
    const std::string& IniFile() const { return m_session->IniFile(); }
    std::string DataFile() const { return m_session->IniDirectory() + "\\plugins\\gen_morvix.dat"; }
    static std::optional<std::string> ReadFile(const std::string& path); // nullopt when missing
    static void WriteFile(const std::string& path, const std::string& bytes);

    // --- what reached the host's own window procedure through the plug-in's chain
    RequestLog& Log() { return m_session->Log(); }

    // --- time: pump this thread's messages; wait for a condition with a deadline
    void Pump();
    bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000);

    // --- the user's mouse (SendInput, absolute); each returns once the input has been delivered
    // (the cursor where the system put it: the point, kept inside the cursor clip).
    // Input goes to the thread of the window under the cursor: the plug-in's hook sees it over the
    // video window, the bar and other windows of this thread, not over the bare desktop.
    bool MouseMove(int x, int y);
    bool Click(int x, int y);
    bool RightClick(int x, int y);
    bool Drag(int fromX, int fromY, int toX, int toY);
    bool Wheel(int x, int y, int notches);

    // --- the bar as a user sees it
    HWND Bar() const { return probe::FindBar(); }
    bool BarVisible() const;
    RECT BarRect() const { return probe::WindowRect(Bar()); }
    HWND BarControl(int id) const;
    std::string ClockText() const; // text of control 2003
    // The bar's time tip (a window the bar owns) when it is on screen, else null.
    HWND TimeTip() const;
    probe::Slider Slider(int id) const;
    // A click on a bar button as its parent hears it (WM_COMMAND, BN_CLICKED), visible or not.
    void ClickBarControl(int id);
    // A real mouse click at the centre of a bar control (the bar must be visible).
    bool ClickBarControlWithMouse(int id);

    // --- other windows: the configuration dialog ("Config Morvix"), the message box ("Morvix")
    static HWND FindWindowByTitle(const std::string& title) { return probe::FindWindowByTitle(title); }
    // Runs `action` once, on this thread, as soon as a visible top-level window with this title exists,
    // even inside a modal loop (config, a message box). Pending until then; see Answered. With everyTime,
    // it runs once for each such window, for as long as the test lasts; see Answers.
    void WhenWindowAppears(const std::string& title, std::function<void(HWND)> action,
                           bool everyTime = false);
    bool Answered(const std::string& title) const; // the action for `title` has run
    int Answers(const std::string& title) const;   // the windows with this title an action has run for
    // Presses a dialog button the way a click does (posted WM_COMMAND with BN_CLICKED).
    static void PressButton(HWND dialog, int id);

    // --- the failure printer: host state, last request-log lines, bar state, folder
    std::string Describe() const;

private:
    struct Watch {
        std::string title;
        std::function<void(HWND)> action;
        bool everyTime = false;
        bool done = false;
        HWND last = nullptr; // the window the action last ran for
        int answers = 0;
    };
    static void CALLBACK OnWatchTimer(HWND, UINT, UINT_PTR, DWORD);
    void RunWatches();
    bool WaitForInputDelivered(int x, int y);
    void DeliverSystemMoves(); // a move to where the cursor is, drained with whatever came before

    TestHostOptions m_options;
    long long m_clockMs = 0;
    std::unique_ptr<HostSession> m_session;
    std::vector<Watch> m_watches;
    UINT_PTR m_watchTimer = 0;
    bool m_inWatch = false;
};

} // namespace e2e
