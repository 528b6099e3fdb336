// The configuration dialog as the host opens it and a user works it: the real DLL, the real dialog
// manager, the real INI file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "bookmarks/data_file_codec.h"
#include "harness.h"
#include "resources/resource_ids.h"

namespace {
using e2e::TestHost;
using e2e::TestHostOptions;

const char* const kTitle = "Config Morvix";
const char* const kKeys[] = {"bookmark",  "pausefile", "fastwind",  "mousepause", "showhours",
                             "clipmouse", "remaining", "hidedelay", "maxfiles",   "minlength"};
const int kBoxes[] = {IDC_CFG_BOOKMARK, IDC_CFG_PAUSEFILE, IDC_CFG_MOUSEPAUSE, IDC_CFG_SHOWHOURS,
                      IDC_CFG_CLIPMOUSE};

// Steps run one after another from a thread timer, so they go on running inside the modal loops of the
// dialog and of its message box while the host's config call waits. A step returns true once done. Past
// the deadline the script gives up and closes what is open, so the config call returns and the test
// can report where it stopped.
class Script {
public:
    explicit Script(int timeoutMs = 8000) : m_timeoutMs(timeoutMs) {
        s_current = this;
        m_start = ::GetTickCount();
        m_timer = ::SetTimer(nullptr, 0, 20, OnTimer);
    }
    ~Script() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    Script& Then(std::string what, std::function<bool()> step) {
        m_steps.push_back({std::move(what), std::move(step)});
        return *this;
    }
    bool Finished() const { return m_next == m_steps.size(); }
    std::string Trace() const {
        std::string out = "script steps:\n";
        for (std::size_t i = 0; i < m_steps.size(); ++i)
            out += std::string(i < m_next    ? "  done     "
                               : i == m_next ? "  STOPPED  "
                                             : "  not run  ") +
                   m_steps[i].what + "\n";
        return out;
    }
    // Set by the steps: the dialog once found.
    HWND dialog = nullptr;

private:
    struct Step {
        std::string what;
        std::function<bool()> run;
    };
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_current) s_current->Tick();
    }
    void Tick() {
        if (m_busy || Finished()) return;
        m_busy = true;
        if (static_cast<int>(::GetTickCount() - m_start) > m_timeoutMs) {
            GiveUp();
        } else {
            while (!Finished() && m_steps[m_next].run())
                ++m_next;
        }
        m_busy = false;
    }
    void GiveUp() {
        if (HWND box = OwnedMessageBox(dialog)) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (dialog && ::IsWindow(dialog)) TestHost::PressButton(dialog, IDCANCEL);
        m_timeoutMs += 2000; // give the rescue its own time, then try again
    }

public:
    static HWND OwnedMessageBox(HWND owner) {
        if (!owner) return nullptr;
        OwnedBoxSearch search{owner, nullptr};
        ::EnumThreadWindows(::GetCurrentThreadId(), AcceptOwnedBox, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    struct OwnedBoxSearch {
        HWND owner, found;
    };
    // A callback of the system: it must be stdcall, which a lambda is not on 32-bit Windows.
    static BOOL CALLBACK AcceptOwnedBox(HWND hwnd, LPARAM param) {
        auto* s = reinterpret_cast<OwnedBoxSearch*>(param);
        char cls[16] = "";
        ::GetClassNameA(hwnd, cls, sizeof cls);
        if (hwnd == s->owner || ::GetWindow(hwnd, GW_OWNER) != s->owner || std::string(cls) != "#32770" ||
            !::IsWindowVisible(hwnd))
            return TRUE;
        s->found = hwnd;
        return FALSE;
    }

    static Script* s_current;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_timeoutMs;
    DWORD m_start = 0;
    UINT_PTR m_timer = 0;
    bool m_busy = false;
};
Script* Script::s_current = nullptr;

bool Ticked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::string EditText(HWND dialog) {
    char text[64] = "";
    ::GetDlgItemTextA(dialog, IDC_CFG_FASTWIND, text, sizeof text);
    return text;
}

// The dialog as a user sees it: the five boxes in their order and the number, e.g. "11110 30".
std::string Shown(HWND dialog) {
    std::string out;
    for (int id : kBoxes)
        out += Ticked(dialog, id) ? '1' : '0';
    return out + " " + EditText(dialog);
}

// The texts of the dialog's labels, boxes and buttons that do not fit their control at this scale, with
// the pixels they need and have: a check box's text starts after its box, a button's inside its edges.
std::string ClippedTexts(HWND dialog) {
    std::string out;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const std::string text = probe::Text(c);
        char cls[32] = "";
        ::GetClassNameA(c, cls, sizeof cls);
        if (text.empty() || (lstrcmpiA(cls, "Static") != 0 && lstrcmpiA(cls, "Button") != 0)) continue;
        RECT client;
        ::GetClientRect(c, &client);
        const LONG_PTR kind = ::GetWindowLongPtrA(c, GWL_STYLE) & 0xF;
        int room = client.right;
        if (lstrcmpiA(cls, "Button") == 0)
            room -= kind == BS_AUTOCHECKBOX ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : 4;
        const SIZE size = probe::TextExtent(c);
        if (size.cx > room)
            out += "\"" + text + "\" needs " + std::to_string(size.cx) + " of " + std::to_string(room) + "; ";
    }
    return out;
}

// The keys as the INI file holds them, "-" for a missing one.
std::string IniKeys(const TestHost& host) {
    std::string out;
    for (const char* key : kKeys) {
        char value[64] = "";
        const DWORD n =
            ::GetPrivateProfileStringA("gen_morvix", key, "-", value, sizeof value, host.IniFile().c_str());
        out += (out.empty() ? "" : ",") + std::string(value, n);
    }
    return out;
}

std::string IniBytes(const TestHost& host) {
    return TestHost::ReadFile(host.IniFile()).value_or("<no file>");
}

// Arms the first step of every script: the dialog shows.
void FindDialog(Script& script) {
    script.Then("the dialog \"Config Morvix\" appears", [&script] {
        script.dialog = TestHost::FindWindowByTitle(kTitle);
        return script.dialog != nullptr;
    });
}

void Press(Script& script, int id, const char* what) {
    script.Then(what, [&script, id] {
        TestHost::PressButton(script.dialog, id);
        return true;
    });
}

void ExpectClosed(const Script& script) {
    EXPECT_TRUE(script.Finished()) << script.Trace();
    EXPECT_FALSE(script.dialog && ::IsWindow(script.dialog)) << "the dialog is still open";
}

// Opens the dialog again and reports what it shows, then cancels.
std::string ShownOnReopen(TestHost& host) {
    Script script;
    std::string shown = "<not opened>";
    FindDialog(script);
    script.Then("read the dialog", [&] {
        shown = Shown(script.dialog);
        return true;
    });
    Press(script, IDCANCEL, "Cancel");
    host.Config();
    EXPECT_TRUE(script.Finished()) << script.Trace();
    return shown;
}

TEST(ConfigDialog, OpensOverTheBarWithTheDefaultsAndTheArrowRange) {
    TestHost host;
    const std::string iniBefore = IniBytes(host);
    Script script;
    HWND owner = nullptr;
    std::string shown;
    int low = -1, high = -1;
    bool barDisabled = false;
    int afterHideDelay = 0;
    std::string clipped;
    FindDialog(script);
    script.Then("read the dialog", [&] {
        clipped = ClippedTexts(script.dialog);
        owner = ::GetWindow(script.dialog, GW_OWNER);
        barDisabled = !::IsWindowEnabled(host.Bar());
        shown = Shown(script.dialog);
        afterHideDelay = ::GetDlgCtrlID(
            ::GetNextDlgTabItem(script.dialog, ::GetDlgItem(script.dialog, IDC_CFG_HIDEDELAY), FALSE));
        ::SendMessageA(::GetDlgItem(script.dialog, IDC_CFG_SPIN), UDM_GETRANGE32,
                       reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        return true;
    });
    Press(script, IDCANCEL, "Cancel");
    host.Config();

    ExpectClosed(script);
    ASSERT_TRUE(host.Bar()) << "no bar";
    EXPECT_EQ(host.Bar(), owner) << "the dialog's owner";
    EXPECT_TRUE(barDisabled) << "the bar takes no input while the dialog runs";
    EXPECT_TRUE(::IsWindowEnabled(host.Bar())) << "the bar is enabled again after the dialog";
    EXPECT_EQ("11110 30", shown) << "boxes 2015 2016 2019 2020 2021, then the FastWind Limit";
    EXPECT_EQ(0, low);
    EXPECT_EQ(300, high);
    EXPECT_EQ(IDC_CFG_FORGET, afterHideDelay) << "Tab goes down the dialog: the hide delay, then Forget";
    EXPECT_EQ(iniBefore, IniBytes(host));
    EXPECT_EQ("", clipped) << "every text whole at " << ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY)
                           << " DPI";
}

TEST(ConfigDialog, OkUnchangedRewritesAllSixKeysWithTheirValues) {
    TestHostOptions options;
    options.ini =
        "[Winamp]\r\n[gen_morvix]\r\nfastwind=45\r\nmousepause=0\r\nmaxfiles=5000\r\nminlength=-3\r\n";
    TestHost host(options);
    Script script;
    std::string shown;
    FindDialog(script);
    script.Then("read the dialog", [&] {
        shown = Shown(script.dialog) + " " + probe::Text(::GetDlgItem(script.dialog, IDC_CFG_MAXFILES)) +
                " " + probe::Text(::GetDlgItem(script.dialog, IDC_CFG_MINLENGTH));
        return true;
    });
    Press(script, IDOK, "OK");
    host.Config();

    ExpectClosed(script);
    EXPECT_EQ("11010 45 1000 0", shown) << "hand-edited maxfiles=5000 and minlength=-3 show their bounds";
    EXPECT_EQ("1,1,45,0,1,0,0,2,1000,0", IniKeys(host));
}

TEST(ConfigDialog, CancelAfterChangesWritesNothingAndChangesNothing) {
    TestHost host;
    const std::string iniBefore = IniBytes(host);
    Script script;
    std::string changed;
    FindDialog(script);
    script.Then("click every box and type 77", [&] {
        for (int id : kBoxes)
            ::SendMessageA(::GetDlgItem(script.dialog, id), BM_CLICK, 0, 0);
        ::SetDlgItemTextA(script.dialog, IDC_CFG_FASTWIND, "77");
        changed = Shown(script.dialog);
        return true;
    });
    Press(script, IDCANCEL, "Cancel");
    host.Config();

    ExpectClosed(script);
    EXPECT_EQ("00001 77", changed) << "the clicks reached the boxes";
    EXPECT_EQ(iniBefore, IniBytes(host));
    EXPECT_EQ("11110 30", ShownOnReopen(host)) << "the settings in memory";
}

TEST(ConfigDialog, ATyped500IsStoredAndWrittenAndAHideDelayOutsideItsRangeIsRefused) {
    TestHost host;
    Script script;
    std::string shownDelay, boxText;
    int low = -1, high = -1;
    HWND box = nullptr;
    FindDialog(script);
    script.Then("type 500 and a hide delay of 61", [&] {
        shownDelay = probe::Text(::GetDlgItem(script.dialog, IDC_CFG_HIDEDELAY));
        ::SendMessageA(::GetDlgItem(script.dialog, IDC_CFG_HIDESPIN), UDM_GETRANGE32,
                       reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        ::SetDlgItemTextA(script.dialog, IDC_CFG_FASTWIND, "500");
        ::SetDlgItemTextA(script.dialog, IDC_CFG_HIDEDELAY, "61");
        return true;
    });
    Press(script, IDOK, "OK with 61");
    script.Then("answer the message box", [&] {
        box = Script::OwnedMessageBox(script.dialog);
        if (!box) return false;
        char text[128] = "";
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        boxText = text;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    script.Then("the message box closes", [&] { return !::IsWindow(box); });
    script.Then("type a hide delay of 5", [&] {
        ::SetDlgItemTextA(script.dialog, IDC_CFG_HIDEDELAY, "5");
        return true;
    });
    Press(script, IDOK, "OK");
    host.Config();

    ExpectClosed(script);
    EXPECT_EQ("2", shownDelay) << "the hide delay of an INI file without it";
    EXPECT_EQ(1, low);
    EXPECT_EQ(60, high);
    EXPECT_EQ("Please enter an integer between 1 and 60.", boxText);
    EXPECT_EQ("1,1,500,1,1,0,0,5,30,0", IniKeys(host));
    EXPECT_EQ("11110 500", ShownOnReopen(host));
}

TEST(ConfigDialog, TheUpArrowStopsAt300) {
    TestHost host;
    Script script;
    std::vector<std::string> seen;
    auto clickUp = [&] {
        const RECT rc = probe::WindowRect(::GetDlgItem(script.dialog, IDC_CFG_SPIN));
        const std::string before = EditText(script.dialog);
        const bool clicked = host.Click((rc.left + rc.right) / 2, rc.top + (rc.bottom - rc.top) / 4);
        // The control answers the press at once; give the text a moment to settle either way.
        host.WaitFor([&] { return EditText(script.dialog) != before; }, 300);
        seen.push_back((clicked ? "" : "click not delivered: ") + EditText(script.dialog));
        return true;
    };
    FindDialog(script);
    script.Then("type 299", [&] {
        ::SetDlgItemTextA(script.dialog, IDC_CFG_FASTWIND, "299");
        return true;
    });
    script.Then("click the up arrow", clickUp);
    script.Then("click the up arrow again", clickUp);
    Press(script, IDOK, "OK");
    host.Config();

    ExpectClosed(script);
    EXPECT_EQ((std::vector<std::string>{"300", "300"}), seen);
    EXPECT_EQ("1,1,300,1,1,0,0,2,30,0", IniKeys(host));
}

TEST(ConfigDialog, ANumberThatDoesNotReadKeepsTheDialogOpenAndCancelKeepsTheBoxesInMemoryOnly) {
    TestHost host;
    const std::string iniBefore = IniBytes(host);
    Script script;
    std::vector<std::string> boxTexts;
    bool openAfterBox = false, editFocused = false;
    DWORD selStart = 99, selEnd = 99;
    HWND box = nullptr;
    auto answerTheBox = [&] {
        box = Script::OwnedMessageBox(script.dialog);
        if (!box) return false;
        char text[128] = "";
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text); // the message box's text
        boxTexts.push_back(probe::Text(box) + ": " + text);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    };
    auto boxGone = [&] { return !::IsWindow(box); };

    FindDialog(script);
    script.Then("clear \"Display hours\" and \"Remember file positions\", empty the number", [&] {
        ::SendMessageA(::GetDlgItem(script.dialog, IDC_CFG_SHOWHOURS), BM_CLICK, 0, 0);
        ::SendMessageA(::GetDlgItem(script.dialog, IDC_CFG_BOOKMARK), BM_CLICK, 0, 0);
        ::SetDlgItemTextA(script.dialog, IDC_CFG_FASTWIND, "");
        return true;
    });
    Press(script, IDOK, "OK with an empty box");
    script.Then("answer the message box", answerTheBox);
    script.Then("the message box closes", boxGone);
    script.Then("type 12x", [&] {
        ::SetDlgItemTextA(script.dialog, IDC_CFG_FASTWIND, "12x");
        return true;
    });
    Press(script, IDOK, "OK with 12x");
    script.Then("answer the message box again", answerTheBox);
    script.Then("the message box closes again", boxGone);
    script.Then("look at the dialog", [&] {
        openAfterBox = ::IsWindow(script.dialog) && ::IsWindowVisible(script.dialog);
        editFocused = ::GetFocus() == ::GetDlgItem(script.dialog, IDC_CFG_FASTWIND);
        ::SendMessageA(::GetDlgItem(script.dialog, IDC_CFG_FASTWIND), EM_GETSEL,
                       reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        return true;
    });
    Press(script, IDCANCEL, "Cancel");
    host.Config();

    ExpectClosed(script);
    EXPECT_EQ((std::vector<std::string>{"Config Morvix: Please enter an integer.",
                                        "Config Morvix: Please enter an integer."}),
              boxTexts);
    EXPECT_TRUE(openAfterBox) << "the dialog stays open after the message";
    EXPECT_TRUE(editFocused) << "the number box has the focus";
    EXPECT_EQ(0u, selStart);
    EXPECT_EQ(3u, selEnd) << "the whole text is selected";
    EXPECT_EQ(iniBefore, IniBytes(host)) << "the INI file is untouched";
    EXPECT_EQ("01100 30", ShownOnReopen(host)) << "the boxes were stored in memory, the number was not";

    // And the plug-in acts on them at once: the bar's clock now leaves the hours out.
    host.Player().Play();
    host.SetFullScreen(true);
    host.MouseMove(600, 300);
    host.MouseMove(610, 300);
    ASSERT_TRUE(host.WaitFor([&] { return host.BarVisible(); })) << "the bar did not show";
    const std::string clock = host.ClockText();
    EXPECT_EQ(1, std::count(clock.begin(), clock.end(), ':')) << "clock \"" << clock << "\"";
    EXPECT_EQ(iniBefore, IniBytes(host));
}

BOOL CALLBACK CollectConfigDialog(HWND hwnd, LPARAM param) {
    char title[32] = "";
    ::GetWindowTextA(hwnd, title, sizeof title);
    if (::IsWindowVisible(hwnd) && std::string(title) == kTitle)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// The visible dialogs titled "Config Morvix" of this thread.
std::vector<HWND> OpenDialogs() {
    std::vector<HWND> found;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectConfigDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::size_t ConfigReturns(TestHost& host) {
    const auto& log = host.Log().Entries();
    return static_cast<std::size_t>(std::count_if(log.begin(), log.end(), [](const HostRequest& r) {
        return r.IsNote() && r.note == "config returned";
    }));
}

TEST(ConfigDialog, ForgetAfterYesEmptiesThePositionsAndTheDataFileAndLeavesTheSettings) {
    TestHostOptions options;
    options.manualClock = true;
    // Version 31, one entry: first.avi at 61 s.
    const std::string name = "C:\\Media\\first.avi";
    options.dataFile = std::string("\x1f\0\0\0\x01\0\0\0\x01\0\0\0", 12) + static_cast<char>(name.size()) +
                       std::string(3, '\0') + name + std::string("\x48\xee\0\0", 4);
    TestHost host(options);
    const std::string iniBefore = IniBytes(host);
    Script script;
    FindDialog(script);
    Press(script, IDC_CFG_FORGET, "Forget remembered positions");
    script.Then("answer Yes to the question", [&] {
        HWND box = Script::OwnedMessageBox(script.dialog);
        if (box) ::PostMessageA(box, WM_COMMAND, IDYES, 0);
        return box != nullptr;
    });
    script.Then("the question is gone", [&] { return Script::OwnedMessageBox(script.dialog) == nullptr; });
    Press(script, IDCANCEL, "Cancel");
    host.Config();

    ExpectClosed(script);
    const std::string empty("\x1f\0\0\0\0\0\0\0", 8);
    EXPECT_TRUE(host.WaitFor([&] { return TestHost::ReadFile(host.DataFile()) == empty; }))
        << "an empty list, not " << TestHost::ReadFile(host.DataFile()).value_or("<none>").size() << " bytes";
    EXPECT_EQ(iniBefore, IniBytes(host));
    host.Log().Clear();
    host.Player().Play(); // first.avi is a file never seen now
    EXPECT_EQ(0u, host.Log().CountUser(106)) << host.Describe();
}

TEST(ConfigDialog, ConfigureWhileOpenBringsTheOpenDialogToTheFrontInsteadOfOpeningASecond) {
    TestHost host;
    Script script;
    int dialogs = 0;
    FindDialog(script);
    // The host asks from its own window's messages, which the dialog's modal loop dispatches.
    script.Then("the host asks to configure again", [&] {
        ::PostMessageA(host.MainWindow(), HostWindow::kConfigureMessage, 0, 0);
        return true;
    });
    script.Then("the second configure returned, or opened a dialog", [&] {
        dialogs = static_cast<int>(OpenDialogs().size());
        return dialogs > 1 || ConfigReturns(host) == 1;
    });
    script.Then("Cancel on every dialog", [&] {
        for (HWND open : OpenDialogs())
            TestHost::PressButton(open, IDCANCEL);
        return true;
    });
    host.Config();
    EXPECT_TRUE(script.Finished()) << script.Trace();
    EXPECT_EQ(1, dialogs);
    EXPECT_EQ(2u, ConfigReturns(host));
}

} // namespace

namespace {
// One entry of the current layout: tag, name length, name, position.
std::string Entry(int tag, const std::string& name, int positionMs) {
    std::string bytes;
    for (const int word : {tag, static_cast<int>(name.size())})
        bytes += std::string(reinterpret_cast<const char*>(&word), 4);
    return bytes + name + std::string(reinterpret_cast<const char*>(&positionMs), 4);
}

// The list's rows as "name|at|last played|folder".
std::vector<std::wstring> ListRows(HWND dialog) {
    const HWND list = ::GetDlgItem(dialog, IDC_CFG_LIST);
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::wstring text;
        for (int cell = 0; cell < 4; ++cell) {
            wchar_t buffer[300] = L"";
            LVITEMW item = {};
            item.iSubItem = cell;
            item.pszText = buffer;
            item.cchTextMax = 300;
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            text += (cell ? L"|" : L"") + std::wstring(buffer);
        }
        rows.push_back(text);
    }
    return rows;
}

void Select(HWND dialog, int row) {
    LVITEMW state = {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(::GetDlgItem(dialog, IDC_CFG_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&state));
}

// The number of entries the data file holds.
int EntriesInFile(const TestHost& host) {
    const std::string bytes = TestHost::ReadFile(host.DataFile()).value_or("");
    return bytes.size() >= 8 ? static_cast<unsigned char>(bytes[4]) : -1;
}
} // namespace

// The remembered files, most recent first, with a name outside the ANSI code page whole: "Remove" takes
// one out of the data file at once, Cancel does not bring it back, and the Delete key in the list
// removes as "Remove" does.
TEST(ConfigDialog, TheRememberedFilesAreListedAndRemoveTakesOneOutOfTheDataFileAtOnce) {
    TestHostOptions options;
    options.manualClock = true;
    options.dataFile = std::string("\x1f\0\0\0\x03\0\0\0", 8) + Entry(1, "C:\\Media\\first.avi", 61000) +
                       Entry(2, "C:\\Media\\\xE6\x97\xA5\xE6\x9C\xAC.mkv", 125000) +
                       Entry(1, "D:\\Films\\third.mkv", 3723000);
    TestHost host(options);
    const std::vector<std::wstring> three = {L"first.avi|0:01:01||C:\\Media",
                                             L"\x65E5\x672C.mkv|0:02:05||C:\\Media",
                                             L"third.mkv|1:02:03||D:\\Films"};
    std::vector<std::wstring> shown;
    Script script;
    FindDialog(script);
    script.Then("the list shows the three files", [&] { return (shown = ListRows(script.dialog)) == three; });
    script.Then("Tab reaches the list after Forget, then Remove", [&] {
        const HWND forget = ::GetDlgItem(script.dialog, IDC_CFG_FORGET);
        const HWND list = ::GetNextDlgTabItem(script.dialog, forget, FALSE);
        return list == ::GetDlgItem(script.dialog, IDC_CFG_LIST) &&
               ::GetNextDlgTabItem(script.dialog, list, FALSE) == ::GetDlgItem(script.dialog, IDC_CFG_REMOVE);
    });
    // Another program has the data file open (without sharing its deletion) when Remove writes it, and lets
    // it go a moment later.
    HANDLE held = INVALID_HANDLE_VALUE;
    DWORD pressedAt = 0;
    script.Then("select the first and press Remove, the data file held open elsewhere", [&] {
        held = ::CreateFileA(host.DataFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
        Select(script.dialog, 0);
        TestHost::PressButton(script.dialog, IDC_CFG_REMOVE);
        pressedAt = ::GetTickCount();
        return held != INVALID_HANDLE_VALUE;
    });
    script.Then("the other program lets the file go", [&] {
        if (ListRows(script.dialog).size() != 2 || ::GetTickCount() - pressedAt < 300) return false;
        ::CloseHandle(held);
        return true;
    });
    script.Then("the data file holds two files while the dialog is open", [&] { return EntriesInFile(host) == 2; });
    Press(script, IDCANCEL, "Cancel");
    host.Config();
    ExpectClosed(script);
    EXPECT_EQ(three, shown);
    EXPECT_EQ(2, EntriesInFile(host)) << "Cancel keeps the removal";

    Script again;
    FindDialog(again);
    again.Then("the list shows the two left", [&] {
        shown = ListRows(again.dialog);
        return shown == std::vector<std::wstring>(three.begin() + 1, three.end());
    });
    again.Then("the Delete key on the first", [&] {
        Select(again.dialog, 0);
        const HWND list = ::GetDlgItem(again.dialog, IDC_CFG_LIST);
        ::SetFocus(list);
        ::PostMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
        return true;
    });
    again.Then("the list shows one", [&] { return ListRows(again.dialog).size() == 1; });
    Press(again, IDOK, "OK");
    host.Config();
    ExpectClosed(again);
    EXPECT_TRUE(host.WaitFor([&] {
        // The one entry (a block of when it was played may follow).
        return TestHost::ReadFile(host.DataFile()).value_or("").rfind(
                   std::string("\x1f\0\0\0\x01\0\0\0", 8) + Entry(1, "D:\\Films\\third.mkv", 3723000), 0) == 0;
    })) << EntriesInFile(host) << " entries";
}

// Lowering "Remember up to" below the files remembered asks first; No keeps the dialog open, nothing stored.
TEST(ConfigDialog, FewerFilesThanRememberedAsksHowManyWillGoBeforeAnythingIsStored) {
    TestHostOptions options;
    options.ini = "[Winamp]\r\n[gen_morvix]\r\nmaxfiles=40\r\n";
    options.dataFile = std::string("\x1f\0\0\0\x23\0\0\0", 8);
    for (int i = 0; i < 35; ++i)
        *options.dataFile += Entry(1, "C:\\film" + std::to_string(i) + ".avi", 1000);
    TestHost host(options);
    const std::string iniBefore = IniBytes(host);
    std::vector<std::string> seen; // the questions, then the INI file after No
    Script script;
    auto reply = [&](WPARAM button) {
        const HWND box = Script::OwnedMessageBox(script.dialog);
        char text[160] = "";
        if (box) ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text), seen.push_back(text);
        return box && ::PostMessageA(box, WM_COMMAND, button, 0);
    };
    FindDialog(script);
    script.Then("type 30", [&] { return ::SetDlgItemTextA(script.dialog, IDC_CFG_MAXFILES, "30"), true; });
    Press(script, IDOK, "OK");
    script.Then("answer No", [&] { return reply(IDNO); });
    script.Then("the question goes, the dialog stays", [&] {
        if (Script::OwnedMessageBox(script.dialog) || !::IsWindowVisible(script.dialog)) return false;
        return seen.push_back(IniBytes(host) == iniBefore ? "INI untouched" : "INI written"), true;
    });
    Press(script, IDOK, "OK again");
    script.Then("answer Yes", [&] { return reply(IDYES); });
    host.Config();

    ExpectClosed(script);
    const std::string question = "5 remembered files beyond the 30 most recent will be forgotten. Go on?";
    EXPECT_EQ((std::vector<std::string>{question, "INI untouched", question}), seen);
    EXPECT_EQ("1,1,30,1,1,0,0,2,30,0", IniKeys(host));
}

namespace {
// A moment's local date and time of day as the system writes them for the user.
std::wstring LocalText(std::uint64_t utcTicks, bool date) {
    const FILETIME utc = {static_cast<DWORD>(utcTicks), static_cast<DWORD>(utcTicks >> 32)};
    FILETIME local;
    SYSTEMTIME st;
    wchar_t text[80] = L"";
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &st);
    return date ? (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 80), text)
                : (::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, text, 80), text);
}
} // namespace

// A file played just now says "Today" and its time, one played last year its date, each whole in its
// column; a click on the heading "File" sorts by name, and Remove takes out the row the person selected.
TEST(ConfigDialog, TheLastPlayedColumnAndSortingByAHeading) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    const std::uint64_t lastYear = ticks - 400ULL * 86400 * 10000000;
    std::vector<BookmarkEntry> entries = {
        {"C:\\V\\b.avi", 61000, 2}, {"C:\\V\\a.mkv", 125000, 1}, {"C:\\V\\c.avi", 1000, 0}};
    entries[0].lastPlayed = static_cast<std::int64_t>(ticks / 10000000) - 11644473600;
    entries[1].lastPlayed = static_cast<std::int64_t>(lastYear / 10000000) - 11644473600;
    const std::vector<unsigned char> bytes = EncodeDataFile(entries);
    TestHostOptions options;
    options.manualClock = true;
    options.dataFile = std::string(bytes.begin(), bytes.end());
    TestHost host(options);
    const std::wstring played[] = {L"Today " + LocalText(ticks, false), LocalText(lastYear, true)};
    const std::vector<std::wstring> first = {L"b.avi|0:01:01|" + played[0] + L"|C:\\V",
                                             L"a.mkv|0:02:05|" + played[1] + L"|C:\\V",
                                             L"c.avi|0:00:01||C:\\V"};
    std::vector<std::wstring> shown, byName, afterRemove;
    std::string cut;
    Script script;
    FindDialog(script);
    script.Then("the list shows when each file played", [&] {
        const HWND list = ::GetDlgItem(script.dialog, IDC_CFG_LIST);
        const int width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0));
        for (const std::wstring& cell : played) {
            const LRESULT needs =
                ::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(cell.c_str()));
            if (needs + 12 > width)
                cut += "needs " + std::to_string(needs + 12) + " of " + std::to_string(width) + "; ";
        }
        return (shown = ListRows(script.dialog)) == first;
    });
    script.Then("click the heading \"File\"", [&] {
        const HWND heading =
            reinterpret_cast<HWND>(::SendDlgItemMessageW(script.dialog, IDC_CFG_LIST, LVM_GETHEADER, 0, 0));
        RECT rc = {};
        ::SendMessageW(heading, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
        ::MapWindowPoints(heading, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return host.Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    });
    script.Then("the list is sorted by name", [&] { return (byName = ListRows(script.dialog)) != first; });
    script.Then("select the first row and press Remove", [&] {
        Select(script.dialog, 0);
        return TestHost::PressButton(script.dialog, IDC_CFG_REMOVE), true;
    });
    script.Then("the list shows two", [&] { return (afterRemove = ListRows(script.dialog)).size() == 2; });
    Press(script, IDCANCEL, "Cancel");
    host.Config();

    ExpectClosed(script);
    EXPECT_EQ(first, shown);
    EXPECT_EQ("", cut) << "\"Last played\" at " << ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY) << " DPI";
    EXPECT_EQ((std::vector<std::wstring>{first[1], first[0], first[2]}), byName);
    EXPECT_EQ((std::vector<std::wstring>{first[0], first[2]}), afterRemove) << "a.mkv went";
    EXPECT_TRUE(host.WaitFor([&] { return EntriesInFile(host) == 2; })) << EntriesInFile(host) << " entries";
}
