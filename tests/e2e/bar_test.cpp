// The bar in the real DLL inside the stand-in host: where it sits, what its controls ask of the host,
// and how real mouse input brings it up over full-screen video and puts it away.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "mouse_input.h"

namespace {
using e2e::TestHost;
using e2e::TestHostOptions;

// The bar's requests with the host's answers: no notes, no player notifications, and not the position
// store's re-read (list position, file name, position) that a status or entry notification sets off.
// The host logs a notification when its handling ends, so the re-read sits just before it.
std::vector<std::string> Requests(TestHost& host, std::size_t from = 0) {
    std::vector<const HostRequest*> kept;
    const auto& entries = host.Log().Entries();
    for (std::size_t i = from; i < entries.size(); ++i) {
        const HostRequest& r = entries[i];
        if (r.IsUser(603) && (r.wParam == 2 || r.wParam == 5)) {
            for (LPARAM code : {105, 211, 214, 125})
                if (!kept.empty() && kept.back()->IsUser(code)) kept.pop_back();
        }
        if (r.message == 0 || r.IsUser(603)) continue;
        kept.push_back(&r);
    }
    std::vector<std::string> out;
    for (const HostRequest* r : kept)
        out.push_back((r->message == WM_USER ? "U " : "C ") +
                      std::to_string(static_cast<long long>(r->wParam)) + "," + std::to_string(r->lParam) +
                      "->" + std::to_string(r->answer));
    return out;
}

std::string U(long long w, long code, long long answer = 0) {
    return "U " + std::to_string(w) + "," + std::to_string(code) + "->" + std::to_string(answer);
}
std::string C(int id) {
    return "C " + std::to_string(id) + ",0->0";
}

TestHostOptions Manual(const std::string& settings = "") {
    TestHostOptions options;
    options.manualClock = true;
    options.ini = "[Winamp]\r\n[gen_morvix]\r\n" + settings;
    return options;
}

// A point in the middle of the screen, well above the bar.
constexpr int kVideoX = 600, kVideoY = 300;

// Full-screen video playing with the keyboard, the bar hidden.
void StartVideo(TestHost& host) {
    host.Player().Play();
    host.SetFullScreen(true);
    ::SetForegroundWindow(host.VideoWindow());
    host.Pump();
}

bool ShowWithMove(TestHost& host, int x, int y) {
    host.MouseMove(x, y);
    host.MouseMove(x + 2, y);
    return host.WaitFor([&] { return host.BarVisible(); }, 2000);
}

TEST(Bar, ExistsHiddenAlongTheBottomOfTheFullScreenAreaWithStretchedChildren) {
    TestHost host;
    const HWND bar = host.Bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(host.BarVisible());
    const int cx = ::GetSystemMetrics(SM_CXFULLSCREEN), cy = ::GetSystemMetrics(SM_CYFULLSCREEN);
    const RECT r = host.BarRect();
    EXPECT_EQ(r.left, 0);
    // Whole on the screen: Wine's full-screen height lies below the screen's bottom.
    EXPECT_EQ(r.bottom, std::min(cy, ::GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(r.right - r.left, cx);
    RECT templ = {0, 0, 673, 66};
    ::MapDialogRect(bar, &templ);
    EXPECT_EQ(r.bottom - r.top, templ.bottom) << "the height stays the template's";
    const float k = static_cast<float>(cx) / static_cast<float>(templ.right);
    struct {
        int id;
        RECT du; // x, y, width, height in dialog units
    } const items[] = {{2013, {1, 7, 670, 17}}, {2003, {565, 24, 101, 35}}, {2009, {7, 24, 70, 14}},
                       {2002, {7, 38, 432, 21}}};
    for (const auto& item : items) {
        RECT px = item.du; // x, y, width, height: the dialog manager converts each on its own
        ::MapDialogRect(bar, &px);
        RECT got = probe::WindowRect(host.BarControl(item.id));
        ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, static_cast<int>(static_cast<float>(px.left) * k)) << "control " << item.id;
        EXPECT_EQ(got.right - got.left, static_cast<int>(static_cast<float>(px.right) * k))
            << "control " << item.id;
        EXPECT_EQ(got.top, px.top) << "control " << item.id;
        EXPECT_EQ(got.bottom - got.top, px.bottom) << "control " << item.id;
    }
    for (const int id : {2026, 2027})
        EXPECT_FALSE(::GetWindowLongA(host.BarControl(id), GWL_STYLE) & WS_VISIBLE) << "without the option";
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// At the scale of the run: 96 DPI, and 192 in the run at 200%.
TEST(Bar, WholeOnItsMonitorWithItsClockAndTipLegibleAtThisScale) {
    TestHost host;
    StartVideo(host);
    const RECT seek = probe::WindowRect(host.BarControl(2013));
    ASSERT_TRUE(ShowWithMove(host, seek.left + 60, (seek.top + seek.bottom) / 2));
    ASSERT_TRUE(host.WaitFor([&] { return host.TimeTip() != nullptr; }));
    RECT monitor;
    ASSERT_TRUE(MonitorRect(0, &monitor));
    EXPECT_TRUE(Inside(host.BarRect(), monitor)) << host.Describe();
    for (HWND c = ::GetWindow(host.Bar(), GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT))
        EXPECT_TRUE(Inside(probe::WindowRect(c), monitor)) << "control " << ::GetDlgCtrlID(c);
    int clockText = 0;
    RECT client;
    probe::TextExtent(host.BarControl(2003), &clockText);
    ::GetClientRect(host.BarControl(2003), &client);
    EXPECT_GE(clockText * 10, client.bottom * 6) << "the clock's text against its box";
    const SIZE tipText = probe::TextExtent(host.TimeTip());
    ::GetClientRect(host.TimeTip(), &client);
    EXPECT_TRUE(tipText.cx <= client.right && tipText.cy <= client.bottom)
        << probe::Text(host.TimeTip()) << " needs " << tipText.cx << "x" << tipText.cy << " in "
        << client.right << "x" << client.bottom;
}

TEST(Bar, ButtonsSendExactlyTheirRequests) {
    TestHost host(Manual());
    host.Player().Play();
    struct {
        int button;
        std::vector<std::string> want;
    } const cases[] = {
        {2000,
         {U(0, 105, 100000), U(1, 105, 600), U(130000, 106), U(0, 104, 1), U(0, 105, 130000),
          U(1, 105, 600)}},
        {2004,
         {U(0, 105, 100000), U(1, 105, 600), U(110000, 106), U(0, 104, 1), U(0, 105, 110000),
          U(1, 105, 600)}},
        {2008, {U(0, 105, 100000), U(90000, 106), U(0, 104, 1), U(0, 105, 90000), U(1, 105, 600)}},
        {2009, {U(0, 105, 100000), U(70000, 106), U(0, 104, 1), U(0, 105, 70000), U(1, 105, 600)}},
        {2006, {C(40060)}},
        {2007, {C(40061)}},
        {2011, {C(40046)}},
        {2026, {C(40044)}}, // on the first entry: the host stays there
        {2027, {C(40048)}},
    };
    for (const auto& c : cases) {
        host.Player().SetStatus(1);
        host.Player().JumpTo(100000);
        const std::size_t from = host.Log().Entries().size();
        host.ClickBarControl(c.button);
        EXPECT_EQ(Requests(host, from), c.want) << "button " << c.button;
    }
}

// With "Previous/next buttons on the bar", at the scale of the run (a journey clicks them through the playlist).
TEST(Bar, PreviousAndNextStandWholeBesideTheShuttle) {
    TestHost host(Manual("listbuttons=1\r\n"));
    StartVideo(host);
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    const RECT restore = probe::WindowRect(host.BarControl(2021));
    for (const int id : {2026, 2027}) {
        const HWND button = host.BarControl(id);
        const RECT r = probe::WindowRect(button);
        EXPECT_TRUE(::IsWindowVisible(button)) << "button " << id;
        EXPECT_GE(r.right - r.left, restore.right - restore.left) << "button " << id;
        const SIZE text = probe::TextExtent(button);
        RECT client;
        ::GetClientRect(button, &client);
        EXPECT_TRUE(text.cx + 4 <= client.right && text.cy <= client.bottom)
            << probe::Text(button) << " needs " << text.cx << "x" << text.cy << " in " << client.right << "x"
            << client.bottom;
    }
    RECT bar = host.BarRect(), inside;
    for (const int id : {2026, 2027}) {
        RECT mine = probe::WindowRect(host.BarControl(id)), both;
        EXPECT_TRUE(::IntersectRect(&inside, &mine, &bar) && ::EqualRect(&inside, &mine)) << "button " << id;
        for (HWND c = ::GetWindow(host.Bar(), GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
            RECT other = probe::WindowRect(c);
            if (c != host.BarControl(id) && ::IsWindowVisible(c)) {
                EXPECT_FALSE(::IntersectRect(&both, &mine, &other))
                    << "button " << id << " and control " << ::GetDlgCtrlID(c) << " overlap";
            }
        }
    }
}

TEST(Bar, SeekSliderScrollJumpsAndTheClockShowsThePosition) {
    TestHost host(Manual());
    host.Player().Play();
    const HWND seek = host.BarControl(2013);
    ::SendMessageA(seek, TBM_SETPOS, TRUE, 500);
    const std::size_t from = host.Log().Entries().size();
    ::SendMessageA(host.Bar(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 500), reinterpret_cast<LPARAM>(seek));
    EXPECT_EQ(Requests(host, from), (std::vector<std::string>{U(1, 105, 600), U(300000, 106)}));

    host.Player().JumpTo(123000);
    host.SetFullScreen(true);
    ASSERT_TRUE(host.Click(kVideoX, kVideoY));
    ASSERT_TRUE(host.WaitFor([&] { return host.BarVisible(); }));
    EXPECT_EQ(host.ClockText(), "0:02:03");
    EXPECT_EQ(host.Slider(2013).pos, 205);
    EXPECT_EQ(host.Slider(2013).selEnd, 205);

    // A click on the clock shows the time left of the 10-minute file, and the INI file keeps the choice.
    ASSERT_TRUE(host.ClickBarControlWithMouse(2003));
    EXPECT_TRUE(host.WaitFor([&] { return host.ClockText() == "-0:07:57"; })) << host.ClockText();
    const std::string ini = TestHost::ReadFile(host.IniFile()).value_or("");
    EXPECT_NE(ini.find("remaining=1"), std::string::npos) << ini;
}

TEST(Bar, VolumeSliderFollowsTheHost) {
    TestHost host;
    host.Player().SetVolume(55);
    host.Pump();
    EXPECT_EQ(host.Slider(2010).pos, 200);
    ::SendMessageA(host.BarControl(2010), TBM_SETPOS, TRUE, 5);
    ::SendMessageA(host.Bar(), WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, 5),
                   reinterpret_cast<LPARAM>(host.BarControl(2010)));
    EXPECT_EQ(host.Player().Volume(), 250);
}

TEST(BarMouse, TwoPixelMoveShowsOnePixelDoesNotAndEachMessageCostsOneRequest) {
    TestHost host;
    StartVideo(host);
    ASSERT_TRUE(host.MouseMove(kVideoX, kVideoY));
    const std::size_t from = host.Log().Entries().size();
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(host.MouseMove(kVideoX + i, kVideoY + i));
    EXPECT_FALSE(host.BarVisible());
    const std::vector<std::string> asked = Requests(host, from);
    EXPECT_EQ(asked, std::vector<std::string>(asked.size(), U(0, 630, 1)));
    EXPECT_EQ(asked.size(), 4u) << "one full-screen query per mouse message";

    ASSERT_TRUE(host.MouseMove(kVideoX + 6, kVideoY + 4));
    EXPECT_TRUE(host.WaitFor([&] { return host.BarVisible(); }, 2000));
}

TEST(BarMouse, HidesAfterTheFourthTickOutsideButStaysOnTheBar) {
    TestHost host;
    StartVideo(host);
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    const std::size_t statusAtShow = host.Log().CountUser(104);
    ASSERT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 4000));
    // Three ticks count down and refresh (blink and clock each ask the status); the fourth hides.
    EXPECT_EQ(host.Log().CountUser(104) - statusAtShow, 6u);

    const RECT bar = host.BarRect();
    ASSERT_TRUE(ShowWithMove(host, kVideoX, (bar.top + bar.bottom) / 2));
    const std::size_t status = host.Log().CountUser(104);
    ASSERT_TRUE(host.WaitFor([&] { return host.Log().CountUser(104) >= status + 12; }, 5000));
    EXPECT_TRUE(host.BarVisible()) << "six ticks with the mouse resting on the bar";
}

TEST(BarMouse, AHideDelayOfOneSecondHidesAtTheSecondTick) {
    TestHost host(Manual("hidedelay=1\r\n"));
    StartVideo(host);
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    const std::size_t statusAtShow = host.Log().CountUser(104);
    ASSERT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 3000));
    // One tick counts down and refreshes (blink and clock each ask the status); the second hides.
    EXPECT_EQ(host.Log().CountUser(104) - statusAtShow, 2u);
}

// The seconds of a clock text such as "0:02:30" or "-0:07:57" (the sign is dropped).
int Seconds(const std::string& text) {
    int h = 0, m = 0, sec = 0;
    std::sscanf(text.c_str() + (text.rfind('-', 0) == 0 ? 1 : 0), "%d:%d:%d", &h, &m, &sec);
    return h * 3600 + m * 60 + sec;
}

TEST(BarMouse, TimeTipShowsTheTimeUnderTheCursorAndGoesWithIt) {
    TestHost host(Manual());
    StartVideo(host);
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    const RECT seek = probe::WindowRect(host.BarControl(2013));
    const int y = (seek.top + seek.bottom) / 2;
    for (int quarter : {1, 3}) {
        const int x = seek.left + (seek.right - seek.left) * quarter / 4;
        ASSERT_TRUE(host.MouseMove(x, y));
        ASSERT_TRUE(host.WaitFor([&] { return host.TimeTip() != nullptr; })) << "quarter " << quarter;
        const std::string text = probe::Text(host.TimeTip());
        // The first file lasts 600 s; the thumb's half-width at each end makes the quarter marks a few
        // seconds off a plain proportion.
        EXPECT_NEAR(Seconds(text), 150 * quarter, 10) << text;
        const RECT tip = probe::WindowRect(host.TimeTip());
        EXPECT_NEAR((tip.left + tip.right) / 2, x, 1) << "the tip follows the cursor";
        EXPECT_LE(tip.bottom, host.BarRect().top) << "the tip stands above the bar";
    }
    ASSERT_TRUE(host.MouseMove(kVideoX, (host.BarRect().top + host.BarRect().bottom) / 2 + 20));
    EXPECT_TRUE(host.WaitFor([&] { return host.TimeTip() == nullptr; })) << "gone off the slider";

    ASSERT_TRUE(host.MouseMove(seek.left + 40, y));
    ASSERT_TRUE(host.WaitFor([&] { return host.TimeTip() != nullptr; }));
    ASSERT_TRUE(host.MouseMove(kVideoX, kVideoY));
    ASSERT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 4000));
    EXPECT_EQ(host.TimeTip(), nullptr) << "gone with the bar";
}

TEST(BarMouse, WheelOverTheSeekSliderSkipsTenSecondsAndOverTheVolumeFivePercent) {
    TestHost host(Manual());
    StartVideo(host);
    host.Player().JumpTo(100000);
    const RECT seek = probe::WindowRect(host.BarControl(2013));
    const int x = seek.left + 30, y = (seek.top + seek.bottom) / 2;
    // Where the hidden bar's seek slider would be, the notch only brings the bar up and goes on to the host.
    const int hostVolume = host.Player().Volume();
    ASSERT_TRUE(host.Wheel(x, y, -1));
    ASSERT_TRUE(host.WaitFor([&] { return host.BarVisible(); }));
    EXPECT_TRUE(host.WaitFor([&] { return host.Player().Volume() == hostVolume - 16; }))
        << host.Player().Volume();
    EXPECT_EQ(host.Player().PositionMs(), 100000);
    ASSERT_TRUE(host.Wheel(x, y, 1));
    EXPECT_TRUE(host.WaitFor([&] { return host.Player().PositionMs() == 110000; }))
        << host.Player().PositionMs();
    ASSERT_TRUE(host.Wheel(x, y, -2));
    EXPECT_TRUE(host.WaitFor([&] { return host.Player().PositionMs() == 90000; }))
        << host.Player().PositionMs();
    ASSERT_TRUE(host.Wheel(x, y, -20));
    EXPECT_TRUE(host.WaitFor([&] { return host.Player().PositionMs() == 0; })) << "clamped at the start";

    const RECT volume = probe::WindowRect(host.BarControl(2010));
    const int volumeBefore = host.Player().Volume();
    ASSERT_TRUE(host.Wheel((volume.left + volume.right) / 2, (volume.top + volume.bottom) / 2, 1));
    EXPECT_TRUE(host.WaitFor([&] { return host.Player().Volume() == volumeBefore + 12; }))
        << host.Player().Volume();
    EXPECT_EQ(host.Slider(2010).pos, 255 - host.Player().Volume());
}

TEST(BarMouse, AVisualisationFullScreenOrAnOldHostBringsUpNeitherBarNorBox) {
    for (const int version : {0x5091, 0x2900}) {
        TestHostOptions options;
        options.hostVersion = version;
        TestHost host(options);
        host.WhenWindowAppears(
            "Morvix", [](HWND box) { TestHost::PressButton(box, IDOK); }, true);
        host.Player().Play();
        if (version >= 0x5000)
            host.SetVisualisationFullScreen();
        else
            host.SetFullScreen(true); // an old host answers 1 to the full-screen request it lacks
        const std::size_t from = host.Log().Entries().size();
        ASSERT_TRUE(host.Click(kVideoX, kVideoY));
        ASSERT_TRUE(host.MouseMove(kVideoX + 20, kVideoY));
        ASSERT_TRUE(host.Click(kVideoX + 40, kVideoY));
        EXPECT_FALSE(host.WaitFor([&] { return host.BarVisible() || host.Answers("Morvix") > 0; }, 800))
            << "version " << version;
        const std::vector<std::string> asked = Requests(host, from);
        if (version >= 0x5000) {
            // Whether video plays is asked once; every message costs the one full-screen request.
            EXPECT_EQ(std::count(asked.begin(), asked.end(), U(0, 501, 0)), 1) << "version " << version;
            EXPECT_EQ(asked.size(),
                      static_cast<std::size_t>(std::count(asked.begin(), asked.end(), U(0, 630, 1))) + 1u);
        } else {
            // The memory's clock may tick meanwhile (a slow machine); full screen and video are never asked.
            EXPECT_EQ(0, std::count_if(asked.begin(), asked.end(), [](const std::string& r) {
                          return r.rfind("U 0,630->", 0) == 0 || r.rfind("U 0,501->", 0) == 0;
                      })) << "an old host is never asked about full screen";
        }
    }
}

TEST(BarMouse, LeavingFullScreenHidesOnTheNextMouseMessage) {
    TestHost host;
    StartVideo(host);
    const RECT bar = host.BarRect();
    ASSERT_TRUE(ShowWithMove(host, kVideoX, (bar.top + bar.bottom) / 2));
    host.SetFullScreen(false);
    ASSERT_TRUE(host.MouseMove(kVideoX + 10, (bar.top + bar.bottom) / 2));
    EXPECT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 1000));
}

TEST(BarMouse, RightClickTogglesPauseHiddenAndShown) {
    TestHost host;
    StartVideo(host);
    ASSERT_TRUE(host.MouseMove(kVideoX, kVideoY));
    ASSERT_TRUE(host.RightClick(kVideoX, kVideoY));
    ASSERT_TRUE(host.WaitFor([&] { return host.BarVisible(); }));
    EXPECT_EQ(host.Player().Status(), 3);
    ASSERT_TRUE(host.RightClick(kVideoX, kVideoY));
    EXPECT_EQ(host.Player().Status(), 1);
    EXPECT_EQ(host.Log().CountCommand(40046), 2u);
}

TEST(BarMouse, ClipConfinesTheCursorAndGivesBackThePreviousClip) {
    TestHost host(Manual("clipmouse=1\r\n"));
    StartVideo(host);
    // Wine drops any cursor clip when a window is shown and activated, so the clip in force when the bar
    // saves it is always the whole screen here; the native tests cover giving back a narrower one.
    const RECT previous = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::ClipCursor(&previous);
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    const RECT bar = host.BarRect();
    RECT want = {bar.left, bar.top - 1, bar.right, bar.bottom + 2};
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::IntersectRect(&want, &want, &screen); // the system keeps a clip on the screen
    RECT clip;
    ::GetClipCursor(&clip);
    EXPECT_TRUE(::EqualRect(&clip, &want))
        << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom;

    // Trying to leave upwards stops on the row above the bar, which hides it at the next tick.
    mouse::MoveTo(kVideoX, kVideoY);
    ASSERT_TRUE(host.WaitFor([&] {
        POINT pt;
        ::GetCursorPos(&pt);
        return pt.y == bar.top - 1;
    }));
    ASSERT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 1500));
    ::GetClipCursor(&clip);
    EXPECT_TRUE(::EqualRect(&clip, &previous))
        << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom;
    ::ClipCursor(nullptr);
}

// Keys as the user types them, to whichever window has the keyboard focus: each down, then each up in
// reverse.
bool PressKeys(std::vector<WORD> keys) {
    const std::size_t n = keys.size();
    std::vector<INPUT> input(2 * n);
    for (std::size_t i = 0; i < 2 * n; ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = i < n ? keys[i] : keys[2 * n - 1 - i];
        input[i].ki.dwFlags = i < n ? 0 : KEYEVENTF_KEYUP;
    }
    return ::SendInput(static_cast<UINT>(2 * n), input.data(), sizeof(INPUT)) == 2 * n;
}

bool PressAltF4() {
    return PressKeys({VK_MENU, VK_F4});
}

// The host's shortcuts work only where the focus is: Space pauses only if the video has the keyboard.
TEST(BarKeys, SpaceReachesTheVideoWhileTheBarShowsAfterAClickOnItAndAfterItHides) {
    TestHost host(Manual("hidedelay=1\r\n"));
    StartVideo(host);
    ASSERT_TRUE(host.WaitFor([&] { return ::GetForegroundWindow() == host.VideoWindow(); }));
    const auto pressSpaceFor = [&](int status) {
        return PressKeys({VK_SPACE}) && host.WaitFor([&] { return host.Player().Status() == status; }, 2000);
    };
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    const int at = host.Player().PositionMs();
    EXPECT_TRUE(pressSpaceFor(SimPlayer::kPaused)) << host.Describe();
    EXPECT_EQ(host.Player().PositionMs(), at) << "a bar button had the key";
    ASSERT_TRUE(host.ClickBarControlWithMouse(2011)); // the bar's play/pause
    ASSERT_TRUE(host.WaitFor([&] { return host.Player().Status() == SimPlayer::kPlaying; }));
    EXPECT_TRUE(pressSpaceFor(SimPlayer::kPaused)) << "after a click on the bar\n" << host.Describe();
    ASSERT_TRUE(host.MouseMove(kVideoX, kVideoY));
    ASSERT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 4000));
    EXPECT_TRUE(pressSpaceFor(SimPlayer::kPlaying)) << "after the bar hid\n" << host.Describe();
    EXPECT_EQ(::GetForegroundWindow(), host.VideoWindow());
    // Resting on the bar, the person leaves full screen by the player's key: no mouse message follows.
    const RECT bar = host.BarRect();
    ASSERT_TRUE(ShowWithMove(host, kVideoX, (bar.top + bar.bottom) / 2));
    ASSERT_TRUE(PressKeys({VK_ESCAPE}));
    ASSERT_TRUE(host.WaitFor([&] { return !host.Session().ReportsFullScreen(); }, 2000));
    EXPECT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 1500)) << "the bar outlives full screen";
}

TEST(BarMouse, PausedVideoBringsUpTheBarOnAHostThatThenSaysNoVideoPlays) {
    TestHost host;
    host.Session().SetNoVideoWhilePaused(true);
    StartVideo(host);
    host.Player().TogglePause();
    EXPECT_TRUE(ShowWithMove(host, kVideoX, kVideoY)) << host.Describe();
}

TEST(BarKeys, AltF4WhileTheBarHasTheFocusHidesItTheWholeWay) {
    TestHost host(Manual("clipmouse=1\r\n"));
    StartVideo(host);
    const RECT previous = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::ClipCursor(&previous);
    const RECT bar = host.BarRect();
    // Resting on the bar: no countdown, so only the key can put it away.
    ASSERT_TRUE(ShowWithMove(host, kVideoX, (bar.top + bar.bottom) / 2));
    EXPECT_NE(::GetForegroundWindow(), host.Bar()) << "the bar takes the keyboard when it shows";
    // Whatever gave the bar the keyboard, Alt+F4 there puts it away, and the keyboard goes back.
    ::SetForegroundWindow(host.Bar());
    ASSERT_TRUE(host.WaitFor([&] { return ::GetForegroundWindow() == host.Bar(); }));
    ASSERT_TRUE(PressAltF4());
    ASSERT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 2000));
    EXPECT_TRUE(host.WaitFor([&] { return ::GetForegroundWindow() == host.VideoWindow(); }));

    const std::size_t status = host.Log().CountUser(104);
    EXPECT_FALSE(host.WaitFor([&] { return host.Log().CountUser(104) > status; }, 1200))
        << "the hidden bar's timer still asks the host";
    RECT clip;
    ::GetClipCursor(&clip);
    EXPECT_TRUE(::EqualRect(&clip, &previous))
        << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom;
    ::ClipCursor(nullptr);
}

TEST(BarMouse, LostVideoWindowGivesOneMessageBoxUntilItIsBack) {
    TestHost host;
    StartVideo(host);
    host.DestroyVideoKeepingFullScreen();
    // Every box is answered, so that a second one cannot hold the test in its modal loop, and counted.
    host.WhenWindowAppears(
        "Morvix", [](HWND box) { TestHost::PressButton(box, IDOK); }, true);
    host.Click(kVideoX, kVideoY);
    ASSERT_TRUE(host.WaitFor([&] { return host.Answered("Morvix"); }));
    ASSERT_TRUE(host.WaitFor([&] { return TestHost::FindWindowByTitle("Morvix") == nullptr; }));

    host.MouseMove(kVideoX + 20, kVideoY);
    host.Click(kVideoX + 40, kVideoY);
    host.Pump();
    EXPECT_EQ(host.Answers("Morvix"), 1) << "boxes while the video window is still missing";
    EXPECT_FALSE(host.BarVisible());

    host.SetFullScreen(true); // a video window exists again
    host.Click(kVideoX, kVideoY);
    EXPECT_TRUE(host.WaitFor([&] { return host.BarVisible(); }));
    host.Pump();
    EXPECT_EQ(host.Answers("Morvix"), 1) << "boxes in all";
}

TEST(BarButtons, RestoreClosesTheVideoWindowAndExitQuitsTheHost) {
    TestHost host;
    StartVideo(host);
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    ASSERT_TRUE(host.ClickBarControlWithMouse(2021));
    EXPECT_TRUE(host.WaitFor([&] { return host.VideoWindow() == nullptr; }));
    // Its next tick finds the host out of full screen; the window the keyboard came from has gone.
    EXPECT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 2000));
    EXPECT_TRUE(host.WaitFor([&] { return ::GetForegroundWindow() == host.MainWindow(); }))
        << "the keyboard is with " << ::GetForegroundWindow() << ", not the host's main window\n"
        << host.Describe();

    host.ClickBarControl(2012);
    EXPECT_FALSE(host.BarVisible());
    ASSERT_TRUE(host.WaitFor([&] { return !host.Running(); }));
    EXPECT_EQ(host.Log().CountCommand(40001), 1u);
    bool quitRan = false;
    for (const HostRequest& r : host.Log().Entries())
        quitRan |= r.note.rfind("quit ", 0) == 0;
    EXPECT_TRUE(quitRan);
}

// Run with two monitors side by side (./dev test runs these under a nested X server with Xinerama).
// Off the bar onto the next monitor's bare desktop: no message of the host's thread follows the pointer.
TEST(TwoMonitors, LeavingAcrossTheBarOntoTheNextMonitorHidesTheBarAndItsTip) {
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "these cases need two monitors";
    RECT second;
    ASSERT_TRUE(MonitorRect(1, &second));
    TestHost host;
    StartVideo(host);
    const RECT seek = probe::WindowRect(host.BarControl(2013));
    ASSERT_TRUE(ShowWithMove(host, seek.left + 40, (seek.top + seek.bottom) / 2));
    ASSERT_TRUE(host.WaitFor([&] { return host.TimeTip() != nullptr; }));
    mouse::MoveTo(second.left + 200, second.top + 200);
    EXPECT_TRUE(host.WaitFor([&] { return !host.BarVisible() && host.TimeTip() == nullptr; }, 4000))
        << host.Describe();
}

TEST(TwoMonitors, TheBarStandsOnTheVideosMonitorAndTheClipKeepsTheCursorThere) {
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "these cases need two monitors";
    RECT second;
    ASSERT_TRUE(MonitorRect(1, &second));
    TestHost host(Manual("clipmouse=1\r\n"));
    host.Player().Play();
    host.SetFullScreen(true, 1);
    host.Pump();
    const int x = (second.left + second.right) / 2, y = (second.top + second.bottom) / 3;
    ASSERT_TRUE(ShowWithMove(host, x, y));
    const RECT bar = host.BarRect();
    RECT templ = {0, 0, 673, 66};
    ::MapDialogRect(host.Bar(), &templ);
    EXPECT_EQ(bar.left, second.left);
    EXPECT_EQ(bar.right, second.right) << "across the monitor's width";
    EXPECT_EQ(bar.bottom, second.bottom);
    EXPECT_EQ(bar.bottom - bar.top, templ.bottom);
    const RECT clock = probe::WindowRect(host.BarControl(2003));
    EXPECT_TRUE(clock.left >= second.left && clock.right <= second.right)
        << "the children are stretched for it";

    // Reaching for the primary monitor: the cursor stops on the row above the bar, on this monitor.
    mouse::MoveTo(100, 300);
    ASSERT_TRUE(host.WaitFor([&] {
        POINT pt;
        ::GetCursorPos(&pt);
        return pt.y == bar.top - 1;
    }));
    POINT pt;
    ::GetCursorPos(&pt);
    EXPECT_GE(pt.x, second.left) << "the cursor stays on the video's monitor";
    ASSERT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 1500));
    ::ClipCursor(nullptr);

    // The video moves to the primary monitor: the bar follows it there, to the place it has always had.
    host.SetFullScreen(true, 0);
    host.Pump();
    ASSERT_TRUE(ShowWithMove(host, kVideoX, kVideoY));
    const RECT primary = host.BarRect();
    EXPECT_EQ(primary.left, 0);
    EXPECT_EQ(primary.right, ::GetSystemMetrics(SM_CXFULLSCREEN));
    EXPECT_EQ(primary.bottom, std::min(::GetSystemMetrics(SM_CYFULLSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    ::ClipCursor(nullptr);
}

} // namespace
