// The bar wired to a simulated player and the fake window system, created as the plug-in creates it.
#pragma once
#include "bar/dlg_buttons.h"
#include "fake_bar_windows.h"
#include "fake_host.h"
#include "memory_profile_store.h"
#include "host/winamp_ipc.h"
#include "settings/settings.h"

struct BarRig {
    FakeHost player;
    CWinampIPC host{player};
    Settings settings;
    FakeBarWindows windows;
    MemoryProfileStore profile;
    CDlgButtons bar{host, settings, windows, profile};

    void Create() {
        bar.Create(nullptr);
        windows.calls.clear();
        player.ClearLog();
    }
    // A click on a bar button, as the button notifies its dialog.
    void Click(int id) {
        windows.Dispatch(WM_COMMAND, MAKELPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(windows.Item(id)));
    }
    // A slider moved by the user to pos; the bar reads the position from the slider itself.
    void Scroll(int id, int pos, UINT message = WM_HSCROLL) {
        const HWND slider = windows.Item(id);
        windows.W(slider).pos = pos;
        const WPARAM thumbTrack = 5;
        windows.Dispatch(message, thumbTrack, reinterpret_cast<LPARAM>(slider));
    }
    void ReleaseShuttle() {
        NMHDR header{windows.Item(2002), 2002, NM_RELEASEDCAPTURE};
        LRESULT result = -1;
        windows.Dispatch(WM_NOTIFY, 2002, reinterpret_cast<LPARAM>(&header), &result);
    }
    // One bar tick; true when it was handled without the default handling (it hid the bar).
    bool Tick() { return windows.Dispatch(WM_TIMER, bar.Timer(), 0); }
    void Mouse(UINT message, LONG x, LONG y) {
        MOUSEHOOKSTRUCT m{};
        m.pt = POINT{x, y};
        windows.cursor = m.pt;
        windows.cursorKnown = true;
        bar.OnMouseEvent(message, &m);
    }
    bool Visible() { return windows.IsWindowVisible(windows.bar()) != FALSE; }
    std::string& ClockText() { return windows.W(windows.Item(2003)).text; }
    FakeWindow& Slider(int id) { return windows.W(windows.Item(id)); }
};

// Screen points of the default rig: the bar lies along the bottom of an 800 x 600 full-screen area.
constexpr LONG kInsideX = 400, kInsideY = 560;
constexpr LONG kOutsideX = 400, kOutsideY = 100;

// A rig whose player shows video full screen, with the bar created and hidden.
struct VideoRig : BarRig {
    HWND video = nullptr;
    VideoRig() {
        video = windows.AddTopLevel("Winamp Video");
        Create();
    }
    void ShowOutside() {
        Mouse(WM_LBUTTONDOWN, kOutsideX, kOutsideY);
        windows.calls.clear();
        player.ClearLog();
    }
};
