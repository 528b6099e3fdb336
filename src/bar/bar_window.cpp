// The bar's window: binding its items and its layout along the bottom of the video's monitor.
#include "bar/bar_layout.h"
#include "bar/dlg_buttons.h"
#include "host/winamp_ipc.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"

namespace {
constexpr UINT kPlaceBarFlags = SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW;
constexpr UINT kPlaceChildFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr int kClockFontHeight = 40;
constexpr DWORD kSwissDefaultPitch = FF_SWISS | DEFAULT_PITCH;
constexpr DWORD kTipStyle = WS_POPUP | WS_BORDER | SS_CENTER;
constexpr DWORD kTipExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
} // namespace

BOOL CDlgButtons::OnInitDialog() {
    // Asked once: the version does not change while the host runs.
    m_bHostHasFullScreen = m_host.GetVersion() >= ipc::kFirstVersionWithFullScreen;
    DoDataExchange();
    LayOut();
    SetUpSliders();
    SetUpClockFont();
    m_tipTime = m_windows.CreateWindowExA(kTipExStyle, "Static", kTipStyle, m_hWnd);
    m_windows.SendMessageA(m_tipTime, WM_SETFONT, m_windows.SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
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
    const RECT primary{0, 0, m_windows.GetSystemMetrics(SM_CXSCREEN),
                       m_windows.GetSystemMetrics(SM_CYSCREEN)};
    const Placement bar = PlaceBarOnMonitor(created, primary, true, screenWidth, screenHeight);
    m_windows.SetWindowPos(m_hWnd, HWND_TOPMOST, bar.x, bar.y, bar.cx, bar.cy, kPlaceBarFlags);
    m_nTemplateWidth = created.right - created.left;
    StretchChildren(StretchFactor(screenWidth, m_nTemplateWidth));
}

// Worked out at every show, so a changed display mode or monitor layout moves the bar along. On the
// primary monitor the place is the one the bar has had from the start.
void CDlgButtons::PlaceOnMonitorOf(HWND video) {
    RECT monitor{0, 0, 0, 0};
    const bool primary = m_windows.GetMonitorRect(video, &monitor);
    const RECT now = BarRect();
    const Placement bar =
        PlaceBarOnMonitor(now, monitor, primary, m_windows.GetSystemMetrics(SM_CXFULLSCREEN),
                          m_windows.GetSystemMetrics(SM_CYFULLSCREEN));
    // The previous/next option may have changed in the options since the last show.
    const bool children = bar.cx != now.right - now.left || m_bListButtons != IsOn(m_settings.listbuttons);
    if (bar.x != now.left || bar.y != now.top || bar.cx != now.right - now.left)
        m_windows.SetWindowPos(m_hWnd, HWND_TOPMOST, bar.x, bar.y, bar.cx, bar.cy, kPlaceBarFlags);
    if (children) StretchChildren(StretchFactor(bar.cx, m_nTemplateWidth));
}

// With the previous/next option the two buttons show and the shuttle makes room for them; without it
// they are hidden and the shuttle has its whole row, as the template has it.
void CDlgButtons::StretchChildren(float factor) {
    HWND children[kMaxChildren];
    int count = 0;
    for (HWND child = m_windows.GetWindow(m_hWnd, GW_CHILD); child != nullptr && count < kMaxChildren;
         child = m_windows.GetWindow(child, GW_HWNDNEXT))
        children[count++] = child;
    if (m_nChildren == 0) {
        for (int i = 0; i < count; ++i) {
            m_windows.GetWindowRect(children[i], &m_rcChildTemplate[i]);
            m_windows.ScreenToClientRect(m_hWnd, &m_rcChildTemplate[i]);
        }
        m_nChildren = count;
    }
    m_bListButtons = IsOn(m_settings.listbuttons);
    const HWND previous = m_windows.GetDlgItem(m_hWnd, IDC_PREVIOUS);
    const HWND next = m_windows.GetDlgItem(m_hWnd, IDC_NEXT);
    const RECT* previousRect = nullptr;
    const RECT* nextRect = nullptr;
    for (int i = 0; i < count && i < m_nChildren; ++i) {
        if (children[i] == previous) previousRect = &m_rcChildTemplate[i];
        if (children[i] == next) nextRect = &m_rcChildTemplate[i];
    }
    for (int i = 0; i < count && i < m_nChildren; ++i) {
        RECT rect = m_rcChildTemplate[i];
        UINT flags = kPlaceChildFlags;
        if (children[i] == previous || children[i] == next)
            flags |= m_bListButtons ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
        else if (m_bListButtons && previousRect && nextRect && children[i] == m_sliderShuttle.GetSafeHwnd())
            rect = ShuttleBesideListButtons(rect, *previousRect, *nextRect);
        const Placement p = StretchChild(rect, factor);
        m_windows.SetWindowPos(children[i], nullptr, p.x, p.y, p.cx, p.cy, flags);
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

// 40 pixels at 96 DPI, in proportion at the bar's scale; made again when the bar shows at another scale.
void CDlgButtons::SetUpClockFont() {
    m_nDpi = m_windows.GetDpiForWindow(m_hWnd);
    OwnedFont font(m_windows, m_windows.CreateFontA(Scaled(kClockFontHeight), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                                    FALSE, 0, 0, 0, 0, kSwissDefaultPitch, "Arial"));
    const LPARAM redraw = TRUE;
    m_windows.SendMessageA(m_staticTime, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), redraw);
    // The previous font goes only now that the clock no longer uses it.
    m_pFontTime = std::move(font);
}

int CDlgButtons::Scaled(int pixels) const {
    const int dpi = m_nDpi > 0 ? m_nDpi : kBaseDpi;
    return (pixels * dpi + kBaseDpi / 2) / kBaseDpi;
}
