// What the plug-in costs the player's own thread, in the stand-in host under Wine, each figure against a
// reference in the same run: a mouse message with the bar hidden and shown against the floor (a hook that
// only asks the host once per message), a tick of the shown bar, init and quit, init on a slow disk. Prints
// one line per row for ./dev bench:
//   ROW<TAB>what<TAB>figure<TAB>reference<TAB>ratio
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/winamp_ipc.h"
#include "host_session.h"
#include "mouse_input.h"
#include "resources/resource_ids.h"
#include "../win/timing.h"
#include "window_probe.h"

namespace {

constexpr int kMessages = 100;
constexpr int kMouseRounds = 7;
constexpr int kTicks = 400;
constexpr int kStarts = 40;
constexpr double kTickPeriodUs = 500000;

void Row(const std::string& what, const std::string& figure, const std::string& reference, double ratio) {
    char r[32];
    std::snprintf(r, sizeof r, ratio >= 0.1 ? "%.2f" : "%.2g", ratio);
    std::printf("ROW\t%s\t%s\t%s\t%s\n", what.c_str(), figure.c_str(), reference.c_str(), r);
    std::fflush(stdout);
}

std::string Us(double us, const char* what = "") {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f us%s", us, what);
    return text;
}

std::string FreshFolder(const char* name) {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name + "-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\plugins").c_str(), nullptr);
    return folder;
}

std::string ThisDirectory() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of("\\/"));
}

// A host on a fresh folder, with or without the plug-in in it.
class Host {
public:
    explicit Host(bool withPlugin) {
        HostOptions options;
        options.folder = FreshFolder(withPlugin ? "morvix-bench-with" : "morvix-bench-without");
        options.playlist = DemoPlaylist();
        options.animateVideo = false;
        const std::string dll = options.folder + "\\plugins\\gen_morvix.dll";
        if (withPlugin) {
            ::CopyFileA((ThisDirectory() + "\\gen_morvix.dll").c_str(), dll.c_str(), FALSE);
        } else {
            ::DeleteFileA(dll.c_str());
        }
        m_session = std::make_unique<HostSession>(options);
        m_session->Start();
        m_session->Player().Play();
    }
    ~Host() {
        m_session->Shutdown();
        const std::string folder = m_session->Folder();
        m_session.reset();
        ::DeleteFileA((folder + "\\plugins\\gen_morvix.dll").c_str());
        ::DeleteFileA((folder + "\\plugins\\gen_morvix.dat").c_str());
        ::RemoveDirectoryA((folder + "\\plugins").c_str());
        ::DeleteFileA((folder + "\\winamp.ini").c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    HostSession& operator*() { return *m_session; }
    HostSession* operator->() { return m_session.get(); }

private:
    std::unique_ptr<HostSession> m_session;
};

bool IsMouse(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

// Pumps until `done` holds or two seconds pass.
template <class Done> bool Pump(Done done) {
    const double start = Now();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (Now() - start > 2) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

struct MousePath {
    std::vector<double> usPerMessage; // the median of each round
    std::size_t requests = 0;
    int messages = 0;

    double Fastest() const { return usPerMessage.empty() ? 0 : Best(usPerMessage); }
    // The median over rounds of this path's time against the reference's in the same round: the machine's
    // load moves both alike within a round, far less from one round to the next.
    double RatioTo(const MousePath& reference) const {
        std::vector<double> ratios;
        for (std::size_t i = 0; i < usPerMessage.size() && i < reference.usPerMessage.size(); ++i)
            if (reference.usPerMessage[i] > 0) ratios.push_back(usPerMessage[i] / reference.usPerMessage[i]);
        return ratios.empty() ? 0 : Median(ratios);
    }
    double RequestsPerMessage() const { return messages ? static_cast<double>(requests) / messages : 0; }
};

// kMessages moves, alternating between two points, each sent with SendInput and then taken from the queue
// and dispatched by this thread. The mouse hook runs while the message is taken, so the time from taking
// it to the end of its dispatch is what the message costs the thread, and the requests made meanwhile are
// what it cost the host.
void MeasureMousePath(HostSession& session, POINT at, MousePath* path) {
    RequestLog& log = session.Log();
    std::vector<double> times;
    for (int i = 0; i < kMessages; ++i) {
        mouse::MoveTo(at.x + (i % 2) * 9, at.y + (i % 2) * 5);
        const double sent = Now();
        for (bool got = false; !got && Now() - sent < 2;) {
            MSG msg;
            const std::size_t before = log.Entries().size();
            const double start = Now();
            if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            if (!IsMouse(msg.message)) continue;
            got = true;
            times.push_back((Now() - start) * 1e6);
            ++path->messages;
            for (std::size_t k = before; k < log.Entries().size(); ++k)
                path->requests += log.Entries()[k].message == WM_USER;
        }
        if (log.Entries().size() > 100000) log.Clear();
    }
    if (!times.empty()) path->usPerMessage.push_back(Median(times));
}

POINT Centre(HWND window) {
    const RECT rc = probe::WindowRect(window);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

HWND BringUpBar(POINT at) {
    mouse::MoveTo(at.x, at.y);
    Pump([] { return true; });
    mouse::MoveTo(at.x + 20, at.y + 10);
    HWND bar = nullptr;
    return Pump([&] { return (bar = probe::FindBar()) && ::IsWindowVisible(bar); }) ? bar : nullptr;
}

// The floor of any plug-in that watches the mouse: a thread-local hook that does nothing but ask the
// host one question per message, as the plug-in must.
HWND g_floorHost = nullptr;
HHOOK g_floorHook = nullptr;

LRESULT CALLBACK FloorHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) ::SendMessageA(g_floorHost, WM_USER, 0, 630);
    return ::CallNextHookEx(g_floorHook, code, wParam, lParam);
}

// A host without the plug-in, optionally with the floor hook, through the same steps as the host with the
// plug-in below: moves over its main window, then full screen and moves over where the bar's clock is.
void MeasureWithoutPlugin(bool floorHook, POINT free, POINT overClock, MousePath* notFull, MousePath* full) {
    Host host(false);
    if (floorHook) {
        g_floorHost = host->MainWindow();
        g_floorHook = ::SetWindowsHookExA(WH_MOUSE, FloorHook, nullptr, ::GetCurrentThreadId());
    }
    host->CoverScreenWithMainWindow();
    Pump([] { return true; });
    MeasureMousePath(*host, free, notFull);
    host->SetFullScreen(true);
    // The moves that bring up the bar in the host with the plug-in.
    mouse::MoveTo(free.x, free.y);
    Pump([] { return true; });
    mouse::MoveTo(free.x + 20, free.y + 10);
    Pump([] { return true; });
    MeasureMousePath(*host, overClock, full);
    if (g_floorHook) ::UnhookWindowsHookEx(g_floorHook);
    g_floorHook = nullptr;
}

// Rounds that alternate a host without the plug-in and one with it, so both see the same machine; the
// best round of each stands for the cost itself (other programs only ever add time).
void MouseRows() {
    const POINT free = {500, 300};
    // Where the bar's clock is when it is up: over the video when it is not.
    POINT overClock = {::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) - 40};
    MousePath without, withoutFull, floor, floorFull, hidden, shown;
    for (int round = 0; round < kMouseRounds; ++round) {
        MeasureWithoutPlugin(false, free, overClock, &without, &withoutFull);
        MeasureWithoutPlugin(true, free, overClock, &floor, &floorFull);
        Host host(true);
        host->CoverScreenWithMainWindow();
        Pump([] { return true; });
        MeasureMousePath(*host, free, &hidden);
        host->SetFullScreen(true);
        if (HWND bar = BringUpBar(free)) {
            overClock = Centre(::GetDlgItem(bar, IDC_TIME));
            MeasureMousePath(*host, overClock, &shown);
        } else {
            std::printf("round %d: the bar did not show\n", round);
        }
    }
    const auto row = [](const char* what, const MousePath& with, const MousePath& floor,
                        const MousePath& bare) {
        if (with.requests != static_cast<std::size_t>(with.messages))
            std::printf("%s: %zu host requests for %d mouse messages, not exactly one each\n", what,
                        with.requests, with.messages);
        char figure[96], ref[96];
        std::snprintf(figure, sizeof figure, "%.1f us/msg, %.2f requests/msg (%d msgs)", with.Fastest(),
                      with.RequestsPerMessage(), with.messages);
        std::snprintf(ref, sizeof ref, "%.1f us/msg floor; %.1f without a hook", floor.Fastest(),
                      bare.Fastest());
        Row(what, figure, ref, with.RatioTo(floor));
    };
    char floorFigure[96], bareFigure[96];
    std::snprintf(floorFigure, sizeof floorFigure, "%.1f us/msg, %.2f requests/msg (%d msgs)",
                  floor.Fastest(), floor.RequestsPerMessage(), floor.messages);
    std::snprintf(bareFigure, sizeof bareFigure, "%.1f us/msg without a hook", without.Fastest());
    Row("mouse message, floor (a hook asking the host once)", floorFigure, bareFigure,
        floor.RatioTo(without));
    row("mouse message, bar hidden", hidden, floor, without);
    row("mouse message, bar shown", shown, floorFull, withoutFull);
}

// The bar's 500 ms tick, sent directly while the bar is up with the mouse resting on it (so it stays).
void TickRow() {
    Host host(true);
    host->SetFullScreen(true);
    HWND bar = BringUpBar({500, 300});
    if (!bar) {
        std::printf("the bar did not show; no tick row\n");
        return;
    }
    const POINT clock = Centre(::GetDlgItem(bar, IDC_TIME));
    mouse::MoveTo(clock.x, clock.y);
    Pump([&] {
        POINT pt;
        return ::GetCursorPos(&pt) && pt.x == clock.x && pt.y == clock.y;
    });
    RequestLog& log = host->Log();
    std::vector<double> times;
    std::size_t requests = 0;
    for (int i = 0; i < kTicks; ++i) {
        const std::size_t before = log.Entries().size();
        const double start = Now();
        ::SendMessageA(bar, WM_TIMER, 1, 0);
        times.push_back((Now() - start) * 1e6);
        for (std::size_t k = before; k < log.Entries().size(); ++k)
            requests += log.Entries()[k].message == WM_USER;
    }
    char figure[96];
    std::snprintf(figure, sizeof figure, "%.1f us/tick, %.2f requests/tick", Median(times),
                  static_cast<double>(requests) / kTicks);
    Row("bar tick, shown", figure, Us(kTickPeriodUs, " tick period"), Median(times) / kTickPeriodUs);
}

// A file plays and nobody touches anything: the host sends no notification, and what the plug-in asks
// is the position memory's own clock. Real time, so the rate is what the host really sees.
void PlayingRow() {
    constexpr double kSeconds = 10;
    constexpr double kAllowedPerSecond = 3;
    Host host(true);
    Pump([] { return false; }); // two seconds for the start to settle
    RequestLog& log = host->Log();
    log.Clear();
    const double start = Now();
    while (Now() - start < kSeconds) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    const double seconds = Now() - start;
    std::size_t requests = 0;
    for (const HostRequest& r : log.Entries())
        requests += r.message == WM_USER && !r.IsUser(ipc::kNotify);
    const double perSecond = static_cast<double>(requests) / seconds;
    char figure[96], reference[64];
    std::snprintf(figure, sizeof figure, "%.2f requests/s (%zu in %.1f s)", perSecond, requests, seconds);
    std::snprintf(reference, sizeof reference, "%.0f requests/s allowed", kAllowedPerSecond);
    Row("host requests while a file plays untouched", figure, reference, perSecond / kAllowedPerSecond);
}

using ExportFn = GeneralPurposePluginRecord* (*)();

// LoadLibrary and the export alone, then init and quit, then FreeLibrary: kStarts times on one host.
void StartRows() {
    Host host(false);
    const std::string dll = host->PluginsFolder() + "\\gen_morvix.dll";
    ::CopyFileA((ThisDirectory() + "\\gen_morvix.dll").c_str(), dll.c_str(), FALSE);
    std::vector<double> load, init, quit;
    for (int i = 0; i < kStarts; ++i) {
        const double t0 = Now();
        HMODULE module = ::LoadLibraryA(dll.c_str());
        auto get = reinterpret_cast<ExportFn>(
            reinterpret_cast<void*>(::GetProcAddress(module, "winampGetGeneralPurposePlugin")));
        GeneralPurposePluginRecord* record = get ? get() : nullptr;
        if (!record) {
            std::printf("gen_morvix.dll did not load; no start-up rows\n");
            return;
        }
        record->hwndParent = host->MainWindow();
        record->hDllInstance = module;
        const double t1 = Now();
        record->init();
        const double t2 = Now();
        record->quit();
        const double t3 = Now();
        ::FreeLibrary(module);
        Pump([] { return true; });
        load.push_back((t1 - t0) * 1e6);
        init.push_back((t2 - t1) * 1e6);
        quit.push_back((t3 - t2) * 1e6);
    }
    const std::string reference = Us(Median(load), " LoadLibrary + export");
    Row("init to return", Us(Median(init)), reference, Median(init) / Median(load));
    Row("quit to return", Us(Median(quit)), reference, Median(quit) / Median(load));
}

// init on a disk that takes 200 ms a call against init on the same folder at full speed, the two
// alternating; the data file holds what the first run played. The host's thread waits for no disk call.
void SlowDiskInitRow() {
    constexpr int kDiskMs = 200;
    constexpr int kSlowStarts = 6;
    Host host(true);
    host->Player().JumpTo(60000);
    Pump([] { return false; });
    std::vector<double> slow, fast;
    for (int i = 0; i < 2 * kSlowStarts; ++i) {
        host->Shutdown(); // the first writes the data file
        host->SetSlowDisk(i % 2 ? 0 : kDiskMs);
        host->Start();
        (i % 2 ? fast : slow).push_back(host->Plugins().LastInitUs());
        Pump([] { return false; }); // the start's reading, wherever it runs, is done before quit
    }
    host->Shutdown();
    host->SetSlowDisk(0);
    char reference[64];
    std::snprintf(reference, sizeof reference, "%.1f us at full speed (one call: %d ms)", Median(fast),
                  kDiskMs);
    Row("init to return, slow disk", Us(Median(slow)), reference, Median(slow) / Median(fast));
}

} // namespace

int main() {
    MouseRows();
    TickRow();
    StartRows();
    SlowDiskInitRow();
    PlayingRow();
    return 0;
}
