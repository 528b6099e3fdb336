// Wall-clock time for the Wine benchmarks, and the statistics they report.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Other programs on the machine only ever add time, so the fastest run is the steadiest estimate of the
// cost itself; the median shows what a loaded machine sees.
inline double Best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// One save of a full data file through the real file store, measured and printed.
void ReportSaveCost();
// The host thread's time on a slow disk, with and without identity reads, measured and printed.
void ReportSlowDisk();
