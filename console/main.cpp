// realtopia-console: the game as text, for the terminal and for scripts.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "console/ConsoleApp.h"
#include "console/ConsoleArguments.h"
#include "console/RecordCommands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ConsoleArguments arguments;
    std::string error;
    if (!ConsoleArguments::Parse(args, arguments, error)) {
        std::cerr << "realtopia-console: " << error << "\n" << ConsoleArguments::Usage();
        return 2;
    }
    if (arguments.What == ConsoleArguments::Action::Help) {
        std::cout << ConsoleArguments::Usage();
        return 0;
    }
    if (arguments.What == ConsoleArguments::Action::Version) {
        std::cout << ConsoleArguments::VersionText() << "\n";
        return 0;
    }

    TPlatform platform;
    platform.ProgramPath = TPlatform::ExecutablePath(argc > 0 ? argv[0] : "realtopia-console");
    platform.FirstArgument = args.empty() ? std::string() : args.front();
    platform.UserDataDirectory = TPlatform::DefaultUserDataDirectory();
    platform.KeepRecords = true;
    platform.Seed = arguments.Seed;

    try {
        if (arguments.What == ConsoleArguments::Action::Replay)
            return ReplayRecordFile(arguments.ReplayPath, platform, std::cout);
        if (arguments.What == ConsoleArguments::Action::Verify)
            return VerifyHiScores(platform, std::cout);
        ConsoleApp app(std::cin, std::cout, std::move(platform), arguments.Debug);
        return app.Run();
    } catch (const std::exception& e) {
        std::cerr << "realtopia-console: " << e.what() << "\n";
        return 1;
    }
}
