#pragma once

#include <cstdint>

// The game clock of the main window: a repeating event every `Interval` milliseconds of
// *running* time. Stopping it keeps what is left of the current interval, so pausing and
// resuming never holds a month back; a start with a new interval begins a full one.
// The clock reads no time of its own: every call is given the toolkit's monotonic time in
// milliseconds, and the toolkit arms a one-shot timer for `Due()` after each change.
//
// While a box waits for the player's answer the clock is held: it stands still whatever the
// game does meanwhile (a pause, a resume), and goes on as the game then wants once the last
// hold is released.
class TGameClock {
public:
    // Whether the clock runs: started, and not held.
    bool Enabled() const { return enabled_ && holds_ == 0; }
    // Whether the game wants the clock to run (it may be held meanwhile).
    bool Started() const { return enabled_; }
    int Interval() const { return interval_; }
    // Milliseconds from the last change until the next event (only while enabled).
    std::int64_t Due() const { return remaining_; }
    // Rises on every change, so a toolkit knows when to arm its timer again.
    unsigned Generation() const { return generation_; }

    // Runs with a full interval of `interval` milliseconds.
    void Start(int interval, std::int64_t now);
    // Stops, keeping what is left of the current interval.
    void Stop(std::int64_t now);
    // Runs again with what was left when it stopped.
    void Resume(std::int64_t now);
    // A box waits for an answer: the clock stands still until the matching Release. Holds
    // nest.
    void Hold(std::int64_t now);
    void Release(std::int64_t now);
    // Sets a new interval for the next start or resume, which then begins a full interval, or
    // only `left` milliseconds of it (a game taken up again where it was left).
    void Reset(int interval, std::int64_t left = -1);
    // Milliseconds left of the current interval at `now`.
    std::int64_t Left(std::int64_t now) const;
    // The toolkit's timer went off: true when that is an event of this clock (it is running),
    // and the next interval begins.
    bool Fire(std::int64_t now);

private:
    std::int64_t LeftAt(std::int64_t now) const;

    bool enabled_ = false;
    int holds_ = 0;
    int interval_ = 3000;
    std::int64_t remaining_ = 3000;
    std::int64_t startedAt_ = 0;
    unsigned generation_ = 0;
};
