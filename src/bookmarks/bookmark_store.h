// Position memory: where the user left each file, resumed when the host makes the file current again.
#pragma once
#include <cstddef>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bookmarks/bookmark_entry.h"
#include "platform/file_store.h"
#include "platform/win_types.h"

class CWinampIPC;
struct Settings;

class CBookmarkStore {
public:
    // Told when a remembered file has just been resumed (after its jump).
    struct ResumeListener { virtual void OnResumed() = 0; protected: ~ResumeListener() = default; };
    void SetResumeListener(ResumeListener* listener) { m_resumeListener = listener; }

    CBookmarkStore(CWinampIPC& host, const Settings& settings, FileStore& files);

    // Builds the data file's path from the host's INI directory and loads the remembered positions.
    void Open();
    // Every WM_USER message to the host's main window; acts on the play-status and track-info notifications.
    void OnHostNotify(LPARAM lParam, WPARAM wParam);
    // Records the last position and writes the data file.
    void Shutdown();

    // Records currentPos as the remembered position of currentFile.
    void StoreCurrent();
    // Makes name the tracked file; true when a remembered position of 0 or more is now in currentPos.
    bool Recall(const std::string& name);
    void Load();
    void Save();

    const std::string& CurrentFile() const { return currentFile; }
    int CurrentPos() const { return currentPos; }
    int UseCounter() const { return useCounter; }
    const std::string& DataFilePath() const { return dataFilePath; }
    // In order of insertion (the loaded file first, in its order).
    const std::vector<BookmarkEntry>& Entries() const { return entries; }

private:
    // StoreCurrent; true when it recorded a position.
    bool Record();
    void TrackChange(const std::string& name);
    void RefreshPosition();
    bool Bookmarking() const;
    int NextStamp();
    // The index of the first entry named name, or npos.
    std::size_t Find(const std::string& name) const;
    void Append(BookmarkEntry entry);
    void Restamp(std::size_t index, int stamp);
    void ReplaceEntries(std::vector<BookmarkEntry> loaded);
    void MergeUnreadFile();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    CWinampIPC& m_host;
    const Settings& m_settings;
    FileStore& m_files;

    std::string currentFile;
    int currentPos = -1;
    int useCounter = 0;
    std::string dataFilePath;
    std::vector<BookmarkEntry> entries;

    // Name to the first entry of that name, so a lookup costs the same however many files a run touched.
    std::unordered_map<std::string, std::size_t> m_byName;
    // (stamp, index) of every entry, so the most recent ones are at hand without sorting the list.
    std::set<std::pair<int, std::size_t>> m_byRecency;
    // True once the data file's previous contents are in the list, or were replaced by a write of ours;
    // until then a write first tries to read what it would replace.
    bool m_fileKnown = false;
    // What this run last wrote to the data file; empty before the first write (a written file never is).
    std::vector<unsigned char> m_lastWritten;
    ResumeListener* m_resumeListener = nullptr;
};
