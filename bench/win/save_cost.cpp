// The cost of one save of the data file through the real Win32 file store: a full file of 30 entries,
// written beside the old one and renamed over it, as each recorded track change or stop does.
#include <cstdio>
#include <string>
#include <vector>

#include "bookmarks/data_file_codec.h"
#include "platform/win32/win32_seams.h"
#include "timing.h"

namespace {
constexpr int kSaves = 100;
constexpr int kWarmUp = 5;
} // namespace

void ReportSaveCost() {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "morvix-save-bench-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\gen_morvix.dat";

    std::vector<BookmarkEntry> entries;
    for (int i = 0; i < static_cast<int>(data_file::kMaxEntries); ++i)
        entries.push_back(
            {"C:\\Users\\Someone\\Videos\\Series\\Episode " + std::to_string(i) + " - A Title.mkv",
             60000 * i + 1234, i});
    const std::vector<unsigned char> bytes = EncodeDataFile(entries);

    Win32FileStore files;
    std::vector<double> times;
    bool ok = true;
    for (int i = 0; i < kWarmUp + kSaves; ++i) {
        const double start = Now();
        ok = files.Replace(path, bytes) == FileStore::Outcome::Written && ok;
        if (i >= kWarmUp) times.push_back((Now() - start) * 1e6);
    }
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(folder.c_str());
    std::printf("one data-file save through the Win32 file store (%zu bytes, %d saves%s): median %.1f us, "
                "best %.1f us\n",
                bytes.size(), kSaves, ok ? "" : ", SOME FAILED", Median(times), Best(times));
}
