// The host's thread on a slow disk (a network share, a sleeping USB disk): every read, write and flush
// of the data file and of a file's identity takes 200 ms behind the file-store seam. A track change to a
// file that is read for its identity is timed against the same change to names that are read for none
// (streams), and the clock's 30-second write against the 200 ms one disk call takes.
#include <cstdio>
#include <string>
#include <vector>

#include "bookmarks/bookmark_store.h"
#include "fake_host.h"
#include "host/winamp_ipc.h"
#include "null_window_system.h"
#include "platform/win32/win32_seams.h"
#include "settings/settings.h"
#include "timing.h"

namespace {
constexpr DWORD kDiskMs = 200;
constexpr int kChanges = 12;

class SlowFileStore : public FileStore {
public:
    Reading ReadAll(const std::string& path, std::vector<unsigned char>& bytes) override {
        ::Sleep(kDiskMs);
        return m_disk.ReadAll(path, bytes);
    }
    bool Gone(const std::string& path, bool utf8) override { return m_disk.Gone(path, utf8); }
    Outcome Replace(const std::string& path, const std::vector<unsigned char>& bytes) override {
        ::Sleep(2 * kDiskMs); // the write and its flush
        return m_disk.Replace(path, bytes);
    }
    FileIdentity Identify(const std::string& path, bool utf8) override {
        ::Sleep(2 * kDiskMs); // the file's two ends
        return m_disk.Identify(path, utf8);
    }

private:
    Win32FileStore m_disk;
};

// Host-thread microseconds of each track change among names, and of each 30-second write.
void TimeRun(const std::string& folder, const std::vector<std::string>& names, std::vector<double>& changes,
             std::vector<double>& writes) {
    FakeHost host;
    host.iniDirectory = folder;
    host.playlist = names;
    host.lengthSeconds = 3600;
    CWinampIPC ipc{host};
    Settings settings;
    SlowFileStore files;
    Win32Background background{files};
    NullWindowSystem windows;
    Win32CodePage codePage;
    CBookmarkStore store{ipc, settings, background, windows, codePage, nullptr};
    store.Open();
    DWORD now = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        host.listPos = static_cast<int>(i);
        host.position = 0;
        double start = Now();
        store.OnHostNotify(ipc::kNotify, ipc::kNotifyInfo);
        changes.push_back((Now() - start) * 1e6);
        store.OnClock(now += 1000);
        host.position = 31000;
        start = Now();
        store.OnClock(now += 31000);
        writes.push_back((Now() - start) * 1e6);
    }
    store.Shutdown(); // waits for the last write: not the host's time while it plays
}
} // namespace

void ReportSlowDisk() {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "morvix-slow-bench-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\plugins").c_str(), nullptr);
    std::vector<std::string> films, streams;
    const std::string content(300000, 'x');
    for (int i = 0; i < kChanges; ++i) {
        films.push_back(folder + "\\film " + std::to_string(i) + ".mkv");
        streams.push_back("http://radio.example/" + std::to_string(i) + ".mkv");
        HANDLE file = ::CreateFileA(films.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    std::vector<double> filmChanges, filmWrites, streamChanges, streamWrites;
    TimeRun(folder, films, filmChanges, filmWrites);
    TimeRun(folder, streams, streamChanges, streamWrites);
    for (const std::string& film : films)
        ::DeleteFileA(film.c_str());
    ::DeleteFileA((folder + "\\plugins\\gen_morvix.dat").c_str());
    ::RemoveDirectoryA((folder + "\\plugins").c_str());
    ::RemoveDirectoryA(folder.c_str());
    std::printf("slow disk (%lu ms a call), host thread: track change median %.1f us with identity reads, %.1f us "
                "without; 30-second write median %.1f us (%d of each)\n",
                kDiskMs, Median(filmChanges), Median(streamChanges), Median(filmWrites), kChanges);
}
