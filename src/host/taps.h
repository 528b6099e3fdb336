// What the two taps on the host do before passing a message on. Both observe: the Win32 procedures
// around them always chain to the previous window procedure and the next hook, and return their results,
// except for a wheel message the bar used up, which the hook keeps from its window.
#pragma once
#include "host/winamp_ipc.h"
#include "platform/win_types.h"

// A message to the host's main window, before the host's own procedure sees it.
template <class Store, class Bar>
void ObserveHostMessage(Store& store, Bar& bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER) return;
    store.OnHostNotify(lParam, wParam);
    if (lParam != ipc::kNotify) return;
    if (wParam == ipc::kNotifyVolume) bar.SyncVolume();
    if (wParam == ipc::kNotifyStatus || wParam == ipc::kNotifyInfo) bar.OnPlaybackChanged();
}

// A mouse message of the host's thread; negative codes are only for the next hook. True when the bar
// used the message up (a message only peeked at never is).
template <class Bar> bool ObserveMouse(Bar& bar, int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0) return false;
    return bar.OnMouseEvent(static_cast<UINT>(wParam), reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam),
                            code == HC_ACTION);
}
