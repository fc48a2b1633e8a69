#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "components/ISystemQueries.h"

// System answers set by the test; each may be changed between readings.
class FakeSystemQueries : public ISystemQueries {
public:
    std::optional<std::string> windowsDirectory = "/home/player/.local/share/realtopia";
    std::optional<std::string> systemDirectory = "/usr/lib";
    std::optional<VersionRecord> version =
        VersionRecord{6, 1, 0, kNonWindowsFamily, "#1 SMP Debian", "Linux 6.1.0"};
    std::optional<int> displayColours = 256;
    bool hasPalette = false;
    std::optional<int> paletteSize = 256;
    std::optional<int> screenWidth = 1024;
    std::optional<int> screenHeight = 768;
    bool networkAbsent = false;
    std::optional<std::string> currentDirectory = "/home/player/games";
    bool throwOnVersion = false;

    std::optional<std::string> WindowsDirectory() override { return windowsDirectory; }
    std::optional<std::string> SystemDirectory() override { return systemDirectory; }
    std::optional<VersionRecord> Version() override {
        if (throwOnVersion) throw std::runtime_error("version query broke");
        return version;
    }
    std::optional<int> DisplayColours() override { return displayColours; }
    bool DisplayHasPalette() override { return hasPalette; }
    std::optional<int> PaletteSize() override { return paletteSize; }
    std::optional<int> ScreenWidth() override { return screenWidth; }
    std::optional<int> ScreenHeight() override { return screenHeight; }
    bool NetworkAbsent() override { return networkAbsent; }
    std::optional<std::string> CurrentDirectory() override { return currentDirectory; }
};
