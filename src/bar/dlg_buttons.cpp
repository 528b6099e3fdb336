#include "bar/dlg_buttons.h"

#include <initializer_list>

#include "host/winamp_ipc.h"
#include "resources/resource_ids.h"

CDlgButtons::CDlgButtons(CWinampIPC& host, Settings& settings, WindowSystem& windows, ProfileStore& profile)
    : m_host(host), m_settings(settings), m_windows(windows), m_profile(profile), m_sliderShuttle(windows),
      m_sliderVolume(windows), m_sliderSeek(windows) {}

// The clock font goes with the bar (OwnedFont); the window is destroyed by quit, before the DLL can go.
CDlgButtons::~CDlgButtons() {
    m_pFontTime.Reset();
}

// The window is going (the plug-in's quit): a cursor clip we narrowed must not outlive it, and nothing
// may reach the dead handles afterwards. The platform kills the window's timer itself.
void CDlgButtons::OnDestroy() {
    RestoreClip();
    m_nTimer = 0;
    m_hWnd = nullptr;
    m_staticTime = nullptr;
    m_tipTime = nullptr;
    m_sliderShuttle.Attach(nullptr);
    m_sliderVolume.Attach(nullptr);
    m_sliderSeek.Attach(nullptr);
}

HWND CDlgButtons::Create(HWND parent) {
    return m_windows.CreateDialogFromTemplate(IDD_BAR, parent, this);
}

bool CDlgButtons::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_INITDIALOG:
        m_hWnd = hwnd;
        *result = OnInitDialog();
        return true;
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_CLOSE:
        // Alt+F4 while the bar has the focus, or quit: the dialog defaults would only hide the window,
        // leaving its timer ticking and the cursor clipped; the bar goes away the way it always does.
        ShowBar(false);
        *result = 0;
        return true;
    case WM_MOUSEACTIVATE:
        // A click on the bar's background or its clock does not take the keyboard.
        *result = MA_NOACTIVATE;
        return true;
    case kGiveKeyboardBack:
        GiveKeyboardBack();
        *result = 0;
        return true;
    case WM_TIMER:
        return OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_HSCROLL:
        OnHScroll(reinterpret_cast<HWND>(lParam));
        return false;
    case WM_VSCROLL:
        OnVScroll(reinterpret_cast<HWND>(lParam));
        return false;
    case WM_NOTIFY:
        if (lParam == 0) return false;
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam, result);
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return false;
        return OnCommand(LOWORD(wParam));
    default:
        return false;
    }
}

bool CDlgButtons::OnCommand(int id) {
    switch (id) {
    case IDC_SKIP_BACK30:
        OnSkipBack(30000);
        return true;
    case IDC_SKIP_BACK10:
        OnSkipBack(10000);
        return true;
    case IDC_SKIP_BACK5:
        m_host.SkipBack5();
        return true;
    case IDC_SKIP_FWD5:
        m_host.SkipForward5();
        return true;
    case IDC_SKIP_FWD10:
        OnSkipForward(10000);
        return true;
    case IDC_SKIP_FWD30:
        OnSkipForward(30000);
        return true;
    case IDC_PLAYPAUSE:
        OnPlayPause();
        return true;
    case IDC_EXIT:
        OnExit();
        return true;
    case IDC_RESTORE:
        OnRestore();
        return true;
    case IDC_PREVIOUS:
        m_host.PreviousEntry();
        return true;
    case IDC_NEXT:
        m_host.NextEntry();
        return true;
    case IDC_TIME:
        ToggleRemaining();
        return true;
    case IDOK:
    case IDCANCEL:
        // Enter or Escape, where the host's loop routes dialog keys to the bar.
        ShowBar(false);
        return true;
    default:
        return false;
    }
}

// The shuttle's release and the sliders' owner drawing; other notifications get the defaults.
bool CDlgButtons::OnNotify(const NMHDR& header, LPARAM lParam, LRESULT* result) {
    if (header.code == NM_RELEASEDCAPTURE && header.idFrom == IDC_SHUTTLE) {
        *result = OnShuttleReleased();
        return true;
    }
    if (header.code != NM_CUSTOMDRAW || header.hwndFrom == nullptr) return false;
    const NMCUSTOMDRAW& draw = *reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
    for (CColourSliderCtrl* slider : {&m_sliderShuttle, &m_sliderVolume, &m_sliderSeek}) {
        if (slider->GetSafeHwnd() == header.hwndFrom) {
            *result = slider->OnCustomDraw(draw);
            return true;
        }
    }
    return false;
}
