#pragma once

// One line per target for the summary that `make bench` prints at its end: when
// REALTOPIA_BENCH_SUMMARY names a file, each target met or missed is appended to it as
// "what|ratio|range|target|met" (or "NOT MET"), which bench/summary.sh lays out. The range is
// how far the ratio moved within the run (see each benchmark for its rounds).

#include <cstdio>
#include <cstdlib>

inline void SummaryLine(const char* what, double ratio, double low, double high, const char* target,
                        bool met) {
    const char* path = std::getenv("REALTOPIA_BENCH_SUMMARY");
    if (path == nullptr || *path == '\0') return;
    if (std::FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s|%.2f|%.2f-%.2f|%s|%s\n", what, ratio, low, high, target,
                     met ? "met" : "NOT MET");
        std::fclose(file);
    }
}
