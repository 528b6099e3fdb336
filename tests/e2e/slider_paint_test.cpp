// The bar's sliders painted by the platform's trackbar through CColourSliderCtrl over GDI, checked pixel by
// pixel against the raster canvas drawing the same items with the same system colours.
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <wincodec.h>

#include "bar_sliders.h"
#include "controls/colour_slider.h"
#include "fake_slider_windows.h"
#include "harness.h"
#include "platform/win32/win32_seams.h"

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

// The trackbar's client area as it paints itself into a memory context (WM_PRINTCLIENT).
Image Capture(HWND slider) {
    RECT client;
    ::GetClientRect(slider, &client);
    Image image{client.right, client.bottom, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = ::SelectObject(memory, bitmap);
    ::SendMessageW(slider, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    ::GdiFlush();
    const auto* bgrx = static_cast<const DWORD*>(bits);
    for (int i = 0; i < image.width * image.height; ++i)
        image.pixels.push_back(RGB(GetBValue(bgrx[i]), GetGValue(bgrx[i]), GetRValue(bgrx[i])));
    ::SelectObject(memory, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

// Writes the image as a PNG through the platform's imaging component, for a look at a failure.
void WritePng(const Image& image, const std::wstring& path) {
    std::vector<DWORD> bgra;
    for (const COLORREF c : image.pixels)
        bgra.push_back(0xff000000u | RGB(GetBValue(c), GetGValue(c), GetRValue(c)));
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const UINT stride = static_cast<UINT>(image.width) * 4;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool written =
        SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(image.width, image.height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WritePixels(image.height, stride, stride * image.height,
                                     reinterpret_cast<BYTE*>(bgra.data()))) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder, stream, factory})
        if (object) object->Release();
    if (SUCCEEDED(com)) ::CoUninitialize();
    if (!written) std::wcout << L"could not write " << path << L"\n";
}

struct Notification {
    NMCUSTOMDRAW draw;
    LRESULT result;
};

std::string Describe(const std::vector<Notification>& log) {
    std::ostringstream out;
    for (const Notification& n : log)
        out << "  stage 0x" << std::hex << n.draw.dwDrawStage << std::dec << " item " << n.draw.dwItemSpec
            << " rc (" << n.draw.rc.left << ", " << n.draw.rc.top << ", " << n.draw.rc.right << ", "
            << n.draw.rc.bottom << ") state 0x" << std::hex << n.draw.uItemState << " -> 0x" << n.result
            << std::dec << "\n";
    return out.str();
}

enum class Mode {
    Default,    // the trackbar paints everything itself
    Owner,      // CColourSliderCtrl paints channel and thumb
    Background, // nothing but the background: every part skipped
    TicksOnly,  // channel and thumb skipped, tick marks the trackbar's
};

// What the same drawing code paints on the raster canvas, given the state of the trackbar `slider`, its
// background, its tick marks and the items it announced, in the order it announced them.
struct RasterReplay {
    Image image;
    std::vector<bool> backEnd;
    bool resultsAgree = true;
};

RasterReplay Replay(HWND slider, const Image& background, const Image& ticks,
                    const std::vector<Notification>& log) {
    FakeSliderWindows model(background.width, background.height);
    model.canvas.Pixels() = background.pixels;
    for (const int index : {COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_HIGHLIGHT, COLOR_BTNFACE, COLOR_BTNSHADOW,
                            COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW})
        model.sysColours[index] = ::GetSysColor(index);
    model.rangeMin = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    model.rangeMax = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    model.selStart = static_cast<int>(::SendMessageW(slider, TBM_GETSELSTART, 0, 0));
    model.selEnd = static_cast<int>(::SendMessageW(slider, TBM_GETSELEND, 0, 0));
    ::SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&model.channelRect));
    model.style = ::GetWindowLongPtrW(slider, GWL_STYLE);
    model.enabled = ::IsWindowEnabled(slider) != FALSE;

    RasterReplay replay;
    CColourSliderCtrl drawing(model);
    for (Notification n : log) {
        n.draw.hdc = reinterpret_cast<HDC>(std::uintptr_t{1});
        replay.resultsAgree = replay.resultsAgree && drawing.OnCustomDraw(n.draw) == n.result;
        if (n.draw.dwDrawStage == CDDS_ITEMPREPAINT && n.draw.dwItemSpec == TBCD_TICS)
            for (size_t i = 0; i < ticks.pixels.size(); ++i)
                if (ticks.pixels[i] != background.pixels[i]) model.canvas.Pixels()[i] = ticks.pixels[i];
    }
    replay.image = Image{background.width, background.height, model.canvas.Pixels()};
    for (int y = 0; y < background.height; ++y)
        for (int x = 0; x < background.width; ++x)
            replay.backEnd.push_back(model.canvas.IsBackEndPixel(x, y));
    return replay;
}

// Empty when every pixel but the back-end's corners agrees; otherwise the first mismatches, with the
// painted and raster images and their difference written as PNG files.
std::string Compare(const std::string& name, const Image& painted, const RasterReplay& raster) {
    if (painted.width != raster.image.width || painted.height != raster.image.height) return "sizes differ";
    Image difference{painted.width, painted.height, std::vector<COLORREF>(painted.pixels.size(), 0)};
    int mismatches = 0;
    std::ostringstream first;
    for (size_t i = 0; i < painted.pixels.size(); ++i) {
        const COLORREF grey = (painted.pixels[i] & 0xff) / 3;
        difference.pixels[i] = RGB(grey, grey, grey);
        if (raster.backEnd[i] || painted.pixels[i] == raster.image.pixels[i]) continue;
        difference.pixels[i] = RGB(255, 0, 0);
        if (mismatches++ < 12)
            first << "  (" << i % painted.width << ", " << i / painted.width << "): painted 0x" << std::hex
                  << painted.pixels[i] << ", raster 0x" << raster.image.pixels[i] << std::dec << "\n";
    }
    if (mismatches == 0) return "";
    ::CreateDirectoryW(L"slider_paint", nullptr);
    const std::wstring stem = L"slider_paint\\" + std::wstring(name.begin(), name.end());
    WritePng(painted, stem + L"_painted.png");
    WritePng(raster.image, stem + L"_raster.png");
    WritePng(difference, stem + L"_difference.png");
    std::ostringstream out;
    out << mismatches << " of " << painted.width << " x " << painted.height << " pixels differ; first:\n"
        << first.str() << "images in slider_paint\\" << name << "_*.png\n";
    return out.str();
}

int ItemsAnnounced(const std::vector<Notification>& log, DWORD_PTR item) {
    int n = 0;
    for (const Notification& entry : log)
        n += entry.draw.dwDrawStage == CDDS_ITEMPREPAINT && entry.draw.dwItemSpec == item;
    return n;
}

// The three sliders in their stand-in dialog, each paintable in any of the modes.
class PaintableSliders {
public:
    PaintableSliders()
        : sliders([this](int id, const NMCUSTOMDRAW& draw, LRESULT* result) {
              return OnCustomDraw(id, draw, result);
          }) {
        for (const int id : {BarSliders::kShuttle, BarSliders::kVolume, BarSliders::kSeek}) {
            owners[id] = std::make_unique<CColourSliderCtrl>(gdi);
            owners[id]->Attach(sliders.Slider(id));
        }
    }

    Image CaptureIn(Mode paintMode, HWND slider) {
        mode = paintMode;
        log.clear();
        return Capture(slider);
    }

    Win32WindowSystem gdi;
    BarSliders sliders;
    std::map<int, std::unique_ptr<CColourSliderCtrl>> owners;
    Mode mode = Mode::Default;
    std::vector<Notification> log;

private:
    bool OnCustomDraw(int id, const NMCUSTOMDRAW& draw, LRESULT* result) {
        const bool item = draw.dwDrawStage == CDDS_ITEMPREPAINT;
        const LRESULT prepaint = draw.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        switch (mode) {
        case Mode::Default:
            return false;
        case Mode::Owner:
            *result = owners.at(id)->OnCustomDraw(draw);
            log.push_back(Notification{draw, *result});
            return true;
        case Mode::Background:
            *result = item ? CDRF_SKIPDEFAULT : prepaint;
            return true;
        case Mode::TicksOnly:
            *result = item && draw.dwItemSpec != TBCD_TICS ? CDRF_SKIPDEFAULT : prepaint;
            return true;
        }
        return false;
    }
};

struct Scenario {
    const char* name;
    int id;
    int position;
    int selectionEnd; // selection 0..selectionEnd, on the seek slider
    bool enabled;
};

std::ostream& operator<<(std::ostream& out, const Scenario& s) {
    return out << s.name;
}

class SliderPaint : public ::testing::TestWithParam<Scenario> {
protected:
    PaintableSliders paintable;
};

TEST_P(SliderPaint, MatchesTheRasterCanvasPixelForPixel) {
    const Scenario& s = GetParam();
    ASSERT_NE(nullptr, paintable.sliders.Dialog());
    const HWND slider = paintable.sliders.Slider(s.id);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, s.position);
    if (s.id == BarSliders::kSeek) {
        ::SendMessageW(slider, TBM_SETSELSTART, FALSE, 0);
        ::SendMessageW(slider, TBM_SETSELEND, TRUE, s.selectionEnd);
    }
    ::EnableWindow(slider, s.enabled);

    const Image standard = paintable.CaptureIn(Mode::Default, slider);
    const Image background = paintable.CaptureIn(Mode::Background, slider);
    const Image ticks = paintable.CaptureIn(Mode::TicksOnly, slider);
    const Image painted = paintable.CaptureIn(Mode::Owner, slider);
    const std::vector<Notification> seen = paintable.log;
    ASSERT_GT(painted.width, 0);
    ASSERT_EQ(1, ItemsAnnounced(seen, TBCD_CHANNEL)) << "notifications seen:\n" << Describe(seen);
    ASSERT_EQ(1, ItemsAnnounced(seen, TBCD_THUMB)) << "notifications seen:\n" << Describe(seen);
    EXPECT_NE(standard.pixels, painted.pixels) << "the owner drawing changed nothing";

    const RasterReplay raster = Replay(slider, background, ticks, seen);
    EXPECT_TRUE(raster.resultsAgree) << "notifications seen:\n" << Describe(seen);
    const std::string mismatch = Compare(s.name, painted, raster);
    EXPECT_EQ("", mismatch) << "notifications seen:\n" << Describe(seen);
}

INSTANTIATE_TEST_SUITE_P(BarSliders, SliderPaint,
                         ::testing::Values(Scenario{"SeekHalfPlayed", BarSliders::kSeek, 500, 500, true},
                                           Scenario{"SeekAtStart", BarSliders::kSeek, 0, 0, true},
                                           Scenario{"SeekDisabled", BarSliders::kSeek, 300, 300, false},
                                           Scenario{"ShuttleCentred", BarSliders::kShuttle, 0, 0, true},
                                           Scenario{"ShuttleBack", BarSliders::kShuttle, -60, 0, true},
                                           Scenario{"ShuttleDisabled", BarSliders::kShuttle, 40, 0, false},
                                           Scenario{"Volume", BarSliders::kVolume, 100, 0, true},
                                           Scenario{"VolumeDisabled", BarSliders::kVolume, 200, 0, false}),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

namespace {

// Sizes and states the stand-in trackbar like the bar's own one, and says what still differs.
std::string MakeTwin(HWND real, HWND twin) {
    RECT rc;
    ::GetWindowRect(real, &rc);
    ::SetWindowPos(twin, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(twin, TBM_SETRANGEMIN, FALSE, ::SendMessageW(real, TBM_GETRANGEMIN, 0, 0));
    ::SendMessageW(twin, TBM_SETRANGEMAX, FALSE, ::SendMessageW(real, TBM_GETRANGEMAX, 0, 0));
    ::SendMessageW(twin, TBM_SETSELSTART, FALSE, ::SendMessageW(real, TBM_GETSELSTART, 0, 0));
    ::SendMessageW(twin, TBM_SETSELEND, FALSE, ::SendMessageW(real, TBM_GETSELEND, 0, 0));
    ::SendMessageW(twin, TBM_SETPOS, TRUE, ::SendMessageW(real, TBM_GETPOS, 0, 0));
    ::EnableWindow(twin, ::IsWindowEnabled(real));

    std::ostringstream differences;
    const auto rect = [](HWND slider, UINT message) {
        RECT r{};
        ::SendMessageW(slider, message, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    };
    const auto same = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    if (!same(rect(real, TBM_GETCHANNELRECT), rect(twin, TBM_GETCHANNELRECT)))
        differences << "channel rectangle; ";
    if (!same(rect(real, TBM_GETTHUMBRECT), rect(twin, TBM_GETTHUMBRECT))) differences << "thumb rectangle; ";
    if (::SendMessageW(real, TBM_GETNUMTICS, 0, 0) != ::SendMessageW(twin, TBM_GETNUMTICS, 0, 0))
        differences << "tick marks; ";
    if ((::GetWindowLongPtrW(real, GWL_STYLE) & 0xffff) != (::GetWindowLongPtrW(twin, GWL_STYLE) & 0xffff))
        differences << "style; ";
    return differences.str();
}

} // namespace

// The bar's own sliders inside the real plug-in, painted by the trackbar through the bar's forwarding and
// the slider's handler. A twin trackbar of the same size and state gives the background, the tick marks
// and the items in the order the trackbar announces them.
TEST(SliderPaintInTheBar, EachSliderPaintsAsTheRasterCanvasDraws) {
    e2e::TestHost host;
    host.Player().Play();
    host.SetFullScreen(true);
    host.MouseMove(600, 300);
    host.MouseMove(610, 300);
    ASSERT_TRUE(host.WaitFor([&] { return host.BarVisible(); }, 3000)) << host.Describe();

    struct Pair {
        int bar;
        int twin;
    };
    const Pair pairs[] = {
        {2002, BarSliders::kShuttle}, {2010, BarSliders::kVolume}, {2013, BarSliders::kSeek}};
    PaintableSliders twin;
    ASSERT_NE(nullptr, twin.sliders.Dialog());
    for (const Pair& pair : pairs) {
        SCOPED_TRACE("slider " + std::to_string(pair.bar));
        const HWND real = host.BarControl(pair.bar);
        ASSERT_NE(nullptr, real) << host.Describe();
        ASSERT_NE(twin.sliders.Dialog(), ::GetParent(real));
        const HWND copy = twin.sliders.Slider(pair.twin);
        ASSERT_EQ("", MakeTwin(real, copy)) << "the twin differs from the bar's slider";

        const Image painted = Capture(real);
        const Image background = twin.CaptureIn(Mode::Background, copy);
        const Image ticks = twin.CaptureIn(Mode::TicksOnly, copy);
        const Image twinPainted = twin.CaptureIn(Mode::Owner, copy);
        ASSERT_EQ(1, ItemsAnnounced(twin.log, TBCD_THUMB)) << Describe(twin.log);
        EXPECT_NE(background.pixels, painted.pixels) << "the bar's slider shows nothing but its background";

        const RasterReplay raster = Replay(real, background, ticks, twin.log);
        EXPECT_EQ("", Compare("Bar" + std::to_string(pair.bar), painted, raster))
            << "items announced to the twin:\n"
            << Describe(twin.log) << host.Describe();
    }
}
