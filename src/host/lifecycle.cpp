#include "host/lifecycle.h"

#include "bar/dlg_buttons.h"
#include "bookmarks/bookmark_store.h"
#include "settings/settings.h"

// Both taps are live before the bar, the store and the settings are ready; the settings come last.
int PluginInit(PluginParts& parts) {
    parts.taps.SubclassHostWindow();
    parts.taps.InstallMouseHook();
    parts.bar.Create(nullptr);
    parts.bookmarks.Open();
    parts.settings.Load(parts.host, parts.profile);
    return 0;
}

void PluginQuit(PluginParts& parts) {
    parts.windows.SendMessageA(parts.bar.GetSafeHwnd(), WM_CLOSE, 0, 0);
    parts.bookmarks.Shutdown();
    if (parts.taps.HasMouseHook()) parts.taps.RemoveMouseHook();
    parts.taps.RestoreHostWindow();
    // The bar's window procedure lives in this DLL, which the host may unload next: the window goes now,
    // while we are on its thread and outside the loader.
    parts.windows.DestroyWindow(parts.bar.GetSafeHwnd());
}
