// What the two taps on the host do before passing a message on. Both only observe: the Win32 procedures
// around them always chain to the previous window procedure and the next hook, and return their results.
#pragma once
#include "host/winamp_ipc.h"
#include "platform/win_types.h"

// A message to the host's main window, before the host's own procedure sees it.
template <class Store, class Bar>
void ObserveHostMessage(Store& store, Bar& bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER) return;
    store.OnHostNotify(lParam, wParam);
    if (lParam == ipc::kNotify && wParam == ipc::kNotifyVolume) bar.SyncVolume();
}

// A mouse message of the host's thread; negative codes are only for the next hook.
template <class Bar> void ObserveMouse(Bar& bar, int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0) return;
    bar.OnMouseEvent(static_cast<UINT>(wParam), reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam));
}
