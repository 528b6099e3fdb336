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
    SliderPaint()
        : sliders([this](int id, const NMCUSTOMDRAW& draw, LRESULT* result) {
              return OnCustomDraw(id, draw, result);
          }) {
        for (const int id : {BarSliders::kShuttle, BarSliders::kVolume, BarSliders::kSeek}) {
            owners[id] = std::make_unique<CColourSliderCtrl>(gdi);
            owners[id]->Attach(sliders.Slider(id));
        }
    }

    bool OnCustomDraw(int id, const NMCUSTOMDRAW& draw, LRESULT* result) {
        const bool item = draw.dwDrawStage == CDDS_ITEMPREPAINT;
        switch (mode) {
        case Mode::Default:
            return false;
        case Mode::Owner:
            *result = owners.at(id)->OnCustomDraw(draw);
            log.push_back(Notification{draw, *result});
            return true;
        case Mode::Background:
            *result = draw.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW
                      : item                            ? CDRF_SKIPDEFAULT
                                                        : CDRF_DODEFAULT;
            return true;
        case Mode::TicksOnly:
            *result = draw.dwDrawStage == CDDS_PREPAINT      ? CDRF_NOTIFYITEMDRAW
                      : item && draw.dwItemSpec != TBCD_TICS ? CDRF_SKIPDEFAULT
                                                             : CDRF_DODEFAULT;
            return true;
        }
        return false;
    }

    Image CaptureIn(Mode paintMode, HWND slider) {
        mode = paintMode;
        log.clear();
        return Capture(slider);
    }

    // What the same drawing code paints on the raster canvas, given the trackbar's background, its tick
    // marks and the items it announced, in the order it announced them.
    Image Expected(HWND slider, const Image& background, const Image& ticks,
                   std::vector<std::string>* failures) {
        FakeSliderWindows model(background.width, background.height);
        model.canvas.Pixels() = background.pixels;
        for (const int index : {COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_HIGHLIGHT, COLOR_BTNFACE,
                                COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW})
            model.sysColours[index] = ::GetSysColor(index);
        model.rangeMin = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
        model.rangeMax = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
        model.selStart = static_cast<int>(::SendMessageW(slider, TBM_GETSELSTART, 0, 0));
        model.selEnd = static_cast<int>(::SendMessageW(slider, TBM_GETSELEND, 0, 0));
        ::SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&model.channelRect));
        model.style = ::GetWindowLongPtrW(slider, GWL_STYLE);
        model.enabled = ::IsWindowEnabled(slider) != FALSE;

        CColourSliderCtrl drawing(model);
        for (Notification n : log) {
            n.draw.hdc = reinterpret_cast<HDC>(std::uintptr_t{1});
            const LRESULT result = drawing.OnCustomDraw(n.draw);
            if (result != n.result) failures->push_back("results differ on the raster canvas");
            if (n.draw.dwDrawStage == CDDS_ITEMPREPAINT && n.draw.dwItemSpec == TBCD_TICS)
                for (size_t i = 0; i < ticks.pixels.size(); ++i)
                    if (ticks.pixels[i] != background.pixels[i]) model.canvas.Pixels()[i] = ticks.pixels[i];
        }
        Image expected{background.width, background.height, model.canvas.Pixels()};
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x)
                if (model.canvas.IsBackEndPixel(x, y)) backEnd.push_back(y * expected.width + x);
        return expected;
    }

    Win32WindowSystem gdi;
    BarSliders sliders;
    std::map<int, std::unique_ptr<CColourSliderCtrl>> owners;
    Mode mode = Mode::Default;
    std::vector<Notification> log;
    std::vector<int> backEnd;
};

TEST_P(SliderPaint, MatchesTheRasterCanvasPixelForPixel) {
    const Scenario& s = GetParam();
    ASSERT_NE(nullptr, sliders.Dialog());
    const HWND slider = sliders.Slider(s.id);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, s.position);
    if (s.id == BarSliders::kSeek) {
        ::SendMessageW(slider, TBM_SETSELSTART, FALSE, 0);
        ::SendMessageW(slider, TBM_SETSELEND, TRUE, s.selectionEnd);
    }
    ::EnableWindow(slider, s.enabled);

    const Image standard = CaptureIn(Mode::Default, slider);
    const Image background = CaptureIn(Mode::Background, slider);
    const Image ticks = CaptureIn(Mode::TicksOnly, slider);
    const Image actual = CaptureIn(Mode::Owner, slider);
    const std::vector<Notification> seen = log;
    ASSERT_GT(actual.width, 0);

    int channels = 0, thumbs = 0;
    for (const Notification& n : seen)
        if (n.draw.dwDrawStage == CDDS_ITEMPREPAINT) {
            channels += n.draw.dwItemSpec == TBCD_CHANNEL;
            thumbs += n.draw.dwItemSpec == TBCD_THUMB;
        }
    ASSERT_EQ(1, channels) << "notifications seen:\n" << Describe(seen);
    ASSERT_EQ(1, thumbs) << "notifications seen:\n" << Describe(seen);
    EXPECT_NE(standard.pixels, actual.pixels) << "the owner drawing changed nothing";

    std::vector<std::string> failures;
    const Image expected = Expected(slider, background, ticks, &failures);
    EXPECT_TRUE(failures.empty()) << failures.front();

    std::vector<bool> skip(actual.pixels.size(), false);
    for (const int i : backEnd)
        skip[static_cast<size_t>(i)] = true;
    Image difference{actual.width, actual.height, std::vector<COLORREF>(actual.pixels.size(), 0)};
    int mismatches = 0;
    std::ostringstream first;
    for (size_t i = 0; i < actual.pixels.size(); ++i) {
        const COLORREF grey = (actual.pixels[i] & 0xff) / 3;
        difference.pixels[i] = RGB(grey, grey, grey);
        if (skip[i] || actual.pixels[i] == expected.pixels[i]) continue;
        difference.pixels[i] = RGB(255, 0, 0);
        if (mismatches++ < 12)
            first << "  (" << i % actual.width << ", " << i / actual.width << "): painted 0x" << std::hex
                  << actual.pixels[i] << ", raster 0x" << expected.pixels[i] << std::dec << "\n";
    }
    if (mismatches) {
        ::CreateDirectoryW(L"slider_paint", nullptr);
        const std::wstring stem = L"slider_paint\\" + std::wstring(s.name, s.name + strlen(s.name));
        WritePng(actual, stem + L"_painted.png");
        WritePng(expected, stem + L"_raster.png");
        WritePng(difference, stem + L"_difference.png");
    }
    EXPECT_EQ(0, mismatches) << actual.width << " x " << actual.height << ", first mismatches:\n"
                             << first.str() << "notifications seen:\n"
                             << Describe(seen) << "images in slider_paint\\" << s.name << "_*.png";
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
