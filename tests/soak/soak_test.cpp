// The soak: the stand-in host plays a playlist of 3,000 files for MORVIX_SOAK_SECONDS (default 60) while
// the user does everything the plug-in reacts to, over and over. Every 10 s the process's heap bytes in
// use, private bytes, handle count and GDI objects are sampled; afterwards every series must be flat, the
// data file must hold the 30 files used last, and every round must have found the bar working.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bookmarks/data_file_codec.h"
#include "harness.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kPlaylistSize = 3000;
// Files flipped past in each round on the way to the one that plays, as a person looking for one does:
// each is a track change the memory records, so a run of a few minutes between restarts uses more files
// than the memory keeps (1,000).
constexpr int kFlippedPerRound = 20;
constexpr double kSampleEverySeconds = 10;
// How long a round waits for what a person would see: generous, as the 32-bit DLL runs emulated on a
// shared machine; a wait ends as soon as its condition holds.
constexpr int kDeadlineMs = 8000;

// Wine's GetGuiResources answers 0. Wine keeps the GDI handle table in the process, where Windows keeps
// its shared one, and points the PEB's GdiSharedHandleTable at it: an entry whose type is not 0 is a
// live object of this process (the stock objects included, which never change).
struct GdiHandleEntry {
    unsigned long long object;
    unsigned int owner;
    unsigned short unique;
    unsigned char type;
    unsigned char flags;
    unsigned long long userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the table's entries are 24 bytes on both architectures");
constexpr int kGdiMaxHandles = 0x10000;

// GCC sees the segment read inside NtCurrentTeb as an access to an empty array.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
const GdiHandleEntry* GdiHandleTable() {
    const auto* teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
    const auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    if (sizeof(void*) == 4) {
        // A 32-bit process of 64-bit Wine has the table in its 64-bit PEB, which it finds through the
        // 64-bit TEB whose address the 32-bit TEB keeps in GdiBatchCount; all of them lie below 4 GB.
        const ULONG teb64 = *reinterpret_cast<const ULONG*>(teb + 0xF70);
        if (teb64 != 0) {
            const auto peb64 = static_cast<ULONG_PTR>(*reinterpret_cast<const ULONGLONG*>(teb64 + 0x60));
            return reinterpret_cast<const GdiHandleEntry*>(
                static_cast<ULONG_PTR>(*reinterpret_cast<const ULONGLONG*>(peb64 + 0xF8)));
        }
    }
    constexpr std::size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    return *reinterpret_cast<GdiHandleEntry* const*>(peb + kTableOffset);
}
#pragma GCC diagnostic pop

double GdiObjects() {
    const GdiHandleEntry* table = GdiHandleTable();
    if (table == nullptr) return -1;
    int count = 0;
    for (int i = 0; i < kGdiMaxHandles; ++i)
        count += table[i].type != 0;
    return count;
}

// Wine answers 0 for PrivateUsage and for GetProcessHandleCount, so both are counted directly: the
// committed private memory of the address space, region by region (what Windows calls private bytes),
// and the handle values the kernel accepts.
double PrivateBytes() {
    double bytes = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* at = nullptr;
    while (::VirtualQuery(at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return bytes;
}

// The bytes that the process's heaps have handed out and not taken back, to the byte: a small leak shows
// here long before it commits a page of private bytes.
double HeapBytes() {
    HANDLE heaps[256];
    const DWORD count = ::GetProcessHeaps(256, heaps);
    double bytes = 0;
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        ::HeapUnlock(heaps[i]);
    }
    return bytes;
}

constexpr int kHandleValuesProbed = 0x4000;

double Handles() {
    int count = 0;
    for (int i = 1; i <= kHandleValuesProbed; ++i) {
        DWORD flags = 0;
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(i) * 4), &flags) != 0;
    }
    return count;
}

struct Series {
    const char* name;
    const char* unit;
    double (*read)();
    // A rise from one third of the run to the next smaller than this is noise.
    double tolerance;
    std::vector<double> values;
};

// Least-squares slope of the values against the sample times, per minute.
double SlopePerMinute(const std::vector<double>& minutes, const std::vector<double>& values) {
    const double n = static_cast<double>(values.size());
    double mt = 0, mv = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        mt += minutes[i] / n;
        mv += values[i] / n;
    }
    double num = 0, den = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        num += (minutes[i] - mt) * (values[i] - mv);
        den += (minutes[i] - mt) * (minutes[i] - mt);
    }
    return den > 0 ? num / den : 0;
}

// A series grows when it rises by more than its noise allowance both from the first third of the run to
// the middle third and from the middle third to the last (comparing the thirds' means), with its largest
// rise between two samples taken out. A leak climbs in both thirds and between many samples; a one-time
// step (a cache the system fills once, a thread's stack Wine frees only when the next thread ends) is
// one rise, wherever in the run it falls, and a sample caught with something in flight raises one
// comparison only by lowering the other.
bool Grows(const Series& s) {
    const std::size_t n = s.values.size();
    if (n < 3) return false;
    std::size_t step = 1;
    for (std::size_t i = 2; i < n; ++i)
        if (s.values[i] - s.values[i - 1] > s.values[step] - s.values[step - 1]) step = i;
    const double stepRise = std::max(0.0, s.values[step] - s.values[step - 1]);
    const auto mean = [&](std::size_t from, std::size_t to) {
        double sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += s.values[i] - (i >= step ? stepRise : 0);
        return sum / static_cast<double>(to - from);
    };
    const double first = mean(0, n / 3), middle = mean(n / 3, n - n / 3), last = mean(n - n / 3, n);
    return middle - first > s.tolerance && last - middle > s.tolerance;
}

int SoakSeconds() {
    const char* text = std::getenv("MORVIX_SOAK_SECONDS");
    const int seconds = text ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 60;
}

std::vector<PlaylistEntry> LongPlaylist() {
    std::vector<PlaylistEntry> list;
    for (int i = 0; i < kPlaylistSize; ++i)
        list.push_back({"C:\\Media\\Soak\\file " + std::to_string(i) + ".avi", 600});
    return list;
}

class Soak {
public:
    // The boxes are answered by one watch each for the whole run: a watch added per round would grow
    // the harness's own memory, which this process's heap series would count against the plug-in.
    Soak() : m_host(Options()) {
        m_host.WhenWindowAppears("Morvix", [](HWND box) { e2e::TestHost::PressButton(box, IDOK); }, true);
        m_host.WhenWindowAppears(
            "Config Morvix", [](HWND dialog) { e2e::TestHost::PressButton(dialog, IDCANCEL); }, true);
    }

    void Run(int seconds) {
        const DWORD start = ::GetTickCount();
        const DWORD restartEveryMs = seconds >= 360 ? 120000u : static_cast<DWORD>(seconds) * 1000u / 3u;
        DWORD nextRestart = start + restartEveryMs;
        double nextSample = 0;
        Round(); // the first round warms caches up before the first sample
        for (;;) {
            const double elapsed = (::GetTickCount() - start) / 1000.0;
            if (elapsed >= nextSample) {
                Sample(elapsed);
                nextSample += kSampleEverySeconds;
            }
            if (elapsed >= seconds) break;
            if (static_cast<long>(::GetTickCount() - nextRestart) >= 0) {
                RestartPlugin();
                nextRestart += restartEveryMs;
            }
            Round();
        }
    }

    // Prints the series and checks them; then the host quits and the data file is read back.
    void Report() {
        const double span = m_minutes.empty() ? 0 : m_minutes.back() - m_minutes.front();
        std::printf("soak: %d rounds, %d plug-in restarts, %zu samples over %.1f min\n", m_rounds, m_restarts,
                    m_minutes.size(), span);
        std::printf("soak:   %-14s %12s %12s %12s %14s  %s\n", "series", "first", "last", "max", "slope/min",
                    "verdict");
        for (const Series& s : m_series) {
            const double slope = SlopePerMinute(m_minutes, s.values);
            const bool grows = Grows(s);
            std::printf("soak:   %-14s %12.0f %12.0f %12.0f %14.1f  %s\n", s.name, s.values.front(),
                        s.values.back(), *std::max_element(s.values.begin(), s.values.end()), slope,
                        grows ? "GROWS" : "flat");
            EXPECT_FALSE(grows) << s.name << " (" << s.unit << ") grows by " << slope
                                << " per minute:" << Listing(s);
        }
        std::string findings;
        for (const std::string& finding : m_findings)
            findings += "\n  " + finding;
        EXPECT_TRUE(m_findings.empty())
            << "rounds that found the plug-in misbehaving (first 20):" << findings;
        CheckDataFile();
    }

private:
    static e2e::TestHostOptions Options() {
        e2e::TestHostOptions options;
        options.ini = "[gen_morvix]\r\nbookmark=1\r\nclipmouse=1\r\nmousepause=1\r\n";
        options.playlist = LongPlaylist();
        return options;
    }

    void Sample(double seconds) {
        m_host.Log().Clear(); // the stand-in host's own record of requests is not the plug-in's memory
        m_minutes.push_back(seconds / 60);
        std::printf("soak: sample at %6.1f s:", seconds);
        for (Series& s : m_series) {
            s.values.push_back(s.read());
            std::printf("  %s %.0f", s.name, s.values.back());
        }
        std::printf("\n");
        std::fflush(stdout);
    }

    std::string Listing(const Series& s) const {
        std::string out;
        for (std::size_t i = 0; i < s.values.size(); ++i)
            out += " " + std::to_string(static_cast<long long>(s.values[i]));
        return out;
    }

    void Finding(std::string what) {
        std::replace(what.begin(), what.end(), '\n', ' ');
        if (m_findings.size() < 20) m_findings.push_back("round " + std::to_string(m_rounds) + ": " + what);
        std::printf("soak: round %d: %s\n", m_rounds, what.c_str());
    }

    // A new file every round, as the playlist advances; it plays on.
    void ChangeTrack() {
        for (int k = 0; k < kFlippedPerRound; ++k) {
            m_track = (m_track + 1) % kPlaylistSize;
            m_host.Player().SetListPos(m_track);
            m_used.push_back(m_track);
        }
        m_track = (m_track + 1) % kPlaylistSize;
        m_host.Player().SetListPos(m_track);
        if (m_host.Player().Status() != SimPlayer::kPlaying) m_host.Player().Play();
        m_used.push_back(m_track);
        m_host.WaitFor([] { return false; }, 300); // let it play a little, so a position is recorded
    }

    bool BringUpBar() {
        const int x = 400 + (m_rounds % 7) * 40, y = 300 + (m_rounds % 5) * 30;
        m_host.MouseMove(x, y);
        m_host.MouseMove(x + 12, y + 7);
        return m_host.WaitFor([&] { return m_host.BarVisible(); }, kDeadlineMs);
    }

    bool BarHiddenWithWholeScreenClip() {
        RECT clip;
        ::GetClipCursor(&clip);
        return !m_host.BarVisible() && clip.left == 0 && clip.top == 0 &&
               clip.right == ::GetSystemMetrics(SM_CXSCREEN) &&
               clip.bottom == ::GetSystemMetrics(SM_CYSCREEN);
    }

    void ClickEveryButton() {
        for (const int id : {IDC_SKIP_BACK30, IDC_SKIP_BACK10, IDC_SKIP_BACK5, IDC_SKIP_FWD5, IDC_SKIP_FWD10,
                             IDC_SKIP_FWD30, IDC_PLAYPAUSE, IDC_PLAYPAUSE}) {
            if (!m_host.ClickBarControlWithMouse(id))
                Finding("could not click bar control " + std::to_string(id));
        }
        m_host.RightClick(m_host.BarRect().left + 5, m_host.BarRect().top + 5); // pause toggle by mouse
        m_host.RightClick(m_host.BarRect().left + 5, m_host.BarRect().top + 5);
    }

    void DragSliders() {
        for (const int id : {IDC_SEEK, IDC_VOLUME, IDC_SHUTTLE}) {
            const probe::Slider slider = m_host.Slider(id);
            HWND control = m_host.BarControl(id);
            if (control == nullptr) continue;
            const RECT rc = probe::WindowRect(control);
            const int y = (rc.top + rc.bottom) / 2, x = (rc.left + rc.right) / 2;
            const int thumb =
                (slider.max > slider.min)
                    ? rc.left + static_cast<int>((rc.right - rc.left) *
                                                 static_cast<long long>(slider.pos - slider.min) /
                                                 (slider.max - slider.min))
                    : x;
            m_host.Drag(std::clamp(thumb, static_cast<int>(rc.left) + 8, static_cast<int>(rc.right) - 8), y,
                        x + (m_rounds % 2 ? 40 : -40), y);
        }
        m_host.WaitFor([] { return false; }, 600); // a tick or so with the shuttle released
    }

    // What Alt+F4 does to the active window; afterwards the bar must be hidden the way every hide goes,
    // and come back at the next move.
    void AltF4OnBar() {
        HWND bar = m_host.Bar();
        ::PostMessageA(bar, WM_SYSCOMMAND, SC_CLOSE, 0);
        m_host.WaitFor([&] { return !m_host.BarVisible(); }, kDeadlineMs);
        if (!::IsWindow(bar)) return Finding("Alt+F4 destroyed the bar's window");
        if (!BarHiddenWithWholeScreenClip())
            Finding(std::string("Alt+F4 on the bar left it ") + (m_host.BarVisible() ? "shown" : "hidden") +
                    " with the cursor clip not given back");
        if (!BringUpBar()) Finding("after Alt+F4 the bar did not come back at the next mouse move");
    }

    void LoseAndRestoreVideo() {
        const int answered = m_host.Answers("Morvix");
        m_host.DestroyVideoKeepingFullScreen();
        m_host.MouseMove(500, 400);
        m_host.MouseMove(530, 420);
        if (!m_host.WaitFor([&] { return m_host.Answers("Morvix") > answered; }, kDeadlineMs))
            Finding("no message box when the video window was lost");
        m_host.WaitFor([] { return e2e::TestHost::FindWindowByTitle("Morvix") == nullptr; }, kDeadlineMs);
        m_host.SetFullScreen(false);
        m_host.SetFullScreen(true);
    }

    void OpenAndCancelConfig() { m_host.Config(); }

    void Round() {
        ++m_rounds;
        ChangeTrack();
        m_host.SetFullScreen(true);
        if (m_rounds % 3 == 1) LoseAndRestoreVideo(); // while the bar is hidden, as only then is it missed
        if (!BringUpBar()) {
            Finding("the bar did not show at a mouse move over full-screen video; " + probe::DescribeBar());
        } else {
            ClickEveryButton();
            DragSliders();
            if (m_rounds % 3 == 0) AltF4OnBar();
            // Leave full screen through the bar's Rstr; the next move then puts the bar away.
            if (m_host.BarVisible()) m_host.ClickBarControlWithMouse(IDC_RESTORE);
        }
        // Over the framed video: a move over the bare desktop reaches no window of the host's thread.
        m_host.SetFullScreen(false);
        const RECT video = probe::WindowRect(m_host.VideoWindow());
        m_host.MouseMove(video.left + 40, video.top + 60);
        m_host.MouseMove(video.left + 60, video.top + 80);
        if (!m_host.WaitFor([&] { return BarHiddenWithWholeScreenClip(); }, kDeadlineMs))
            Finding("out of full screen the bar is not hidden with the whole screen to move in; " +
                    probe::DescribeBar());
        OpenAndCancelConfig();
    }

    // The player quits the plug-in and starts it again (quit, init), the DLL staying loaded; every
    // other time the user presses "Exit WinAmp" on the bar and the host starts anew, loading it again.
    void RestartPlugin() {
        ++m_restarts;
        if (m_restarts % 2 == 1) {
            const GeneralPurposePluginRecord* record = m_host.Record();
            record->quit();
            record->init();
            return;
        }
        m_host.SetFullScreen(true);
        if (!BringUpBar()) return Finding("the bar did not show before Exit WinAmp");
        m_host.ClickBarControlWithMouse(IDC_EXIT);
        if (!m_host.WaitFor([&] { return !m_host.Running(); }, kDeadlineMs))
            return Finding("Exit WinAmp did not make the host quit");
        m_host.Restart();
    }

    // Quit writes the file; it must hold the 30 distinct files used last, most recent first.
    void CheckDataFile() {
        m_host.Quit();
        const auto bytes = e2e::TestHost::ReadFile(m_host.DataFile());
        ASSERT_TRUE(bytes.has_value()) << "no data file at " << m_host.DataFile();
        const DecodedDataFile file =
            DecodeDataFile(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size());
        std::vector<std::string> expected;
        for (auto it = m_used.rbegin(); it != m_used.rend() && expected.size() < data_file::kMaxEntries;
             ++it) {
            const std::string name = "C:\\Media\\Soak\\file " + std::to_string(*it) + ".avi";
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) expected.push_back(name);
        }
        std::vector<std::string> got;
        for (const BookmarkEntry& entry : file.entries)
            got.push_back(entry.fileName);
        EXPECT_EQ(expected, got) << "the data file (" << bytes->size() << " bytes) does not hold the "
                                 << expected.size() << " files used last, most recent first";
    }

    e2e::TestHost m_host;
    // Measured without a leak, a 60 s run's heap rises by a few KB from one third to the next (the
    // store remembers one more file each round until a restart), and private bytes by whole 64 KB
    // steps now and then; a leak of 10 KB per round adds well over 100 KB to both rises on either DLL.
    std::vector<Series> m_series = {{"heap bytes", "bytes", HeapBytes, 32 * 1024.0, {}},
                                    {"private bytes", "bytes", PrivateBytes, 256 * 1024.0, {}},
                                    {"handles", "handles", Handles, 4, {}},
                                    {"GDI objects", "objects", GdiObjects, 4, {}}};
    std::vector<double> m_minutes;
    std::vector<std::string> m_findings;
    std::vector<int> m_used;
    int m_track = 0;
    int m_rounds = 0;
    int m_restarts = 0;
};

TEST(Soak, NothingGrowsAndTheBarKeepsWorking) {
    // The GDI count must see one pen come and go, or the GDI series would prove nothing.
    const double before = GdiObjects();
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    const double with = GdiObjects();
    ::DeleteObject(pen);
    ASSERT_EQ(before + 1, with) << "the GDI handle table cannot be read here";
    ASSERT_EQ(before, GdiObjects());

    Soak soak;
    soak.Run(SoakSeconds());
    soak.Report();
}

} // namespace
