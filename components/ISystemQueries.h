#pragma once

#include <optional>
#include <string>

// What the application-information component asks of the host system. Every answer may fail
// (an empty optional); the component turns failures into its fallback values and error texts.
// LinuxSystemQueries answers for this platform; tests answer with a fake.
class ISystemQueries {
public:
    // Platform families of the version record. The first three are the Windows families the
    // component knows by name; kNonWindowsFamily marks a host outside them (Linux, macOS).
    static constexpr int kFamilyWin32s = 0;
    static constexpr int kFamilyWindows = 1;
    static constexpr int kFamilyNT = 2;
    static constexpr int kNonWindowsFamily = -1;

    struct VersionRecord {
        unsigned major = 0;
        unsigned minor = 0;
        unsigned long build = 0;
        int platformFamily = kNonWindowsFamily;
        std::string extra;     // service level or build description
        std::string hostName;  // kernel name and release for the About box, e.g. "Linux 6.1.0"
    };

    virtual ~ISystemQueries() = default;

    // The per-user data directory ($XDG_DATA_HOME/realtopia or ~/.local/share/realtopia).
    virtual std::optional<std::string> WindowsDirectory() = 0;
    // The system library directory (/usr/lib).
    virtual std::optional<std::string> SystemDirectory() = 0;
    virtual std::optional<VersionRecord> Version() = 0;
    virtual std::optional<int> DisplayColours() = 0;  // a negative count means "more than fits"
    virtual bool DisplayHasPalette() = 0;
    virtual std::optional<int> PaletteSize() = 0;
    virtual std::optional<int> ScreenWidth() = 0;
    virtual std::optional<int> ScreenHeight() = 0;
    // True only when the system says plainly that no network is present.
    virtual bool NetworkAbsent() = 0;
    virtual std::optional<std::string> CurrentDirectory() = 0;
};
