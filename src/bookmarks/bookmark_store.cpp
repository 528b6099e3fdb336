#include "bookmarks/bookmark_store.h"

CBookmarkStore::CBookmarkStore(CWinampIPC& host, const Settings& settings, FileStore& files)
    : m_host(host), m_settings(settings), m_files(files) {}

void CBookmarkStore::Open() {}

void CBookmarkStore::OnHostNotify(LPARAM, WPARAM) {}

void CBookmarkStore::Shutdown() {}
