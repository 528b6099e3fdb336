// A thin trackbar wrapper: one message per method, the handle borrowed from the dialog item it is bound to.
#pragma once
#include "platform/window_system.h"

class CSliderCtrl {
public:
    explicit CSliderCtrl(WindowSystem& windows) : m_windows(windows) {}
    virtual ~CSliderCtrl() = default;
    CSliderCtrl(const CSliderCtrl&) = delete;
    CSliderCtrl& operator=(const CSliderCtrl&) = delete;

    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    int GetPos() const { return static_cast<int>(Send(TBM_GETPOS, 0, 0)); }
    void SetPos(int pos) {
        const WPARAM redraw = TRUE;
        Send(TBM_SETPOS, redraw, pos);
    }
    void SetRange(int minimum, int maximum, bool redraw) {
        Send(TBM_SETRANGEMIN, FALSE, minimum);
        Send(TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
    }
    int GetRangeMin() const { return static_cast<int>(Send(TBM_GETRANGEMIN, 0, 0)); }
    int GetRangeMax() const { return static_cast<int>(Send(TBM_GETRANGEMAX, 0, 0)); }
    void SetTicFreq(int frequency) { Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0); }
    void SetSelection(int start, int end) {
        Send(TBM_SETSELSTART, FALSE, start);
        Send(TBM_SETSELEND, FALSE, end);
    }
    void GetSelection(int& start, int& end) const {
        start = static_cast<int>(Send(TBM_GETSELSTART, 0, 0));
        end = static_cast<int>(Send(TBM_GETSELEND, 0, 0));
    }

protected:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return m_windows.SendMessageA(m_hWnd, message, wParam, lParam);
    }
    WindowSystem& m_windows;
    HWND m_hWnd = nullptr;
};
