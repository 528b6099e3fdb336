// The stand-in host and the harness themselves: the protocol the host answers, the player it
// simulates, and the real DLL loaded, subclassing and unloading the way the player does it.
#include <gtest/gtest.h>

#include <cstring>

#include "harness.h"
#include "screenshot.h"

namespace {
using e2e::TestHost;
using e2e::TestHostOptions;

TestHostOptions HostOnly() {
    TestHostOptions options;
    options.loadPlugin = false;
    options.manualClock = true;
    return options;
}

LRESULT User(TestHost& host, WPARAM wParam, LPARAM code) {
    return ::SendMessageA(host.MainWindow(), WM_USER, wParam, code);
}

void Command(TestHost& host, WPARAM id) {
    ::SendMessageA(host.MainWindow(), WM_COMMAND, id, 0);
}

std::size_t Notifications(TestHost& host, WPARAM which) {
    std::size_t n = 0;
    for (const HostRequest& r : host.Log().Entries())
        n += r.IsUser(603) && r.wParam == which;
    return n;
}

TEST(StandInHost, AnswersQueriesFromThePlayer) {
    TestHost host(HostOnly());
    EXPECT_EQ(0, User(host, 0, 104));
    EXPECT_EQ(-1, User(host, 0, 105)) << "no position while stopped";
    EXPECT_EQ(600, User(host, 1, 105)) << "length in seconds";
    EXPECT_EQ(0, User(host, 0, 125));
    EXPECT_STREQ("C:\\Media\\second.avi", reinterpret_cast<const char*>(User(host, 1, 211)));
    EXPECT_EQ(0, User(host, 7, 211)) << "no entry 7";
    EXPECT_EQ(host.IniFile(), reinterpret_cast<const char*>(User(host, 0, 334)));
    EXPECT_EQ(host.Folder(), reinterpret_cast<const char*>(User(host, 0, 335)));
    EXPECT_EQ(200, User(host, static_cast<WPARAM>(-666), 122));
    EXPECT_EQ(0, User(host, 0, 630));
    EXPECT_EQ(host.Log().CountUser(104), 1u) << "requests are logged with their answers";
}

TEST(StandInHost, CommandsMoveThePlayerAndNotify) {
    TestHost host(HostOnly());
    User(host, 0, 102);
    EXPECT_EQ(1, User(host, 0, 104));
    EXPECT_EQ(1u, Notifications(host, 2));
    host.AdvanceClock(12000);
    EXPECT_EQ(12000, User(host, 0, 105));
    Command(host, 40060);
    EXPECT_EQ(17000, User(host, 0, 105));
    Command(host, 40061);
    Command(host, 40061);
    Command(host, 40061);
    Command(host, 40061);
    EXPECT_EQ(0, User(host, 0, 105)) << "a skip back stops at the start";
    Command(host, 40046);
    EXPECT_EQ(3, User(host, 0, 104));
    host.AdvanceClock(5000);
    EXPECT_EQ(0, User(host, 0, 105)) << "paused time stands still";
    EXPECT_EQ(0, User(host, 90000, 106));
    EXPECT_EQ(90000, User(host, 0, 105));
    EXPECT_EQ(1, User(host, 999000, 106)) << "a jump past the end is clamped";
    EXPECT_EQ(600000, User(host, 0, 105));
    User(host, 300, 122);
    EXPECT_EQ(255, User(host, static_cast<WPARAM>(-666), 122)) << "volume is clamped to 0..255";
    EXPECT_EQ(1u, Notifications(host, 1));
    EXPECT_EQ(2u, Notifications(host, 2)) << "play and pause; jumps and skips send none";
}

TEST(StandInHost, PlaysThroughThePlaylistAndStopsAfterTheLast) {
    TestHost host(HostOnly());
    host.Player().SetListPos(1);
    host.Player().Play();
    host.AdvanceClock(300 * 1000);
    host.Player().Tick();
    EXPECT_EQ(2, host.Player().ListPos());
    EXPECT_EQ(0, host.Player().PositionMs());
    EXPECT_EQ(2u, Notifications(host, 5)) << "one for SetListPos, one for the end of the entry";
    host.AdvanceClock(121 * 1000);
    host.Player().Tick();
    EXPECT_EQ(0, host.Player().Status());
    EXPECT_EQ(-1, host.Player().PositionMs());
}

TEST(StandInHost, FullScreenFollowsTheVideoWindow) {
    TestHost host(HostOnly());
    host.SetFullScreen(true);
    EXPECT_EQ(1, User(host, 0, 630));
    const RECT rc = probe::WindowRect(host.VideoWindow());
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), rc.right);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), rc.bottom);
    char cls[64] = "";
    ::GetClassNameA(host.VideoWindow(), cls, sizeof cls);
    EXPECT_STREQ("Winamp Video", cls);

    ::SendMessageA(host.VideoWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0, User(host, 0, 630)) << "closing the video window ends full screen";
    EXPECT_EQ(nullptr, host.VideoWindow());

    host.SetFullScreen(true);
    host.DestroyVideoKeepingFullScreen();
    EXPECT_EQ(1, User(host, 0, 630));
    EXPECT_EQ(nullptr, host.VideoWindow());
}

TEST(StandInHost, LoadsThePluginAndItsRecordReadsRight) {
    TestHost host;
    const GeneralPurposePluginRecord* record = host.Record();
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(16, record->version);
    EXPECT_STREQ("Morvix (gen_morvix.dll)", record->description);
    EXPECT_EQ(host.MainWindow(), record->hwndParent);
    EXPECT_EQ(::GetModuleHandleA("gen_morvix.dll"), record->hDllInstance);
    EXPECT_NE(nullptr, host.Bar()) << "init creates the bar";
    EXPECT_FALSE(host.BarVisible());

    // Requests sent to the main window now pass through the plug-in's subclass to the host.
    const std::size_t before = host.Log().CountUser(104);
    User(host, 0, 104);
    EXPECT_EQ(before + 1, host.Log().CountUser(104));
}

TEST(StandInHost, QuitCommandShutsTheHostDownAndUnloadsThePlugin) {
    TestHost host;
    ASSERT_NE(nullptr, ::GetModuleHandleA("gen_morvix.dll"));
    Command(host, 40001);
    ASSERT_TRUE(host.WaitFor([&] { return !host.Running(); }, 2000));
    EXPECT_EQ(nullptr, ::GetModuleHandleA("gen_morvix.dll"));
    EXPECT_EQ(nullptr, host.Bar());
    bool quitNoted = false, leftBehind = false;
    for (const HostRequest& r : host.Log().Entries()) {
        quitNoted |= r.IsNote() && r.note.rfind("quit ", 0) == 0;
        leftBehind |= r.IsNote() && r.note.rfind("left behind", 0) == 0;
    }
    EXPECT_TRUE(quitNoted);
    EXPECT_FALSE(leftBehind) << "a window of the plug-in outlived its DLL";

    host.Restart();
    EXPECT_NE(nullptr, host.Record());
    EXPECT_NE(nullptr, host.Bar());
}

// A thread-local mouse hook of the test's own, like the plug-in's, must see the harness's input.
std::vector<std::pair<WPARAM, POINT>> g_hooked;
LRESULT CALLBACK RecordingHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) g_hooked.emplace_back(wParam, reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam)->pt);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Harness, MouseInputReachesAThreadMouseHook) {
    TestHost host(HostOnly());
    host.SetFullScreen(true); // input goes to the thread of the window under the cursor
    g_hooked.clear();
    HHOOK hook = ::SetWindowsHookExA(WH_MOUSE, RecordingHook, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    EXPECT_TRUE(host.MouseMove(640, 500));
    EXPECT_TRUE(host.RightClick(700, 510));
    ::UnhookWindowsHookEx(hook);
    bool sawMove = false, sawRightUp = false;
    for (const auto& [message, pt] : g_hooked) {
        sawMove |= message == WM_MOUSEMOVE && pt.x == 640 && pt.y == 500;
        sawRightUp |= message == WM_RBUTTONUP && pt.x == 700 && pt.y == 510;
    }
    EXPECT_TRUE(sawMove);
    EXPECT_TRUE(sawRightUp);
}

TEST(Harness, AnswersAWindowInsideAModalLoop) {
    TestHost host(HostOnly());
    host.WhenWindowAppears("Harness check", [](HWND box) { TestHost::PressButton(box, IDOK); });
    EXPECT_EQ(IDOK, ::MessageBoxA(nullptr, "answered by the harness", "Harness check", MB_OK));
    EXPECT_TRUE(host.Answered("Harness check"));
}

TEST(Harness, ScreenshotIsAPngOfTheWholeScreen) {
    TestHost host(HostOnly());
    const std::string path = host.Folder() + "\\screen.png";
    std::string error;
    ASSERT_TRUE(SaveScreenshotPng(path, &error)) << error;
    const auto bytes = TestHost::ReadFile(path);
    ASSERT_TRUE(bytes && bytes->size() > 33);
    EXPECT_EQ(0, std::memcmp(bytes->data(), "\x89PNG\r\n\x1a\n", 8));
    auto be32 = [&](std::size_t at) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes->data() + at);
        return static_cast<int>(b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3]);
    };
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), be32(16));
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), be32(20));
}
} // namespace
