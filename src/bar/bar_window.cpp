// The bar's window: binding its items and the one-time layout along the bottom of the screen.
#include "bar/bar_layout.h"
#include "bar/dlg_buttons.h"
#include "resources/resource_ids.h"

namespace {
constexpr UINT kPlaceBarFlags = SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW;
constexpr UINT kPlaceChildFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr int kClockFontHeight = 40;
constexpr DWORD kSwissDefaultPitch = FF_SWISS | DEFAULT_PITCH;
} // namespace

BOOL CDlgButtons::OnInitDialog() {
    DoDataExchange();
    LayOut();
    SetUpSliders();
    SetUpClockFont();
    return TRUE;
}

void CDlgButtons::DoDataExchange() {
    m_sliderShuttle.Attach(m_windows.GetDlgItem(m_hWnd, IDC_SHUTTLE));
    m_sliderVolume.Attach(m_windows.GetDlgItem(m_hWnd, IDC_VOLUME));
    m_staticTime = m_windows.GetDlgItem(m_hWnd, IDC_TIME);
    m_sliderSeek.Attach(m_windows.GetDlgItem(m_hWnd, IDC_SEEK));
}

void CDlgButtons::LayOut() {
    const int screenWidth = m_windows.GetSystemMetrics(SM_CXFULLSCREEN);
    const int screenHeight = m_windows.GetSystemMetrics(SM_CYFULLSCREEN);
    RECT created{0, 0, 0, 0};
    m_windows.GetWindowRect(m_hWnd, &created);
    const Placement bar = PlaceBar(created, screenWidth, screenHeight);
    m_windows.SetWindowPos(m_hWnd, HWND_TOPMOST, bar.x, bar.y, bar.cx, bar.cy, kPlaceBarFlags);
    StretchChildren(StretchFactor(screenWidth, created.right - created.left));
}

void CDlgButtons::StretchChildren(float factor) {
    for (HWND child = m_windows.GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = m_windows.GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{0, 0, 0, 0};
        m_windows.GetWindowRect(child, &rect);
        m_windows.ScreenToClientRect(m_hWnd, &rect);
        const Placement p = StretchChild(rect, factor);
        m_windows.SetWindowPos(child, nullptr, p.x, p.y, p.cx, p.cy, kPlaceChildFlags);
    }
}

void CDlgButtons::SetUpSliders() {
    m_sliderShuttle.SetRange(-100, 100, false);
    m_sliderShuttle.SetPos(0);
    m_sliderShuttle.SetTicFreq(20);
    m_sliderVolume.SetRange(0, 255, false);
    m_sliderVolume.SetTicFreq(25);
    m_sliderSeek.SetRange(0, 1000, false);
}

void CDlgButtons::SetUpClockFont() {
    m_pFontTime = OwnedFont(m_windows, m_windows.CreateFontA(kClockFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                                             FALSE, 0, 0, 0, 0, kSwissDefaultPitch, "Arial"));
    const LPARAM redraw = TRUE;
    m_windows.SendMessageA(m_staticTime, WM_SETFONT, reinterpret_cast<WPARAM>(m_pFontTime.Get()), redraw);
}
