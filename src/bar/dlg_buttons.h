// The control bar over full-screen video (dialog template 2001).
#pragma once
#include "platform/window_system.h"

class CWinampIPC;
struct Settings;

class CDlgButtons : public DialogHandler {
public:
    CDlgButtons(CWinampIPC& host, const Settings& settings, WindowSystem& windows);
    ~CDlgButtons() override;

    // Creates the bar's window, hidden, from template 2001.
    HWND Create(HWND parent);
    HWND GetSafeHwnd() const { return m_hWnd; }

    void OnMouseEvent(UINT message, const MOUSEHOOKSTRUCT* mouse);
    void SyncVolume();

    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    CWinampIPC& m_host;
    const Settings& m_settings;
    WindowSystem& m_windows;
    HWND m_hWnd = nullptr;
};
