#include <gtest/gtest.h>

#include "bar/clock_text.h"
#include "bar_rig.h"
#include "resources/resource_ids.h"

namespace {

TEST(BarClockText, HoursOnlyWithShowHours) {
    const int time = (3600 + 2 * 60 + 3) * 1000;
    EXPECT_EQ(ClockText(time, true), "1:02:03");
    EXPECT_EQ(ClockText(time, false), "62:03");
}

TEST(BarClockText, SecondsTruncateAndNothingPlayingReadsZero) {
    EXPECT_EQ(ClockText(59999, false), "0:59");
    EXPECT_EQ(ClockText(59999, true), "0:00:59");
    EXPECT_EQ(ClockText(-1, false), "0:00");
    EXPECT_EQ(ClockText(-1, true), "0:00:00");
    EXPECT_EQ(ClockText(2147483647, true), "596:31:23");
    EXPECT_STREQ(ClockPlaceholder(true), "-:--:--");
    EXPECT_STREQ(ClockPlaceholder(false), "--:--");
}

TEST(BarClockText, TimeLeftIsTheLengthLessThePositionNeverBelowZero) {
    EXPECT_EQ(ClockTextLeft(123000, 600000, true), "-0:07:57");
    EXPECT_EQ(ClockTextLeft(123000, 600000, false), "-7:57");
    EXPECT_EQ(ClockTextLeft(700000, 600000, true), "-0:00:00");
    EXPECT_EQ(ClockTextLeft(123000, -1, true), "0:02:03") << "no length: the position";
    EXPECT_EQ(ClockTextLeft(-1, 600000, true), "0:00:00") << "nothing plays";
}

TEST(BarClock, AClickOnTheClockSwitchesToTheTimeLeftKeepsItAndBlinksAsBefore) {
    VideoRig rig;
    rig.player.position = 90500;
    rig.ShowOutside();
    rig.Click(IDC_TIME);
    EXPECT_EQ(rig.ClockText(), "-0:01:29");
    EXPECT_EQ(rig.settings.remaining, 1);
    EXPECT_EQ(rig.profile.Value(rig.player.iniFile, "gen_morvix", "remaining"), "1");
    rig.player.status = 3;
    rig.Tick();
    EXPECT_EQ(rig.ClockText(), "-:--:--");
    rig.Tick();
    EXPECT_EQ(rig.ClockText(), "-0:01:29");
    rig.Click(IDC_TIME);
    EXPECT_EQ(rig.ClockText(), "0:01:30");
    EXPECT_EQ(rig.profile.Value(rig.player.iniFile, "gen_morvix", "remaining"), "0");
}

TEST(BarClock, UpdateTimeAsksStatusPositionLengthAndMovesTheSeekSelection) {
    BarRig rig;
    rig.Create();
    rig.player.position = 90500;
    rig.player.lengthSeconds = 180;
    rig.bar.UpdateTime();
    const std::vector<HostRequest> want{User(0, 104, 1), User(0, 105, 90500), User(1, 105, 180)};
    EXPECT_EQ(rig.player.log, want);
    EXPECT_EQ(rig.ClockText(), "0:01:30");
    EXPECT_EQ(rig.Slider(2013).pos, 502);
    EXPECT_EQ(rig.Slider(2013).selStart, 0);
    EXPECT_EQ(rig.Slider(2013).selEnd, 502);
    EXPECT_EQ(rig.windows.calls, std::vector<std::string>{"RedrawWindow(#2013,0x105)"});
}

TEST(BarClock, SeekSliderStaysInRangeWithoutAUsableLength) {
    BarRig rig;
    rig.Create();
    for (int length : {0, -1}) {
        rig.player.lengthSeconds = length;
        rig.player.position = 5000;
        rig.bar.UpdateTime();
        EXPECT_EQ(rig.Slider(2013).pos, 0) << "length " << length;
        EXPECT_EQ(rig.Slider(2013).selEnd, 0) << "length " << length;
    }
    rig.player.lengthSeconds = 10;
    rig.player.position = 60000; // past the end: the selection does not overrun the slider
    rig.bar.UpdateTime();
    EXPECT_EQ(rig.Slider(2013).selEnd, 1000);
}

TEST(BarClock, BlinksWhilePausedAndKeepsThePlaceholderAfterStop) {
    VideoRig rig;
    rig.settings.showhours = 0;
    rig.player.position = 62000;
    rig.Mouse(WM_LBUTTONDOWN, kInsideX, kInsideY); // shown, no hide pending
    ASSERT_TRUE(rig.Visible());
    EXPECT_EQ(rig.ClockText(), "1:02");

    rig.player.status = 3;
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        rig.Tick();
        seen.push_back(rig.ClockText());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"--:--", "1:02", "--:--", "1:02"}));

    rig.Tick(); // blink off, then the player stops
    rig.player.status = 0;
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(rig.ClockText(), "--:--");
    rig.player.status = 1;
    rig.Tick();
    EXPECT_EQ(rig.ClockText(), "1:02");
}

} // namespace
