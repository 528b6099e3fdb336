#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/colour_slider.h"
#include "fake_slider_windows.h"

namespace {

// A scheme whose every derived colour is distinct, so a pixel names the colour that painted it.
constexpr COLORREF kBackground = 0xff00ff;
constexpr COLORREF kFrame = 0x0000ff;      // COLOR_WINDOWFRAME
constexpr COLORREF kChannel = 0x00ffff;    // COLOR_WINDOW
constexpr COLORREF kSelection = 0xff0000;  // COLOR_HIGHLIGHT
constexpr COLORREF kFace = 0x808080;       // COLOR_BTNFACE
constexpr COLORREF kLight = 0xb3b3b3;      // face + 51
constexpr COLORREF kLighter = 0xe6e6e6;    // face + 102
constexpr COLORREF kDark = 0x4d4d4d;       // face - 51
constexpr COLORREF kDarker = 0x1a1a1a;     // face - 102
constexpr COLORREF kDeepShadow = 0x202020; // mean of shadow 0x404040 and dark shadow 0
constexpr COLORREF kHalfShadow = 0x606060; // mean of face and shadow
constexpr COLORREF kHilight = 0xffffff;    // COLOR_BTNHIGHLIGHT
const HDC kDc = reinterpret_cast<HDC>(std::uintptr_t{0x5dc});

const std::map<COLORREF, char> kArtColours{{kBackground, '.'}, {kFrame, '#'}, {kFace, 'o'},  {kLight, 'l'},
                                           {kLighter, 'L'},    {kDark, 'd'},  {kDarker, 'D'}};

// The rectangle's pixels as rows of characters; '?' for a corner pixel the back-end chooses, 'X' for a
// colour outside the art palette.
std::string Art(const RasterCanvas& canvas, const RECT& rc) {
    std::string art;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const auto found = kArtColours.find(canvas.Pixel(x, y));
            art += canvas.IsBackEndPixel(x, y) ? '?' : found == kArtColours.end() ? 'X' : found->second;
        }
        art += '\n';
    }
    return art;
}

std::string Rows(std::initializer_list<std::string> rows) {
    std::string art;
    for (const std::string& row : rows)
        art += row + '\n';
    return art;
}

int Count(const RasterCanvas& canvas, COLORREF colour) {
    int n = 0;
    for (const COLORREF pixel : canvas.Pixels())
        n += pixel == colour;
    return n;
}

class ColourSlider : public ::testing::Test {
protected:
    ColourSlider() : windows(640, 48, kBackground) {
        windows.sysColours = {{COLOR_WINDOW, kChannel},      {COLOR_WINDOWFRAME, kFrame},
                              {COLOR_HIGHLIGHT, kSelection}, {COLOR_BTNFACE, kFace},
                              {COLOR_BTNSHADOW, 0x404040},   {COLOR_BTNHIGHLIGHT, kHilight},
                              {COLOR_3DDKSHADOW, 0x000000}};
        slider = std::make_unique<CColourSliderCtrl>(windows);
        slider->Attach(reinterpret_cast<HWND>(std::uintptr_t{0x2013}));
    }

    LRESULT Notify(DWORD stage, DWORD_PTR item = 0, RECT rc = RECT{0, 0, 0, 0}, UINT state = 0,
                   HDC dc = kDc) {
        NMCUSTOMDRAW draw{};
        draw.hdr.code = NM_CUSTOMDRAW;
        draw.dwDrawStage = stage;
        draw.hdc = dc;
        draw.rc = rc;
        draw.dwItemSpec = item;
        draw.uItemState = state;
        return slider->OnCustomDraw(draw);
    }
    LRESULT PaintThumb(RECT rc, UINT state = 0) { return Notify(CDDS_ITEMPREPAINT, TBCD_THUMB, rc, state); }
    LRESULT PaintChannel(RECT rc) { return Notify(CDDS_ITEMPREPAINT, TBCD_CHANNEL, rc); }

    // After every paint the context is handed back as it came and only the eight pens live on.
    void ExpectContextRestored() {
        EXPECT_EQ(0, windows.canvas.SavedStates());
        EXPECT_EQ(RasterCanvas::DefaultPen(), windows.canvas.SelectedPen());
        EXPECT_EQ(RasterCanvas::DefaultBrush(), windows.canvas.SelectedBrush());
        EXPECT_EQ(8, windows.LivePens());
        EXPECT_EQ(0, windows.LiveBrushes());
        EXPECT_EQ(0, windows.badDeletes);
        EXPECT_EQ(0, windows.deletesWhileSelected);
    }

    FakeSliderWindows windows;
    std::unique_ptr<CColourSliderCtrl> slider;
};

// ---- palette and pens ----

TEST_F(ColourSlider, ConstructionMakesTheEightPensFromTheSystemColoursInOrder) {
    EXPECT_EQ(
        (std::vector<COLORREF>{kFace, kLight, kLighter, kDark, kDarker, kDeepShadow, kHalfShadow, kHilight}),
        windows.LivePenColours());

    FakeSliderWindows classic;
    classic.sysColours[COLOR_BTNFACE] = 0xAAC0C0C0; // byte 3 set: must not reach any derived colour
    const CColourSliderCtrl grey(classic);
    EXPECT_EQ((std::vector<COLORREF>{0xc0c0c0, 0xf3f3f3, 0xf3f3f3, 0x8d8d8d, 0x5a5a5a, 0x606060, 0xa0a0a0,
                                     0xffffff}),
              classic.LivePenColours());
}

TEST_F(ColourSlider, CreatePensTwiceLeavesExactlyEightPens) {
    const int before = windows.pensMade;
    slider->CreatePens();
    slider->CreatePens();
    EXPECT_EQ(before + 16, windows.pensMade);
    EXPECT_EQ(8, windows.LivePens());
    EXPECT_EQ(0, windows.badDeletes);
}

TEST_F(ColourSlider, DestructionDeletesEveryPen) {
    slider.reset();
    EXPECT_EQ(0, windows.LivePens());
    EXPECT_EQ(0, windows.badDeletes);
}

TEST(ColourSliderPens, PensThatCouldNotBeMadeAreSkippedAndPaintingGoesOn) {
    FakeSliderWindows windows(64, 32);
    windows.failPens = true;
    {
        CColourSliderCtrl slider(windows);
        slider.DeletePens();
        NMCUSTOMDRAW draw{};
        draw.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.hdc = kDc;
        draw.dwItemSpec = TBCD_CHANNEL;
        draw.rc = RECT{4, 4, 60, 16};
        EXPECT_EQ(CDRF_SKIPDEFAULT, slider.OnCustomDraw(draw));
        EXPECT_EQ(0xffffffu, windows.canvas.Pixel(30, 10)) << "channel still filled with the window colour";
    }
    EXPECT_EQ(0, windows.badDeletes);
    EXPECT_EQ(0, windows.LiveBrushes());
}

// ---- notification results ----

TEST_F(ColourSlider, AnswersEachStageAndItem) {
    struct Case {
        DWORD stage;
        DWORD_PTR item;
        LRESULT result;
        bool paints;
    };
    const RECT rc{20, 10, 31, 31};
    for (const Case c : {Case{CDDS_PREPAINT, 0, CDRF_NOTIFYITEMDRAW, false},
                         Case{CDDS_ITEMPREPAINT, TBCD_TICS, CDRF_DODEFAULT, false},
                         Case{CDDS_ITEMPREPAINT, TBCD_THUMB, CDRF_SKIPDEFAULT, true},
                         Case{CDDS_ITEMPREPAINT, TBCD_CHANNEL, CDRF_SKIPDEFAULT, true},
                         Case{CDDS_ITEMPREPAINT, 7, CDRF_SKIPDEFAULT, false},
                         Case{0x2 /* CDDS_POSTPAINT */, 0, CDRF_DODEFAULT, false},
                         Case{0x3 /* CDDS_PREERASE */, 0, CDRF_DODEFAULT, false},
                         Case{CDDS_ITEM | 0x2 /* CDDS_ITEMPOSTPAINT */, TBCD_THUMB, CDRF_DODEFAULT, false}}) {
        windows.canvas.Fill(kBackground);
        EXPECT_EQ(c.result, Notify(c.stage, c.item, rc)) << "stage " << c.stage << " item " << c.item;
        EXPECT_EQ(c.paints, Count(windows.canvas, kBackground) != 640 * 48)
            << "stage " << c.stage << " item " << c.item;
        ExpectContextRestored();
    }
}

TEST_F(ColourSlider, WithoutADeviceContextLeavesThePaintingToTheTrackbar) {
    EXPECT_EQ(CDRF_DODEFAULT, Notify(CDDS_ITEMPREPAINT, TBCD_THUMB, RECT{0, 0, 11, 21}, 0, nullptr));
    EXPECT_EQ(CDRF_DODEFAULT, Notify(CDDS_ITEMPREPAINT, TBCD_CHANNEL, RECT{0, 0, 100, 4}, 0, nullptr));
    EXPECT_EQ(640 * 48, Count(windows.canvas, kBackground));
}

// ---- channel and selection ----

// Paints the pixels of a horizontal, vertical or 45-degree polyline, end point excluded.
void Polyline(std::vector<COLORREF>& image, int width, COLORREF colour, std::initializer_list<POINT> points) {
    const POINT* p = points.begin();
    for (POINT at = *p++; p != points.end(); ++p) {
        const int sx = (p->x > at.x) - (p->x < at.x), sy = (p->y > at.y) - (p->y < at.y);
        for (; at.x != p->x || at.y != p->y; at.x += sx, at.y += sy)
            image[static_cast<size_t>(at.y) * width + at.x] = colour;
    }
}

void Fill(std::vector<COLORREF>& image, int width, COLORREF colour, RECT rc) {
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            image[static_cast<size_t>(y) * width + x] = colour;
}

// The seek slider's channel: range 0..1000, item (8, 10, 608, 22), written out pixel by pixel.
std::vector<COLORREF> SeekChannelImage(bool halfPlayed) {
    std::vector<COLORREF> image(640 * 48, kBackground);
    Fill(image, 640, kChannel, RECT{9, 13, 607, 19});
    Fill(image, 640, kDeepShadow, RECT{9, 12, 607, 13});
    Fill(image, 640, kDeepShadow, RECT{9, 19, 607, 20});
    Fill(image, 640, kDeepShadow, RECT{8, 13, 9, 19});
    Fill(image, 640, kDeepShadow, RECT{607, 13, 608, 19});
    Polyline(image, 640, kHalfShadow, {{7, 18}, {7, 13}, {9, 11}, {607, 11}});
    Polyline(image, 640, kHilight, {{8, 19}, {9, 20}, {607, 20}, {607, 19}, {608, 19}, {608, 13}, {606, 11}});
    if (halfPlayed) Fill(image, 640, kSelection, RECT{10, 12, 306, 21});
    return image;
}

class SeekChannel : public ColourSlider {
protected:
    SeekChannel() {
        windows.rangeMin = 0;
        windows.rangeMax = 1000;
        windows.channelRect = RECT{8, 10, 608, 22};
        windows.style = TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE;
    }
};

TEST_F(SeekChannel, HalfPlayedTrackFillsTheSelectionOverTheOutline) {
    windows.selStart = 0;
    windows.selEnd = 500;
    EXPECT_EQ(CDRF_SKIPDEFAULT, PaintChannel(RECT{8, 10, 608, 22}));
    EXPECT_TRUE(SeekChannelImage(true) == windows.canvas.Pixels());
    EXPECT_EQ(kHalfShadow, windows.canvas.Pixel(606, 11)) << "last pixel of the top edge";
    EXPECT_EQ(kBackground, windows.canvas.Pixel(607, 11)) << "end points are not drawn";
    EXPECT_EQ(kSelection, windows.canvas.Pixel(305, 20));
    EXPECT_EQ(kHilight, windows.canvas.Pixel(306, 20));
    ExpectContextRestored();
}

TEST_F(SeekChannel, EmptySelectionFillsNothing) {
    windows.selStart = 0;
    windows.selEnd = 0;
    PaintChannel(RECT{8, 10, 608, 22});
    EXPECT_TRUE(SeekChannelImage(false) == windows.canvas.Pixels());
    EXPECT_EQ(0, Count(windows.canvas, kSelection));
    EXPECT_EQ(1, windows.brushesMade) << "only the channel brush";
}

TEST_F(SeekChannel, RangeOfZeroToZeroSkipsTheFirstInsetAndDrawsNoSelection) {
    windows.rangeMax = 0;
    windows.selStart = 0;
    windows.selEnd = 5;
    PaintChannel(RECT{8, 10, 608, 22});
    // RoundRect (8, 11, 608, 21): outline rows 11 and 20, edges one row further out.
    EXPECT_EQ(kDeepShadow, windows.canvas.Pixel(300, 11));
    EXPECT_EQ(kChannel, windows.canvas.Pixel(300, 12));
    EXPECT_EQ(kChannel, windows.canvas.Pixel(300, 19));
    EXPECT_EQ(kDeepShadow, windows.canvas.Pixel(300, 20));
    EXPECT_EQ(kHalfShadow, windows.canvas.Pixel(300, 10));
    EXPECT_EQ(kHilight, windows.canvas.Pixel(300, 21));
    EXPECT_EQ(0, Count(windows.canvas, kSelection)) << "an empty range has no scale for a selection";
    ExpectContextRestored();
}

TEST_F(ColourSlider, NegativeRangeScalesTheSelectionFromItsMinimum) {
    windows.rangeMin = -100;
    windows.rangeMax = 100;
    windows.selStart = -100;
    windows.selEnd = 0;
    PaintChannel(RECT{0, 10, 200, 22});
    // e = 0, f = 100: fill (2, 12, 98, 21).
    EXPECT_EQ(kSelection, windows.canvas.Pixel(2, 12));
    EXPECT_EQ(kSelection, windows.canvas.Pixel(97, 20));
    EXPECT_NE(kSelection, windows.canvas.Pixel(1, 15));
    EXPECT_NE(kSelection, windows.canvas.Pixel(98, 15));
    EXPECT_NE(kSelection, windows.canvas.Pixel(50, 21));
    EXPECT_EQ(96 * 9, Count(windows.canvas, kSelection));
}

TEST_F(ColourSlider, QueriedChannelRectangleDecidesTheOrientationOfTheItemRectangle) {
    windows.rangeMax = 100;
    windows.selEnd = 50;
    windows.channelRect = RECT{0, 0, 4, 90}; // taller than wide: vertical
    PaintChannel(RECT{10, 5, 16, 45});
    // Vertical: inset by 1 at left, right and top; selection (11, 5 + 0 + 2, 15, 5 + 20 - 2).
    EXPECT_EQ(kDeepShadow, windows.canvas.Pixel(11, 30));
    EXPECT_EQ(kChannel, windows.canvas.Pixel(12, 30));
    EXPECT_EQ(kDeepShadow, windows.canvas.Pixel(14, 30));
    EXPECT_EQ(kHalfShadow, windows.canvas.Pixel(10, 30));
    EXPECT_EQ(kHilight, windows.canvas.Pixel(15, 30));
    EXPECT_EQ(4 * 16, Count(windows.canvas, kSelection));
    EXPECT_EQ(kSelection, windows.canvas.Pixel(11, 7));
    EXPECT_EQ(kSelection, windows.canvas.Pixel(14, 22));

    windows.canvas.Fill(kBackground);
    windows.channelRect = RECT{0, 0, 90, 4}; // wider than tall: horizontal
    PaintChannel(RECT{10, 5, 16, 45});
    EXPECT_EQ(0, Count(windows.canvas, kSelection)) << "6 wide: f - 2 lies left of e + 2";
}

TEST_F(ColourSlider, DisabledChannelIsFilledInTheFaceColourUntilEnabledAgain) {
    windows.enabled = false;
    PaintChannel(RECT{8, 10, 208, 22});
    EXPECT_EQ(kFace, windows.canvas.Pixel(100, 15));
    windows.enabled = true;
    PaintChannel(RECT{8, 10, 208, 22});
    EXPECT_EQ(kChannel, windows.canvas.Pixel(100, 15));
    ExpectContextRestored();
}

// ---- thumbs ----

TEST_F(ColourSlider, SeekThumbIsARaisedBoxWithFourRidges) {
    windows.style = TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE;
    EXPECT_EQ(CDRF_SKIPDEFAULT, PaintThumb(RECT{0, 0, 11, 21}));
    // clang-format off
    EXPECT_EQ(Rows({"?#########?",
                    "#Llllllllo#",
                    "#loooooood#",
                    "#loooooood#",
                    "#loooooood#",
                    "#lLoLoLoLd#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#llDlDlDld#",
                    "#loDoDoDod#",
                    "#loooooood#",
                    "#loooooood#",
                    "#loooooood#",
                    "#odddddddD#",
                    "?#########?"}),
              Art(windows.canvas, RECT{0, 0, 11, 21}));
    // clang-format on
    ExpectContextRestored();
}

TEST_F(ColourSlider, UprightThumbPointingUpOfWidthEight) {
    windows.style = TBS_AUTOTICKS | TBS_TOP;
    PaintThumb(RECT{0, 0, 8, 16});
    // clang-format off
    EXPECT_EQ(Rows({"...##...",
                    "..#Ll#..",
                    ".#Lood#.",
                    "#Looood#",
                    "#looood#",
                    "#looood#",
                    "#lLoLod#",
                    "#llDlDd#",
                    "#llDlDd#",
                    "#llDlDd#",
                    "#llDlDd#",
                    "#loDoDd#",
                    "#looood#",
                    "#looood#",
                    "#oddddd#",
                    ".######."}),
              Art(windows.canvas, RECT{0, 0, 8, 16}));
    // clang-format on
    ExpectContextRestored();
}

TEST_F(ColourSlider, UprightThumbsOfWidthFiveHaveOutlineAndFillOnly) {
    for (const LONG_PTR style : {LONG_PTR{TBS_TOP}, LONG_PTR{0}}) {
        windows.canvas.Fill(kBackground);
        windows.style = style;
        PaintThumb(RECT{0, 0, 5, 10});
        const std::string art = Art(windows.canvas, RECT{0, 0, 5, 10});
        EXPECT_EQ(std::string::npos, art.find_first_not_of(".#o\n")) << "style " << style << "\n" << art;
        EXPECT_EQ(3 * 8, Count(windows.canvas, kFace)) << art;
    }
    const std::string outline =
        Rows({".###.", "#ooo#", "#ooo#", "#ooo#", "#ooo#", "#ooo#", "#ooo#", "#ooo#", "#ooo#", ".###."});
    EXPECT_EQ(outline, Art(windows.canvas, RECT{0, 0, 5, 10})) << "pointing down";
    windows.canvas.Fill(kBackground);
    windows.style = TBS_TOP;
    PaintThumb(RECT{0, 0, 5, 10});
    EXPECT_EQ(outline, Art(windows.canvas, RECT{0, 0, 5, 10})) << "pointing up";
}

// A row through the ridges and the row of grip dots of upright thumbs 21 tall, in both directions.
TEST_F(ColourSlider, UprightThumbsCarryTwoOrFourRidgesByWidth) {
    struct Case {
        LONG_PTR style;
        int width;
        int dotRow;
        const char* ridges;
        const char* dots;
    };
    for (const Case c :
         {Case{TBS_TOP, 8, 6, "#llDlDd#", "#lLoLod#"}, Case{TBS_TOP, 11, 6, "#llDlDlDld#", "#lLoLoLoLd#"},
          Case{0, 8, 4, "#llDlDd#", "#lLoLod#"}, Case{0, 11, 4, "#llDlDlDld#", "#lLoLoLoLd#"}}) {
        windows.canvas.Fill(kBackground);
        windows.style = c.style;
        PaintThumb(RECT{0, 0, c.width, 21});
        const std::string what = "style " + std::to_string(c.style) + " width " + std::to_string(c.width);
        EXPECT_EQ(Rows({c.ridges}), Art(windows.canvas, RECT{0, 9, c.width, 10})) << what;
        EXPECT_EQ(Rows({c.dots}), Art(windows.canvas, RECT{0, c.dotRow, c.width, c.dotRow + 1})) << what;
        const int edgeLighter = c.style ? c.width / 2 - 1 : 1;
        EXPECT_EQ(c.width > 9 ? 4 : 2, Count(windows.canvas, kLighter) - edgeLighter)
            << what << " (dots, besides the lighter pixels of the edge)";
    }
}

// A column through the ridges and the column of grip dots of lying thumbs 20 wide, in both directions.
TEST_F(ColourSlider, LyingThumbsCarryTwoOrFourRidgesByHeight) {
    struct Case {
        LONG_PTR style;
        int height;
        int dotColumn;
        const char* ridges;
    };
    for (const Case c : {Case{TBS_LEFT, 8, 6, "#llDlDd#"}, Case{TBS_LEFT, 11, 6, "#llDlDlDld#"},
                         Case{0, 8, 4, "#llDlDd#"}, Case{0, 11, 4, "#llDlDlDld#"}}) {
        windows.canvas.Fill(kBackground);
        windows.style = c.style | TBS_VERT;
        PaintThumb(RECT{0, 0, 20, c.height});
        const std::string what = "style " + std::to_string(c.style) + " height " + std::to_string(c.height);
        std::string column;
        for (int y = 0; y < c.height; ++y)
            column += Art(windows.canvas, RECT{8, y, 9, y + 1})[0];
        EXPECT_EQ(c.ridges, column) << what;
        const int dots = c.height > 9 ? 4 : 2;
        for (int i = 0; i < dots; ++i)
            EXPECT_EQ(kLighter, windows.canvas.Pixel(c.dotColumn, 2 + 2 * i)) << what << " dot " << i;
        EXPECT_NE(kLighter, windows.canvas.Pixel(c.dotColumn, 2 + 2 * dots)) << what;
    }
}

TEST_F(ColourSlider, LyingThumbsOfHeightFiveHaveEdgesButNoGrips) {
    windows.style = TBS_VERT | TBS_LEFT;
    PaintThumb(RECT{0, 0, 20, 5});
    EXPECT_EQ(Rows({"." + std::string(18, '#') + ".", "#L" + std::string(16, 'l') + "o#",
                    "#l" + std::string(16, 'o') + "d#", "#" + std::string(18, 'd') + "#",
                    ".#d" + std::string(16, '#') + "."}),
              Art(windows.canvas, RECT{0, 0, 20, 5}));

    windows.canvas.Fill(kBackground);
    windows.style = TBS_VERT;
    PaintThumb(RECT{0, 0, 20, 5});
    EXPECT_EQ(1, Count(windows.canvas, kDarker)) << "the edge's single darker pixel, no dark ridges";
    EXPECT_EQ(kDarker, windows.canvas.Pixel(18, 3));
}

TEST_F(ColourSlider, ThumbOrientationFollowsTheItemRectangle) {
    windows.style = TBS_TOP;
    PaintThumb(RECT{0, 0, 11, 21});
    EXPECT_EQ(kLighter, windows.canvas.Pixel(2, 6)) << "11 x 21 is upright: first dot at (l + 1, t + 4)";
    windows.canvas.Fill(kBackground);
    PaintThumb(RECT{0, 0, 21, 11});
    EXPECT_EQ(kLighter, windows.canvas.Pixel(6, 2)) << "21 x 11 is lying: first dot at (l + 4, t + 1)";
    windows.canvas.Fill(kBackground);
    PaintThumb(RECT{0, 0, 11, 11});
    EXPECT_EQ(kLighter, windows.canvas.Pixel(6, 2)) << "a square thumb is lying";
    EXPECT_NE(kLighter, windows.canvas.Pixel(2, 6)) << "a square thumb is lying";
}

TEST_F(ColourSlider, PressedThumbIsDarkenedForOnePaintOnly) {
    windows.style = TBS_BOTH;
    const std::vector<COLORREF> pens = windows.LivePenColours();
    const int made = windows.pensMade;
    PaintThumb(RECT{0, 0, 11, 21}, CDIS_SELECTED);
    EXPECT_EQ(0x4d4d4du, windows.canvas.Pixel(5, 3)) << "face 128 darkened to 77";
    EXPECT_EQ(0x808080u, windows.canvas.Pixel(1, 3)) << "light edge from the darkened face";
    EXPECT_EQ(0x1a1a1au, windows.canvas.Pixel(9, 3)) << "dark edge from the darkened face";
    EXPECT_EQ(0x1a1a1au, windows.canvas.Pixel(3, 10)) << "darker ridge: 26 stays 26";
    EXPECT_EQ(made + 16 + 1, windows.pensMade) << "two rebuilds of eight pens, and the frame pen";
    EXPECT_EQ(pens, windows.LivePenColours()) << "pens rebuilt from the restored face";
    ExpectContextRestored();

    PaintThumb(RECT{0, 0, 11, 21});
    EXPECT_EQ(kFace, windows.canvas.Pixel(5, 3));
    EXPECT_EQ(kLight, windows.canvas.Pixel(1, 3));
    EXPECT_EQ(kDark, windows.canvas.Pixel(9, 3));
}

TEST_F(ColourSlider, DisabledThumbHasNoGrips) {
    windows.enabled = false;
    windows.style = TBS_TOP;
    PaintThumb(RECT{0, 0, 11, 21});
    EXPECT_EQ(Rows({"#loooooood#"}), Art(windows.canvas, RECT{0, 9, 11, 10}));
    EXPECT_EQ(0, Count(windows.canvas, kDarker));
    EXPECT_EQ(11 / 2 - 1, Count(windows.canvas, kLighter)) << "only the lighter diagonal of the edge";
}

} // namespace
