// A track change in a run that has touched 30 files against one that has touched 100,000: the store
// should not care how long its list has grown.
#include <benchmark/benchmark.h>

#include <string>

#include "bookmarks/bookmark_store.h"
#include "fake_host.h"
#include "host/winamp_ipc.h"
#include "memory_file_store.h"
#include "settings/settings.h"

namespace {

struct Run {
    FakeHost host;
    CWinampIPC ipc{host};
    Settings settings;
    MemoryFileStore files;
    CBookmarkStore store{ipc, settings, files};

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

} // namespace
