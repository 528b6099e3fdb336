#include "settings/dlg_config.h"

void RunConfigDialog(WindowSystem&, HWND, Settings&, CWinampIPC&, ProfileStore&) {}
