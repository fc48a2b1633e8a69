#include "ui/TGameClock.h"

#include <algorithm>

void TGameClock::Start(int interval, std::int64_t now) {
    enabled_ = false;
    Reset(interval);
    Resume(now);
}

void TGameClock::Stop(std::int64_t now) {
    if (!enabled_) return;
    if (holds_ == 0) remaining_ = LeftAt(now);
    enabled_ = false;
    ++generation_;
}

void TGameClock::Resume(std::int64_t now) {
    if (enabled_) return;
    enabled_ = true;
    startedAt_ = now;
    ++generation_;
}

void TGameClock::Hold(std::int64_t now) {
    if (holds_++ > 0 || !enabled_) return;
    remaining_ = LeftAt(now);
    ++generation_;
}

void TGameClock::Release(std::int64_t now) {
    if (holds_ == 0 || --holds_ > 0 || !enabled_) return;
    startedAt_ = now;
    ++generation_;
}

void TGameClock::Reset(int interval, std::int64_t left) {
    interval_ = interval;
    remaining_ = left >= 0 && left <= interval ? left : interval;
    ++generation_;
}

std::int64_t TGameClock::Left(std::int64_t now) const {
    return Enabled() ? LeftAt(now) : remaining_;
}

bool TGameClock::Fire(std::int64_t now) {
    if (!Enabled()) return false;
    remaining_ = interval_;
    startedAt_ = now;
    ++generation_;
    return true;
}

std::int64_t TGameClock::LeftAt(std::int64_t now) const {
    return std::max<std::int64_t>(0, remaining_ - std::max<std::int64_t>(0, now - startedAt_));
}
