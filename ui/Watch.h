#pragma once

#include <cstdint>
#include <string>

// Watching a recorded game in the main window (ui/Watch.cpp): the record's moves go through
// the rules and the window as they went when the game was played, the main timer setting the
// pace, while the player only watches.

// How fast a watched game goes: a month per interval of the game clock, eight months per
// interval, or all at once.
enum class TWatchSpeed : std::int8_t { Normal, Fast, Instant };

inline constexpr const char* kWatchCaption = "Watch a Game";
inline constexpr const char* kWatchPromptLead =
    "Type the place of the hi-score game to watch (those with a record):";
inline constexpr const char* kWatchNone =
    "None of the hi-score table's games has a record to watch.";
inline constexpr const char* kWatchNotThatOne =
    "That place of the hi-score table has no record to watch.";
inline constexpr const char* kWatchFinishFirst =
    "Finish or quit the game you are playing before watching another.";
inline constexpr const char* kWatchStatus = "Watching the game of ";
inline constexpr const char* kWatchEnded = "The game watched has ended: Game \u2192 Stop Watching.";
inline constexpr const char* kWatchRefused = "This game's record does not replay: ";

// The main timer's wait, in milliseconds, for a month watched at `speed` when the game clock's
// interval is `interval`.
inline int WatchInterval(TWatchSpeed speed, int interval) {
    switch (speed) {
        case TWatchSpeed::Normal:
            return interval;
        case TWatchSpeed::Fast:
            return interval / 8 > 0 ? interval / 8 : 1;
        case TWatchSpeed::Instant:
            break;
    }
    return 0;
}
