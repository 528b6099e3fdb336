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

} // namespace
