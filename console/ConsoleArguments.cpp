#include "console/ConsoleArguments.h"

#include "console/ConsoleText.h"
#include "windows/Tsplash.h"

bool ConsoleArguments::Parse(const std::vector<std::string>& args, ConsoleArguments& out,
                             std::string& error) {
    out = ConsoleArguments();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out.What = Action::Help;
            return true;
        }
        if (arg == "--version") {
            out.What = Action::Version;
            return true;
        }
        if (arg == "noini") {
            // The engine looks at the first argument only; anywhere else it would be ignored.
            if (i != 0) {
                error = "noini must be the first argument";
                return false;
            }
            out.NoIni = true;
        } else if (arg == "replay" && out.What == Action::Run) {
            if (i + 1 >= args.size()) {
                error = "replay needs a record file";
                return false;
            }
            out.What = Action::Replay;
            out.ReplayPath = args[++i];
        } else if (arg == "verify" && out.What == Action::Run) {
            out.What = Action::Verify;
        } else if (arg == "--debug") {
            out.Debug = true;
        } else if (arg == "--seed") {
            if (i + 1 >= args.size()) {
                error = "--seed needs a number";
                return false;
            }
            const auto seed = consoletext::ParseUnsigned(args[++i]);
            if (!seed) {
                error = "--seed needs a non-negative integer, not '" + args[i] + "'";
                return false;
            }
            out.Seed = *seed;
        } else {
            error = "unknown argument '" + arg + "'";
            return false;
        }
    }
    return true;
}

std::string ConsoleArguments::Usage() {
    return "usage: realtopia-console [noini] [--seed N] [--debug]\n"
           "       realtopia-console [noini] replay FILE\n"
           "       realtopia-console [noini] verify\n"
           "       realtopia-console --help | --version\n"
           "\n"
           "Plays Realtopia as text: commands on standard input, tagged lines on standard\n"
           "output (see docs/CONSOLE.md).\n"
           "\n"
           "  noini      do not read the customisation file beside the program\n"
           "  --seed N   deal every game from the random seed N (a non-negative integer)\n"
           "  --debug    allow the `set` commands\n"
           "  replay     play the game record FILE again and print its final state\n"
           "  verify     replay the record of every hi-score entry and say whether it holds\n"
           "\n" +
           VersionText() + "\n";
}

std::string ConsoleArguments::VersionText() {
    return Tsplash::VersionText("realtopia-console");
}
