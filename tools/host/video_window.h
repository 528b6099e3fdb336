// The player's video window: a top-level window of class "Winamp Video" showing a moving test picture,
// either in a frame or covering the whole of one monitor.
#pragma once
#include <functional>

#include "platform/win_types.h"

// The rectangle of monitor `index`: 0 the primary one, then the others in the system's order. False
// (and the primary screen) when there is no such monitor.
bool MonitorRect(int index, RECT* rect);

class VideoWindow {
public:
    VideoWindow() = default;
    ~VideoWindow() { Destroy(); }
    VideoWindow(const VideoWindow&) = delete;
    VideoWindow& operator=(const VideoWindow&) = delete;

    // Called when someone closes the window (WM_CLOSE), as the plug-in's restore button does.
    void SetOnClose(std::function<void()> onClose) { m_onClose = std::move(onClose); }
    // A key that reached this window (it had the focus); true when it was a shortcut.
    void SetOnKey(std::function<bool(WPARAM)> onKey) { m_onKey = std::move(onKey); }
    // The wheel over this window: the player's volume, as many players use it.
    void SetOnWheel(std::function<void(int)> onWheel) { m_onWheel = std::move(onWheel); }
    void SetAnimated(bool animated) { m_animated = animated; }

    // Creates the window if needed and puts it in a frame or over the whole of monitor `monitor` (0 the
    // primary one, then the others in the system's order; a monitor that is not there is the primary).
    bool Show(bool fullScreen, int monitor = 0);
    void Destroy();
    HWND Hwnd() const { return m_hwnd; }
    bool IsFullScreen() const { return m_hwnd && m_fullScreen; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND m_hwnd = nullptr;
    bool m_fullScreen = false;
    bool m_animated = true;
    int m_frame = 0;
    std::function<void()> m_onClose;
    std::function<bool(WPARAM)> m_onKey;
    std::function<void(int)> m_onWheel;
};
