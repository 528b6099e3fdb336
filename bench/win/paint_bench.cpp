// Paint cost of the bar's sliders under the platform's trackbar: one full paint owner-drawn through
// CColourSliderCtrl against the same trackbar left to its default painting, in one run. Then the cost of
// one data-file save (save_cost.cpp).
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "../../tests/e2e/bar_sliders.h"
#include "controls/colour_slider.h"
#include "platform/win32/win32_seams.h"
#include "timing.h"

namespace {

constexpr int kBatch = 20;
constexpr int kRounds = 300;
constexpr double kBudget = 1.5;

// A memory context with a 32-bit bitmap the size of the slider, as a paint target.
class MemoryTarget {
public:
    explicit MemoryTarget(HWND slider) {
        RECT client;
        ::GetClientRect(slider, &client);
        const HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
        m_before = ::SelectObject(m_dc, m_bitmap);
        ::ReleaseDC(nullptr, screen);
    }
    ~MemoryTarget() {
        ::SelectObject(m_dc, m_before);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_before;
};

} // namespace

int main() {
    Win32WindowSystem gdi;
    bool ownerDrawn = false;
    std::map<int, std::unique_ptr<CColourSliderCtrl>> owners;
    BarSliders sliders([&](int id, const NMCUSTOMDRAW& draw, LRESULT* result) {
        if (!ownerDrawn) return false;
        *result = owners.at(id)->OnCustomDraw(draw);
        return true;
    });
    if (sliders.Dialog() == nullptr) {
        std::printf("could not create the sliders\n");
        return 1;
    }
    for (const int id : {BarSliders::kShuttle, BarSliders::kVolume, BarSliders::kSeek}) {
        owners[id] = std::make_unique<CColourSliderCtrl>(gdi);
        owners[id]->Attach(sliders.Slider(id));
    }
    // As the bar shows them: seek slider half played, shuttle deflected, volume part way.
    ::SendMessageW(sliders.Slider(BarSliders::kSeek), TBM_SETPOS, TRUE, 500);
    ::SendMessageW(sliders.Slider(BarSliders::kSeek), TBM_SETSELSTART, FALSE, 0);
    ::SendMessageW(sliders.Slider(BarSliders::kSeek), TBM_SETSELEND, TRUE, 500);
    ::SendMessageW(sliders.Slider(BarSliders::kShuttle), TBM_SETPOS, TRUE, -40);
    ::SendMessageW(sliders.Slider(BarSliders::kVolume), TBM_SETPOS, TRUE, 100);

    // Shown at the bottom of the screen, for the paints through the window's own device context.
    RECT bar;
    ::GetWindowRect(sliders.Dialog(), &bar);
    ::SetWindowPos(sliders.Dialog(), HWND_TOPMOST, 0,
                   ::GetSystemMetrics(SM_CYSCREEN) - (bar.bottom - bar.top), 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);

    struct Path {
        const char* name;
        void (*paint)(HWND, HDC);
    };
    const Path paths[] = {
        {"into a memory context (WM_PRINTCLIENT)",
         [](HWND slider, HDC dc) {
             ::SendMessageW(slider, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
         }},
        {"on screen (RedrawWindow, update now)",
         [](HWND slider, HDC) { ::RedrawWindow(slider, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }},
    };
    const struct {
        const char* name;
        int id;
    } targets[] = {
        {"seek", BarSliders::kSeek}, {"shuttle", BarSliders::kShuttle}, {"volume", BarSliders::kVolume}};

    bool withinBudget = true;
    for (const Path& path : paths) {
        std::printf("one full paint %s, %d interleaved batches of %d each way; microseconds per paint:\n",
                    path.name, kRounds, kBatch);
        for (const auto& target : targets) {
            const HWND slider = sliders.Slider(target.id);
            const MemoryTarget memory(slider);
            RECT client;
            ::GetClientRect(slider, &client);
            std::vector<double> times[2];
            for (int round = 0; round < kRounds + 1; ++round) {
                for (const bool owner : {false, true}) {
                    ownerDrawn = owner;
                    const double start = Now();
                    for (int i = 0; i < kBatch; ++i)
                        path.paint(slider, memory.dc());
                    ::GdiFlush();
                    if (round > 0) times[owner].push_back((Now() - start) / kBatch * 1e6); // round 0 warms up
                }
            }
            const double best = Best(times[1]) / Best(times[0]);
            const double median = Median(times[1]) / Median(times[0]);
            withinBudget = withinBudget && best <= kBudget;
            std::printf("  %-8s %4ld x %-3ld  best: default %7.1f  owner-drawn %7.1f  ratio %.2f%s   "
                        "median: %7.1f  %7.1f  ratio %.2f\n",
                        target.name, static_cast<long>(client.right), static_cast<long>(client.bottom),
                        Best(times[0]), Best(times[1]), best, best <= kBudget ? "" : " OVER",
                        Median(times[0]), Median(times[1]), median);
        }
    }
    std::printf("owner-drawn paint %s %.1f times the default\n", withinBudget ? "within" : "NOT within",
                kBudget);
    ReportSaveCost();
    ReportSlowDisk();
    return withinBudget ? 0 : 1;
}
