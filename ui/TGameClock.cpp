#include "ui/TGameClock.h"

#include <algorithm>

void TGameClock::Start(int interval, std::int64_t now) {
    enabled_ = false;
    Reset(interval);
    Resume(now);
}

void TGameClock::Stop(std::int64_t now) {
    if (!enabled_) return;
    remaining_ =
        std::max<std::int64_t>(0, remaining_ - std::max<std::int64_t>(0, now - startedAt_));
    enabled_ = false;
    ++generation_;
}

void TGameClock::Resume(std::int64_t now) {
    if (enabled_) return;
    enabled_ = true;
    startedAt_ = now;
    ++generation_;
}

void TGameClock::Reset(int interval, std::int64_t left) {
    interval_ = interval;
    remaining_ = left >= 0 && left <= interval ? left : interval;
    ++generation_;
}

std::int64_t TGameClock::Left(std::int64_t now) const {
    if (!enabled_) return remaining_;
    return std::max<std::int64_t>(0, remaining_ - std::max<std::int64_t>(0, now - startedAt_));
}

bool TGameClock::Fire(std::int64_t now) {
    if (!enabled_) return false;
    remaining_ = interval_;
    startedAt_ = now;
    ++generation_;
    return true;
}
