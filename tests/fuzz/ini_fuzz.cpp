// Fuzz target: any bytes as the customisation file beside the program, read by a new game.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Game.h"
#include "support/Answers.h"

namespace {

const std::string& Directory() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/realtopia-ini-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string program = Directory() + "/realtopia";
    if (std::FILE* file = std::fopen((program + ".INI").c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    TPlatform platform;
    platform.ProgramPath = program;
    platform.Seed = 1;
    TGame game(platform);
    game.InitWorld();
    for (int p = 1; p <= 20; ++p)
        if (game.State().Property(p).Name.empty() && game.State().Property(p).Description.empty())
            __builtin_trap();
    return 0;
}
