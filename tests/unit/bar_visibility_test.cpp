#include <climits>
#include <gtest/gtest.h>

#include <functional>

#include "bar_rig.h"
#include "resources/resource_ids.h"

namespace {

using Calls = std::vector<std::string>;
using Requests = std::vector<HostRequest>;

const std::string kShow = "SetWindowPos(bar,TOPMOST,0,0,0,0,0x53)";
const std::string kTimer = "SetTimer(bar,1,500)";
const std::string kRefresh = "RedrawWindow(#2013,0x105)";
const std::string kHide = "SetWindowPos(bar,null,0,0,0,0,0x297)";
const std::string kKill = "KillTimer(bar,1)";

struct Row {
    const char* name;
    bool startShown;
    std::function<void(VideoRig&)> event;
    Calls calls;
    bool shownAfter;
    int countdownAfter;
    bool lostAfter;
};

void MouseDown(VideoRig& r, LONG x, LONG y) {
    r.Mouse(WM_LBUTTONDOWN, x, y);
}

TEST(BarVisibility, StateTable) {
    const Row rows[] = {
        {"hidden, not full screen",
         false,
         [](VideoRig& r) {
             r.player.fullScreen = false;
             MouseDown(r, kOutsideX, kOutsideY);
         },
         {},
         false,
         -1,
         false},
        {"hidden, video still missing",
         false,
         [](VideoRig& r) {
             r.windows.RemoveTopLevel(r.video);
             MouseDown(r, kOutsideX, kOutsideY); // the box, once
             r.windows.calls.clear();
             MouseDown(r, kOutsideX, kOutsideY);
         },
         {},
         false,
         4,
         true},
        {"hidden, first move only samples",
         false,
         [](VideoRig& r) { r.Mouse(WM_MOUSEMOVE, 10, 10); },
         {},
         false,
         -1,
         false},
        {"hidden, click shows",
         false,
         [](VideoRig& r) { MouseDown(r, kOutsideX, kOutsideY); },
         {kShow, kTimer, kRefresh},
         true,
         4,
         false},
        {"hidden, video missing",
         false,
         [](VideoRig& r) {
             r.windows.RemoveTopLevel(r.video);
             MouseDown(r, kOutsideX, kOutsideY);
         },
         {"MessageBox(bar)"},
         false,
         4,
         true},
        {"shown, not full screen",
         true,
         [](VideoRig& r) {
             r.player.fullScreen = false;
             r.Mouse(WM_MOUSEMOVE, kOutsideX, kOutsideY);
         },
         {kHide, kKill},
         false,
         0,
         false},
        {"shown, inside",
         true,
         [](VideoRig& r) { r.Mouse(WM_MOUSEMOVE, kInsideX, kInsideY); },
         {},
         true,
         0,
         false},
        {"shown, outside",
         true,
         [](VideoRig& r) {
             r.Mouse(WM_MOUSEMOVE, kInsideX, kInsideY);
             r.Mouse(WM_MOUSEMOVE, kOutsideX, kOutsideY);
         },
         {},
         true,
         4,
         false},
        {"shown, tick at countdown 1",
         true,
         [](VideoRig& r) {
             r.Tick();
             r.Tick();
             r.Tick();
             r.windows.calls.clear();
             r.Tick();
         },
         {kHide, kKill},
         false,
         0,
         false},
        {"shown, tick at countdown 4", true, [](VideoRig& r) { r.Tick(); }, {kRefresh}, true, 3, false},
        {"shown, full screen left by a key",
         true,
         [](VideoRig& r) {
             r.player.fullScreen = false;
             r.Tick();
         },
         {kHide, kKill},
         false,
         0,
         false},
        {"shown, tick without countdown",
         true,
         [](VideoRig& r) {
             r.Mouse(WM_MOUSEMOVE, kInsideX, kInsideY);
             r.Tick();
         },
         {kRefresh},
         true,
         0,
         false},
        {"shown, the pointer leaves across the bar where no message follows it",
         true,
         [](VideoRig& r) {
             r.Mouse(WM_MOUSEMOVE, kInsideX, kInsideY);
             r.windows.cursor = POINT{900, kInsideY};
             r.Tick();
         },
         {kRefresh},
         true,
         3,
         false},
        {"shown, Rstr with video",
         true,
         [](VideoRig& r) { r.Click(IDC_RESTORE); },
         {"WM_CLOSE(Winamp Video)"},
         true,
         4,
         false},
        {"shown, Rstr without video",
         true,
         [](VideoRig& r) {
             r.windows.RemoveTopLevel(r.video);
             r.Click(IDC_RESTORE);
         },
         {kHide, kKill},
         false,
         0,
         true},
        {"shown, Exit", true, [](VideoRig& r) { r.Click(IDC_EXIT); }, {kHide, kKill}, false, 0, false},
        {"shown, closed (Alt+F4, quit)",
         true,
         [](VideoRig& r) { r.windows.Dispatch(WM_CLOSE, 0, 0); },
         {kHide, kKill},
         false,
         0,
         false},
        {"shown, Escape", true, [](VideoRig& r) { r.Click(IDCANCEL); }, {kHide, kKill}, false, 0, false},
        {"shown, Enter", true, [](VideoRig& r) { r.Click(IDOK); }, {kHide, kKill}, false, 0, false},
    };
    for (const Row& row : rows) {
        VideoRig rig;
        if (row.startShown) rig.ShowOutside();
        ASSERT_EQ(rig.Visible(), row.startShown) << row.name;
        row.event(rig);
        EXPECT_EQ(rig.windows.calls, row.calls) << row.name;
        EXPECT_EQ(rig.Visible(), row.shownAfter) << row.name;
        EXPECT_EQ(rig.windows.timerRunning(), row.shownAfter) << row.name;
        EXPECT_EQ(rig.bar.HideCountdown(), row.countdownAfter) << row.name;
        EXPECT_EQ(rig.bar.VideoLost(), row.lostAfter) << row.name;
    }
}

// What the host says besides full screen: its version (asked once, when the bar is made) and whether
// video plays (asked when the bar would show, until the playback or full screen changes).
TEST(BarVisibility, HostFactsDecideWhetherTheBarMayShow) {
    // The refresh of a show: status, position, length, volume.
    const HostRequest kStatus = User(0, 104, 1), kPos = User(0, 105, 0), kLen = User(1, 105, 180),
                      kVol = User(static_cast<WPARAM>(-666), 122, 200);
    const struct {
        const char* name;
        int version, videoPlaying;
        bool withVideoWindow;
        Requests firstClick, secondClick;
        bool shown;
        int boxes;
    } rows[] = {
        {"5.x host, video",
         0x5091,
         2,
         true,
         {User(0, 630, 1), kStatus, kPos, kLen, kVol},
         {User(0, 630, 1)},
         true,
         0},
        {"paused video, host saying none plays",
         0x5091,
         0,
         true,
         {User(0, 630, 1), kStatus, kPos, kLen, kVol},
         {User(0, 630, 1)},
         true,
         0},
        {"video window lost",
         0x5091,
         2,
         false,
         {User(0, 630, 1), User(0, 501, 2)},
         {User(0, 630, 1)},
         false,
         1},
        {"visualisation full screen",
         0x5091,
         0,
         false,
         {User(0, 630, 1), User(0, 501, 0)},
         {User(0, 630, 1)},
         false,
         0},
        {"old host: never full screen", 0x2900, 1, true, {}, {}, false, 0},
        {"host answering 1 for video plays",
         0x5000,
         1,
         true,
         {User(0, 630, 1), kStatus, kPos, kLen, kVol},
         {User(0, 630, 1)},
         true,
         0},
    };
    for (const auto& row : rows) {
        BarRig rig;
        rig.player.version = row.version;
        rig.player.videoPlaying = row.videoPlaying;
        if (row.withVideoWindow) rig.windows.AddTopLevel("Winamp Video");
        rig.Create();
        rig.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
        EXPECT_EQ(rig.player.log, row.firstClick) << row.name;
        rig.player.ClearLog();
        rig.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
        EXPECT_EQ(rig.player.log, row.secondClick) << row.name;
        EXPECT_EQ(rig.Visible(), row.shown) << row.name;
        EXPECT_EQ(rig.windows.messageBoxes, row.boxes) << row.name;
    }
    // Once the playback changes, whether video plays is asked again.
    BarRig rig;
    rig.player.videoPlaying = 0;
    rig.Create();
    rig.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
    rig.windows.AddTopLevel("Winamp Video");
    rig.player.videoPlaying = 2;
    rig.bar.OnPlaybackChanged();
    rig.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
    EXPECT_TRUE(rig.Visible());
    // A hidden video window settles nothing: the host is asked, and a visualisation shows no bar.
    BarRig hidden;
    hidden.player.videoPlaying = 0;
    hidden.windows.W(hidden.windows.AddTopLevel("Winamp Video")).visible = false;
    hidden.Create();
    hidden.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
    EXPECT_EQ(hidden.player.log, (Requests{User(0, 630, 1), User(0, 501, 0)}));
    EXPECT_FALSE(hidden.Visible());
}

TEST(BarVisibility, ResumeNoticeShowsForTheHideDelayWithoutTheClipAndOnlyOverFullScreenVideo) {
    VideoRig rig;
    rig.settings.clipmouse = 1;
    rig.settings.hidedelay = 3;
    rig.bar.ShowNotice();
    EXPECT_TRUE(rig.Visible());
    EXPECT_EQ(rig.bar.HideCountdown(), 6);
    EXPECT_EQ(rig.windows.calls, (Calls{"SetWindowPos(bar,TOPMOST,0,0,0,0,0x53)", kTimer, kRefresh}))
        << "no clip, and the keyboard stays with the video";

    VideoRig noVideo;
    noVideo.windows.RemoveTopLevel(noVideo.video);
    noVideo.bar.ShowNotice();
    EXPECT_FALSE(noVideo.Visible());
    EXPECT_EQ(noVideo.windows.messageBoxes, 0) << "without a video window there is no notice, and no box";

    VideoRig notFull;
    notFull.player.fullScreen = false;
    notFull.bar.ShowNotice();
    EXPECT_FALSE(notFull.Visible());

    VideoRig lost;
    lost.windows.RemoveTopLevel(lost.video);
    lost.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
    lost.bar.ShowNotice();
    EXPECT_EQ(lost.windows.messageBoxes, 1) << "the notice raises no second box";
}

TEST(BarVisibility, WheelOverTheSlidersIsUsedUpAndElsewhereGoesOn) {
    VideoRig rig;
    rig.player.position = 100000;
    const RECT seek = rig.windows.ScreenRect(rig.windows.Item(IDC_SEEK));
    const RECT volume = rig.windows.ScreenRect(rig.windows.Item(IDC_VOLUME));
    const auto wheel = [&](LONG x, LONG y, int delta, bool taken = true) {
        MOUSEHOOKSTRUCTEX m{};
        m.pt = POINT{x, y};
        m.mouseData = static_cast<DWORD>(delta) << 16;
        return rig.bar.OnMouseEvent(WM_MOUSEWHEEL, &m, taken);
    };
    EXPECT_FALSE(wheel(seek.left + 5, seek.top + 2, 120)) << "the notch that brings the bar up goes on";
    EXPECT_TRUE(rig.Visible());
    EXPECT_EQ(rig.player.position, 100000);
    EXPECT_TRUE(wheel(seek.left + 5, seek.top + 2, 120));
    EXPECT_EQ(rig.player.position, 110000);
    EXPECT_FALSE(wheel(seek.left + 5, seek.top + 2, 120, false)) << "only a message taken from the queue";
    EXPECT_EQ(rig.player.position, 110000);
    EXPECT_TRUE(wheel(seek.left + 5, seek.top + 2, -60));
    EXPECT_EQ(rig.player.position, 110000) << "half a notch waits for the other half";
    EXPECT_TRUE(wheel(seek.left + 5, seek.top + 2, -60 - 240));
    EXPECT_EQ(rig.player.position, 80000);
    rig.player.position = 175000;
    EXPECT_TRUE(wheel(seek.left + 5, seek.top + 2, 120));
    EXPECT_EQ(rig.player.position, 180000) << "never past the end";
    const LONG volumeY = (volume.top + volume.bottom) / 2;
    EXPECT_TRUE(wheel(volume.left + 2, volumeY, 120));
    EXPECT_EQ(rig.player.volume, 212);
    EXPECT_EQ(rig.Slider(IDC_VOLUME).pos, 43);
    EXPECT_TRUE(wheel(volume.left + 2, volumeY, 120 * 10));
    EXPECT_EQ(rig.player.volume, 255);
    rig.player.volume = INT_MAX; // a host answering nonsense
    EXPECT_TRUE(wheel(volume.left + 2, volumeY, 120));
    EXPECT_EQ(rig.player.volume, 255);
    EXPECT_FALSE(wheel(kOutsideX, kOutsideY, 120)) << "over the video the wheel is the host's";
    EXPECT_FALSE(wheel(kInsideX, kInsideY, 120)) << "elsewhere on the bar too";
}

TEST(BarVisibility, TheKeyboardStaysWhereItWasAndComesBackAfterAClickOnTheBar) {
    VideoRig rig;
    rig.windows.foreground = rig.windows.focus = rig.video;
    rig.ShowOutside();
    EXPECT_EQ(rig.windows.foreground, rig.video) << "shown without taking the keyboard";
    // The button takes the focus, and so the bar the activation, as it is clicked.
    rig.windows.foreground = rig.windows.bar();
    rig.windows.focus = rig.windows.Item(IDC_SKIP_FWD30);
    rig.Mouse(WM_LBUTTONUP, kInsideX, kInsideY);
    EXPECT_EQ(rig.windows.calls.back(), "PostMessage(bar,0x804d)");
    rig.windows.Dispatch(CDlgButtons::kGiveKeyboardBack, 0, 0);
    EXPECT_EQ(rig.windows.foreground, rig.video);
    EXPECT_EQ(rig.windows.focus, rig.video);
    // Hidden while it has the keyboard: the keyboard goes back first.
    rig.windows.foreground = rig.windows.bar();
    rig.windows.Dispatch(WM_CLOSE, 0, 0);
    EXPECT_EQ(rig.windows.foreground, rig.video);
    // A person who has clicked elsewhere meanwhile keeps the keyboard there.
    rig.ShowOutside();
    const HWND other = rig.windows.AddTopLevel("Other");
    rig.windows.foreground = other;
    rig.windows.Dispatch(WM_CLOSE, 0, 0);
    EXPECT_EQ(rig.windows.foreground, other);
    // The window it came from has gone ("Rstr" closed the video): the host's main window has it.
    rig.player.window = rig.windows.AddTopLevel("Winamp v1.x");
    rig.windows.foreground = rig.video;
    rig.ShowOutside();
    rig.windows.W(rig.video).visible = false;
    rig.windows.foreground = rig.windows.bar();
    rig.windows.Dispatch(WM_CLOSE, 0, 0);
    EXPECT_EQ(rig.windows.foreground, rig.player.window);
}

TEST(BarVisibility, ExitHidesThenQuitsTheHost) {
    VideoRig rig;
    rig.ShowOutside();
    rig.Click(IDC_EXIT);
    EXPECT_EQ(rig.player.log, Requests{Command(40001)});
}

TEST(BarVisibility, JitterFilterFollowsTheCursor) {
    VideoRig rig;
    rig.Mouse(WM_MOUSEMOVE, 100, 100);
    EXPECT_EQ(rig.bar.LastMouse().x, 100);
    rig.Mouse(WM_MOUSEMOVE, 101, 101); // d2 = 2: ignored, becomes the sample
    EXPECT_FALSE(rig.Visible());
    EXPECT_EQ(rig.bar.LastMouse().x, 101);
    EXPECT_EQ(rig.bar.LastMouse().y, 101);
    EXPECT_EQ(rig.player.log, (Requests{User(0, 630, 1), User(0, 630, 1)})) << "one request per message";
    rig.Mouse(WM_MOUSEMOVE, 103, 101); // d2 = 4 from the new sample
    EXPECT_TRUE(rig.Visible());
    EXPECT_EQ(rig.bar.LastMouse().x, -1);
}

TEST(BarVisibility, SampleAtXMinusOneCountsAsNone) {
    VideoRig rig;
    rig.Mouse(WM_MOUSEMOVE, -1, 50);
    rig.Mouse(WM_MOUSEMOVE, 5, 50); // would be d2 = 36 against a real sample
    EXPECT_FALSE(rig.Visible());
    EXPECT_EQ(rig.bar.LastMouse().x, 5);
    rig.Mouse(WM_MOUSEMOVE, 6, 50);
    EXPECT_FALSE(rig.Visible());
}

int TicksUntilHidden(VideoRig& rig, int limit = 10) {
    for (int tick = 1; tick <= limit; ++tick) {
        const bool endedHere = rig.Tick();
        if (!rig.Visible()) return endedHere ? tick : -tick;
    }
    return 0;
}

TEST(BarVisibility, CountdownsOutsideClippedAndOnTheBar) {
    VideoRig outside;
    outside.ShowOutside();
    EXPECT_EQ(TicksUntilHidden(outside), 4);

    VideoRig delayed; // the hide delay, in ticks of half a second
    delayed.settings.hidedelay = 5;
    delayed.ShowOutside();
    EXPECT_EQ(TicksUntilHidden(delayed), 10);

    VideoRig clipped;
    clipped.settings.clipmouse = 1;
    clipped.ShowOutside();
    EXPECT_EQ(TicksUntilHidden(clipped), 1);

    VideoRig onBar;
    onBar.ShowOutside();
    onBar.Mouse(WM_MOUSEMOVE, kInsideX, kInsideY);
    EXPECT_EQ(TicksUntilHidden(onBar), 0) << "resting on the bar never hides it";

    VideoRig rearmed; // a message outside restarts the count
    rearmed.ShowOutside();
    rearmed.Tick();
    rearmed.Tick();
    rearmed.Mouse(WM_MOUSEMOVE, kOutsideX + 1, kOutsideY);
    EXPECT_EQ(TicksUntilHidden(rearmed), 4);
}

TEST(BarVisibility, TimersThatAreNotOursOrAFailedTimerChangeNothing) {
    VideoRig rig;
    rig.ShowOutside();
    EXPECT_FALSE(rig.windows.Dispatch(WM_TIMER, 7, 0));
    EXPECT_EQ(rig.bar.HideCountdown(), 4);
    EXPECT_TRUE(rig.player.log.empty());

    VideoRig failed;
    failed.windows.timerAnswer = static_cast<UINT_PTR>(-1);
    failed.ShowOutside();
    EXPECT_TRUE(failed.Visible());
    EXPECT_FALSE(failed.windows.Dispatch(WM_TIMER, 0, 0)) << "no timer: a stray id 0 is not a tick";
    failed.player.fullScreen = false;
    failed.Mouse(WM_MOUSEMOVE, kOutsideX, kOutsideY);
    EXPECT_FALSE(failed.Visible());
    EXPECT_EQ(failed.windows.calls, Calls{kHide}) << "no KillTimer without a timer";
}

TEST(BarVisibility, RightClickPausesInBothStatesOnlyInFullScreen) {
    VideoRig rig;
    rig.Mouse(WM_RBUTTONUP, kOutsideX, kOutsideY);
    EXPECT_TRUE(rig.Visible());
    ASSERT_GE(rig.player.log.size(), 2u);
    EXPECT_EQ(rig.player.log[1], Command(40046));
    rig.player.ClearLog();
    rig.Mouse(WM_RBUTTONUP, kOutsideX, kOutsideY);
    EXPECT_EQ(rig.player.log, (Requests{User(0, 630, 1), Command(40046)}));

    rig.player.ClearLog();
    rig.settings.mousepause = 2; // on means exactly 1
    rig.Mouse(WM_RBUTTONUP, kOutsideX, kOutsideY);
    rig.settings.mousepause = 1;
    rig.player.fullScreen = false;
    rig.Mouse(WM_RBUTTONUP, kOutsideX, kOutsideY);
    EXPECT_EQ(rig.player.log, (Requests{User(0, 630, 1), User(0, 630, 0)}));
}

TEST(BarVisibility, MessageBoxOnceAndNestedMessagesStopAtTheVideoCheck) {
    VideoRig rig;
    rig.windows.RemoveTopLevel(rig.video);
    Requests nested;
    int boxesInside = -1;
    rig.windows.onMessageBox = [&] {
        rig.player.ClearLog();
        rig.Mouse(WM_RBUTTONUP, kOutsideX, kOutsideY);
        rig.Mouse(WM_MOUSEMOVE, kOutsideX + 9, kOutsideY);
        nested = rig.player.log;
        boxesInside = rig.windows.messageBoxes;
    };
    rig.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
    EXPECT_EQ(rig.windows.messageBoxes, 1);
    EXPECT_EQ(boxesInside, 1);
    EXPECT_EQ(nested, (Requests{User(0, 630, 1), User(0, 630, 1)})) << "no pause toggle, no show";
    EXPECT_EQ(
        rig.windows.lastBoxText,
        "It appears the FullScreen has closed but WinAmp hasn't been informed\nThe Morvix will not appear "
        "until it's sorted out\n(Try double clicking on video screen a few times).");
    EXPECT_EQ(rig.windows.lastBoxCaption, "Morvix");
    EXPECT_EQ(rig.windows.lastBoxType, 0u);

    rig.windows.onMessageBox = nullptr;
    MouseDown(rig, kOutsideX, kOutsideY);
    EXPECT_EQ(rig.windows.messageBoxes, 1);
    EXPECT_FALSE(rig.Visible());
    rig.windows.AddTopLevel("winamp video"); // the class name is compared exactly
    MouseDown(rig, kOutsideX, kOutsideY);
    EXPECT_FALSE(rig.Visible());
    rig.windows.AddTopLevel("Winamp Video");
    MouseDown(rig, kOutsideX, kOutsideY); // the message that finds it shows the bar
    EXPECT_TRUE(rig.Visible());
    EXPECT_FALSE(rig.bar.VideoLost());
}

TEST(BarVisibility, ClipNarrowsToTheBarAndGivesBackTheSavedClip) {
    VideoRig rig;
    rig.settings.clipmouse = 1;
    rig.windows.clip = RECT{10, 20, 700, 500};
    rig.ShowOutside();
    const RECT bar = rig.windows.ScreenRect(rig.windows.bar());
    EXPECT_EQ(RectText(rig.windows.clip), RectText(RECT{bar.left, bar.top - 1, bar.right, bar.bottom + 2}));
    rig.Mouse(WM_MOUSEMOVE, kInsideX, bar.top - 1); // the row above the bar is outside it
    EXPECT_EQ(TicksUntilHidden(rig), 1);
    EXPECT_EQ(RectText(rig.windows.clip), "10,20,700,500");
}

TEST(BarVisibility, ClipRestoreFollowsWhatWasSavedNotTheSettingAtHideTime) {
    VideoRig on; // switched off while shown: the cursor is still given back
    on.settings.clipmouse = 1;
    on.ShowOutside();
    on.settings.clipmouse = 0;
    on.windows.calls.clear();
    on.Click(IDC_EXIT);
    EXPECT_EQ(on.windows.calls, (Calls{kHide, kKill, "ClipCursor(0,0,800,600)"}));
    on.windows.calls.clear();
    on.Click(IDC_EXIT); // a second hide restores nothing again
    EXPECT_EQ(on.windows.calls, Calls{kHide});

    VideoRig off; // switched on while shown: nothing was saved, nothing is applied
    off.ShowOutside();
    off.settings.clipmouse = 1;
    off.Click(IDC_EXIT);
    EXPECT_EQ(off.windows.calls, (Calls{kHide, kKill}));
}

TEST(BarVisibility, AClipNotYetGivenBackIsNeverOverwrittenByALaterShow) {
    VideoRig rig;
    rig.settings.clipmouse = 1;
    rig.windows.clip = RECT{10, 20, 700, 500};
    rig.ShowOutside();
    rig.windows.W(rig.windows.bar()).visible = false; // hidden behind the bar's back
    rig.ShowOutside();                                // the clip in force now is the bar's own strip
    rig.Click(IDC_EXIT);
    EXPECT_EQ(RectText(rig.windows.clip), "10,20,700,500");
}

TEST(BarVisibility, DestroyedBarGivesBackTheClipAndIgnoresWhatComesAfter) {
    VideoRig rig;
    rig.settings.clipmouse = 1;
    rig.windows.clip = RECT{10, 20, 700, 500};
    rig.ShowOutside();
    rig.windows.Dispatch(WM_DESTROY, 0, 0);
    EXPECT_EQ(RectText(rig.windows.clip), "10,20,700,500");
    rig.player.ClearLog();
    rig.Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
    rig.bar.SyncVolume();
    EXPECT_TRUE(rig.player.log.empty()) << "no host request once the bar's window is gone";
}

TEST(BarVisibility, MouseBeforeTheBarExistsIsIgnored) {
    BarRig rig;
    rig.Mouse(WM_LBUTTONDOWN, 1, 1);
    rig.bar.OnMouseEvent(WM_LBUTTONDOWN, nullptr);
    EXPECT_TRUE(rig.player.log.empty());
    EXPECT_EQ(rig.windows.messageBoxes, 0);
}

} // namespace
