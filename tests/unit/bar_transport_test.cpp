#include <gtest/gtest.h>

#include <climits>

#include "bar/transport_math.h"
#include "bar_rig.h"
#include "resources/resource_ids.h"

namespace {

using Requests = std::vector<HostRequest>;

// The three requests of a clock refresh after a jump to pos (the fake player is playing).
Requests Refresh(int pos, int lengthSeconds = 180) {
    return {User(0, 104, 1), User(0, 105, pos), User(1, 105, lengthSeconds)};
}

Requests Concat(Requests a, const Requests& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ClickCase {
    const char* name;
    int button;
    int position;
    Requests want;
};

TEST(BarTransport, ButtonClicksSendExactlyTheirRequests) {
    const ClickCase cases[] = {
        {"back 30 at 12 s", IDC_SKIP_BACK30, 12000, Concat({User(0, 105, 12000), User(0, 106)}, Refresh(0))},
        {"back 10 at 25 s", IDC_SKIP_BACK10, 25000,
         Concat({User(0, 105, 25000), User(15000, 106)}, Refresh(15000))},
        {"fwd 10 at 175 s", IDC_SKIP_FWD10, 175000,
         Concat({User(0, 105, 175000), User(1, 105, 180), User(180000, 106)}, Refresh(180000))},
        {"fwd 10 at 100 s", IDC_SKIP_FWD10, 100000,
         Concat({User(0, 105, 100000), User(1, 105, 180), User(110000, 106)}, Refresh(110000))},
        {"fwd 30 at 100 s", IDC_SKIP_FWD30, 100000,
         Concat({User(0, 105, 100000), User(1, 105, 180), User(130000, 106)}, Refresh(130000))},
        {"back 5", IDC_SKIP_BACK5, 100000, {Command(40061)}},
        {"fwd 5", IDC_SKIP_FWD5, 100000, {Command(40060)}},
        {"play/pause", IDC_PLAYPAUSE, 100000, {Command(40046)}},
        {"back 30, nothing playing", IDC_SKIP_BACK30, -1, {User(0, 105, -1)}},
        {"back 10, nothing playing", IDC_SKIP_BACK10, -1, {User(0, 105, -1)}},
        {"fwd 10, nothing playing", IDC_SKIP_FWD10, -1, {User(0, 105, -1)}},
        {"fwd 30, nothing playing", IDC_SKIP_FWD30, -1, {User(0, 105, -1)}},
    };
    for (const ClickCase& c : cases) {
        BarRig rig;
        rig.Create();
        rig.player.position = c.position;
        rig.ClockText() = "unchanged";
        rig.Click(c.button);
        EXPECT_EQ(rig.player.log, c.want) << c.name;
        if (c.position == -1) {
            EXPECT_EQ(rig.ClockText(), "unchanged") << c.name;
        }
    }
}

TEST(BarTransport, ForwardSkipWithoutALengthSendsNoJump) {
    BarRig rig;
    rig.Create();
    rig.player.position = 100000;
    rig.player.lengthSeconds = -1;
    rig.Click(IDC_SKIP_FWD30);
    EXPECT_EQ(rig.player.log, (Requests{User(0, 105, 100000), User(1, 105, -1)}));
    EXPECT_FALSE(SkipForwardTarget(100000, 30000, -1).has_value());
    EXPECT_EQ(SkipForwardTarget(-50000, 10000, 180000), 0) << "never a negative target";
    EXPECT_EQ(SkipForwardTarget(INT_MAX - 5, 30000, INT_MAX), INT_MAX) << "no wrap near the end of the range";
    EXPECT_EQ(SkipBackTarget(INT_MIN + 5, 30000), 0);
}

TEST(BarTransport, SeekSliderJumpsToItsShareOfTheLength) {
    struct {
        int slider, lengthSeconds;
        Requests want;
    } const cases[] = {
        {500, 180, {User(1, 105, 180), User(90000, 106)}},
        {1000, 180, {User(1, 105, 180), User(180000, 106)}},
        {700, 0, {User(1, 105, 0), User(0, 106)}},
        {500, -1, {User(1, 105, -1)}},
    };
    for (const auto& c : cases) {
        BarRig rig;
        rig.Create();
        rig.player.lengthSeconds = c.lengthSeconds;
        rig.Scroll(IDC_SEEK, c.slider);
        EXPECT_EQ(rig.player.log, c.want) << "slider " << c.slider << " length " << c.lengthSeconds;
    }
    EXPECT_EQ(SeekTarget(0xFFFFFFFFu, INT_MAX), INT_MAX) << "a nonsense slider position saturates";
}

TEST(BarTransport, VolumeSliderIsInvertedBothWays) {
    BarRig rig;
    rig.Create();
    rig.Scroll(IDC_VOLUME, 0, WM_VSCROLL);
    rig.Scroll(IDC_VOLUME, 255, WM_VSCROLL);
    EXPECT_EQ(rig.player.log, (Requests{User(255, 122), User(0, 122)}));
    rig.player.volume = 200;
    rig.bar.SyncVolume();
    EXPECT_EQ(rig.Slider(IDC_VOLUME).pos, 55);
    // Answers out of range move the slider to its end, with no overflow on the way.
    const std::pair<int, int> outOfRange[] = {{INT_MIN, 255}, {-1, 255}, {256, 0}, {INT_MAX, 0}};
    for (const auto& [volume, pos] : outOfRange) {
        rig.Slider(IDC_VOLUME).pos = 100;
        rig.player.volume = volume;
        rig.bar.SyncVolume();
        EXPECT_EQ(rig.Slider(IDC_VOLUME).pos, pos) << "volume " << volume;
    }
    // Vertical scrolls from anything but the volume slider, horizontal ones from it, do nothing.
    rig.player.ClearLog();
    rig.Scroll(IDC_SEEK, 3, WM_VSCROLL);
    rig.Scroll(IDC_VOLUME, 3, WM_HSCROLL);
    EXPECT_TRUE(rig.player.log.empty());
}

TEST(BarTransport, VolumeSyncBeforeTheBarExistsAsksTheHostNothing) {
    BarRig rig;
    rig.bar.SyncVolume(); // no window yet: nothing to move, nothing to ask
    EXPECT_TRUE(rig.player.log.empty());
}

TEST(BarShuttle, StoresThePositionAndSpringsBackOnRelease) {
    BarRig rig;
    rig.Create();
    rig.Scroll(IDC_SHUTTLE, -37);
    EXPECT_EQ(rig.bar.Shuttle(), -37);
    NMHDR header{rig.windows.Item(IDC_SHUTTLE), IDC_SHUTTLE, NM_RELEASEDCAPTURE};
    LRESULT result = -1;
    EXPECT_TRUE(rig.windows.Dispatch(WM_NOTIFY, IDC_SHUTTLE, reinterpret_cast<LPARAM>(&header), &result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(rig.bar.Shuttle(), 0);
    EXPECT_EQ(rig.Slider(IDC_SHUTTLE).pos, 0);
    EXPECT_TRUE(rig.player.log.empty());
}

// Jump targets sent while winding, tick after tick, until the winding ends.
std::vector<int> WindUntilDone(VideoRig& rig, int shuttle, int maxTicks = 20) {
    rig.Scroll(IDC_SHUTTLE, shuttle);
    std::vector<int> jumps;
    for (int i = 0; i < maxTicks && rig.bar.Shuttle() != 0; ++i) {
        rig.player.ClearLog();
        rig.Tick();
        for (const HostRequest& r : rig.player.log)
            if (r.lParam == 106) jumps.push_back(static_cast<int>(r.wParam));
    }
    return jumps;
}

TEST(BarShuttle, WindsForwardToTheEndAndStops) {
    VideoRig rig;
    rig.settings.fastwind = 10;
    rig.ShowOutside();
    rig.Mouse(WM_MOUSEMOVE, kInsideX, kInsideY); // rests on the bar: no hide while winding
    rig.player.position = 150000;
    EXPECT_EQ(WindUntilDone(rig, 100), (std::vector<int>{160000, 170000, 180000}));
    EXPECT_EQ(rig.Slider(IDC_SHUTTLE).pos, 100) << "the thumb stays until released";

    rig.player.position = 175000; // the next step would pass the end: nothing sent, winding ends
    EXPECT_EQ(WindUntilDone(rig, 100), std::vector<int>{});
    EXPECT_EQ(rig.bar.Shuttle(), 0);
}

TEST(BarShuttle, WindsBackToTheStart) {
    VideoRig rig;
    rig.settings.fastwind = 3;
    rig.Mouse(WM_MOUSEMOVE, kInsideX, kInsideY);
    rig.Mouse(WM_LBUTTONDOWN, kInsideX, kInsideY);
    rig.player.position = 2500;
    EXPECT_EQ(WindUntilDone(rig, -37), (std::vector<int>{1390, 280, 0}));
}

TEST(BarShuttle, FastwindZeroHoldsAndNegativeWindsAgainstTheThumb) {
    VideoRig rig;
    rig.Mouse(WM_LBUTTONDOWN, kInsideX, kInsideY);
    rig.settings.fastwind = 0;
    rig.player.position = 50000;
    EXPECT_EQ(WindUntilDone(rig, 60, 3), (std::vector<int>{50000, 50000, 50000}));
    EXPECT_EQ(rig.bar.Shuttle(), 60);
    rig.settings.fastwind = -10;
    EXPECT_EQ(WindUntilDone(rig, 100, 2), (std::vector<int>{40000, 30000}));
}

TEST(BarShuttle, HugeFastwindSaturatesInsteadOfWrapping) {
    WindStep forward = Wind(100000, 180000, 100, INT_MAX);
    EXPECT_FALSE(forward.jump);
    EXPECT_TRUE(forward.finish);
    WindStep back = Wind(100000, 180000, -100, INT_MAX);
    EXPECT_TRUE(back.jump);
    EXPECT_EQ(back.target, 0);
    EXPECT_TRUE(back.finish);
    WindStep noLength = Wind(100000, -1, 10, 30);
    EXPECT_FALSE(noLength.jump);
    EXPECT_TRUE(noLength.finish);
}

TEST(BarShuttle, NothingPlayingEndsWinding) {
    VideoRig rig;
    rig.Mouse(WM_LBUTTONDOWN, kInsideX, kInsideY);
    rig.player.position = -1;
    EXPECT_EQ(WindUntilDone(rig, 50), std::vector<int>{});
    EXPECT_EQ(rig.bar.Shuttle(), 0);
}

TEST(BarTick, WindsThenBlinksThenRefreshes) {
    VideoRig rig;
    rig.settings.fastwind = 10;
    rig.Mouse(WM_LBUTTONDOWN, kInsideX, kInsideY);
    rig.Scroll(IDC_SHUTTLE, 100);
    rig.player.status = 3;
    rig.player.position = 20000;
    rig.player.ClearLog();
    rig.Tick();
    // Still full screen? (Left by a key, no mouse message would hide the bar.)
    const Requests want{User(0, 630, 1), User(0, 105, 20000), User(1, 105, 180),   User(30000, 106),
                        User(0, 104, 3), User(0, 104, 3),     User(0, 105, 30000), User(1, 105, 180)};
    EXPECT_EQ(rig.player.log, want);
}

} // namespace
