// The store driven the way the host drives it: notification tables give what the player answers and the
// exact requests the store must send back.
#include "bookmarks/bookmark_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bookmarks/data_file_codec.h"
#include "bookmarks/file_name.h"
#include "fake_host.h"
#include "inline_background.h"
#include "host/winamp_ipc.h"
#include "latin_code_page.h"
#include "memory_file_store.h"
#include "null_window_system.h"
#include "settings/settings.h"

namespace {

const HostRequest kListPos = User(0, 125, 0);
// The wide request, answered with the name as text.
const HostRequest kFileName = User(0, 214, 0);
const HostRequest kPause = Command(40046);
const HostRequest kStart = User(0, 102, 0);
HostRequest Position(int ms) {
    return User(0, 105, ms);
}
HostRequest Status(int status) {
    return User(0, 104, status);
}
HostRequest Jump(int ms) {
    return User(static_cast<WPARAM>(ms), 106, 0);
}
HostRequest Length(int seconds) {
    return User(1, 105, seconds);
}

// A step with this lParam is a tick of the store's clock at the time in its wParam, not a notification.
const LPARAM kClock = -1;
using Saved_ = std::vector<std::pair<std::string, int>>;

const std::string kPath = "C:\\Player\\plugins\\gen_morvix.dat";

// One notification: what the player holds when it arrives, and the requests the store must send.
struct Step {
    std::string file;
    int position;
    int status;
    std::vector<HostRequest> want;
    LPARAM lParam = 603;
    WPARAM wParam = 5;
};

class BookmarkStoreTest : public ::testing::Test {
protected:
    FakeHost host;
    CWinampIPC ipc{host};
    Settings settings;
    MemoryFileStore files;
    InlineBackground background{files};
    NullWindowSystem windows;
    LatinCodePage codePage;
    CBookmarkStore store{ipc, settings, background, windows, codePage, nullptr};

    void WriteDataFile(const std::vector<BookmarkEntry>& mostRecentLast) {
        std::vector<BookmarkEntry> stamped = mostRecentLast;
        for (std::size_t i = 0; i < stamped.size(); ++i)
            stamped[i].stamp = static_cast<int>(i);
        files.files[kPath] = EncodeDataFile(stamped);
    }

    void Open() {
        store.Open();
        host.ClearLog();
    }

    void Run(const std::vector<Step>& steps) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& s = steps[i];
            host.playlist = {s.file};
            host.listPos = 0;
            host.position = s.position;
            host.status = s.status;
            host.ClearLog();
            if (s.lParam == kClock) {
                store.OnClock(static_cast<DWORD>(s.wParam));
            } else {
                store.OnHostNotify(s.lParam, s.wParam);
            }
            EXPECT_EQ(s.want, host.log) << "step " << i << " (" << s.file << ")";
        }
    }

    // The data file as (name, position), most recent first.
    std::vector<std::pair<std::string, int>> Saved() const {
        std::vector<std::pair<std::string, int>> saved;
        const auto it = files.files.find(kPath);
        if (it == files.files.end()) return saved;
        for (const BookmarkEntry& e : DecodeDataFile(it->second).entries)
            saved.emplace_back(e.fileName, e.position);
        return saved;
    }

    int PositionOf(const std::string& name) const {
        for (const BookmarkEntry& e : store.Entries())
            if (e.fileName == name) return e.position;
        ADD_FAILURE() << name << " not remembered";
        return -999;
    }
};

TEST_F(BookmarkStoreTest, DataFileLivesInThePluginsFolderOfTheIniDirectory) {
    const struct {
        const char* directory;
        bool nullAnswer;
        const char* path;
    } cases[] = {
        {"D:\\Player", false, "D:\\Player\\plugins\\gen_morvix.dat"},
        {"D:\\Player\\", false, "D:\\Player\\plugins\\gen_morvix.dat"},
        // No INI directory, no data file (rather than one at the root of the current drive).
        {"", false, ""},
        {"ignored", true, ""},
    };
    files.files[""] = {0}; // found, were the empty path ever read
    for (const auto& c : cases) {
        FakeHost h;
        h.iniDirectory = c.directory;
        h.answerNullTexts = c.nullAnswer;
        CWinampIPC link{h};
        CBookmarkStore s{link, settings, background, windows, codePage, nullptr};
        const int reads = files.reads;
        s.Open();
        EXPECT_EQ(c.path, s.DataFilePath()) << "directory '" << c.directory << "'";
        EXPECT_EQ(std::vector<HostRequest>{User(0, 335, 0)}, h.log);
        s.Shutdown();
        if (*c.path == '\0') {
            EXPECT_EQ(reads, files.reads) << "no data file, no file access";
        }
    }
}

TEST_F(BookmarkStoreTest, WithBookmarkOffNotificationsOnlyAskForTheFile) {
    WriteDataFile({{"a.avi", 61000, 0}});
    const auto before = files.files[kPath];
    for (int off : {0, 2, -1}) {
        settings.bookmark = off;
        Open();
        Run({{"a.avi", 5000, 1, {kListPos, kFileName}},
             {"a.avi", 6000, 1, {kListPos, kFileName}},
             {"a.avi", 6000, 1, {}, kClock, 1000},
             {"b.avi", -1, 0, {kListPos, kFileName}}});
        store.Shutdown();
        EXPECT_EQ("", store.CurrentFile()) << "bookmark " << off;
        EXPECT_EQ(-1, store.CurrentPos());
        EXPECT_EQ(1u, store.Entries().size());
        EXPECT_EQ(before, files.files[kPath]) << "the earlier file stays for when the option comes back";
        EXPECT_EQ(0, files.replaces);
    }
}

TEST_F(BookmarkStoreTest, FirstFileOfTheRunIsResumedWithoutPauseLaterOnesPausedFirst) {
    WriteDataFile({{"c.avi", 3000, 0}, {"b.avi", 5000, 0}, {"a.avi", 61000, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName, Jump(61000)}},
         {"b.avi", 0, 1, {kListPos, kFileName, Status(1), kPause, Jump(5000)}},
         {"c.avi", -1, 0, {kListPos, kFileName, Status(0), kStart, kPause, Jump(3000)}},
         {"new.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ(0, PositionOf("new.avi"));
    EXPECT_EQ("new.avi", store.CurrentFile());
}

TEST_F(BookmarkStoreTest, WithPauseFileOffHitsOnlyJump) {
    WriteDataFile({{"b.avi", 5000, 0}, {"a.avi", 61000, 0}});
    settings.pausefile = 2; // on only when exactly 1
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName, Jump(61000)}},
         {"b.avi", 0, 1, {kListPos, kFileName, Jump(5000)}}});
}

TEST_F(BookmarkStoreTest, AlreadyPausedPlayerIsOnlyMoved) {
    WriteDataFile({{"b.avi", 5000, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"b.avi", 0, 3, {kListPos, kFileName, Status(3), Jump(5000)}}});
}

TEST_F(BookmarkStoreTest, FileSeenEarlierInTheRunIsAHitEvenAtZero) {
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"b.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 0, 1, {kListPos, kFileName, Status(1), kPause, Jump(0)}}});
}

TEST_F(BookmarkStoreTest, NegativeRememberedPositionIsNoHit) {
    WriteDataFile({{"b.avi", -500, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}}, {"b.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ(-500, store.CurrentPos());
}

TEST_F(BookmarkStoreTest, ReselectingTheCurrentFileOnlyRefreshesItsPosition) {
    WriteDataFile({{"a.avi", 61000, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName, Jump(61000)}},
         {"a.avi", 62500, 1, {kListPos, kFileName, Position(62500)}},
         {"a.avi", 63000, 1, {kListPos, kFileName, Position(63000)}, 603, 2},
         {"", 64000, 1, {kListPos, kFileName, Position(64000)}}});
    EXPECT_EQ(64000, store.CurrentPos());
    EXPECT_EQ(61000, PositionOf("a.avi")) << "a refresh records nothing";
}

TEST_F(BookmarkStoreTest, OtherMessagesAreIgnored) {
    Open();
    Run({{"a.avi", 0, 1, {}, 603, 1},
         {"a.avi", 0, 1, {}, 603, 0},
         {"a.avi", 0, 1, {}, 105, 5},
         {"a.avi", 0, 1, {}, 211, 2}});
    EXPECT_TRUE(store.Entries().empty());
}

TEST_F(BookmarkStoreTest, TrackChangeRecordsTheLastRefreshedPositionAndWritesTheFile) {
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 61000, 1, {kListPos, kFileName, Position(61000)}},
         {"b.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ((Saved_{{"b.avi", 0}, {"a.avi", 61000}}), Saved()) << "written without waiting for quit";
    EXPECT_EQ(1, files.replaces) << "the first file of a run records nothing, so nothing is written for it";
}

TEST_F(BookmarkStoreTest, StopRecordsOnceThenNeitherTrackChangeNorShutdownRecordsAgain) {
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 9000, 1, {kListPos, kFileName, Position(9000)}},
         {"a.avi", -1, 0, {kListPos, kFileName, Position(-1)}}});
    EXPECT_EQ((Saved_{{"a.avi", 9000}}), Saved()) << "a stop writes the file";
    const int counter = store.UseCounter();
    Run({{"a.avi", -1, 0, {kListPos, kFileName, Position(-1)}}});
    store.Shutdown();
    EXPECT_EQ(counter, store.UseCounter()) << "nothing recorded for a stopped file";
    EXPECT_EQ(1, files.replaces) << "one write at the stop; quit's bytes are the same, so it writes none";
    EXPECT_EQ(-1, store.CurrentPos());

    Run({{"b.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ(counter + 1, store.UseCounter()) << "only b's new entry took a stamp";
    EXPECT_EQ(9000, PositionOf("a.avi"));
}

TEST_F(BookmarkStoreTest, NamesDifferingInCaseAreSeparateFiles) {
    Open();
    Run({{"D:\\A.avi", 0, 1, {kListPos, kFileName}},
         {"D:\\A.avi", 4000, 1, {kListPos, kFileName, Position(4000)}},
         {"d:\\a.avi", 0, 1, {kListPos, kFileName}},
         {"d:\\a.avi", 8000, 1, {kListPos, kFileName, Position(8000)}},
         {"D:\\A.avi", 0, 1, {kListPos, kFileName, Status(1), kPause, Jump(4000)}},
         {"d:\\a.avi", 0, 1, {kListPos, kFileName, Status(1), kPause, Jump(8000)}}});
    EXPECT_EQ(2u, store.Entries().size());
}

TEST_F(BookmarkStoreTest, ShutdownAsksThePlayerOnceMoreWhileTheTrackedFileIsCurrentAndWritesMostRecentFirst) {
    WriteDataFile({{"old.avi", 1000, 0}, {"b.avi", 2000, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 61000, 1, {kListPos, kFileName, Position(61000)}}});
    host.playlist = {"c.avi"}; // the player moved on and has not told yet
    host.position = 99000;
    host.ClearLog();
    store.Shutdown();
    EXPECT_EQ((std::vector<HostRequest>{kListPos, kFileName}), host.log);
    EXPECT_EQ((Saved_{{"a.avi", 61000}, {"b.avi", 2000}, {"old.avi", 1000}}), Saved());

    Open();
    Run({{"a.avi", 61000, 1, {kListPos, kFileName, Jump(61000)}}});
    host.position = 63000;
    host.ClearLog();
    store.Shutdown();
    EXPECT_EQ((std::vector<HostRequest>{kListPos, kFileName, Position(63000), Length(180)}), host.log);
    EXPECT_EQ((Saved_{{"a.avi", 63000}, {"b.avi", 2000}, {"old.avi", 1000}}), Saved());
    EXPECT_EQ(2, background.finished) << "each quit waits for the worker's last write";
}

TEST_F(BookmarkStoreTest, TheClockKeepsThePositionOfAPlayingFileSoLeavingItRecordsWhereItWasLeft) {
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 61000, 1, {kListPos, kFileName, Position(61000), Length(180)}, kClock, 1000},
         {"a.avi", 62000, 1, {kListPos, kFileName, Position(62000)}, kClock, 2000},
         {"b.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ(62000, PositionOf("a.avi"));
    EXPECT_EQ((Saved_{{"b.avi", 0}, {"a.avi", 62000}}), Saved());
}

TEST_F(BookmarkStoreTest,
       WhilePlayingTheFileIsWrittenOnceThePositionMovedThirtySecondsAndThirtySecondsPassed) {
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 1000, 1, {kListPos, kFileName, Position(1000), Length(180)}, kClock, 100000},
         {"a.avi", 45000, 1, {kListPos, kFileName, Position(45000)}, kClock, 129000},
         {"a.avi", 46000, 1, {kListPos, kFileName, Position(46000), Status(1)}, kClock, 130000},
         {"a.avi", 80000, 1, {kListPos, kFileName, Position(80000)}, kClock, 150000},
         {"a.avi", 120000, 3, {kListPos, kFileName, Position(120000), Status(3)}, kClock, 200000}});
    EXPECT_EQ((Saved_{{"a.avi", 46000}}), Saved());
    EXPECT_EQ(1, files.replaces) << "the paused player's position is not written";
    // Back 30 s is as much a move as forward.
    Run({{"a.avi", 16000, 1, {kListPos, kFileName, Position(16000), Status(1)}, kClock, 230000}});
    EXPECT_EQ((Saved_{{"a.avi", 16000}}), Saved());
}

TEST_F(BookmarkStoreTest, AFileLeftInItsLastTenSecondsStartsOverOneStoppedBeforeThemKeepsItsPlace) {
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi",
          171000,
          1,
          {kListPos, kFileName, Position(171000), Length(180)},
          kClock,
          1000},                                 // 9 s before the end
         {"b.avi", 0, 1, {kListPos, kFileName}}, // the player moved on
         {"b.avi",
          169000,
          1,
          {kListPos, kFileName, Position(169000), Length(180)},
          kClock,
          2000},                                                        // the credits, 11 s before
         {"b.avi", -1, 0, {kListPos, kFileName, Position(-1)}, 603, 2}, // Stop
         {"a.avi", 0, 1, {kListPos, kFileName}}}); // like a file never seen: neither paused nor moved
    EXPECT_EQ((Saved_{{"b.avi", 169000}}), Saved());
    // A host that under-reports the length: a place far past it is no end.
    host.lengthSeconds = 60;
    Run({{"a.avi", 3600000, 1, {kListPos, kFileName, Position(3600000), Length(60)}, kClock, 3000},
         {"c.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ((Saved_{{"c.avi", 0}, {"a.avi", 3600000}, {"b.avi", 169000}}), Saved());
}

// The data file is read by the worker: a file that becomes current before it comes resumes when it does,
// while the person is still at its start.
TEST_F(BookmarkStoreTest, AFileCurrentBeforeTheDataFileIsReadResumesWhenItComesWithinTheFirstSeconds) {
    for (const int playedMs : {3000, 8000}) {
        WriteDataFile({{"a.avi", 600000, 0}});
        background.holdWrites = true;
        Open();
        Run({{"a.avi", 0, 1, {kListPos, kFileName}}});
        background.RunWrites();
        host.position = playedMs;
        store.PickUpIdentity();
        EXPECT_EQ(playedMs == 3000 ? 600000 : playedMs, host.position) << playedMs;
        store.Shutdown();
        EXPECT_EQ((Saved_{{"a.avi", playedMs == 3000 ? 600000 : playedMs}}), Saved()) << playedMs;
    }
}

// With "Only files longer than 5 minutes" a song takes no place, known short from its last play or from
// the length the host reports now; a film keeps its place, the length it was last reported with, and when
// it was played.
TEST_F(BookmarkStoreTest, AFileShorterThanTheOptionSaysIsNeitherResumedNorWritten) {
    struct : WallClock {
        std::int64_t Now() override { return 1765400000; }
    } clock;
    store.SetWallClock(&clock);
    settings.minlength = 5;
    std::vector<BookmarkEntry> remembered = {{"film.mkv", 600000, 0}, {"song.mp3", 60000, 0}};
    remembered[0].lengthMs = 3600000;
    remembered[1].lengthMs = 180000;
    WriteDataFile(remembered);
    Open();
    host.lengthSeconds = 180;
    Run({{"song.mp3", 0, 1, {kListPos, kFileName}},
         {"song.mp3", 61000, 1, {kListPos, kFileName, Position(61000)}, kClock, 1000}, // its length is known
         {"new.mp3", 0, 1, {kListPos, kFileName}},
         {"new.mp3", 62000, 1, {kListPos, kFileName, Position(62000), Length(180)}, kClock, 2000}});
    EXPECT_EQ(1u, store.Entries().size()) << "the songs went as soon as their length was known";
    host.lengthSeconds = 3600;
    Run({{"film.mkv", 0, 1, {kListPos, kFileName, Status(1), kPause, Jump(600000)}}});
    store.Shutdown();
    EXPECT_EQ((Saved_{{"film.mkv", 600000}}), Saved());
    EXPECT_EQ(3600000, DecodeDataFile(files.files[kPath]).entries[0].lengthMs);
    EXPECT_EQ(1765400000, DecodeDataFile(files.files[kPath]).entries[0].lastPlayed);
}

// A host that moves to the next entry and announces it only later: the tick that sees another file at its
// start takes the change, records nothing of it under the tracked name, and a quick way back resumes the
// first file rather than record its new start over its place. Another entry far from its start is the
// playing one taken out of the playlist: no change.
TEST_F(BookmarkStoreTest, ATickThatSeesAnotherFileAtItsStartTakesTheChangeBeforeTheHostAnnouncesIt) {
    const std::vector<HostRequest> back = {kListPos,  kFileName, Position(3000),
                                           Status(1), kPause,    Jump(1200000)};
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 1200000, 1, {kListPos, kFileName, Position(1200000), Length(180)}, kClock, 1000},
         {"x.avi", 1201000, 1, {kListPos, kFileName, Position(1201000)}, kClock, 1500},
         {"b.avi", 500, 1, {kListPos, kFileName, Position(500)}, kClock, 2000},
         {"b.avi", 50000, 1, {kListPos, kFileName, Position(50000), Length(180), Status(1)}, kClock, 60000},
         {"a.avi", 3000, 1, back, kClock, 61000},
         {"a.avi", 1200000, 3, {kListPos, kFileName, Position(1200000)}}});
    EXPECT_EQ((Saved_{{"a.avi", 1200000}, {"b.avi", 50000}}), Saved());
}

// After the upgrade from 1.0.0 a file the code page lacks is found under the host's lossy ANSI name; and
// an ANSI name longer than a data file holds is kept under the wide key, so that it reads back.
TEST_F(BookmarkStoreTest, ALossyAnsiEntryIsCarriedOverAndAnOverlongAnsiNameKeptWide) {
    WriteDataFile({{"C:\\??.mkv", 61000, 0}});
    Open();
    host.playlist = {"C:\\??.mkv"};
    host.widePlaylist = {u"C:\\\u65E5\u672C.mkv"};
    store.OnHostNotify(603, 5);
    EXPECT_EQ(61000, store.CurrentPos());
    ASSERT_EQ(1u, store.Entries().size());
    EXPECT_TRUE(file_name::IsWide(store.Entries()[0].fileName));
    codePage.bytesPerChar = 2;
    host.widePlaylist = {std::u16string(data_file::kMaxNameBytes / 2 + 1, u'a')};
    store.OnHostNotify(603, 5);
    EXPECT_TRUE(file_name::IsWide(store.CurrentFile()));
}

TEST_F(BookmarkStoreTest, NamesOutsideTheAnsiCodePageAreToldApartAndKeptAsUtf8) {
    const std::u16string one = u"C:\\\u65E5\u672C.mkv", two = u"C:\\\u4E2D\u6587.mkv";
    const std::string oneKey = std::string(1, '\0') + "C:\\\xE6\x97\xA5\xE6\x9C\xAC.mkv";
    auto play = [this](const std::u16string& wide, int position, std::vector<HostRequest> want) {
        host.playlist = {"C:\\??.mkv"}; // what the ANSI request makes of either
        host.widePlaylist = {wide};
        host.position = position;
        host.ClearLog();
        store.OnHostNotify(603, 5);
        EXPECT_EQ(want, host.log);
    };
    Open();
    // A wide name seen for the first time is looked for once under the host's ANSI name.
    const HostRequest kAnsiName = User(0, 211, 0);
    play(one, 0, {kListPos, kFileName, kListPos, kAnsiName});
    host.position = 125000;
    store.OnClock(1000);
    play(two, 0, {kListPos, kFileName, kListPos, kAnsiName});
    play(one, 0, {kListPos, kFileName, Status(1), kPause, Jump(125000)});
    play(u"C:\\caf\u00E9.avi", 0, {kListPos, kFileName}); // the ANSI code page holds it
    store.Shutdown();
    const Saved_ saved = Saved();
    ASSERT_EQ(3u, saved.size());
    EXPECT_EQ("C:\\caf\xE9.avi", saved[0].first) << "written as ANSI bytes, as before";
    EXPECT_EQ(oneKey, saved[1].first);

    host.wideAnswer = 1; // a host without the wide request
    host.widePlaylist.clear();
    Open();
    // The ANSI name is asked instead, and finds the file remembered under it.
    Run({{"C:\\caf\xE9.avi", 0, 1, {kListPos, User(0, 214, 1), User(0, 211, 0), Jump(0)}}});
}

TEST_F(BookmarkStoreTest, AnOpenAfterShutdownStartsAFreshRun) {
    WriteDataFile({{"b.avi", 5000, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}}});
    store.Shutdown();
    Open();
    Run({{"b.avi", 0, 1, {kListPos, kFileName, Jump(5000)}}}); // the first remembered file of the run
}

TEST_F(BookmarkStoreTest, ShutdownWithoutOpenTouchesNoFileAndAsksNothing) {
    store.Shutdown();
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(host.log.empty());
}

TEST_F(BookmarkStoreTest, FileKeepsTheThirtyMostRecentAndMemoryTheThousandMostRecentOfALongerRun) {
    const auto playAll = [this] {
        Open();
        for (int i = 0; i < 1005; ++i) {
            host.playlist = {"f" + std::to_string(i)};
            host.position = i * 100;
            store.OnHostNotify(603, 2);
            store.OnHostNotify(603, 2); // refresh
        }
        store.Shutdown();
    };
    // As many as the options say, a hand-edited number within its bounds; the options list as many.
    for (const int maxfiles : {5000, 100}) {
        settings.maxfiles = maxfiles;
        playAll();
        EXPECT_EQ(std::min(maxfiles, 1000), static_cast<int>(Saved().size()));
        EXPECT_EQ(Saved().size(), store.List().size());
    }
    settings.maxfiles = 30;
    files.files.clear();
    playAll();
    const auto saved = Saved();
    ASSERT_EQ(30u, saved.size());
    for (int k = 0; k < 30; ++k)
        EXPECT_EQ(("f" + std::to_string(1004 - k)), saved[std::size_t(k)].first);
    EXPECT_EQ(1000u, store.Entries().size());
    EXPECT_EQ(500, PositionOf("f5")) << "the least recent kept";
    EXPECT_EQ(100400, PositionOf("f1004"));
    for (const BookmarkEntry& e : store.Entries())
        EXPECT_NE(e.fileName, "f4") << "the five least recent dropped";
}

TEST_F(BookmarkStoreTest, FirstOfTwoLoadedEntriesWithTheSameNameWins) {
    std::vector<unsigned char> bytes =
        EncodeDataFile(std::vector<BookmarkEntry>{{"a.avi", 1000, 1}, {"a.avi", 2000, 0}});
    files.files[kPath] = bytes;
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName, Jump(1000)}}});
}

TEST_F(BookmarkStoreTest, StampsAfterADamagedFileFollowTheEntriesReallyRead) {
    // Count 30, but only two entries follow.
    std::vector<unsigned char> bytes = EncodeDataFile(std::vector<BookmarkEntry>{{"x", 1, 1}, {"y", 2, 0}});
    bytes[4] = 30;
    files.files[kPath] = bytes;
    Open();
    EXPECT_EQ(1, store.UseCounter());
    Run({{"new.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ(2, store.UseCounter());
}

TEST_F(BookmarkStoreTest, CountZeroFileStartsStampsAtZero) {
    files.files[kPath] = EncodeDataFile(std::vector<BookmarkEntry>{});
    Open();
    EXPECT_EQ(-1, store.UseCounter());
    Run({{"a.avi", 0, 1, {kListPos, kFileName}}});
    ASSERT_EQ(1u, store.Entries().size());
    EXPECT_EQ(0, store.Entries()[0].stamp);
}

// Pausing makes a real host announce its new status at once; that notification re-enters the store
// before the jump.
// A host that pumps its messages inside requests: the store's notification and clock run nested in them.
TEST_F(BookmarkStoreTest, NothingOfThePlayersIsTakenInsideAResumeNorForAnotherFileThanItWasAskedFor) {
    WriteDataFile({{"c.avi", 7000, 0}, {"b.avi", 50000, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}}});
    // Inside the pause: a status notification and a tick, long after the last write.
    host.onRequest = [this](const HostRequest& r) {
        if (r.message != WM_COMMAND || r.wParam != 40046) return;
        store.OnHostNotify(603, 2);
        store.OnClock(100000);
    };
    Run({{"b.avi", 0, 1, {kListPos, kFileName, Status(1), kPause, kListPos, kFileName, Jump(50000)}}});
    // The host still reports the old place for a tick after the jump, then lands.
    host.onRequest = nullptr;
    Run({{"b.avi", 500, 1, {kListPos, kFileName, Position(500), Length(180)}, kClock, 140000},
         {"b.avi", 51000, 1, {kListPos, kFileName, Position(51000)}, kClock, 141000}});
    EXPECT_EQ(51000, store.CurrentPos());
    EXPECT_EQ((Saved_{{"b.avi", 50000}, {"a.avi", 0}, {"c.avi", 7000}}), Saved());
    // The next file is announced inside the clock's position request: b's answer is not c's position.
    host.onRequest = [this](const HostRequest& r) {
        if (r.lParam != 105 || r.wParam != 0 || host.playlist[0] != "b.avi") return;
        host.playlist = {"c.avi"};
        store.OnHostNotify(603, 5);
    };
    Run({{"b.avi",
          90000,
          1,
          {kListPos, kFileName, Position(90000), kListPos, kFileName, Status(1), kPause, Jump(7000)},
          kClock,
          150000}});
    EXPECT_EQ("c.avi", store.CurrentFile());
    EXPECT_EQ(7000, store.CurrentPos());
}

TEST_F(BookmarkStoreTest, AnotherFileBecomingCurrentDuringThePauseDropsTheEarlierJump) {
    WriteDataFile({{"c.avi", 3000, 0}, {"b.avi", 5000, 0}});
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}}});
    host.onRequest = [this](const HostRequest& r) {
        if (r.message != WM_COMMAND || r.wParam != 40046 || host.playlist[0] != "b.avi") return;
        host.playlist = {"c.avi"};
        store.OnHostNotify(603, 5);
    };
    Run({{"b.avi",
          0,
          1,
          {kListPos, kFileName, Status(1), kPause, kListPos, kFileName, Status(3), Jump(3000)}}});
    host.onRequest = nullptr;
    EXPECT_EQ("c.avi", store.CurrentFile());
}

TEST_F(BookmarkStoreTest, LockedFileIsMergedOnceItCanBeReadAndNeverOverwrittenBlindly) {
    WriteDataFile({{"old2.avi", 2000, 0}, {"a.avi", 1000, 0}, {"old1.avi", 3000, 0}});
    const auto before = files.files[kPath];
    files.locked.insert(kPath);
    Open();
    EXPECT_TRUE(store.Entries().empty());
    EXPECT_EQ(0, store.UseCounter());
    Run({{"a.avi", 0, 1, {kListPos, kFileName}},
         {"a.avi", 7000, 1, {kListPos, kFileName, Position(7000)}},
         {"b.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ(before, files.files[kPath]) << "a locked file is left alone";
    files.locked.clear();
    store.Shutdown();
    EXPECT_EQ((Saved_{{"b.avi", 0}, {"a.avi", 7000}, {"old1.avi", 3000}, {"old2.avi", 2000}}), Saved());
}

TEST_F(BookmarkStoreTest, ForgetWithAFileUnreadableAtStartLeavesNothingOfItToComeBack) {
    WriteDataFile({{"old.avi", 2000, 0}});
    files.locked.insert(kPath);
    Open();
    files.locked.clear();
    store.ForgetAll();
    Run({{"a.avi", 0, 1, {kListPos, kFileName}}, {"b.avi", 0, 1, {kListPos, kFileName}}});
    EXPECT_EQ((Saved_{{"b.avi", 0}, {"a.avi", 0}}), Saved());
}

TEST_F(BookmarkStoreTest, ReadOnlyFileIsReadAndKeptWhileTheRunGoesOn) {
    WriteDataFile({{"a.avi", 61000, 0}});
    const auto before = files.files[kPath];
    files.readOnly.insert(kPath);
    Open();
    Run({{"a.avi", 0, 1, {kListPos, kFileName, Jump(61000)}},
         {"a.avi", 65000, 1, {kListPos, kFileName, Position(65000)}},
         {"b.avi", 0, 1, {kListPos, kFileName}}});
    store.Shutdown();
    EXPECT_EQ(before, files.files[kPath]);
    EXPECT_EQ(65000, PositionOf("a.avi"));
    EXPECT_EQ(3, files.reads) << "read at start, and before each of the two writes it could not do";
}

TEST_F(BookmarkStoreTest, PositionSeenWithNoTrackedFileIsNotRecordedUnderAnEmptyName) {
    settings.bookmark = 0;
    Open();
    Run({{"", 5000, 1, {kListPos, kFileName, Position(5000)}}});
    settings.bookmark = 1;
    Run({{"a.avi", 0, 1, {kListPos, kFileName}}});
    ASSERT_EQ(1u, store.Entries().size());
    EXPECT_EQ("a.avi", store.Entries()[0].fileName);
}

} // namespace

// A file moved or renamed is found by what it holds once the worker has read it: the remembered place
// under its new name, unless the answer came late, the file differs, or the name is no file path.
TEST_F(BookmarkStoreTest, AMovedOrRenamedFileResumesByItsContentUnlessItDiffersOrTheAnswerCameLate) {
    std::vector<unsigned char> film(200000);
    for (std::size_t i = 0; i < film.size(); ++i)
        film[i] = static_cast<unsigned char>(i * 7 % 251);
    const std::string left = "D:\\Downloads\\film.mkv";
    const struct {
        const char* what;
        const char* name; // where the file is now
        std::size_t changedByte;
        int positionAtAnswer;
        bool anotherFileCurrent;
        bool resumes;
        bool copy = false;  // the file is still where it was left as well
        bool zeros = false; // both ends all zero bytes (preallocated)
    } cases[] = {
        {"moved", "E:\\Films\\film.mkv", 0, 800, false, true},
        {"renamed", "D:\\Downloads\\Film (2019).mkv", 0, 800, false, true},
        {"on a share", "\\\\nas\\films\\film.mkv", 0, 800, false, true},
        {"the player was stopped when the answer came, and then played", "E:\\Films\\film.mkv", 0, -1, false,
         true},
        {"one byte changed in its first 64 KiB", "E:\\Films\\film.mkv", 65535, 800, false, false},
        {"the answer came when the person had watched 6 s", "E:\\Films\\film.mkv", 0, 6000, false, false},
        {"the answer came when another file played", "E:\\Films\\film.mkv", 0, 800, true, false},
        {"a copy in a second folder", "E:\\Films\\film.mkv", 0, 800, false, true, true},
        {"a preallocated file of the same size", "E:\\Films\\film.mkv", 0, 800, false, false, false, true},
    };
    for (const auto& c : cases) {
        files.files.clear();
        const std::vector<unsigned char> content = c.zeros ? std::vector<unsigned char>(film.size()) : film;
        files.files[left] = content;
        const FileIdentity identity = files.Identify(left, false);
        if (!c.copy) files.files.erase(left);
        files.files[c.name] = content;
        if (c.changedByte != 0) files.files[c.name][c.changedByte] ^= 1;
        WriteDataFile({{left, 1200000, 0, identity}});
        Open();
        Run({{"C:\\other.avi", 0, 1, {kListPos, kFileName}}, {c.name, 0, 1, {kListPos, kFileName}}});
        if (c.anotherFileCurrent) host.playlist = {"C:\\third.avi"};
        host.position = c.positionAtAnswer;
        host.ClearLog();
        store.PickUpIdentity();
        if (c.positionAtAnswer == -1) {
            EXPECT_EQ((std::vector<HostRequest>{kListPos, kFileName, Position(-1)}), host.log) << c.what;
            host.position = 300;
            store.OnHostNotify(603, 2);
        }
        const bool jumped = std::find(host.log.begin(), host.log.end(), Jump(1200000)) != host.log.end();
        EXPECT_EQ(c.resumes, jumped) << c.what;
        if (c.resumes) {
            // The host still reports the old place for a moment after the jump.
            host.position = 800;
            store.OnClock(1000);
            EXPECT_EQ(1200000, store.CurrentPos()) << c.what;
            Saved_ saved{{c.name, 1200000}, {"C:\\other.avi", 0}};
            if (c.copy) saved.emplace_back(left, 1200000);
            EXPECT_EQ(saved, Saved()) << c.what;
        } else {
            EXPECT_EQ(1200000, PositionOf(left)) << c.what << ": the old entry stays as it was";
        }
    }
    // A stream or a device is never read, a drive's long form is; an unreadable file matches no file whose
    // identity is not known either; a remembered file without an identity gets one when it plays.
    background.asked.clear();
    WriteDataFile({{"E:\\Films\\film.mkv", 5000, 0}});
    files.locked.insert("F:\\unreadable.mkv");
    files.files["F:\\unreadable.mkv"] = film;
    Open();
    Run({{"http://radio.example/film.mkv", 0, 1, {kListPos, kFileName}},
         {"\\\\.\\pipe\\film.mkv", 0, 1, {kListPos, kFileName}},
         {"\\\\?\\C:\\long.mkv", 0, 1, {kListPos, kFileName}},
         {"F:\\unreadable.mkv", 0, 1, {kListPos, kFileName}}});
    host.ClearLog();
    store.PickUpIdentity();
    EXPECT_TRUE(host.log.empty()) << "no identity, no match";
    Run({{"E:\\Films\\film.mkv", 0, 1, {kListPos, kFileName, Status(1), kPause, Jump(5000)}}});
    store.PickUpIdentity();
    EXPECT_EQ((std::vector<std::string>{"\\\\?\\C:\\long.mkv", "F:\\unreadable.mkv", "E:\\Films\\film.mkv"}),
              background.asked);
    store.Shutdown();
    EXPECT_EQ(files.Identify("E:\\Films\\film.mkv", false),
              DecodeDataFile(files.files[kPath]).entries[0].identity);

    // A moved film left before its identity was taken is matched when it comes back.
    files.files.clear();
    files.files["E:\\Films\\film.mkv"] = film;
    WriteDataFile({{left, 1200000, 0, files.Identify("E:\\Films\\film.mkv", false)}});
    background.answerAtOnce = false;
    Open();
    Run({{"E:\\Films\\film.mkv", 0, 1, {kListPos, kFileName}}});
    background.Answer();
    Run({{"C:\\other.avi", 800, 1, {kListPos, kFileName}}});
    store.PickUpIdentity();
    EXPECT_EQ(800, host.position) << "the film's answer is not the other file's";
    Run({{"E:\\Films\\film.mkv", 0, 1, {kListPos, kFileName, Status(1), kPause, Jump(0)}}});
    background.Answer();
    host.position = 800;
    store.PickUpIdentity();
    EXPECT_EQ(1200000, host.position);
    EXPECT_EQ((Saved_{{"E:\\Films\\film.mkv", 1200000}, {"C:\\other.avi", 0}}), Saved());
}

// What the options list: most recent first, names whole in UTF-16 with their folders apart, the file
// playing at the player's place; a removal is written at once, remembering on or off.
TEST_F(BookmarkStoreTest, TheListIsMostRecentFirstWithThePlayingFileWhereItIsAndARemovalIsWrittenAtOnce) {
    WriteDataFile({{"old.avi", 1000, 0}, {std::string(1, '\0') + "C:\\Media\\\xE6\x97\xA5.mkv", 2000, 0}});
    Open();
    Run({{"D:\\Films\\now.mkv", 0, 1, {kListPos, kFileName}}});
    host.position = 42000;
    store.OnClock(1000);
    const std::vector<RememberedFile> list = store.List();
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ(u"now.mkv", list[0].name);
    EXPECT_EQ(u"D:\\Films", list[0].folder);
    EXPECT_EQ(42000, list[0].position);
    EXPECT_EQ(u"\x65E5.mkv", list[1].name);
    EXPECT_EQ(u"C:\\Media", list[1].folder);
    EXPECT_EQ(u"old.avi", list[2].name);
    EXPECT_EQ(u"", list[2].folder);
    settings.bookmark = 0;
    EXPECT_TRUE(store.Remove(list[1].key));
    EXPECT_EQ((Saved_{{"D:\\Films\\now.mkv", 0}, {"old.avi", 1000}}), Saved());
    // A data file that cannot be written: the person is told, and the file stays out of the list.
    files.readOnly.insert(kPath);
    EXPECT_FALSE(store.Remove(list[2].key));
    EXPECT_EQ(1u, store.List().size());
}
