// The bar's transport controls, its clock and its three sliders, all talking to the host.
#include <algorithm>

#include "bar/clock_text.h"
#include "bar/dlg_buttons.h"
#include "bar/transport_math.h"
#include "host/winamp_ipc.h"
#include "settings/settings.h"

namespace {
constexpr int kNothingPlaying = -1;
constexpr int kMaxVolume = 255;
constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
} // namespace

void CDlgButtons::UpdateTime() {
    // The status comes first so that a playing track always shows its time.
    if (m_host.GetStatus() == ipc::kStatusPlaying) m_bShowTime = true;
    const int position = m_host.GetPosition();
    const bool hours = IsOn(m_settings.showhours);
    const std::string text = m_bShowTime ? ClockText(position, hours) : ClockPlaceholder(hours);
    m_windows.SetWindowTextA(m_staticTime, text.c_str());

    const int seek = SeekSliderPos(position, m_host.GetLength());
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
