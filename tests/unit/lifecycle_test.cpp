// Start and stop of the plug-in: the order the host relies on, and a refused mouse hook.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bar/dlg_buttons.h"
#include "bookmarks/bookmark_store.h"
#include "fake_host.h"
#include "host/lifecycle.h"
#include "host/winamp_ipc.h"
#include "inline_background.h"
#include "latin_code_page.h"
#include "null_window_system.h"
#include "settings/settings.h"

namespace {

using Steps = std::vector<std::string>;

struct RecordingTaps : HostTaps {
    Steps& steps;
    bool refuseHook = false;
    bool hooked = false;
    explicit RecordingTaps(Steps& s) : steps(s) {}
    void SubclassHostWindow() override { steps.push_back("subclass"); }
    bool InstallMouseHook() override {
        steps.push_back("hook");
        hooked = !refuseHook;
        return hooked;
    }
    bool HasMouseHook() const override { return hooked; }
    void RemoveMouseHook() override { steps.push_back("unhook"); }
    void RestoreHostWindow() override { steps.push_back("unsubclass"); }
};

struct RecordingWindows : NullWindowSystem {
    Steps& steps;
    explicit RecordingWindows(Steps& s) : steps(s) {}
    HWND CreateDialogFromTemplate(int id, HWND parent, DialogHandler*) override {
        steps.push_back("dialog " + std::to_string(id) + (parent ? " owned" : " unowned"));
        return reinterpret_cast<HWND>(0x2001);
    }
    BOOL DestroyWindow(HWND hwnd) override {
        steps.push_back(hwnd ? "destroy bar" : "destroy nothing");
        return TRUE;
    }
    LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM, LPARAM) override {
        if (message == WM_CLOSE) steps.push_back(hwnd ? "close bar" : "close nothing");
        return 0;
    }
};

struct RecordingProfile : ProfileStore {
    Steps& steps;
    int writes = 0;
    explicit RecordingProfile(Steps& s) : steps(s) {}
    DWORD GetString(const char*, const char* key, const char*, char* buffer, DWORD size,
                    const char*) override {
        steps.push_back(std::string("ini read ") + key);
        if (size > 0) buffer[0] = '\0';
        return 0;
    }
    BOOL WriteString(const char*, const char*, const char*, const char*) override {
        ++writes;
        return TRUE;
    }
};

// No data file to read; every write of one is a step.
struct RecordingFiles : FileStore {
    Steps& steps;
    explicit RecordingFiles(Steps& s) : steps(s) {}
    Reading ReadAll(const std::string&, std::vector<unsigned char>&) override { return Reading::Absent; }
    Outcome Replace(const std::string&, const std::vector<unsigned char>&) override {
        steps.push_back("save");
        return Outcome::Written;
    }
    bool Gone(const std::string&, bool) override { return false; }
    FileIdentity Identify(const std::string&, bool) override { return FileIdentity{}; }
};

class LifecycleTest : public ::testing::Test {
protected:
    Steps steps;
    FakeHost host;
    RecordingTaps taps{steps};
    RecordingWindows windows{steps};
    RecordingProfile profile{steps};
    RecordingFiles files{steps};
    Settings settings;
    CWinampIPC ipc{host};
    LatinCodePage codePage;
    CDlgButtons bar{ipc, settings, windows, profile};
    InlineBackground background{files};
    CBookmarkStore bookmarks{ipc, settings, background, windows, codePage, nullptr};
    PluginParts parts{taps, windows, profile, ipc, bar, bookmarks, settings};

    // Host requests show when the store and the settings ran: the INI directory, then the INI file.
    void NoteHostRequests() {
        host.onRequest = [this](const HostRequest& r) {
            if (r.message == WM_USER && r.lParam == ipc::kGetIniDirectory) steps.push_back("ini directory");
            if (r.message == WM_USER && r.lParam == ipc::kGetIniFile) steps.push_back("ini file");
        };
    }
};

TEST_F(LifecycleTest, InitTapsTheHostFirstThenBarStoreAndSettingsLast) {
    NoteHostRequests();
    EXPECT_EQ(PluginInit(parts), 0);
    ASSERT_GE(steps.size(), 5u);
    EXPECT_EQ(Steps(steps.begin(), steps.begin() + 5),
              (Steps{"subclass", "hook", "dialog 2001 unowned", "ini directory", "ini file"}));
    EXPECT_EQ(steps.back(), "ini read listbuttons");
}

TEST_F(LifecycleTest, QuitClosesTheBarSavesThenUnhooksAndWritesNoSettings) {
    NoteHostRequests();
    PluginInit(parts);
    LRESULT result = 0;
    bar.OnMessage(reinterpret_cast<HWND>(0x2001), WM_INITDIALOG, 0, 0, &result);
    steps.clear();
    PluginQuit(parts);
    EXPECT_THAT(steps, ::testing::ElementsAre("close bar", "save", "unhook", "unsubclass", "destroy bar"));
    EXPECT_EQ(profile.writes, 0);
}

TEST_F(LifecycleTest, RefusedMouseHookStillStartsAndQuitMakesNoUnhook) {
    taps.refuseHook = true;
    EXPECT_EQ(PluginInit(parts), 0);
    steps.clear();
    PluginQuit(parts);
    EXPECT_THAT(steps, ::testing::Not(::testing::Contains("unhook")));
    EXPECT_THAT(steps, ::testing::Contains("unsubclass"));
}

} // namespace
