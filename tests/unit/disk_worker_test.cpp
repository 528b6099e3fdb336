// The worker's rules over a fake of its system calls: a "thread" runs only when the test lets it, so a
// disk that never answers is a thread never run, and the fake clock moves only by waits and sleeps.
#include "platform/disk_worker.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "memory_file_store.h"

namespace {

struct FakeWorkerSystem : WorkerSystem {
    std::vector<std::pair<void (*)(void*), void*>> threads; // started, not yet run
    DWORD now = 0;
    DWORD waited = 0;
    std::function<void()> onWait;  // what the other threads do while the host's thread waits
    std::function<void()> onSleep; // what the host's thread does while a worker sleeps

    bool Start(void (*work)(void*), void* context) override {
        threads.emplace_back(work, context);
        return true;
    }
    void Lock() override {}
    void Unlock() override {}
    void Signal() override {}
    bool Wait(DWORD ms) override {
        if (onWait) {
            onWait();
            return true;
        }
        now += ms;
        waited += ms;
        return false;
    }
    void Sleep(DWORD ms) override {
        now += ms;
        if (onSleep) onSleep();
    }
    DWORD Now() override { return now; }
    // Runs the thread started index-th, to its end.
    void Run(std::size_t index) { threads[index].first(threads[index].second); }
};

const std::string kData = "C:\\Player\\plugins\\gen_morvix.dat";
const std::vector<unsigned char> kBytes = {31, 0, 0, 0};

// A write of fixed bytes, whatever the file holds.
std::unique_ptr<DiskJob> Bytes(std::vector<unsigned char> bytes) {
    struct Fixed : DiskJob {
        std::vector<unsigned char> bytes;
        bool Compose(FileStore::Reading, const std::vector<unsigned char>&,
                     std::vector<unsigned char>& write) override {
            write = bytes;
            return true;
        }
    };
    std::unique_ptr<Fixed> job(new Fixed);
    job->bytes = std::move(bytes);
    return job;
}

class DiskWorkerTest : public ::testing::Test {
protected:
    MemoryFileStore files;
    FakeWorkerSystem system;
    DiskWorker worker{files, system};
};

TEST_F(DiskWorkerTest, QuitWaitsForTheLastWriteButNotForAReadUnderWay) {
    files.files["\\\\nas\\films\\film.mkv"] = std::vector<unsigned char>(1000, 7);
    worker.Identify("\\\\nas\\films\\film.mkv", false, 1);
    worker.Write(kData, Bytes(kBytes));
    ASSERT_EQ(2u, system.threads.size()) << "reads and writes each have a thread";
    // The share does not answer: the read's thread never gets on; the write's does.
    system.onWait = [this] { system.Run(1); };
    worker.Finish();
    EXPECT_EQ(kBytes, files.files[kData]);
    EXPECT_LT(system.waited, DiskWorker::kFinishMs);
    // The read ends after quit: its answer is dropped.
    system.Run(0);
    unsigned ticket = 0;
    FileIdentity identity;
    EXPECT_FALSE(worker.TakeIdentity(ticket, identity));
}

TEST_F(DiskWorkerTest, QuitGivesUpWaitingForAWriteThatDoesNotEndAfterASecond) {
    worker.Write(kData, Bytes(kBytes));
    worker.Finish();
    EXPECT_GE(system.waited, DiskWorker::kFinishMs);
    EXPECT_LT(system.waited, DiskWorker::kFinishMs + 100);
    system.Run(0);
    EXPECT_EQ(kBytes, files.files[kData]) << "the write still ends on its own thread";
}

// A refusal (another program holds the file) may end a moment later; anything else does not while the
// player quits. Before quit every failure is tried again.
TEST_F(DiskWorkerTest, AFailedWriteIsTriedAgainUnlessQuittingAndNotRefused) {
    const struct {
        bool refused;
        bool quitting;
        int attempts;
    } cases[] = {{true, false, 6}, {false, false, 6}, {true, true, 6}, {false, true, 1}};
    for (const auto& c : cases) {
        MemoryFileStore disk;
        FakeWorkerSystem threads;
        DiskWorker w{disk, threads};
        (c.refused ? disk.locked : disk.readOnly).insert(kData);
        w.Write(kData, Bytes(kBytes));
        if (c.quitting) {
            threads.onWait = [&threads] { threads.Run(0); };
            w.Finish();
        } else {
            threads.Run(0);
        }
        EXPECT_EQ(c.attempts, disk.attempts) << "refused " << c.refused << ", quitting " << c.quitting;
        EXPECT_TRUE(w.TakeWriteFailure());
    }
}

TEST_F(DiskWorkerTest, AWriteHandedOverWhileOneIsTriedAgainSupersedesItAndNoFailureIsReported) {
    files.locked.insert(kData);
    worker.Write(kData, Bytes({1}));
    system.onSleep = [this] {
        system.onSleep = nullptr;
        files.locked.clear();
        worker.Write(kData, Bytes(kBytes));
    };
    system.Run(0);
    ASSERT_EQ(1u, system.threads.size()) << "the running thread took the later write";
    EXPECT_EQ(2, files.attempts) << "the refused one once, the later one once";
    EXPECT_EQ(kBytes, files.files[kData]);
    EXPECT_FALSE(worker.TakeWriteFailure());
}

} // namespace
