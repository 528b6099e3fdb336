#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "mouse_input.h"

namespace e2e {
namespace {
TestHost* g_current = nullptr; // the TestHost of the running test, for the failure printer
int g_folderCount = 0;

// Prints the host's view after every failed check of a test that owns a TestHost.
class FailurePrinter : public testing::EmptyTestEventListener {
    void OnTestPartResult(const testing::TestPartResult& result) override {
        if (result.failed() && g_current) std::printf("%s", g_current->Describe().c_str());
    }
};

const bool g_printerInstalled = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new FailurePrinter);
    return true;
}();

std::string ExecutableDirectory() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of("\\/"));
}

void RemoveTree(const std::string& folder);

// Wine hands out the same small process ids run after run, and a failed test keeps its folder: clear
// whatever an earlier run left under the same name.
std::string FreshFolder() {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "morvix-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" +
                         std::to_string(++g_folderCount);
    RemoveTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\plugins").c_str(), nullptr);
    return folder;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); // read-only data files too
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

const char* StatusName(int status) {
    return status == SimPlayer::kPlaying ? "playing" : status == SimPlayer::kPaused ? "paused" : "stopped";
}
} // namespace

TestHost::TestHost(TestHostOptions options) : m_options(std::move(options)) {
    (void)g_printerInstalled;
    g_current = this;
    // Park the cursor and drain its messages before the plug-in hooks the mouse, so each test starts
    // from the same point whatever the previous one did.
    mouse::MoveTo(0, 0);
    WaitForInputDelivered(0, 0);

    HostOptions host;
    host.folder = FreshFolder();
    const std::size_t fixedPart = host.folder.size() + std::strlen("\\plugins\\gen_morvix.dat");
    if (m_options.dataPathLength > fixedPart + 1)
        m_options.iniSubfolder = std::string(m_options.dataPathLength - fixedPart - 1, 'd');
    if (!m_options.iniSubfolder.empty()) {
        host.iniDirectory = host.folder + "\\" + m_options.iniSubfolder;
        if (!::CreateDirectoryA(host.iniDirectory.c_str(), nullptr))
            ADD_FAILURE() << "cannot make the INI directory " << host.iniDirectory;
        if (m_options.iniPluginsFolder)
            ::CreateDirectoryA((host.iniDirectory + "\\plugins").c_str(), nullptr);
    }
    host.playlist = m_options.playlist;
    host.showMainWindow = false;
    host.animateVideo = false;
    if (m_options.manualClock) host.clock = [this] { return m_clockMs; };
    m_session = std::make_unique<HostSession>(std::move(host));
    m_session->SetVersion(m_options.hostVersion);
    m_session->SetKeysToFocusOnly(true);

    WriteFile(m_session->IniFile(), m_options.ini);
    if (m_options.dataFile) WriteFile(DataFile(), *m_options.dataFile);
    if (m_options.loadPlugin) {
        const std::string dll = ExecutableDirectory() + "\\gen_morvix.dll";
        if (!::CopyFileA(dll.c_str(), (m_session->PluginsFolder() + "\\gen_morvix.dll").c_str(), FALSE))
            ADD_FAILURE() << "cannot copy " << dll << " into the plug-ins folder";
    }
    m_watchTimer = ::SetTimer(nullptr, 0, 25, OnWatchTimer);
    if (!m_session->Start()) ADD_FAILURE() << "the host's windows could not be created";
    if (m_options.loadPlugin && !Record()) ADD_FAILURE() << "gen_morvix.dll was not loaded";
}

TestHost::~TestHost() {
    m_session->Shutdown();
    if (m_watchTimer) ::KillTimer(nullptr, m_watchTimer);
    const std::string folder = m_session->Folder();
    const bool keep = testing::Test::HasFailure();
    if (keep) std::printf("host folder kept: %s\n", folder.c_str());
    g_current = nullptr;
    m_session.reset();
    if (!keep) RemoveTree(folder);
}

const GeneralPurposePluginRecord* TestHost::Record() const {
    const auto& plugins = m_session->Plugins().Plugins();
    return plugins.empty() ? nullptr : plugins.front().record;
}

void TestHost::Config() {
    m_session->Configure();
}

void TestHost::Quit() {
    m_session->Shutdown();
}

void TestHost::Restart() {
    m_session->Shutdown();
    if (!m_session->Start()) ADD_FAILURE() << "the host could not restart";
}

void TestHost::SetFullScreen(bool on, int monitor) {
    if (!on) return m_session->SetFullScreen(false);
    m_session->ReportFullScreen(false);
    m_session->ShowVideo(true, monitor);
    DeliverSystemMoves();
    m_session->ReportFullScreen(true);
}

void TestHost::SetVisualisationFullScreen() {
    m_session->ReportFullScreen(false);
    m_session->CoverScreenWithMainWindow();
    DeliverSystemMoves();
    m_session->SetVisualisationFullScreen(true);
}

void TestHost::DestroyVideoKeepingFullScreen() {
    m_session->ReportFullScreen(false);
    m_session->DestroyVideoKeepingFullScreen();
    m_session->CoverScreenWithMainWindow();
    DeliverSystemMoves();
    m_session->ReportFullScreen(true);
}

void TestHost::DeliverSystemMoves() {
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    mouse::MoveTo(cursor.x, cursor.y);
    WaitForInputDelivered(cursor.x, cursor.y);
}

void TestHost::AdvanceClock(int ms) {
    EXPECT_TRUE(m_options.manualClock) << "AdvanceClock needs TestHostOptions::manualClock";
    m_clockMs += ms;
}

std::optional<std::string> TestHost::ReadFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

void TestHost::WriteFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file) << "cannot write " << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void TestHost::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (m_session) m_session->ServicePending();
    }
    if (m_session) m_session->ServicePending();
}

bool TestHost::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        Pump();
        if (done()) return true;
        if (static_cast<int>(::GetTickCount() - start) >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool TestHost::WaitForInputDelivered(int x, int y) {
    return WaitFor(
        [&] {
            // The system keeps the cursor inside the clip rectangle, which the plug-in may narrow
            // while it handles this very input.
            RECT clip;
            POINT want = {x, y}, pt;
            if (::GetClipCursor(&clip)) {
                want.x = std::clamp(want.x, clip.left, clip.right - 1);
                want.y = std::clamp(want.y, clip.top, clip.bottom - 1);
            }
            ::GetCursorPos(&pt);
            // Asking the queue, not peeking into it: a peek would show the message to the mouse hook.
            return pt.x == want.x && pt.y == want.y && HIWORD(::GetQueueStatus(QS_MOUSE)) == 0;
        },
        2000);
}

bool TestHost::MouseMove(int x, int y) {
    return mouse::MoveTo(x, y) && WaitForInputDelivered(x, y);
}

bool TestHost::Click(int x, int y) {
    return mouse::Click(x, y) && WaitForInputDelivered(x, y);
}

bool TestHost::RightClick(int x, int y) {
    return mouse::Click(x, y, mouse::Button::Right) && WaitForInputDelivered(x, y);
}

bool TestHost::Drag(int fromX, int fromY, int toX, int toY) {
    return mouse::Drag(fromX, fromY, toX, toY) && WaitForInputDelivered(toX, toY);
}

bool TestHost::Wheel(int x, int y, int notches) {
    return mouse::Wheel(x, y, notches) && WaitForInputDelivered(x, y);
}

namespace {
struct OwnedSearch {
    HWND owner, found;
};

BOOL CALLBACK FindShownOwned(HWND w, LPARAM data) {
    auto* s = reinterpret_cast<OwnedSearch*>(data);
    if (::GetWindow(w, GW_OWNER) != s->owner || !::IsWindowVisible(w)) return TRUE;
    s->found = w;
    return FALSE;
}
} // namespace

HWND TestHost::TimeTip() const {
    OwnedSearch search{Bar(), nullptr};
    if (search.owner)
        ::EnumThreadWindows(::GetCurrentThreadId(), FindShownOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool TestHost::BarVisible() const {
    HWND bar = Bar();
    return bar && ::IsWindowVisible(bar);
}

HWND TestHost::BarControl(int id) const {
    HWND bar = Bar();
    return bar ? ::GetDlgItem(bar, id) : nullptr;
}

std::string TestHost::ClockText() const {
    return probe::Text(BarControl(2003));
}

probe::Slider TestHost::Slider(int id) const {
    return probe::ReadSlider(BarControl(id));
}

void TestHost::ClickBarControl(int id) {
    HWND bar = Bar();
    ASSERT_TRUE(bar) << "no bar to click control " << id << " on";
    ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(bar, id)));
    Pump();
}

bool TestHost::ClickBarControlWithMouse(int id) {
    HWND control = BarControl(id);
    if (!control || !BarVisible()) return false;
    const RECT rc = probe::WindowRect(control);
    return Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

void TestHost::WhenWindowAppears(const std::string& title, std::function<void(HWND)> action, bool everyTime) {
    Watch watch;
    watch.title = title;
    watch.action = std::move(action);
    watch.everyTime = everyTime;
    m_watches.push_back(std::move(watch));
}

bool TestHost::Answered(const std::string& title) const {
    return Answers(title) > 0;
}

int TestHost::Answers(const std::string& title) const {
    int answers = 0;
    for (const Watch& watch : m_watches)
        if (watch.title == title) answers += watch.answers;
    return answers;
}

void TestHost::PressButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void CALLBACK TestHost::OnWatchTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_current) g_current->RunWatches();
}

void TestHost::RunWatches() {
    if (m_inWatch) return;
    m_inWatch = true;
    for (std::size_t i = 0; i < m_watches.size(); ++i) {
        if (m_watches[i].done) continue;
        HWND hwnd = probe::FindWindowByTitle(m_watches[i].title);
        // A window stays until its answer is handled: it is answered once. Once it is gone, a later
        // window is new even if it has the same handle.
        if (!hwnd) m_watches[i].last = nullptr;
        if (!hwnd || hwnd == m_watches[i].last) continue;
        m_watches[i].done = !m_watches[i].everyTime;
        m_watches[i].last = hwnd;
        ++m_watches[i].answers;
        auto action = m_watches[i].action; // the action may add watches
        if (action) action(hwnd);
    }
    m_inWatch = false;
}

std::string TestHost::Describe() const {
    HostSession& s = *m_session;
    SimPlayer& player = s.Player();
    char line[400];
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    const PlaylistEntry* entry = player.Current();
    std::snprintf(line, sizeof line,
                  "---- what the host saw ----\n"
                  "host %s, full screen reported %d, video window %s, cursor (%ld,%ld)\n"
                  "player: %s, entry %d \"%s\", position %d ms, length %d s, volume %d\n",
                  s.Running() ? "running" : "stopped", s.ReportsFullScreen() ? 1 : 0,
                  s.VideoHwnd() ? "present" : "absent", cursor.x, cursor.y, StatusName(player.Status()),
                  player.ListPos(), entry ? entry->name.c_str() : "", player.PositionMs(), player.LengthSec(),
                  player.Volume());
    std::string out = line;
    out += probe::DescribeBar();
    out += "request log (last 40 of " + std::to_string(s.Log().Entries().size()) + "):\n";
    out += s.Log().Format(40);
    out += "folder: " + s.Folder() + "\n---------------------------\n";
    return out;
}

} // namespace e2e
