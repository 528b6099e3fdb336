// The control bar over full-screen video (dialog template 2001): its window and layout, its transport
// controls and clock, and when it shows and hides.
#pragma once
#include "bar/owned_font.h"
#include "controls/colour_slider.h"
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

    // Every mouse message of the host's thread; only mouse->pt is read.
    void OnMouseEvent(UINT message, const MOUSEHOOKSTRUCT* mouse);
    // Clock text and seek slider from the host.
    void UpdateTime();
    // Volume slider from the host's volume; fine while the bar is hidden.
    void SyncVolume();
    // true: show if hidden and the video window exists; false: the hide sequence.
    void ShowBar(bool show);
    // The host's video window among the top-level windows, or null.
    HWND FindVideoWindow();

    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Read-only views for tests and diagnostics.
    int HideCountdown() const { return m_nHideCountdown; }
    int Shuttle() const { return m_nShuttle; }
    bool ShowsTime() const { return m_bShowTime; }
    bool VideoLost() const { return m_bVideoLost; }
    POINT LastMouse() const { return m_ptLastMouse; }
    UINT_PTR Timer() const { return m_nTimer; }

private:
    // Window and layout.
    BOOL OnInitDialog();
    void DoDataExchange();
    void LayOut();
    void StretchChildren(float factor);
    void SetUpSliders();
    void SetUpClockFont();
    void OnDestroy();

    // Message routing.
    bool OnCommand(int id);
    bool OnNotify(const NMHDR& header, LPARAM lParam, LRESULT* result);
    void OnHScroll(HWND control);
    void OnVScroll(HWND control);
    // False when the tick also gets the default handling.
    bool OnTimer(UINT_PTR id);

    // Transport.
    void OnSkipBack(int stepMs);
    void OnSkipForward(int stepMs);
    void OnPlayPause();
    void OnSeek();
    LRESULT OnShuttleReleased();
    void TickWind();
    void TickBlink();

    // Showing and hiding.
    bool PassesFilters(UINT message, POINT pt);
    void ShowIfHidden();
    void Hide();
    void ClipToBar();
    void RestoreClip();
    void OnRestore();
    void OnExit();
    RECT BarRect();

    CWinampIPC& m_host;
    const Settings& m_settings;
    WindowSystem& m_windows;
    HWND m_hWnd = nullptr;

    CColourSliderCtrl m_sliderShuttle;
    CColourSliderCtrl m_sliderVolume;
    HWND m_staticTime = nullptr;
    CColourSliderCtrl m_sliderSeek;
    UINT_PTR m_nTimer = 0;
    int m_nShuttle = 0;
    OwnedFont m_pFontTime;
    int m_nHideCountdown = -1;
    bool m_bShowTime = true;
    POINT m_ptLastMouse{-1, 0};
    RECT m_rcSavedClip{0, 0, 0, 0};
    bool m_bVideoLost = false;
    // Set only while m_rcSavedClip holds a clip that was really read; a restore uses it once.
    bool m_bClipSaved = false;
};
