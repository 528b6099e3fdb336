// The bar's transport controls, its clock and its three sliders, all talking to the host.
#include <algorithm>

#include "bar/clock_text.h"
#include "bar/dlg_buttons.h"
#include "bar/mouse_rules.h"
#include "bar/transport_math.h"
#include "host/winamp_ipc.h"
#include "settings/settings.h"

namespace {
constexpr int kNothingPlaying = -1;
constexpr int kMaxVolume = 255;
constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
constexpr int kWheelSeekMs = 10000;
constexpr int kWheelVolumeStep = (kMaxVolume + 1) / 20; // about 5% of the range
// At 96 DPI: the tip's least size, its gap above the bar and its text's margin on each side.
constexpr int kTipWidth = 64, kTipHeight = 18, kTipGap = 2, kTipMargin = 4;
constexpr UINT kTipShowFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
constexpr UINT kTipHideFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW;
} // namespace

void CDlgButtons::UpdateTime() {
    // The status comes first so that a playing track always shows its time.
    if (m_host.GetStatus() == ipc::kStatusPlaying) m_bShowTime = true;
    const int position = m_host.GetPosition();
    m_nLength = m_host.GetLength();
    const bool hours = IsOn(m_settings.showhours);
    const std::string text = !m_bShowTime                 ? ClockPlaceholder(hours)
                             : IsOn(m_settings.remaining) ? ClockTextLeft(position, m_nLength, hours)
                                                          : ClockText(position, hours);
    m_windows.SetWindowTextA(m_staticTime, text.c_str());

    const int seek = SeekSliderPos(position, m_nLength);
    m_sliderSeek.SetPos(seek);
    m_sliderSeek.SetSelection(0, seek);
    // The owner drawing paints the selection; without this it would lag until the next paint.
    m_windows.RedrawWindow(m_sliderSeek.GetSafeHwnd(), kRepaintNow);
}

void CDlgButtons::SyncVolume() {
    // The host may report a volume change before the bar's window exists.
    if (m_sliderVolume.GetSafeHwnd() == nullptr) return;
    // The host's answer is used only within the slider's range, whatever it is.
    const int volume = std::clamp(m_host.GetVolume(), 0, kMaxVolume);
    m_sliderVolume.SetPos(kMaxVolume - volume);
}

void CDlgButtons::OnSkipBack(int stepMs) {
    const int position = m_host.GetPosition();
    if (position == kNothingPlaying) return;
    m_host.JumpTo(SkipBackTarget(position, stepMs));
    UpdateTime();
}

void CDlgButtons::OnSkipForward(int stepMs) {
    const int position = m_host.GetPosition();
    if (position == kNothingPlaying) return;
    const std::optional<int> target = SkipForwardTarget(position, stepMs, m_host.GetLength());
    if (!target) return;
    m_host.JumpTo(*target);
    UpdateTime();
}

void CDlgButtons::OnPlayPause() {
    m_host.PlayPause(-1);
}

void CDlgButtons::OnHScroll(HWND control) {
    if (control == nullptr) return;
    if (control == m_sliderSeek.GetSafeHwnd())
        OnSeek();
    else if (control == m_sliderShuttle.GetSafeHwnd())
        m_nShuttle = m_sliderShuttle.GetPos();
}

void CDlgButtons::OnVScroll(HWND control) {
    if (control == nullptr || control != m_sliderVolume.GetSafeHwnd()) return;
    m_host.SetVolume(kMaxVolume - m_sliderVolume.GetPos());
}

// Every notification seeks, so dragging the thumb seeks continuously; the clock follows at the next tick.
void CDlgButtons::OnSeek() {
    const unsigned int sliderPos = static_cast<unsigned int>(m_sliderSeek.GetPos());
    const std::optional<int> target = SeekTarget(sliderPos, m_host.GetLength());
    if (target) m_host.JumpTo(*target);
}

// The spring of the shuttle: letting go of the thumb stops the winding and centres it.
LRESULT CDlgButtons::OnShuttleReleased() {
    m_nShuttle = 0;
    m_sliderShuttle.SetPos(0);
    return 0;
}

void CDlgButtons::TickWind() {
    if (m_nShuttle == 0) return;
    const int position = m_host.GetPosition();
    if (position == kNothingPlaying) {
        m_nShuttle = 0;
        return;
    }
    const int length = m_host.GetLength();
    const WindStep step = Wind(position, length, m_nShuttle, m_settings.fastwind);
    if (step.jump) m_host.JumpTo(step.target);
    if (step.finish) m_nShuttle = 0;
}

void CDlgButtons::TickBlink() {
    if (m_host.GetStatus() == ipc::kStatusPaused) m_bShowTime = !m_bShowTime;
}

// A click on the clock switches between the position and the time left; the choice is kept.
void CDlgButtons::ToggleRemaining() {
    m_settings.remaining = IsOn(m_settings.remaining) ? 0 : 1;
    m_settings.SaveKey(m_host, m_profile, settings_ini::kRemainingKey);
    UpdateTime();
}

// Over the seek slider a notch skips 10 s (up forward), over the volume slider it moves the volume by about
// 5%; anywhere else the wheel is not the bar's.
bool CDlgButtons::OnWheel(POINT pt, int delta) {
    const bool seek = PointInRect(WindowRect(m_sliderSeek.GetSafeHwnd()), pt);
    if (!seek && !PointInRect(WindowRect(m_sliderVolume.GetSafeHwnd()), pt)) return false;
    m_nWheelRest += delta;
    const int notches = m_nWheelRest / WHEEL_DELTA;
    m_nWheelRest -= notches * WHEEL_DELTA;
    if (notches == 0) return true;
    if (!seek)
        WheelVolume(notches);
    else if (notches > 0)
        OnSkipForward(notches * kWheelSeekMs);
    else
        OnSkipBack(-notches * kWheelSeekMs);
    return true;
}

void CDlgButtons::WheelVolume(int notches) {
    // The host's answer is clamped first, as the volume sync does: INT_MAX plus a notch would overflow.
    const int volume =
        std::clamp(std::clamp(m_host.GetVolume(), 0, kMaxVolume) + notches * kWheelVolumeStep, 0, kMaxVolume);
    m_host.SetVolume(volume);
    m_sliderVolume.SetPos(kMaxVolume - volume);
}

// While the mouse is over the seek slider, the time a seek to that point would go to, above the bar.
void CDlgButtons::TrackTip(POINT pt) {
    if (m_tipTime == nullptr) return;
    const HWND seek = m_sliderSeek.GetSafeHwnd();
    const RECT slider = WindowRect(seek);
    if (!PointInRect(slider, pt) || m_nLength < 0) {
        HideTip();
        return;
    }
    RECT channel{0, 0, 0, 0}, thumb{0, 0, 0, 0};
    m_windows.SendMessageA(seek, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    m_windows.SendMessageA(seek, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int permille = SliderPosAt(pt.x - slider.left, channel, thumb.right - thumb.left, kSeekScale);
    const std::string text = ClockText(SeekTarget(static_cast<unsigned>(permille), m_nLength).value_or(0),
                                       IsOn(m_settings.showhours));
    m_windows.SetWindowTextA(m_tipTime, text.c_str());
    // Sized from its text, and kept on the bar's monitor, which the bar spans.
    const SIZE extent = m_windows.GetTextExtent(m_tipTime, text.c_str());
    const int width = std::max(Scaled(kTipWidth), static_cast<int>(extent.cx) + 2 * Scaled(kTipMargin));
    const int height = std::max(Scaled(kTipHeight), static_cast<int>(extent.cy) + Scaled(kTipMargin));
    const RECT bar = BarRect();
    const int x = std::max(static_cast<int>(bar.left),
                           std::min(static_cast<int>(pt.x) - width / 2, static_cast<int>(bar.right) - width));
    m_windows.SetWindowPos(m_tipTime, HWND_TOPMOST, x, bar.top - height - Scaled(kTipGap), width, height,
                           kTipShowFlags);
}

void CDlgButtons::HideTip() {
    if (m_tipTime == nullptr || !m_windows.IsWindowVisible(m_tipTime)) return;
    m_windows.SetWindowPos(m_tipTime, nullptr, 0, 0, 0, 0, kTipHideFlags);
}
