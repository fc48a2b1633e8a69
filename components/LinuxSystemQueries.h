#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "components/ISystemQueries.h"

// The system queries on Linux (and other POSIX hosts), standard C++ and POSIX only.
//
// - Windows directory: the per-user data directory, $XDG_DATA_HOME/realtopia when that variable
//   is set and absolute, else $HOME/.local/share/realtopia. It is only named here, not created.
// - System directory: /usr/lib.
// - Version: uname(); the release "6.1.0-18-amd64" gives 6.1.0, the extra text is uname's
//   version line, the family is kNonWindowsFamily and the host name "Linux 6.1.0".
// - Network: present unless the interface list holds nothing but loopback interfaces or
//   interfaces that are down; a failing interface query counts as present, like any answer
//   other than "no network".
// - Screen size and colour count belong to the toolkit: they come from display hooks the desktop
//   program installs. Without hooks (the text front end, tests) these queries fail. The display
//   never works with a palette.
class LinuxSystemQueries : public ISystemQueries {
public:
    struct DisplayHooks {
        std::function<std::optional<int>()> screenWidth;
        std::function<std::optional<int>()> screenHeight;
        std::function<std::optional<int>()> displayColours;
    };

    void SetDisplayHooks(DisplayHooks hooks) { hooks_ = std::move(hooks); }

    std::optional<std::string> WindowsDirectory() override;
    std::optional<std::string> SystemDirectory() override;
    std::optional<VersionRecord> Version() override;
    std::optional<int> DisplayColours() override;
    bool DisplayHasPalette() override { return false; }
    std::optional<int> PaletteSize() override { return std::nullopt; }
    std::optional<int> ScreenWidth() override;
    std::optional<int> ScreenHeight() override;
    bool NetworkAbsent() override;
    std::optional<std::string> CurrentDirectory() override;

    // The data directory from the values of XDG_DATA_HOME and HOME (either may be null).
    static std::optional<std::string> DataDirectoryFrom(const char* xdgDataHome, const char* home);
    // The version record from uname's system name, release and version texts.
    static VersionRecord VersionFromUname(const std::string& sysname, const std::string& release,
                                          const std::string& version);

private:
    static std::optional<int> Ask(const std::function<std::optional<int>()>& hook);

    DisplayHooks hooks_;
};
