#include "support/TempPlatform.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TempPlatform::TempPlatform() {
    std::string pattern = "/tmp/realtopia-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    root_ = pattern;
    std::filesystem::create_directories(ProgramDirectory());
}

TempPlatform::~TempPlatform() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

TPlatform TempPlatform::Platform(std::uint64_t seed) const {
    TPlatform platform;
    platform.ProgramPath = ProgramPath();
    platform.UserDataDirectory = UserDataDirectory();
    platform.Seed = seed;
    platform.Today = [] { return std::string(kToday); };
    return platform;
}
