#pragma once

#include <cstdint>
#include <string>

#include "engine/Platform.h"

// A TPlatform for tests: a fixed seed, the date fixed at 1 January 2026, and a fresh
// directory under /tmp holding the per-user data directory and the program's directory.
// The directory and everything in it are removed when the object goes.
class TempPlatform {
public:
    static constexpr std::uint64_t kSeed = 20260101;
    static constexpr const char* kToday = "20260101";

    TempPlatform();
    ~TempPlatform();
    TempPlatform(const TempPlatform&) = delete;
    TempPlatform& operator=(const TempPlatform&) = delete;

    const std::string& Root() const { return root_; }
    std::string UserDataDirectory() const { return root_ + "/data"; }
    std::string ProgramDirectory() const { return root_ + "/bin"; }
    std::string ProgramPath() const { return root_ + "/bin/realtopia"; }

    TPlatform Platform(std::uint64_t seed = kSeed) const;

private:
    std::string root_;
};
