#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "fake_config_dialog.h"
#include "fake_host.h"
#include "host/winamp_ipc.h"
#include "memory_profile_store.h"
#include "resources/resource_ids.h"
#include "settings/dlg_config.h"
#include "settings/int_parse.h"
#include "settings/last_played.h"
#include "settings/settings.h"

namespace {

// ---- Reading the edit box as an integer ----

TEST(ParseDialogInt, AcceptsBlanksAroundOneSignedNumber) {
    const struct {
        const char* text;
        int want;
    } cases[] = {
        // clang-format off
        {"30", 30},          {"  42  ", 42},     {"\t-7\r\n", -7},  {"+5", 5},
        {"007", 7},          {"0", 0},           {"-0", 0},         {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN}, {"000000000000000000012", 12},
        // clang-format on
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_TRUE(ParseDialogInt(c.text, &value)) << "\"" << c.text << "\"";
        EXPECT_EQ(c.want, value) << "\"" << c.text << "\"";
    }
}

TEST(ParseDialogInt, RefusesAnythingElseAndLeavesTheValue) {
    // clang-format off
    // The last one leads with a no-break space of the ANSI code page, which is not a blank.
    const char* cases[] = {"",    "   ", "-",    "+",   "abc", "12a", "1 2", "- 5", "++1",
                           "0x10", "1.5", "1e3", "5,0", "2147483648", "-2147483649",
                           "99999999999999999999", "\xA0" "5"};
    // clang-format on
    for (const char* text : cases) {
        int value = 12345;
        EXPECT_FALSE(ParseDialogInt(text, &value)) << "\"" << text << "\"";
        EXPECT_EQ(12345, value) << "\"" << text << "\"";
    }
    int value = 1;
    EXPECT_FALSE(ParseDialogInt(nullptr, &value));
}

// ---- The dialog over a fake window system ----

const HWND kBar = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x2001));
const int kBoxes[] = {IDC_CFG_BOOKMARK, IDC_CFG_PAUSEFILE, IDC_CFG_MOUSEPAUSE, IDC_CFG_SHOWHOURS,
                      IDC_CFG_CLIPMOUSE};

class ConfigDialog : public ::testing::Test {
protected:
    FakeHost player;
    CWinampIPC host{player};
    MemoryProfileStore ini;
    FakeConfigDialog dialog;
    Settings settings;

    std::string Ini(const char* key) const {
        return ini.Value(player.iniFile, settings_ini::kSection, key).value_or("<missing>");
    }
    void Run() { RunConfigDialog(dialog, kBar, settings, host, ini); }
    static Settings Make(int bookmark, int pausefile, int fastwind, int mousepause, int showhours,
                         int clipmouse) {
        Settings s;
        s.bookmark = bookmark, s.pausefile = pausefile, s.fastwind = fastwind;
        s.mousepause = mousepause, s.showhours = showhours, s.clipmouse = clipmouse;
        return s;
    }
    void ExpectSettings(const Settings& want) {
        for (int i = 0; i < settings_ini::kKeyCount; ++i)
            EXPECT_EQ(settings_ini::Field(want, i), settings_ini::Field(settings, i))
                << settings_ini::kKeys[i];
    }
    void ExpectIniHolds(const std::vector<std::string>& values) {
        for (int i = 0; i < settings_ini::kKeyCount; ++i)
            EXPECT_EQ(values[i], Ini(settings_ini::kKeys[i])) << settings_ini::kKeys[i];
    }
};

TEST_F(ConfigDialog, OpensFromTemplate2002OverTheBarWithTheFieldsInOrderThenTheArrowRange) {
    Run();
    EXPECT_EQ(IDD_CONFIG, dialog.templateId);
    EXPECT_EQ(kBar, dialog.parent);
    EXPECT_EQ(1, dialog.initResult);
    const std::vector<DialogCall> want = {
        {"check", IDC_CFG_BOOKMARK, BST_CHECKED, 0, ""},
        {"check", IDC_CFG_PAUSEFILE, BST_CHECKED, 0, ""},
        {"check", IDC_CFG_MOUSEPAUSE, BST_CHECKED, 0, ""},
        {"check", IDC_CFG_SHOWHOURS, BST_CHECKED, 0, ""},
        {"check", IDC_CFG_CLIPMOUSE, BST_UNCHECKED, 0, ""},
        {"check", IDC_CFG_LISTBUTTONS, BST_UNCHECKED, 0, ""},
        {"settext", IDC_CFG_FASTWIND, 0, 0, "30"},
        {"settext", IDC_CFG_HIDEDELAY, 0, 0, "2"},
        {"settext", IDC_CFG_MAXFILES, 0, 0, "30"},
        {"settext", IDC_CFG_MINLENGTH, 0, 0, "0"},
        {"setrange", IDC_CFG_SPIN, 0, 300, ""},
        {"setrange", IDC_CFG_HIDESPIN, 0, MAKELPARAM(60, 1), ""},
        {"setrange", IDC_CFG_MAXSPIN, 0, MAKELPARAM(1000, 30), ""},
        {"setrange", IDC_CFG_MINSPIN, 0, MAKELPARAM(600, 0), ""},
    };
    EXPECT_EQ(want, dialog.log);
    EXPECT_EQ(0u, ini.WriteCount());
}

TEST_F(ConfigDialog, ShowsOnlyAOneAsTicked) {
    settings = Make(1, 0, -5, 2, -1, 1);
    Run();
    const std::vector<int> want = {BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(want[i], dialog.checks[kBoxes[i]]) << "box " << kBoxes[i];
    EXPECT_EQ("-5", dialog.texts[IDC_CFG_FASTWIND]);
}

TEST_F(ConfigDialog, OkReadsTheBoxesInOrderThenTheNumbersAndWritesAllKeys) {
    dialog.user = [](FakeConfigDialog& d) {
        d.Tick(IDC_CFG_BOOKMARK, false);
        d.Tick(IDC_CFG_CLIPMOUSE, true);
        d.Tick(IDC_CFG_LISTBUTTONS, true);
        d.Type(IDC_CFG_FASTWIND, " 500 ");
        d.ClearLog();
        d.Click(IDOK);
    };
    Run();
    const std::vector<DialogCall> want = {
        {"getcheck", IDC_CFG_BOOKMARK, 0, 0, ""},   {"getcheck", IDC_CFG_PAUSEFILE, 0, 0, ""},
        {"getcheck", IDC_CFG_MOUSEPAUSE, 0, 0, ""}, {"getcheck", IDC_CFG_SHOWHOURS, 0, 0, ""},
        {"getcheck", IDC_CFG_CLIPMOUSE, 0, 0, ""},  {"getcheck", IDC_CFG_LISTBUTTONS, 0, 0, ""},
        {"gettext", IDC_CFG_FASTWIND, 0, 0, ""},    {"gettext", IDC_CFG_HIDEDELAY, 0, 0, ""},
        {"gettext", IDC_CFG_MAXFILES, 0, 0, ""},    {"gettext", IDC_CFG_MINLENGTH, 0, 0, ""},
        {"end", 0, IDOK, 0, ""},
    };
    EXPECT_EQ(want, dialog.log);
    Settings saved = Make(0, 1, 500, 1, 1, 1);
    saved.listbuttons = 1;
    ExpectSettings(saved);
    ASSERT_EQ(11u, ini.WriteCount());
    for (int i = 0; i < settings_ini::kKeyCount; ++i)
        EXPECT_EQ(settings_ini::kKeys[i], ini.writes[i].key.value_or("")) << "write " << i;
    ExpectIniHolds({"0", "1", "500", "1", "1", "1", "0", "2", "30", "0", "1"});
}

TEST_F(ConfigDialog, OkWithNothingChangedRewritesEveryKeyWithItsValue) {
    settings = Make(0, 1, 45, 1, 0, 1);
    settings.hidedelay = 500; // hand-edited: shown, and kept, as the 60 in use
    settings.maxfiles = 5000, settings.minlength = -3;
    ini.Set(player.iniFile, settings_ini::kSection, "fastwind", "45");
    dialog.user = [](FakeConfigDialog& d) { d.Click(IDOK); };
    Run();
    EXPECT_EQ(IDOK, dialog.endResult);
    EXPECT_EQ(0u, dialog.Calls({"msgbox"}).size());
    EXPECT_EQ(11u, ini.WriteCount());
    ExpectIniHolds({"0", "1", "45", "1", "0", "1", "0", "60", "1000", "0", "0"});
}

TEST_F(ConfigDialog, CancelAfterChangesReadsNothingAndWritesNothing) {
    dialog.user = [](FakeConfigDialog& d) {
        for (int id : kBoxes)
            d.Tick(id, false);
        d.Type(IDC_CFG_FASTWIND, "99");
        d.ClearLog();
        d.Click(IDCANCEL);
    };
    Run();
    const std::vector<DialogCall> want = {{"end", 0, IDCANCEL, 0, ""}};
    EXPECT_EQ(want, dialog.log);
    ExpectSettings(Settings());
    EXPECT_EQ(0u, ini.WriteCount());
}

TEST_F(ConfigDialog, ANumberThatDoesNotReadKeepsTheDialogOpenWithTheBoxesStoredAndTheIniUntouched) {
    for (const char* bad : {"", "abc", "4294967296", "12 34"}) {
        SCOPED_TRACE(std::string("text \"") + bad + "\"");
        settings = Settings();
        ini = MemoryProfileStore();
        bool openAfterOk = false;
        dialog.user = [&](FakeConfigDialog& d) {
            d.Tick(IDC_CFG_BOOKMARK, false);
            d.Tick(IDC_CFG_CLIPMOUSE, true);
            d.Type(IDC_CFG_FASTWIND, bad);
            d.ClearLog();
            d.Click(IDOK);
            openAfterOk = d.Open();
            d.Click(IDCANCEL);
        };
        Run();
        EXPECT_TRUE(openAfterOk);
        EXPECT_EQ(IDCANCEL, dialog.endResult);
        ExpectSettings(Make(0, 1, 30, 1, 1, 1));
        EXPECT_EQ(0u, ini.WriteCount());
        // The user is told, in a box owned by the dialog, then finds the whole text selected in the box.
        const std::vector<DialogCall> want = {
            {"msgbox", 0, MB_OK | MB_ICONEXCLAMATION, 0, "Config Morvix: Please enter an integer."},
            {"focus", IDC_CFG_FASTWIND, 0, 0, ""},
            {"setsel", IDC_CFG_FASTWIND, 0, -1, ""},
            {"end", 0, IDCANCEL, 0, ""},
        };
        EXPECT_EQ(want, dialog.Calls({"msgbox", "focus", "setsel", "end"}));
    }
}

TEST_F(ConfigDialog, ACorrectedNumberThenSavesEverything) {
    dialog.user = [](FakeConfigDialog& d) {
        d.Tick(IDC_CFG_SHOWHOURS, false);
        d.Type(IDC_CFG_FASTWIND, "x");
        d.Click(IDOK);
        d.Type(IDC_CFG_FASTWIND, "-12");
        d.Type(IDC_CFG_HIDEDELAY, "0"); // outside 1..60
        d.Click(IDOK);
        d.Type(IDC_CFG_HIDEDELAY, "7");
        d.Click(IDOK);
    };
    Run();
    EXPECT_EQ(IDOK, dialog.endResult);
    const std::vector<DialogCall> boxes = dialog.Calls({"msgbox"});
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Config Morvix: Please enter an integer between 1 and 60.", boxes[1].text);
    Settings want = Make(1, 1, -12, 1, 0, 0);
    want.hidedelay = 7;
    ExpectSettings(want);
    EXPECT_EQ(11u, ini.WriteCount());
    ExpectIniHolds({"1", "1", "-12", "1", "0", "0", "0", "7", "30", "0", "0"});
}

TEST_F(ConfigDialog, ReadsTheWholeTextSoALongTextCannotBeCutIntoANumber) {
    dialog.user = [](FakeConfigDialog& d) {
        d.Type(IDC_CFG_FASTWIND, "7" + std::string(400, ' ') + "x");
        d.Click(IDOK);
        d.Type(IDC_CFG_FASTWIND, std::string(400, ' ') + "8");
        d.Click(IDOK);
    };
    Run();
    EXPECT_EQ(1u, dialog.Calls({"msgbox"}).size());
    EXPECT_EQ(8, settings.fastwind);
}

TEST_F(ConfigDialog, ConfigureWhileOpenBringsTheOpenDialogToTheFront) {
    int depth = 0;
    dialog.user = [&](FakeConfigDialog& d) {
        if (++depth > 1) return; // a nested dialog would run this script again
        d.ClearLog();
        Run(); // the host asks again from inside the dialog's modal loop
        d.Click(IDCANCEL);
    };
    Run();
    EXPECT_EQ(1, dialog.runs);
    const std::vector<DialogCall> want = {{"front", 0, 0, 0, ""}, {"end", 0, IDCANCEL, 0, ""}};
    EXPECT_EQ(want, dialog.log);
    Run(); // closed: the next configure opens it again
    EXPECT_EQ(2, dialog.runs);
}

TEST_F(ConfigDialog, LeavesOtherCommandsToTheDialogManager) {
    LRESULT result = 0;
    CDlgConfig config(dialog, kBar, settings, host, ini);
    EXPECT_FALSE(config.OnMessage(FakeConfigDialog::DialogHandle(), WM_COMMAND,
                                  static_cast<WPARAM>(MAKELPARAM(IDC_CFG_BOOKMARK, BN_CLICKED)), 0, &result));
    const WORD editChange = 0x0300; // EN_CHANGE
    EXPECT_FALSE(config.OnMessage(FakeConfigDialog::DialogHandle(), WM_COMMAND,
                                  static_cast<WPARAM>(MAKELPARAM(IDOK, editChange)), 0, &result));
    EXPECT_TRUE(dialog.log.empty());
}

TEST_F(ConfigDialog, ADayOfPlayIsTheLocalCalendarsTodayYesterdayOrEarlier) { // in local seconds since 1970
    EXPECT_EQ(PlayedDay::Yesterday, DayOfPlay(86399, 86400));                // a second before midnight
    EXPECT_EQ(PlayedDay::Today, DayOfPlay(86400, 172799));
    EXPECT_EQ(PlayedDay::Yesterday, DayOfPlay(-1, 0)); // before 1970
    EXPECT_EQ(PlayedDay::Earlier, DayOfPlay(0, 2 * 86400));
    EXPECT_EQ(PlayedDay::Earlier, DayOfPlay(2 * 86400, 86400)); // later than now: the clock was set back
}

} // namespace
