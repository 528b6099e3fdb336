// Arbitrary bytes as the eight INI values: loading them, and every reader of the settings (the bar's
// clock, showing, clip and winding, the position memory, the configuration dialog), must stay defined;
// what the dialog's OK writes must load back as the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bar_rig.h"
#include "bookmarks/bookmark_store.h"
#include "fake_config_dialog.h"
#include "fuzz_input.h"
#include "latin_code_page.h"
#include "inline_background.h"
#include "memory_file_store.h"
#include "memory_profile_store.h"
#include "null_window_system.h"
#include "resources/resource_ids.h"
#include "settings/dlg_config.h"

namespace {

void ExerciseTheBar(const Settings& loaded, FuzzInput& in) {
    VideoRig rig;
    rig.settings = loaded;
    rig.player.position = in.Int();
    rig.player.lengthSeconds = in.Int();
    rig.player.status = in.Int() & 3;
    rig.Mouse(WM_RBUTTONUP, kOutsideX, kOutsideY); // mousepause, then shown (clipmouse, showhours)
    rig.Scroll(IDC_SHUTTLE, in.Int());
    for (int tick = 0; tick < 6 && rig.Visible(); ++tick)
        rig.Tick(); // fastwind, the blink, the countdown
    rig.Click(IDC_EXIT);
    Require(!rig.Visible());
    Require(RectText(rig.windows.clip) == "0,0,800,600");
}

void ExerciseTheStore(const Settings& loaded) {
    FakeHost host;
    CWinampIPC ipc{host};
    MemoryFileStore files;
    InlineBackground background{files};
    NullWindowSystem windows;
    LatinCodePage codePage;
    CBookmarkStore store{ipc, loaded, background, windows, codePage, nullptr};
    store.Open();
    DWORD now = 0;
    for (const char* name : {"a.avi", "b.avi", "a.avi"}) {
        host.playlist = {name};
        host.position = 5000;
        store.OnHostNotify(ipc::kNotify, ipc::kNotifyInfo);
        store.OnClock(now += 40000);
        store.OnHostNotify(ipc::kNotify, ipc::kNotifyStatus);
    }
    store.Shutdown();
    Require(IsOn(loaded.bookmark) || files.replaces == 0);
}

void ExerciseTheDialog(Settings& loaded, MemoryProfileStore& ini) {
    FakeHost host;
    CWinampIPC ipc{host};
    FakeConfigDialog dialog;
    dialog.user = [](FakeConfigDialog& d) { d.Click(IDOK); };
    const Settings shown = loaded;
    RunConfigDialog(dialog, nullptr, loaded, ipc, ini);
    // The boxes store 0 or 1; the number goes back as it was shown.
    Require(loaded.fastwind == shown.fastwind);
    Settings reloaded;
    reloaded.Load(ipc, ini);
    for (int i = 0; i < settings_ini::kKeyCount; ++i)
        Require(settings_ini::Field(reloaded, i) == settings_ini::Field(loaded, i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FakeHost host;
    CWinampIPC ipc{host};
    MemoryProfileStore ini;
    for (int i = 0; i < settings_ini::kKeyCount; ++i)
        ini.Set(host.iniFile, settings_ini::kSection, settings_ini::kKeys[i], in.Text(400));
    Settings loaded;
    loaded.Load(ipc, ini);

    ExerciseTheBar(loaded, in);
    ExerciseTheStore(loaded);
    ExerciseTheDialog(loaded, ini);
    return 0;
}
