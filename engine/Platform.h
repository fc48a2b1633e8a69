#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the engine needs to know of the machine it runs on. Front ends fill it in; tests
// point it at temporary directories and fix the seed and the date.
struct TPlatform {
    std::string ProgramPath;             // full path of the running program file
    std::string FirstArgument;           // first command-line argument, or empty
    std::string UserDataDirectory;       // first place of the hi-score file (created if missing)
    std::optional<std::uint64_t> Seed;   // fixed seed for every new game, else the clock
    std::function<std::string()> Today;  // "yyyymmdd"; the system date when empty
    // The game in progress keeps its record beside the saved game as it goes, and a game on
    // the hi-score table beside the table (the programs do; tests and replays need not).
    bool KeepRecords = false;

    // The per-user data directory: $XDG_DATA_HOME/realtopia when set and absolute, else
    // $HOME/.local/share/realtopia; empty when neither can be found.
    static std::string DefaultUserDataDirectory();
    // The running executable's full path (from /proc/self/exe), or `argv0` when unknown.
    static std::string ExecutablePath(const std::string& argv0);
    static std::string SystemToday();
};
