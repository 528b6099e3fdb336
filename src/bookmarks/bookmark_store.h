// Position memory: where the user left each file, resumed when the file comes back.
#pragma once
#include <string>

#include "platform/file_store.h"
#include "platform/win_types.h"

class CWinampIPC;
struct Settings;

class CBookmarkStore {
public:
    CBookmarkStore(CWinampIPC& host, const Settings& settings, FileStore& files);

    void Open();
    void OnHostNotify(LPARAM lParam, WPARAM wParam);
    void Shutdown();

private:
    CWinampIPC& m_host;
    const Settings& m_settings;
    FileStore& m_files;
};
