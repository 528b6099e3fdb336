// The control bar over full-screen video (dialog template 2001): its window and layout, its transport
// controls and clock, and when it shows and hides.
#pragma once
#include "bar/owned_font.h"
#include "controls/colour_slider.h"
#include "platform/profile_store.h"
#include "platform/window_system.h"

class CWinampIPC;
struct Settings;

class CDlgButtons : public DialogHandler {
public:
    CDlgButtons(CWinampIPC& host, Settings& settings, WindowSystem& windows, ProfileStore& profile);
    ~CDlgButtons() override;

    // Creates the bar's window, hidden, from template 2001.
    HWND Create(HWND parent);
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Every mouse message of the host's thread; mouse->pt is read, and for a wheel message taken from
    // the queue (taken) its delta. True when the bar used the message up (the wheel over a slider).
    bool OnMouseEvent(UINT message, const MOUSEHOOKSTRUCT* mouse, bool taken = true);
    // A remembered file has just resumed: over full-screen video the bar comes up for its usual time,
    // without taking the cursor.
    void ShowNotice();
    // The host announced a new status or entry: whether video plays is asked again at the next show.
    void OnPlaybackChanged();
    // Clock text and seek slider from the host.
    void UpdateTime();
    // Volume slider from the host's volume; fine while the bar is hidden.
    void SyncVolume();
    // true: show if hidden and the video window exists; false: the hide sequence.
    void ShowBar(bool show);
    // The host's video window among the top-level windows, or null.
    HWND FindVideoWindow();

    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Posted to the bar once a click on it is done: the keyboard goes back where it was.
    static constexpr UINT kGiveKeyboardBack = WM_APP + 0x4D;

    // Read-only views for tests and diagnostics.
    int HideCountdown() const { return m_nHideCountdown; }
    int Shuttle() const { return m_nShuttle; }
    bool ShowsTime() const { return m_bShowTime; }
    bool VideoLost() const { return m_bVideoLost; }
    POINT LastMouse() const { return m_ptLastMouse; }
    UINT_PTR Timer() const { return m_nTimer; }
    HWND TimeTip() const { return m_tipTime; }

private:
    // Window and layout.
    BOOL OnInitDialog();
    void DoDataExchange();
    void LayOut();
    void PlaceOnMonitorOf(HWND video);
    void StretchChildren(float factor);
    void SetUpSliders();
    void SetUpClockFont();
    // pixels at 96 DPI, at the bar's DPI.
    int Scaled(int pixels) const;
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
    void ToggleRemaining();
    bool OnWheel(POINT pt, int delta);
    void WheelVolume(int notches);
    void TrackTip(POINT pt);
    void HideTip();

    // Showing and hiding.
    bool HostFullScreen();
    bool PassesFilters(UINT message, POINT pt);
    void ShowIfHidden(bool byMouse = true);
    int HideTicks() const;
    void Hide();
    void GiveKeyboardBack();
    void ClipToBar();
    void RestoreClip();
    void OnRestore();
    void OnExit();
    RECT BarRect();
    RECT WindowRect(HWND window);

    CWinampIPC& m_host;
    Settings& m_settings;
    WindowSystem& m_windows;
    ProfileStore& m_profile;
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

    // False for a host before 5.0, which lacks the full-screen request (and answers 1 to it).
    bool m_bHostHasFullScreen = false;
    // The host said no video plays (full screen is a visualisation).
    bool m_bNoVideo = false;
    // The children's rectangles in the bar's client area as the template made them, and its width, so the
    // bar can be stretched again for another monitor without the truncations adding up. The first
    // stretch records them.
    static constexpr int kMaxChildren = 16;
    RECT m_rcChildTemplate[kMaxChildren] = {};
    int m_nChildren = 0;
    int m_nTemplateWidth = 0;
    // Whether the children were last placed with the previous and next buttons.
    bool m_bListButtons = false;
    // The track length the last refresh saw, for the time tip.
    int m_nLength = -1;
    // Wheel movement below one notch, kept for the next message.
    int m_nWheelRest = 0;
    HWND m_tipTime = nullptr;
    static constexpr int kBaseDpi = 96;
    // The DPI the clock's font was made for.
    int m_nDpi = kBaseDpi;
    // Where the keyboard was when the bar last showed: the foreground window and this thread's focus.
    HWND m_hKeyboardTop = nullptr;
    HWND m_hKeyboardFocus = nullptr;
};
