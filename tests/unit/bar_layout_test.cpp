#include <gtest/gtest.h>

#include "bar/bar_layout.h"
#include "bar/mouse_rules.h"
#include "bar_rig.h"
#include "resources/resource_ids.h"

namespace {

Placement Stretch(int screen, int templateWidth, RECT child) {
    return StretchChild(child, StretchFactor(screen, templateWidth));
}

void ExpectPlacement(const Placement& got, int x, int y, int cx, int cy) {
    EXPECT_EQ(got.x, x);
    EXPECT_EQ(got.y, y);
    EXPECT_EQ(got.cx, cx);
    EXPECT_EQ(got.cy, cy);
}

TEST(BarLayout, ChildrenStretchHorizontallyByTheScreenFactorAndKeepTheirRows) {
    ExpectPlacement(Stretch(800, 640, RECT{100, 7, 300, 24}), 125, 7, 250, 17);
    // 700 / 640 = 1.09375: 109.375 and 219.84 are both truncated.
    ExpectPlacement(Stretch(700, 640, RECT{100, 7, 301, 24}), 109, 7, 219, 17);
    // A screen narrower than the template shrinks by the same rule.
    ExpectPlacement(Stretch(480, 640, RECT{101, 30, 303, 60}), 75, 30, 151, 30);
}

TEST(BarLayout, FactorIsSinglePrecision) {
    // 1440 / 673 in double would give exactly 1440 here; the float factor gives 1439.
    ExpectPlacement(Stretch(1440, 673, RECT{673, 0, 1346, 10}), 1439, 0, 1439, 10);
}

TEST(BarLayout, BarSitsOnTheFullScreenBottomAtFullWidth) {
    ExpectPlacement(PlaceBar(RECT{30, 40, 670, 140}, 1280, 1035), 0, 935, 1280, 100);
    // On the primary monitor, or one the system could not describe, the full-screen metrics place it;
    // on another monitor its own rectangle does.
    const RECT bar{30, 40, 670, 140};
    ExpectPlacement(PlaceBarOnMonitor(bar, RECT{0, 0, 1280, 1024}, true, 1280, 1004), 0, 904, 1280, 100);
    // A full-screen height past the monitor's bottom (Wine's) would cut the bar off: it is moved up.
    ExpectPlacement(PlaceBarOnMonitor(bar, RECT{0, 0, 1280, 1024}, true, 1280, 1035), 0, 924, 1280, 100);
    ExpectPlacement(PlaceBarOnMonitor(bar, RECT{1280, 0, 2304, 768}, false, 1280, 1035), 1280, 668, 1024,
                    100);
    ExpectPlacement(PlaceBarOnMonitor(bar, RECT{-1024, 200, 0, 968}, false, 1280, 1035), -1024, 868, 1024,
                    100);
    ExpectPlacement(PlaceBarOnMonitor(bar, RECT{0, 0, 0, 0}, false, 1280, 1035), 0, 935, 1280, 100);
    // A template without width leaves the children alone instead of dividing by zero.
    EXPECT_EQ(StretchFactor(800, 0), 1.0f);
}

TEST(BarLayout, TheSliderPositionUnderTheCursorFollowsTheTrackbarsOwnMapping) {
    // A channel from x 10 to 421 with a 10-pixel thumb: positions 0..1000 over x 15..415.
    const RECT channel{10, 0, 421, 4};
    const struct { int x, pos; } rows[] = {{15, 0}, {215, 500}, {415, 1000}, {115, 250}, {0, 0}, {900, 1000}};
    for (const auto& row : rows)
        EXPECT_EQ(SliderPosAt(row.x, channel, 10, 1000), row.pos) << "x " << row.x;
    EXPECT_EQ(SliderPosAt(50, RECT{10, 0, 15, 4}, 10, 1000), 0) << "a channel without room";
}

TEST(BarWindow, InitPlacesTheBarHiddenAndStretchesEveryChild) {
    BarRig rig;
    rig.windows.barRect = RECT{0, 0, 640, 100};
    rig.windows.children = {{IDC_SEEK, "msctls_trackbar32", {100, 7, 300, 24}},
                            {IDC_TIME, "Static", {10, 30, 60, 60}}};
    rig.bar.Create(nullptr);
    const std::vector<std::string> want{
        "SetWindowPos(bar,TOPMOST,0,500,800,100,0x98)",
        "SetWindowPos(#2013,null,125,7,250,17,0x21c)",
        "SetWindowPos(#2003,null,12,30,62,30,0x21c)",
    };
    EXPECT_EQ(rig.windows.calls, want);
    EXPECT_FALSE(rig.Visible());
    EXPECT_EQ(RectText(rig.windows.ScreenRect(rig.windows.bar())), "0,500,800,600");
    EXPECT_EQ(rig.player.log, std::vector<HostRequest>{User(0, 0, 0x5091)})
        << "creating the bar asks the version only";
}

TEST(BarWindow, ShowingOverVideoOnAnotherMonitorMovesTheBarThereAndBack) {
    VideoRig rig;
    rig.windows.monitor = RECT{800, 0, 1824, 768};
    rig.windows.monitorPrimary = false;
    rig.settings.clipmouse = 1;
    rig.Mouse(WM_LBUTTONDOWN, 1000, 100);
    ASSERT_TRUE(rig.Visible());
    EXPECT_EQ(RectText(rig.windows.ScreenRect(rig.windows.bar())), "800,702,1824,768");
    // 1024 / 673 from the template's rectangles, not from the ones stretched for 800 pixels.
    EXPECT_EQ(RectText(rig.windows.W(rig.windows.Item(IDC_SEEK)).rect), "1,7,1020,24");
    EXPECT_EQ(RectText(rig.windows.clip), "800,701,1824,770") << "the clip stays on that monitor";
    EXPECT_EQ(rig.bar.HideCountdown(), 1);

    rig.Tick(); // the clip's countdown hides it
    rig.windows.monitor = RECT{0, 0, 800, 600};
    rig.windows.monitorPrimary = true;
    rig.windows.calls.clear();
    rig.Mouse(WM_LBUTTONDOWN, 400, 100);
    EXPECT_EQ(RectText(rig.windows.ScreenRect(rig.windows.bar())), "0,534,800,600");
    EXPECT_EQ(RectText(rig.windows.W(rig.windows.Item(IDC_SEEK)).rect), "1,7,797,24");
    EXPECT_EQ(rig.windows.calls.front(), "SetWindowPos(bar,TOPMOST,0,534,800,66,0x98)");

    rig.Tick();
    rig.windows.calls.clear();
    rig.Mouse(WM_LBUTTONDOWN, 400, 100);
    EXPECT_EQ(rig.windows.calls.front(), "SetWindowPos(bar,TOPMOST,0,0,0,0,0x53)")
        << "in place: not moved again";
}

// The option is read at each show: the options dialog changes it while the bar is hidden.
TEST(BarWindow, ThePreviousAndNextButtonsComeAndGoWithTheirOptionAtTheNextShow) {
    VideoRig rig;
    const auto rect = [&rig](int id) { return RectText(rig.windows.W(rig.windows.Item(id)).rect); };
    const auto shown = [&rig](int id) { return rig.windows.W(rig.windows.Item(id)).visible; };
    EXPECT_FALSE(shown(IDC_PREVIOUS) || shown(IDC_NEXT));
    rig.settings.listbuttons = 1;
    rig.ShowOutside();
    // 800 / 673 of the template: the shuttle from 7 to 393, the buttons at 395 and 418, 21 wide.
    EXPECT_EQ(rect(IDC_SHUTTLE), "8,38,466,59");
    EXPECT_EQ(rect(IDC_PREVIOUS), "469,45,493,59");
    EXPECT_EQ(rect(IDC_NEXT), "496,45,520,59");
    EXPECT_TRUE(shown(IDC_PREVIOUS) && shown(IDC_NEXT));
    rig.windows.Dispatch(WM_CLOSE, 0, 0);
    rig.settings.listbuttons = 0;
    rig.ShowOutside();
    EXPECT_EQ(rect(IDC_SHUTTLE), "8,38,521,59");
    EXPECT_FALSE(shown(IDC_PREVIOUS) || shown(IDC_NEXT));
    // Two buttons apart by nothing, or in the wrong order, leave the shuttle no narrower than its left edge.
    EXPECT_EQ(RectText(ShuttleBesideListButtons(RECT{7, 38, 439, 59}, RECT{5, 45, 26, 59}, RECT{28, 45, 49, 59})),
              "7,38,7,59");
}

TEST(BarWindow, InitSetsSliderRangesTicksAndTheClockFont) {
    FakeHost player;
    CWinampIPC host(player);
    Settings settings;
    FakeBarWindows windows;
    HFONT font = nullptr;
    {
        MemoryProfileStore profile;
        CDlgButtons bar(host, settings, windows, profile);
        bar.Create(nullptr);
        const FakeWindow& shuttle = windows.W(windows.Item(IDC_SHUTTLE));
        EXPECT_EQ(shuttle.rangeMin, -100);
        EXPECT_EQ(shuttle.rangeMax, 100);
        EXPECT_EQ(shuttle.pos, 0);
        EXPECT_EQ(shuttle.ticFreq, 20);
        const FakeWindow& volume = windows.W(windows.Item(IDC_VOLUME));
        EXPECT_EQ(volume.rangeMin, 0);
        EXPECT_EQ(volume.rangeMax, 255);
        EXPECT_EQ(volume.ticFreq, 25);
        const FakeWindow& seek = windows.W(windows.Item(IDC_SEEK));
        EXPECT_EQ(seek.rangeMin, 0);
        EXPECT_EQ(seek.rangeMax, 1000);

        ASSERT_EQ(windows.fonts.size(), 1u);
        const FontRequest& f = windows.fonts[0];
        EXPECT_EQ(f.height, 40);
        EXPECT_EQ(f.weight, 700);
        EXPECT_EQ(f.width, 0);
        EXPECT_EQ(f.escapement, 0);
        EXPECT_EQ(f.orientation, 0);
        EXPECT_EQ(f.italic, 0u);
        EXPECT_EQ(f.underline, 0u);
        EXPECT_EQ(f.strikeOut, 0u);
        EXPECT_EQ(f.charSet, 0u);
        EXPECT_EQ(f.outPrecision, 0u);
        EXPECT_EQ(f.clipPrecision, 0u);
        EXPECT_EQ(f.quality, 0u);
        EXPECT_EQ(f.pitchAndFamily, 0x20u);
        EXPECT_EQ(f.face, "Arial");
        const FakeWindow& clock = windows.W(windows.Item(IDC_TIME));
        font = clock.font;
        EXPECT_NE(font, nullptr);
        EXPECT_EQ(clock.fontRedraw, TRUE);
        EXPECT_TRUE(windows.deleted.empty());
    }
    EXPECT_EQ(windows.deleted, std::vector<HGDIOBJ>{font}) << "the bar deletes its clock font exactly once";
}

} // namespace

// 200%: the clock's font and the time tip in proportion; a show at another scale makes the font again.
TEST(BarWindow, TheClockFontAndTheTipFollowTheBarsScale) {
    BarRig rig;
    rig.windows.dpi = 192;
    rig.windows.AddTopLevel("Winamp Video");
    rig.Create();
    EXPECT_EQ(rig.windows.fonts.back().height, 80);
    rig.windows.dpi = 144; // shown on a monitor of another scale
    rig.Mouse(WM_LBUTTONDOWN, 400, 100);
    ASSERT_TRUE(rig.Visible());
    EXPECT_EQ(rig.windows.fonts.back().height, 60);
    EXPECT_EQ(rig.windows.deleted.size(), 1u) << "the 80-pixel font, once the clock has the new one";
    const RECT bar = rig.windows.ScreenRect(rig.windows.bar());
    const RECT seek = rig.windows.ScreenRect(rig.windows.Item(IDC_SEEK));
    rig.Mouse(WM_MOUSEMOVE, seek.left + 1, (seek.top + seek.bottom) / 2);
    const RECT tip = rig.windows.ScreenRect(rig.bar.TimeTip());
    EXPECT_EQ(tip.left, bar.left) << "kept on the monitor at its left edge";
    EXPECT_EQ(tip.bottom - tip.top, 27) << "18 pixels at 96 DPI";
    EXPECT_EQ(tip.bottom, bar.top - 3);
}
