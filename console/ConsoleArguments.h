#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of realtopia-console: [noini] [--seed N] [--debug], or --help, --version;
// [noini] replay FILE, [noini] verify.
struct ConsoleArguments {
    enum class Action { Run, Help, Version, Replay, Verify };

    Action What = Action::Run;
    bool NoIni = false;
    std::optional<std::uint64_t> Seed;
    bool Debug = false;
    std::string ReplayPath;  // of `replay FILE`

    // Parses the arguments after the program name; false with a message for a bad one.
    static bool Parse(const std::vector<std::string>& args, ConsoleArguments& out,
                      std::string& error);
    static std::string Usage();
    static std::string VersionText();
};
