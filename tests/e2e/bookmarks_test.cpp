// Position memory with the real DLL in the stand-in host: the data file on disk across host runs, a host
// that dies without quit, and data files the plug-in may not write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bookmarks/data_file_codec.h"
#include "harness.h"

namespace {
using e2e::TestHost;
using e2e::TestHostOptions;

const char* const kA = "C:\\Media\\a.avi";
const char* const kB = "C:\\Media\\b.avi";
const char* const kC = "C:\\Media\\c.avi";

// The data file's current layout, built by hand.
struct DataFile {
    std::string bytes;
    explicit DataFile(int count) { Int(31).Int(count); }
    DataFile& Int(std::int32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>(std::uint32_t(v) >> shift));
        return *this;
    }
    DataFile& Entry(const std::string& name, int position) {
        Int(1).Int(static_cast<std::int32_t>(name.size()));
        bytes += name;
        return Int(position);
    }
};

std::string Hex(const std::optional<std::string>& bytes) {
    if (!bytes) return "(no file)";
    std::string out;
    char buffer[4];
    for (unsigned char c : *bytes) {
        std::snprintf(buffer, sizeof buffer, "%02x ", c);
        out += buffer;
    }
    return out;
}

TestHostOptions TwoFiles() {
    TestHostOptions options;
    options.playlist = {{kA, 600}, {kB, 300}, {kC, 120}};
    options.manualClock = true;
    return options;
}

// What the real player does while a file plays: it reports changed track information now and then.
void TrackInfoChanged(TestHost& host) {
    ::SendMessageA(host.MainWindow(), WM_USER, 5, 603);
}

// Plays a.avi to 61 s, then moves on to b.avi.
void WatchAThenMoveToB(TestHost& host) {
    host.Player().Play();
    host.AdvanceClock(61000);
    TrackInfoChanged(host);
    host.Player().Next();
}

// The worker writes the file soon after the host's thread has handed the bytes over.
// Where the data file has name, -1 when nowhere.
int PositionIn(TestHost& host, const std::string& name) {
    const std::string bytes = TestHost::ReadFile(host.DataFile()).value_or("");
    for (const BookmarkEntry& e :
         DecodeDataFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()).entries)
        if (e.fileName == name) return e.position;
    return -1;
}

// The file holds these entries, and after them nothing but the block of when each was played.
bool FileHolds(TestHost& host, const std::string& bytes) {
    return host.WaitFor([&] {
        const std::string file = TestHost::ReadFile(host.DataFile()).value_or("");
        return file.compare(0, bytes.size(), bytes) == 0 &&
               (file.size() == bytes.size() || file.compare(bytes.size(), 4, "MRVX") == 0);
    });
}

const std::string kAfterFirstRun = DataFile(2).Entry(kB, 0).Entry(kA, 61000).bytes;

// The log positions of the plug-in's pause and jumps since the log was last cleared.
struct Moves {
    std::vector<std::size_t> pauses;
    std::vector<std::pair<std::size_t, int>> jumps;
    std::size_t firstStatusQuery = SIZE_MAX;
};
Moves MovesIn(TestHost& host) {
    Moves m;
    const auto& log = host.Log().Entries();
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].IsCommand(40046)) m.pauses.push_back(i);
        if (log[i].IsUser(106)) m.jumps.emplace_back(i, static_cast<int>(log[i].wParam));
        if (log[i].IsUser(104) && m.firstStatusQuery == SIZE_MAX) m.firstStatusQuery = i;
    }
    return m;
}

TEST(Bookmarks, FirstRunWritesThePositionsAndASecondRunResumesPaused) {
    TestHost host(TwoFiles());
    WatchAThenMoveToB(host);
    host.Quit();
    EXPECT_TRUE(FileHolds(host, kAfterFirstRun)) << Hex(TestHost::ReadFile(host.DataFile()));

    host.Restart();
    host.Player().SetListPos(1); // b.avi first: the first file of a run is never paused
    host.Player().Play();
    host.Log().Clear();
    host.Player().SetListPos(0);
    const Moves moves = MovesIn(host);
    ASSERT_EQ(1u, moves.pauses.size()) << host.Describe();
    ASSERT_EQ(1u, moves.jumps.size()) << host.Describe();
    EXPECT_LT(moves.firstStatusQuery, moves.pauses[0]);
    EXPECT_LT(moves.pauses[0], moves.jumps[0].first) << "paused before the jump";
    EXPECT_EQ(61000, moves.jumps[0].second) << host.Describe();
    EXPECT_EQ(3, host.Player().Status());
    EXPECT_EQ(61000, host.Player().PositionMs());
}

TEST(Bookmarks, TheFirstFileOfARunIsResumedWithoutPause) {
    TestHostOptions options = TwoFiles();
    options.dataFile = kAfterFirstRun;
    TestHost host(options);
    host.Log().Clear();
    host.Player().Play(); // a.avi
    const Moves moves = MovesIn(host);
    EXPECT_TRUE(moves.pauses.empty()) << host.Describe();
    ASSERT_EQ(1u, moves.jumps.size()) << host.Describe();
    EXPECT_EQ(61000, moves.jumps[0].second);
    EXPECT_EQ(1, host.Player().Status());
}

TEST(Bookmarks, AResumeOverFullScreenVideoBringsTheBarUpForItsTimeWithoutTakingTheCursor) {
    TestHostOptions options = TwoFiles();
    options.dataFile = kAfterFirstRun;
    options.ini = "[Winamp]\r\n[gen_morvix]\r\nclipmouse=1\r\n";
    TestHost host(options);
    host.Player().SetListPos(1); // b.avi first, so that a.avi is resumed paused
    host.Player().Play();
    host.SetFullScreen(true);
    ::SetForegroundWindow(host.VideoWindow());
    host.Pump();
    ASSERT_FALSE(host.BarVisible());
    host.Player().SetListPos(0);
    ASSERT_TRUE(host.WaitFor([&] { return host.BarVisible(); }, 2000)) << "the bar comes up by itself";
    EXPECT_EQ(::GetForegroundWindow(), host.VideoWindow()) << "the keyboard stays with the video";
    EXPECT_EQ(host.ClockText(), "0:01:01") << "at the resumed position";
    EXPECT_EQ(3, host.Player().Status());
    RECT clip;
    ::GetClipCursor(&clip);
    EXPECT_EQ(clip.right - clip.left, ::GetSystemMetrics(SM_CXVIRTUALSCREEN)) << "the cursor is not clipped";
    EXPECT_EQ(clip.bottom - clip.top, ::GetSystemMetrics(SM_CYVIRTUALSCREEN)) << "the cursor is not clipped";
    EXPECT_TRUE(host.WaitFor([&] { return !host.BarVisible(); }, 4000)) << "and goes after its usual time";
}

// Whatever a kill leaves behind is what is on disk before quit runs.
TEST(Bookmarks, AHostThatDiesAfterATrackChangeLeavesThePositionInTheFile) {
    TestHost host(TwoFiles());
    WatchAThenMoveToB(host);
    EXPECT_TRUE(FileHolds(host, kAfterFirstRun))
        << Hex(TestHost::ReadFile(host.DataFile())) << host.Describe();
    EXPECT_FALSE(TestHost::ReadFile(host.DataFile() + ".new")) << "no temporary file is left behind";
}

TEST(Bookmarks, AReadOnlyDataFileIsReadAndLeftAsItWas) {
    TestHostOptions options = TwoFiles();
    options.dataFile = kAfterFirstRun;
    TestHost host(options);
    ASSERT_TRUE(::SetFileAttributesA(host.DataFile().c_str(), FILE_ATTRIBUTE_READONLY));

    host.Player().Play(); // resumed at 61 s
    EXPECT_EQ(61000, host.Player().PositionMs());
    host.AdvanceClock(4000);
    TrackInfoChanged(host);
    host.Player().Next(); // a write is due, and refused
    host.Log().Clear();
    host.Player().SetListPos(0);
    EXPECT_EQ(65000, host.Player().PositionMs())
        << "the run still remembers a.avi at 65 s" << host.Describe();
    EXPECT_EQ(3, host.Player().Status());
    host.Quit();

    EXPECT_TRUE(FileHolds(host, kAfterFirstRun)) << Hex(TestHost::ReadFile(host.DataFile()));
    EXPECT_FALSE(TestHost::ReadFile(host.DataFile() + ".new"));
    ::SetFileAttributesA(host.DataFile().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Another program holds the file open, sharing nothing.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : m_handle(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr)) {}
    ~FileLock() { Release(); }
    bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

TEST(Bookmarks, ALockedDataFileIsNotOverwrittenAndItsPositionsSurviveTheRun) {
    TestHost host(TwoFiles());
    WatchAThenMoveToB(host);
    host.Quit();
    ASSERT_TRUE(FileHolds(host, kAfterFirstRun));

    FileLock lock(host.DataFile());
    ASSERT_TRUE(lock.Held());
    host.Restart(); // cannot read the file at start
    host.Log().Clear();
    host.Player().SetListPos(1); // b.avi, not known to this run
    host.Player().Play();
    EXPECT_EQ(0u, host.Log().CountUser(106)) << host.Describe();
    host.AdvanceClock(7000);
    TrackInfoChanged(host);
    host.Player().SetListPos(2); // c.avi: a write is due, and the file is held
    lock.Release();
    // A write that runs once the file is free merges it first; none leaves its temporary file behind.
    // (The worker may have the file open at a look: wait for what it holds.)
    EXPECT_TRUE(host.WaitFor([&] {
        return !TestHost::ReadFile(host.DataFile() + ".new") && PositionIn(host, kA) == 61000;
    })) << Hex(TestHost::ReadFile(host.DataFile()));

    host.Quit(); // the file can be read again: a.avi, untouched by this run, keeps its place after b and c
    const std::string want = DataFile(3).Entry(kC, 0).Entry(kB, 7000).Entry(kA, 61000).bytes;
    EXPECT_TRUE(FileHolds(host, want)) << Hex(TestHost::ReadFile(host.DataFile()));
}

// The names in a folder, "." and ".." aside.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

TEST(Bookmarks, DataPathsUpToThePathLimitAreSavedLeavingNoTemporaryFile) {
    // 255 still leaves room for the usual temporary name; 259 is the longest path the platform takes.
    for (const std::size_t length : {255u, 259u}) {
        SCOPED_TRACE("data path of " + std::to_string(length) + " characters");
        TestHostOptions options = TwoFiles();
        options.dataPathLength = length;
        TestHost host(options);
        ASSERT_EQ(length, host.DataFile().size());
        WatchAThenMoveToB(host);
        EXPECT_TRUE(FileHolds(host, kAfterFirstRun)) << Hex(TestHost::ReadFile(host.DataFile()));
        const std::string plugins = host.DataFile().substr(0, host.DataFile().find_last_of('\\'));
        EXPECT_EQ(std::vector<std::string>{"gen_morvix.dat"}, FilesIn(plugins));
    }
}

TEST(Bookmarks, AMissingPluginsFolderInTheIniDirectoryIsMadeForTheFile) {
    TestHostOptions options = TwoFiles();
    options.iniSubfolder = "profile";
    options.iniPluginsFolder = false;
    TestHost host(options);
    WatchAThenMoveToB(host);
    EXPECT_TRUE(FileHolds(host, kAfterFirstRun)) << Hex(TestHost::ReadFile(host.DataFile()));
}

TEST(Bookmarks, AStaleTemporaryFileFromACrashIsNeitherReadNorInTheWay) {
    TestHostOptions options = TwoFiles();
    options.dataFile = kAfterFirstRun;
    TestHost host(options);
    TestHost::WriteFile(host.DataFile() + ".new", DataFile(1).Entry(kA, 5000).bytes + "cut her");
    host.Player().Play(); // a.avi, from the data file itself
    EXPECT_EQ(61000, host.Player().PositionMs()) << host.Describe();
    host.AdvanceClock(4000);
    TrackInfoChanged(host);
    host.Player().Next();
    const std::string want = DataFile(2).Entry(kB, 0).Entry(kA, 65000).bytes;
    EXPECT_TRUE(FileHolds(host, want)) << Hex(TestHost::ReadFile(host.DataFile()));
    EXPECT_FALSE(TestHost::ReadFile(host.DataFile() + ".new")) << "the stale file went with the write";
}

TEST(Bookmarks, ADataPathThatIsAFolderIsLeftAloneAndTheRunGoesOn) {
    TestHost host(TwoFiles());
    host.Quit();
    ::DeleteFileA(host.DataFile().c_str());
    ASSERT_TRUE(::CreateDirectoryA(host.DataFile().c_str(), nullptr));
    TestHost::WriteFile(host.DataFile() + "\\mine.txt", "the user's");
    host.Restart();
    WatchAThenMoveToB(host);
    host.Player().SetListPos(0); // the run still remembers a.avi
    EXPECT_EQ(61000, host.Player().PositionMs()) << host.Describe();
    host.Quit();
    EXPECT_EQ(std::vector<std::string>{"mine.txt"}, FilesIn(host.DataFile()));
    EXPECT_EQ(TestHost::ReadFile(host.DataFile() + "\\mine.txt"), std::string("the user's"));
    EXPECT_FALSE(TestHost::ReadFile(host.DataFile() + ".new"));
}

} // namespace

// ---- Journeys: the stand-in host in a process of its own with its real clock, driven by a script, so
// that time passes as for a person and the plug-in hears only the notifications the player's own actions
// cause. A row is one or more runs on the same folder (a killed host is started again); "report" steps
// print where the player stands: the first is where the person left the file, the last where it resumed.
// A run whose script starts with kAlongside is a second player on the folder, started with the run before.

const char* const kAlongside = "# alongside the run before\n";

const char* const kWideOne = "C:\\Media\\{U+65E5}{U+672C}.mkv";
const char* const kWideTwo = "C:\\Media\\{U+4E2D}{U+6587}.mkv";

struct Journey {
    const char* what;
    std::vector<std::pair<int, const char*>> playlist; // seconds, name
    std::vector<const char*> runs;                     // one script per run of the host
    bool wideRequest;                                  // false: a host that lacks the wide file-name request
    bool fromTheStart;                                 // resumes at its beginning, not where it was left
    bool paused;
    int mayLoseMs; // the resume lies at most this far before where the file was left
    // A film of 300,000 bytes is put at {folder}\\Downloads\\film.mkv before the first run ({folder} in
    // names and scripts is the row's folder).
    bool film = false;
    // When not 0: the plug-in holds the host's thread for less than this in any notification or timer.
    int holdsUnderMs = 0;
    // When not 0: the first quit of the runs holds the host's thread for less than this.
    int quitsUnderMs = 0;
    // The plug-in's section of the INI file before the first run, when given.
    const char* ini = nullptr;
    // When not -1: the file left is the first report of this entry, not the first report.
    int entry = -1;
    // When not 0: the last restart's init holds the host's thread for less than this.
    int initsUnderMs = 0;
};

// Which of the row's runs start together: each run after the one before, or with it (kAlongside).
std::vector<std::size_t> Stages(const Journey& row) {
    std::vector<std::size_t> stages;
    for (const char* run : row.runs) {
        const bool alongside = !stages.empty() && std::string(run).rfind(kAlongside, 0) == 0;
        stages.push_back(stages.empty() ? 0 : stages.back() + (alongside ? 0 : 1));
    }
    return stages;
}

// The first stage of each row. Rows that work the bar share one screen and one mouse pointer: each runs
// by itself after the rows that run side by side.
std::vector<std::size_t> FirstStages(const Journey* rows, std::size_t count) {
    const auto alone = [](const Journey& row) {
        for (const char* run : row.runs)
            if (std::strstr(run, "move ") || std::strstr(run, "clickbar ")) return true;
        return false;
    };
    std::vector<std::size_t> first(count, 0);
    std::size_t next = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (!alone(rows[i])) next = std::max(next, Stages(rows[i]).back() + 1);
    for (std::size_t i = 0; i < count; ++i)
        if (alone(rows[i])) first[i] = std::exchange(next, next + Stages(rows[i]).back() + 1);
    return first;
}

// The first number after `text` in the output, the last time it appears; -1 when it does not.
int HeldMsAfter(const std::string& output, const std::string& text) {
    int ms = -1;
    const std::size_t at = output.rfind(text);
    if (at != std::string::npos) std::sscanf(output.c_str() + at + text.size(), "%d", &ms);
    return ms;
}

std::string InFolder(std::string text, const std::string& folder) {
    for (std::size_t at; (at = text.find("{folder}")) != std::string::npos;)
        text.replace(at, 8, folder);
    return text;
}

struct Report {
    int entry = -1;
    int positionMs = -1;
    std::string status;
    int heldMs = -1;
};

class HostProcess {
public:
    HostProcess(const std::string& folder, const Journey& row, std::size_t run)
        : m_out(folder + "\\out" + std::to_string(run)) {
        const std::string script = folder + "\\run" + std::to_string(run) + ".script";
        TestHost::WriteFile(script, InFolder(row.runs[run], folder));
        std::string command = "\"" + ExeDirectory() + "\\morvix_host.exe\" --folder \"" + folder + "\"";
        for (const auto& entry : row.playlist)
            command +=
                " --entry " + std::to_string(entry.first) + " \"" + InFolder(entry.second, folder) + "\"";
        if (!row.wideRequest) command += " --no-wide";
        command += " --script \"" + script + "\" --out \"" + m_out + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        m_started = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &m_process) != FALSE;
    }
    ~HostProcess() {
        if (!m_started) return;
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 9);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
    // False when it did not end within the deadline.
    bool Wait(DWORD deadline) const {
        const DWORD now = ::GetTickCount();
        const DWORD left = static_cast<long>(deadline - now) > 0 ? deadline - now : 0;
        return m_started && ::WaitForSingleObject(m_process.hProcess, left) == WAIT_OBJECT_0;
    }
    std::string Output() const { return TestHost::ReadFile(m_out + "\\run.txt").value_or("(no output)\n"); }

    static std::string ExeDirectory() {
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        const std::string exe = path;
        return exe.substr(0, exe.find_last_of("\\/"));
    }

private:
    std::string m_out;
    PROCESS_INFORMATION m_process = {};
    bool m_started = false;
};

std::vector<Report> ReportsIn(const std::string& output) {
    std::vector<Report> reports;
    std::size_t at = 0;
    while ((at = output.find("report: entry ", at)) != std::string::npos) {
        Report r;
        char status[16] = "";
        if (std::sscanf(output.c_str() + at, "report: entry %d at %d ms, %15[a-z]", &r.entry, &r.positionMs,
                        status) == 3) {
            r.status = status;
            const std::size_t held = output.find("at most ", at);
            if (held != std::string::npos) std::sscanf(output.c_str() + held, "at most %d ms", &r.heldMs);
            reports.push_back(r);
        }
        at += 14;
    }
    return reports;
}

TEST(Bookmarks, JourneysResumeWhereThePersonLeftTheFile) {
    const std::vector<std::pair<int, const char*>> three = {{600, kA}, {300, kB}, {120, kC}};
    // Forty films of 45 minutes, the first watched to 10:00, the others one after another.
    static std::vector<std::string> names;
    std::vector<std::pair<int, const char*>> forty;
    std::string fortyFilms = "play\nseek 600000\nwait 1500\nreport\n";
    for (int i = 0; i < 40; ++i) {
        names.push_back("C:\\Films\\Episode " + std::to_string(i + 1) + ".mkv");
        fortyFilms += i ? "next\nwait 150\n" : "";
    }
    fortyFilms += "restart\nplay\nreport\n";
    for (const std::string& name : names)
        forty.emplace_back(2700, name.c_str());
    const std::vector<std::pair<int, const char*>> songAndFilm = {{180, "C:\\Music\\song.mp3"}, {3600, kA}};
    const std::vector<std::pair<int, const char*>> film = {{3600, "{folder}\\Downloads\\film.mkv"},
                                                           {300, kB}};
    // Two players on one folder, b.avi, a.avi and c.avi of an hour each: the first watches a.avi to 20:00
    // and c.avi to 5:00 and stays open while the second watches b.avi to 10:00 and a.avi to 30:00; "one"
    // and "two" are their signs that they are done, "closed" the first's that it has closed.
    const std::vector<std::pair<int, const char*>> films = {{3600, kB}, {3600, kA}, {3600, kC}};
    const std::string one =
        "next\nplay\nseek 1200000\nwait 3000\nnext\nseek 300000\nwait 3000\npause\nreport\n"
        "touch one\nwaitfile two 60000\nquit\n";
    const std::string two = std::string(kAlongside) +
                            "waitfile one 30000\nplay\nseek 600000\nwait 3000\nreport\n"
                            "next\nseek 1800000\nwait 3000\npause\nreport\n";
    const std::string twoFirst = two + "quit\ntouch two\n", oneFirst = one + "touch closed\n";
    const std::string twoLast = two + "touch two\nwaitfile closed 60000\nquit\n";
    const char* const bFirst = "play\nwaitrequest 106 5000\nreport\n";
    const char* const aAfterB = "play\nwaitrequest 106 5000\nnext\nwait 500\nreport\n";
    const char* const cAfterA = "play\nwaitrequest 106 5000\nnext\nnext\nwait 500\nreport\n";
    // b.avi left at 10:00 and a.avi at 20:00 by an earlier run.
    const char* const known =
        "play\nseek 600000\nwait 2000\nreport\nnext\nseek 1200000\nwait 2000\nreport\nquit\n";
    const std::string removesA =
        std::string(kAlongside) + "waitfile one 30000\nconfig\nremovefile 1\nquit\ntouch two\n";
    // The data file is held when the plug-in starts; a.avi, played to 5:00, is removed in the options
    // meanwhile; the file is let go, and the restart writes it.
    const std::string held =
        "holddata on\nrestart\nnext\nplay\nseek 300000\nwait 2000\nnext\nwait 1000\nconfig\n"
        "removefile 1\nholddata off\nrestart\n";
    const std::string heldThenA = held + aAfterB, heldThenB = held + bFirst;
    // Full screen, the bar brought up by the mouse, and its buttons: a.avi, next, b.avi to 3:20, the bar
    // brought up again, next, previous.
    const std::string bar = "move 640 400\nmove 652 404\nwaitbar shown 3000\n";
    const std::string byTheBar =
        "play\nseek 125000\nwait 1500\nfullscreen on\nwait 400\n" + bar +
        "clickbar 2027\nwait 1000\nseek 200000\nwait 3000\n" + bar +
        "report\nclickbar 2027\nwait 1500\nclickbar 2026\nwaitrequest 106 5000\nwait 1000\nreport\n";
    const std::string byTheBarLate = "lateannounce 1500\npumpinrequests 300\n" + byTheBar;
    // clang-format off
    const Journey rows[] = {
        {"watch, pick another file, come back", three,
         {"play\nseek 125000\nwait 3000\nreport\nnext\nwait 1500\nprev\nreport\n"}, true, false, true, 2500},
        {"watch, quit, start again", three,
         {"play\nseek 125000\nwait 3000\nreport\nrestart\nplay\nreport\n"}, true, false, false, 2500},
        {"watch, Stop, pick another file, come back", three,
         {"play\nseek 125000\nwait 3000\nreport\nstop\nnext\nplay\nwait 1500\nprev\nreport\n"},
         true, false, true, 2500},
        // The write every half minute is all that can save it: 35 s of real time.
        {"watch for half a minute and more, the host is killed, start again", three,
         {"play\nseek 60000\nwait 35000\nreport\nkill\n", "play\nreport\n"}, true, false, false, 33000},
        {"a file plays to its end, the player moves on, it comes back", {{20, kC}, {600, kA}},
         {"play\nseek 15000\nreport\nwait 8000\nprev\nreport\n"}, true, true, false, 0},
        {"two files whose names differ only outside the ANSI code page", {{600, kWideOne}, {600, kWideTwo}},
         {"play\nseek 125000\nwait 3000\nreport\nnext\nseek 30000\nwait 1500\nprev\nreport\n"},
         true, false, true, 2500},
        // The clock ticks while the next file already plays and is not yet announced.
        {"watch, pick another file, come back, on a host that announces a new file 2.5 s late", three,
         {"play\nseek 125000\nwait 3000\nreport\nlateannounce 2500\nnext\nwait 1500\nprev\nwait 1000\nreport\n"},
         true, false, true, 2500},
        // Every request takes 1.1 s of pumped messages: the clock ticks inside the resume's pause, half
        // a minute after the last write, and the host dies before the next.
        {"another file paused for half a minute, back, killed, on a host that pumps inside its requests", three,
         {"pumpinrequests 1100\nplay\nseek 125000\nwait 3000\nreport\nnext\npause\nwait 32000\npause\nprev\n"
          "wait 4000\nkill\n",
          "play\nreport\n"}, true, false, false, 6000},
        {"a wide name on a host without the wide request", {{600, kWideOne}, {300, kB}},
         {"play\nseek 125000\nwait 3000\nreport\nnext\nwait 1500\nprev\nreport\n"}, false, false, true, 2500},
        {"a stream, another file, back to the stream", {{600, "http://radio.example/live.mkv"}, {300, kB}},
         {"play\nseek 125000\nwait 3000\nreport\nnext\nwait 1500\nprev\nreport\n"}, true, false, true, 2500},
        // The film is read for what it holds when it plays from its new place.
        {"watch a film to 20:00, quit, move it to another folder, start again, play it there", film,
         {"play\nseek 1200000\nwait 3000\nreport\nrestart\nmovefile 0 -1 \"{folder}\\Films\\film.mkv\"\n"
          "wait 1500\nplay\nwaitrequest 106 5000\nreport\n"}, true, false, false, 1000, true},
        {"watch a film to 20:00, quit, rename it, start again, play it", film,
         {"play\nseek 1200000\nwait 3000\nreport\nrestart\n"
          "movefile 0 -1 \"{folder}\\Downloads\\A Film (2019).mkv\"\nwait 1500\nplay\nwaitrequest 106 5000\nreport\n"},
         true, false, false, 1000, true},
        {"watch a film to 20:00, quit, a copy with one byte changed in its first 64 KiB plays", film,
         {"play\nseek 1200000\nwait 3000\nreport\nrestart\nmovefile 0 1000 \"{folder}\\Copies\\film.mkv\"\n"
          "wait 1500\nplay\nwait 500\nreport\n"}, true, true, false, 0, true},
        // Each read, write and flush takes 200 ms: the film is read, and the file written at half a minute
        // and at each track change, while the host's thread goes on: held less than one disk call (a write
        // on the host's thread, a write and its flush, holds it at least twice that).
        {"watch a film for half a minute on a slow disk, quit, move it, start again, play it there", film,
         {"slowdisk 200\nplay\nseek 1200000\nwait 33000\nreport\nrestart\n"
          "movefile 0 -1 \"{folder}\\Films\\film.mkv\"\nplay\nwaitrequest 106 5000\nreport\n"},
         true, false, false, 1000, true, 200},
        // The film's share went away: its identity is still being read, its open hanging for 20 s, when
        // the player closes. Quit writes the place (the file read for its merge and written: seven calls of
        // 100 ms on this disk) and waits for no read; the margin is for a 32-bit run under emulation.
        {"a film on a share that went away plays, the person closes the player", film,
         {"slowopen film.mkv 20000\nslowdisk 100\nplay\nseek 1200000\nwait 3000\nreport\nquit\n",
          "play\nwaitrequest 106 5000\nreport\n"}, true, false, false, 1000, true, 0, 2500},
        {"with maxfiles 100, forty films one after another, quit, start again: the first", forty,
         {fortyFilms.c_str()}, true, false, false, 2500, false, 0, 0, "maxfiles=100"},
        {"with the defaults, forty films one after another, quit, start again: the first", forty,
         {fortyFilms.c_str()}, true, true, false, 0},
        {"with minlength 5, a 3-minute song left at 1:00 and a film at 10:00, quit, start again: the song",
         songAndFilm, {"play\nseek 60000\nwait 2500\nreport\nnext\nseek 600000\nwait 2500\nrestart\nplay\nreport\n"},
         true, true, false, 0, false, 0, 0, "minlength=5"},
        {"with minlength 5, a 3-minute song left at 1:00 and a film at 10:00, quit, start again: the film",
         songAndFilm, {"play\nseek 60000\nwait 2500\nnext\nseek 600000\nwait 2500\npause\nreport\nrestart\nplay\n"
                       "wait 500\nnext\nwaitrequest 106 5000\nreport\n"},
         true, false, true, 2500, false, 0, 0, "minlength=5"},
        {"two players at once, the first closes last, start again: b.avi, left in the second", films,
         {one.c_str(), twoFirst.c_str(), bFirst}, true, false, false, 2500, false, 0, 0, nullptr, 0},
        {"two players at once, the first closes last, start again: a.avi, left later in the second", films,
         {one.c_str(), twoFirst.c_str(), aAfterB}, true, false, true, 2500, false, 0, 0, nullptr, 1},
        {"two players at once, the second closes last, start again: a.avi, left later in the second", films,
         {oneFirst.c_str(), twoLast.c_str(), aAfterB}, true, false, true, 2500, false, 0, 0, nullptr, 1},
        {"two players at once, the second closes last, start again: c.avi, left in the first", films,
         {oneFirst.c_str(), twoLast.c_str(), cAfterA}, true, false, true, 2500, false, 0, 0, nullptr, 2},
        {"two players at once, a.avi removed in the second, the first closes last, start again: a.avi", films,
         {known, "play\nwait 3000\ntouch one\nwaitfile two 60000\nquit\n", removesA.c_str(), aAfterB},
         true, true, false, 0, false, 0, 0, nullptr, 1},
        {"the data file held at start, a.avi removed, the file let go, start again: a.avi", films,
         {known, heldThenA.c_str()}, true, true, false, 0, false, 0, 0, nullptr, 1},
        {"the data file held at start, a.avi removed, the file let go, start again: b.avi, untouched", films,
         {known, heldThenB.c_str()}, true, false, false, 2500},
        {"with listbuttons 1, full screen, next and next on the bar, previous on the bar: b.avi", three,
         {byTheBar.c_str()}, true, false, true, 2500, false, 0, 0, "listbuttons=1", 1},
        {"the same on a host that announces 1.5 s late and pumps inside its requests: b.avi", three,
         {byTheBarLate.c_str()}, true, false, true, 2500, false, 0, 0, "listbuttons=1", 1},
        // Init reads nothing on the host's thread: less than one disk call of 200 ms.
        {"watch, quit, start again on a slow disk, play at once", films,
         {"play\nseek 1200000\nwait 3000\nreport\nquit\n",
          "slowdisk 200\nrestart\nplay\nwaitrequest 106 5000\nreport\n"},
         true, false, false, 1000, false, 200, 0, nullptr, -1, 200},
    };
    // clang-format on
    const std::size_t count = sizeof rows / sizeof rows[0];
    std::vector<std::string> folders, outputs(count);
    for (std::size_t i = 0; i < count; ++i) {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        folders.push_back(std::string(temp) + "morvix-journey-" + std::to_string(::GetCurrentProcessId()) +
                          "-" + std::to_string(i));
        ::CreateDirectoryA(folders[i].c_str(), nullptr);
        ::CreateDirectoryA((folders[i] + "\\plugins").c_str(), nullptr);
        ::DeleteFileA((folders[i] + "\\plugins\\gen_morvix.dat").c_str());
        // A folder of an earlier run of the suite (Wine hands out the same process ids) keeps its marker
        // files: a player would not wait for the other one.
        for (const std::string& name : FilesIn(folders[i]))
            ::DeleteFileA((folders[i] + "\\" + name).c_str());
        ::CopyFileA((HostProcess::ExeDirectory() + "\\gen_morvix.dll").c_str(),
                    (folders[i] + "\\plugins\\gen_morvix.dll").c_str(), FALSE);
        if (rows[i].ini)
            TestHost::WriteFile(folders[i] + "\\winamp.ini", std::string("[gen_morvix]\r\n") + rows[i].ini);
        if (!rows[i].film) continue;
        std::string film(300000, '\0');
        for (std::size_t k = 0; k < film.size(); ++k)
            film[k] = static_cast<char>(k * 7 % 251);
        ::CreateDirectoryA((folders[i] + "\\Downloads").c_str(), nullptr);
        TestHost::WriteFile(folders[i] + "\\Downloads\\film.mkv", film);
    }
    // The rows run side by side, a stage of each at a time: the whole table takes about its longest row.
    const std::vector<std::size_t> first = FirstStages(rows, count);
    for (std::size_t stage = 0;; ++stage) {
        std::vector<std::pair<std::size_t, std::unique_ptr<HostProcess>>> hosts; // row, host
        for (std::size_t i = 0; i < count; ++i) {
            const std::vector<std::size_t> stages = Stages(rows[i]);
            for (std::size_t run = 0; run < stages.size(); ++run)
                if (first[i] + stages[run] == stage)
                    hosts.emplace_back(i, std::make_unique<HostProcess>(folders[i], rows[i], run));
        }
        if (hosts.empty()) break;
        const DWORD deadline = ::GetTickCount() + 180000;
        for (const auto& [i, host] : hosts) {
            EXPECT_TRUE(host->Wait(deadline)) << rows[i].what << ": stage " << stage << " did not end";
            outputs[i] += host->Output();
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Journey& row = rows[i];
        const std::vector<Report> reports = ReportsIn(outputs[i]);
        if (reports.size() < 2) {
            ADD_FAILURE() << row.what << ": fewer than two reports\n" << outputs[i];
            continue;
        }
        auto left = reports.begin();
        while (row.entry >= 0 && left != reports.end() && left->entry != row.entry)
            ++left;
        if (left == reports.end() || left == reports.end() - 1) {
            ADD_FAILURE() << row.what << ": entry " << row.entry << " is not reported before the end\n"
                          << outputs[i];
            continue;
        }
        const Report& resumed = reports.back();
        std::printf(
            "journey \"%s\": left entry %d at %d ms, resumed entry %d at %d ms, %s; host's thread held at "
            "most %d ms\n",
            row.what, left->entry, left->positionMs, resumed.entry, resumed.positionMs,
            resumed.status.c_str(), resumed.heldMs);
        if (row.holdsUnderMs) {
            EXPECT_LT(resumed.heldMs, row.holdsUnderMs) << row.what << "\n" << outputs[i];
        }
        if (row.initsUnderMs) {
            const int initMs = HeldMsAfter(outputs[i], "init held the host's thread ");
            std::printf("  init held the host's thread %d ms\n", initMs);
            EXPECT_TRUE(initMs >= 0 && initMs < row.initsUnderMs)
                << row.what << ": init held it " << initMs << " ms\n"
                << outputs[i];
        }
        if (row.quitsUnderMs) {
            int quitMs = -1;
            const std::size_t at = outputs[i].find("quit held the host's thread ");
            if (at != std::string::npos)
                std::sscanf(outputs[i].c_str() + at, "quit held the host's thread %d", &quitMs);
            std::printf("  quit held the host's thread %d ms\n", quitMs);
            EXPECT_TRUE(quitMs >= 0 && quitMs < row.quitsUnderMs)
                << row.what << ": quit held it " << quitMs << " ms\n"
                << outputs[i];
        }
        EXPECT_EQ(left->entry, resumed.entry) << row.what << "\n" << outputs[i];
        EXPECT_EQ(row.paused ? "paused" : "playing", resumed.status) << row.what << "\n" << outputs[i];
        if (row.fromTheStart) {
            EXPECT_LT(resumed.positionMs, 2000) << row.what << "\n" << outputs[i];
        } else {
            // A playing file runs on a little between the report and leaving it, and again after the jump.
            EXPECT_LE(resumed.positionMs, left->positionMs + (row.paused ? 0 : 1000)) << row.what << "\n"
                                                                                      << outputs[i];
            EXPECT_GE(resumed.positionMs, left->positionMs - row.mayLoseMs) << row.what << "\n" << outputs[i];
        }
    }
}
