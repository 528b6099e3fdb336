// Seam: the one way the plug-in talks to the host player, a synchronous message to its main window.
#pragma once
#include "platform/win_types.h"

class HostLink {
public:
    virtual ~HostLink() = default;
    virtual LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The main window the messages go to; null where there is none.
    virtual HWND Window() { return nullptr; }
};
