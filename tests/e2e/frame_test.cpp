// The plug-in's frame inside a real host window: the subclass and its removal, the settings read at
// init, and a quit that leaves the INI file alone.
#include <gtest/gtest.h>

#include "harness.h"
#include "resources/resource_ids.h"

namespace {
using e2e::TestHost;
using e2e::TestHostOptions;

// True when code at this address belongs to the module that holds the plug-in's record.
bool InPluginImage(const TestHost& host, const void* address) {
    MEMORY_BASIC_INFORMATION mine = {}, theirs = {};
    VirtualQuery(host.Record(), &mine, sizeof mine);
    VirtualQuery(address, &theirs, sizeof theirs);
    return mine.AllocationBase != nullptr && mine.AllocationBase == theirs.AllocationBase;
}

const void* WindowProcOf(HWND hwnd) {
    return reinterpret_cast<const void*>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}

LRESULT CALLBACK Bystander(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC g_bystanderNext = nullptr;
LRESULT CALLBACK Bystander(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_bystanderNext, hwnd, message, wParam, lParam);
}

// A foreign subclass that notices when the chain below it comes back to it without end.
WNDPROC g_guardedNext = nullptr;
int g_guardedDepth = 0;
bool g_chainLooped = false;
LRESULT CALLBACK GuardedBystander(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_guardedDepth >= 8) {
        g_chainLooped = true;
        return 0;
    }
    ++g_guardedDepth;
    const LRESULT result = CallWindowProcA(g_guardedNext, hwnd, message, wParam, lParam);
    --g_guardedDepth;
    return result;
}

void SubclassWithGuardedBystander(HWND hwnd) {
    g_chainLooped = false;
    g_guardedDepth = 0;
    g_guardedNext = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GuardedBystander)));
}

// Takes every subclass off the window, so nothing of the plug-in's or the test's outlives the test.
void UnsubclassAll(HWND hwnd) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, GetClassLongPtrA(hwnd, GCLP_WNDPROC));
}

TestHostOptions Manual(const std::string& ini = "[Winamp]\r\n") {
    TestHostOptions options;
    options.manualClock = true;
    options.ini = ini;
    return options;
}

TEST(PluginFrame, InitSubclassesTheHostWindowAndTheHostStillAnswersThroughTheChain) {
    TestHost host(Manual());
    ASSERT_NE(host.Record(), nullptr);
    EXPECT_NE(host.Record()->hwndParent, nullptr);
    EXPECT_TRUE(InPluginImage(host, WindowProcOf(host.MainWindow())))
        << "the host window's procedure should be the plug-in's after init";

    host.Player().Play();
    host.Log().Clear();
    EXPECT_EQ(SendMessageA(host.MainWindow(), WM_USER, 0, 104), 1) << "status through the chain";
    EXPECT_EQ(SendMessageA(host.MainWindow(), WM_USER, 1, 105), 600) << "length through the chain";
    EXPECT_EQ(host.Log().CountUser(104), 1u);
    EXPECT_EQ(host.Log().CountUser(105), 1u);

    host.Record()->init(); // a second init, no quit between: nothing is set up again
    EXPECT_EQ(host.Log().CountUser(335), 0u) << "the store did not start again" << host.Describe();
    EXPECT_EQ(host.Log().CountUser(334), 0u) << "the settings were not read again";
}

TEST(PluginFrame, InitAsksForTheIniFileAndTheSettingsTakeEffect) {
    TestHostOptions options = Manual("[gen_morvix]\r\nshowhours=0\r\n");
    options.playlist = {{"C:\\Media\\long.avi", 7200}};
    TestHost host(options);
    EXPECT_GE(host.Log().CountUser(334), 1u) << "the INI path is asked of the host";
    // The clock shows hours only with showhours 1: a skip refreshes it.
    host.Player().Play();
    host.Player().JumpTo(3723000);
    host.ClickBarControl(IDC_SKIP_FWD10);
    EXPECT_TRUE(host.WaitFor([&] { return host.ClockText() == "62:13"; }, 2000)) << host.ClockText();
}

TEST(PluginFrame, QuitPutsTheHostsProcedureBackAndWritesNoSettings) {
    TestHost host(Manual("[gen_morvix]\r\nfastwind=45\r\n"));
    const std::optional<std::string> before = TestHost::ReadFile(host.IniFile());
    const LONG_PTR classProc = GetClassLongPtrA(host.MainWindow(), GCLP_WNDPROC);

    host.Record()->quit();
    EXPECT_EQ(GetWindowLongPtrA(host.MainWindow(), GWLP_WNDPROC), classProc)
        << "after quit the host window's procedure should be the host's own again";
    EXPECT_EQ(SendMessageA(host.MainWindow(), WM_USER, 0, 104), 0) << "the host answers without the plug-in";
    EXPECT_EQ(TestHost::ReadFile(host.IniFile()), before);
}

TEST(PluginFrame, QuitLeavesAChainAloneThatSomeoneElseSubclassedSince) {
    TestHost host(Manual());
    g_bystanderNext = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(host.MainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Bystander)));
    host.Record()->quit();
    EXPECT_EQ(WindowProcOf(host.MainWindow()), reinterpret_cast<const void*>(Bystander));
    host.Player().Play();
    EXPECT_EQ(SendMessageA(host.MainWindow(), WM_USER, 0, 104), 1) << "the chain still reaches the host";
    SetWindowLongPtrA(host.MainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_bystanderNext));
}

TEST(PluginFrame, InitAgainAfterAQuitThatCouldNotUnsubclassReusesTheChain) {
    TestHost host(Manual());
    SubclassWithGuardedBystander(host.MainWindow());
    host.Record()->quit();
    host.Record()->init();
    host.Player().Play();
    host.Log().Clear();
    EXPECT_EQ(SendMessageA(host.MainWindow(), WM_USER, 0, 104), 1) << "status through the chain";
    EXPECT_FALSE(g_chainLooped) << "a message went round the chain without reaching the host";
    host.Player().Next(); // the plug-in hears the notification again and asks for the new file
    EXPECT_GE(host.Log().CountUser(214), 1u) << host.Describe();
    EXPECT_FALSE(g_chainLooped);
    UnsubclassAll(host.MainWindow());
}

TEST(PluginFrame, AfterQuitAProcedureLeftInTheChainOnlyPassesMessagesOn) {
    TestHost host(Manual());
    // second.avi gets a remembered position: were the plug-in still listening, coming back to it would
    // pause the player and jump.
    host.Player().SetListPos(1);
    host.Player().Play();
    host.AdvanceClock(5000);
    SendMessageA(host.MainWindow(), WM_USER, 5, 603);
    host.Player().SetListPos(0);
    SubclassWithGuardedBystander(host.MainWindow());
    host.Record()->quit();
    // Quit leaves a write that outlasts its wait to the worker (a slow disk, a loaded machine).
    std::optional<std::string> saved;
    ASSERT_TRUE(host.WaitFor([&] { return (saved = TestHost::ReadFile(host.DataFile())).has_value(); }, 10000))
        << "no data file after quit";

    host.Log().Clear();
    host.Player().Next();
    EXPECT_EQ(host.Log().CountUser(125), 0u) << host.Describe();
    EXPECT_EQ(host.Log().CountUser(106), 0u) << "no jump";
    EXPECT_EQ(host.Log().CountCommand(40046), 0u) << "no pause";
    EXPECT_EQ(host.Player().Status(), 1);
    EXPECT_EQ(TestHost::ReadFile(host.DataFile()), saved) << "the data file is not written after quit";
    EXPECT_FALSE(g_chainLooped);
    UnsubclassAll(host.MainWindow());
}

} // namespace
