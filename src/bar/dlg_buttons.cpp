#include "bar/dlg_buttons.h"

#include "host/winamp_ipc.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"

CDlgButtons::CDlgButtons(CWinampIPC& host, const Settings& settings, WindowSystem& windows)
    : m_host(host), m_settings(settings), m_windows(windows) {}

CDlgButtons::~CDlgButtons() = default;

HWND CDlgButtons::Create(HWND parent) { return m_windows.CreateDialogFromTemplate(IDD_BAR, parent, this); }

void CDlgButtons::OnMouseEvent(UINT, const MOUSEHOOKSTRUCT*) {}

void CDlgButtons::SyncVolume() {}

bool CDlgButtons::OnMessage(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        m_hWnd = hwnd;
        *result = TRUE;
        return true;
    }
    return false;
}
