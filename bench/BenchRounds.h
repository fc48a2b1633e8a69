#pragma once

// What every benchmark of the program judges by: CPU time (which another program on the
// machine does not add to) and medians of rounds taken in turn with the figure's yardstick,
// never a mean of wall times. A busy machine moves a wall-time mean by a factor of several;
// these move by a few per cent.

#include <algorithm>
#include <ctime>
#include <vector>

// CPU time of the calling thread, in nanoseconds.
inline double ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A figure with its range within the run: the median of all rounds, and the lowest and the
// highest median of the blocks the rounds were taken in.
struct TRanged {
    double Value = 0;
    double Low = 0;
    double High = 0;
};

// `blocks` of rounds, each a list of values: the median of them all and the range of the
// blocks' medians.
inline TRanged Ranged(const std::vector<std::vector<double>>& blocks) {
    TRanged out;
    std::vector<double> all;
    std::vector<double> medians;
    for (const std::vector<double>& block : blocks) {
        all.insert(all.end(), block.begin(), block.end());
        medians.push_back(Median(block));
    }
    out.Value = Median(all);
    if (!medians.empty()) {
        out.Low = *std::min_element(medians.begin(), medians.end());
        out.High = *std::max_element(medians.begin(), medians.end());
    }
    return out;
}

inline TRanged Scaled(TRanged figure, double by) {
    return {figure.Value * by, figure.Low * by, figure.High * by};
}
