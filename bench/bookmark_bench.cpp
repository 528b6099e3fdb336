// A track change in a run that has touched 30 files against one that has touched 100,000: the store
// should not care how long its list has grown.
#include <benchmark/benchmark.h>

#include <string>

#include "bookmarks/bookmark_store.h"
#include "fake_host.h"
#include "host/winamp_ipc.h"
#include "inline_background.h"
#include "latin_code_page.h"
#include "memory_file_store.h"
#include "null_window_system.h"
#include "settings/settings.h"

namespace {

struct Run {
    FakeHost host;
    CWinampIPC ipc{host};
    Settings settings;
    MemoryFileStore files;
    InlineBackground background{files};
    NullWindowSystem windows;
    LatinCodePage codePage;
    CBookmarkStore store{ipc, settings, background, windows, codePage, nullptr};

    void Notify(int listPos, int position) {
        host.listPos = listPos;
        host.position = position;
        host.log.clear();
        store.OnHostNotify(603, 5);
    }
};

void BM_TrackChange(benchmark::State& state) {
    const int touched = static_cast<int>(state.range(0));
    Run run;
    run.host.playlist.clear();
    for (int i = 0; i < touched; ++i)
        run.host.playlist.push_back("D:\\Video\\Series\\episode " + std::to_string(i) + ".avi");
    run.store.Open();
    for (int i = 0; i < touched; ++i)
        run.Notify(i, 1000 + i);

    // The two files touched last sit at the end of the list, the worst place for a search from the front.
    int current = touched - 1;
    for (auto _ : state) {
        current = current == touched - 1 ? touched - 2 : touched - 1;
        run.Notify(current, 5000);
    }
    state.counters["entries"] = static_cast<double>(run.store.Entries().size());
    state.counters["file_bytes"] = static_cast<double>(run.files.files.begin()->second.size());
}
BENCHMARK(BM_TrackChange)->Arg(30)->Arg(100000);

// Start-up with a damaged data file of 16 MiB of one-character names: loading stops at a bound.
void BM_OpenHugeFileOfTinyEntries(benchmark::State& state) {
    std::vector<unsigned char> bytes;
    auto put = [&bytes](int v) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<unsigned char>(static_cast<unsigned>(v) >> shift));
    };
    const int count = (16 << 20) / 13; // tag, length, one byte, position
    put(31);
    put(count);
    for (int i = 0; i < count; ++i) {
        put(1);
        put(1);
        bytes.push_back(static_cast<unsigned char>('a' + i % 26));
        put(i);
    }
    std::size_t loaded = 0;
    for (auto _ : state) {
        Run run;
        run.files.files["C:\\Player\\plugins\\gen_morvix.dat"] = bytes;
        run.store.Open();
        loaded = run.store.Entries().size();
    }
    state.counters["entries"] = static_cast<double>(loaded);
}
BENCHMARK(BM_OpenHugeFileOfTinyEntries)->Unit(benchmark::kMillisecond);

} // namespace
