#pragma once

// One line per target for the summary that `make bench` prints at its end: when
// REALTOPIA_BENCH_SUMMARY names a file, each target met or missed is appended to it as
// "what|ratio|target|met" (or "NOT MET"), which bench/summary.sh lays out.

#include <cstdio>
#include <cstdlib>

inline void SummaryLine(const char* what, double ratio, const char* target, bool met) {
    const char* path = std::getenv("REALTOPIA_BENCH_SUMMARY");
    if (path == nullptr || *path == '\0') return;
    if (std::FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s|%.2f|%s|%s\n", what, ratio, target, met ? "met" : "NOT MET");
        std::fclose(file);
    }
}
