// The configuration dialog (template 2002), modal over the bar.
#pragma once
#include "platform/profile_store.h"
#include "platform/window_system.h"

class CWinampIPC;
struct Settings;

// Runs the dialog for the call only; on OK the six settings are stored and written to the INI file.
void RunConfigDialog(WindowSystem& windows, HWND parent, Settings& settings, CWinampIPC& host,
                     ProfileStore& profile);
