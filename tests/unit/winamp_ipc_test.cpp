// Every host operation as the exact request it sends and what the caller makes of the answer.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "fake_host.h"
#include "host/winamp_ipc.h"

namespace {

class WinampIpcTest : public ::testing::Test {
protected:
    FakeHost host;
    CWinampIPC ipc{host};

    void ExpectRequests(const std::vector<HostRequest>& want) { EXPECT_EQ(host.log, want); }
};

TEST_F(WinampIpcTest, QueriesSendTheirCodesAndReturnTheAnswers) {
    host.fullScreen = true;
    host.position = 61000;
    host.lengthSeconds = 180;
    host.volume = 200;
    host.status = 3;
    host.listPos = 4;
    EXPECT_TRUE(ipc.IsFullScreen());
    EXPECT_EQ(ipc.GetPosition(), 61000);
    EXPECT_EQ(ipc.GetLength(), 180000);
    EXPECT_EQ(ipc.GetVolume(), 200);
    EXPECT_EQ(ipc.GetStatus(), 3);
    EXPECT_EQ(ipc.GetListPos(), 4);
    ExpectRequests({User(0, 630, 1), User(0, 105, 61000), User(1, 105, 180),
                    User(static_cast<WPARAM>(-666), 122, 200), User(0, 104, 3), User(0, 125, 4)});
}

TEST_F(WinampIpcTest, CommandsSendTheirCodes) {
    ipc.JumpTo(90000);
    ipc.SetVolume(55);
    ipc.SkipForward5();
    ipc.SkipBack5();
    ipc.QuitHost();
    ipc.PreviousEntry();
    ipc.NextEntry();
    ExpectRequests({User(90000, 106), User(55, 122), Command(40060), Command(40061), Command(40001),
                    Command(40044), Command(40048)});
}

// A host that gives the same answer to everything.
struct ConstantHost : HostLink {
    LRESULT value = 0;
    LRESULT Send(UINT, WPARAM, LPARAM) override { return value; }
};

TEST_F(WinampIpcTest, FullScreenOnlyWhenTheAnswerIsExactlyOne) {
    ConstantHost nonsense;
    for (long long answer : {0LL, 2LL, -1LL, 0x100000001LL}) {
        nonsense.value = static_cast<LRESULT>(answer);
        EXPECT_FALSE(CWinampIPC(nonsense).IsFullScreen()) << "answer " << answer;
    }
}

TEST_F(WinampIpcTest, LengthInSecondsBecomesMillisecondsButNoLengthStaysNegative) {
    host.lengthSeconds = -1;
    EXPECT_EQ(ipc.GetLength(), -1);
    host.lengthSeconds = 0;
    EXPECT_EQ(ipc.GetLength(), 0);
    host.lengthSeconds = 3000000; // beyond 32-bit milliseconds
    EXPECT_EQ(ipc.GetLength(), INT_MAX);
}

TEST_F(WinampIpcTest, TextsAreCopiedAtOnceAndNullReadsAsEmpty) {
    host.playlist = {"C:\\a.avi", "D:\\B.mkv"};
    EXPECT_EQ(ipc.GetPlaylistFile(1), "D:\\B.mkv");
    EXPECT_EQ(ipc.GetIniFile(), "C:\\Player\\winamp.ini");
    const std::string dir = ipc.GetIniDirectory();
    host.iniDirectory = "changed afterwards";
    ipc.GetIniFile(); // the host reuses its buffer
    EXPECT_EQ(dir, "C:\\Player");
    ExpectRequests({User(1, 211), User(0, 334), User(0, 335), User(0, 334)});

    host.answerNullTexts = true;
    EXPECT_EQ(ipc.GetPlaylistFile(0), "");
    EXPECT_EQ(ipc.GetIniFile(), "");
    EXPECT_EQ(ipc.GetIniDirectory(), "");
}

TEST_F(WinampIpcTest, AWideNameIsTextOnlyForAnAnswerFrom64KiBUp) {
    host.playlist = {"C:\\a.avi"};
    host.widePlaylist = {u"C:\\\u65E5.avi"};
    std::u16string name = u"left alone";
    EXPECT_TRUE(ipc.GetPlaylistFileW(0, name));
    EXPECT_EQ(u"C:\\\u65E5.avi", name);
    for (const LRESULT answer : {LRESULT{1}, LRESULT{2}, LRESULT{65535}}) {
        host.wideAnswer = answer; // 1: a host without the request
        EXPECT_FALSE(ipc.GetPlaylistFileW(0, name)) << answer;
    }
    host.wideAnswer = 0;
    host.answerNullTexts = true;
    EXPECT_FALSE(ipc.GetPlaylistFileW(0, name));
}

TEST_F(WinampIpcTest, UnterminatedTextIsCutAtTheBound) {
    // kMaxText bytes without a terminator, right before a page that may not be read: a copy that looks
    // one byte further faults.
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t readable = (ipc::kMaxText + page - 1) / page * page;
    void* region = mmap(nullptr, readable + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(region, MAP_FAILED);
    char* const guard = static_cast<char*>(region) + readable;
    ASSERT_EQ(mprotect(guard, page, PROT_NONE), 0);
    char* const text = guard - ipc::kMaxText;
    std::memset(text, 'x', ipc::kMaxText);
    host.rawText = text;
    EXPECT_EQ(ipc.GetPlaylistFile(0), std::string(ipc::kMaxText, 'x'));
    host.rawText = nullptr;
    munmap(region, readable + page);
}

struct PauseCase {
    int wanted;
    int status;
    std::vector<HostRequest> requests;
};

TEST_F(WinampIpcTest, PlayPauseAsksTheStatusUnlessToggling) {
    const PauseCase cases[] = {
        {-1, 1, {Command(40046)}},
        {-1, 3, {Command(40046)}},
        {0, 1, {User(0, 104, 1)}},
        {1, 3, {User(0, 104, 3)}},
        {0, 3, {User(0, 104, 3), Command(40046)}},
        {1, 1, {User(0, 104, 1), Command(40046)}},
        {1, 0, {User(0, 104, 0), Command(40046)}},
    };
    for (const PauseCase& c : cases) {
        FakeHost h;
        h.status = c.status;
        CWinampIPC(h).PlayPause(c.wanted);
        EXPECT_EQ(h.log, c.requests) << "wanted " << c.wanted << " status " << c.status;
    }
}

TEST_F(WinampIpcTest, EnsurePausedStartsAStoppedPlayerPausesAPlayingOneLeavesAPausedOne) {
    const PauseCase cases[] = {
        {0, 0, {User(0, 104, 0), User(0, 102), Command(40046)}},
        {0, 1, {User(0, 104, 1), Command(40046)}},
        {0, 3, {User(0, 104, 3)}},
        {0, 7, {User(0, 104, 7)}},
    };
    for (const PauseCase& c : cases) {
        FakeHost h;
        h.status = c.status;
        CWinampIPC(h).EnsurePaused();
        EXPECT_EQ(h.log, c.requests) << "status " << c.status;
        if (c.status == 0 || c.status == 1) {
            EXPECT_EQ(h.status, 3);
        }
    }
}

} // namespace
