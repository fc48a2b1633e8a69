#include "components/LinuxSystemQueries.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#if __has_include(<sys/utsname.h>)
#include <sys/utsname.h>
#define REALTOPIA_HAS_UNAME 1
#endif
#if __has_include(<ifaddrs.h>)
#include <ifaddrs.h>
#include <net/if.h>
#define REALTOPIA_HAS_IFADDRS 1
#endif

std::optional<std::string> LinuxSystemQueries::DataDirectoryFrom(const char* xdgDataHome,
                                                                 const char* home) {
    // XDG says a relative XDG_DATA_HOME is invalid and must be ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/realtopia";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share/realtopia";
    }
    return std::nullopt;
}

ISystemQueries::VersionRecord LinuxSystemQueries::VersionFromUname(const std::string& sysname,
                                                                   const std::string& release,
                                                                   const std::string& version) {
    VersionRecord record;
    record.platformFamily = kNonWindowsFamily;
    record.extra = version;

    // Up to three dot-separated numbers at the start of the release; the rest ("-18-amd64") is
    // the distribution's own suffix.
    unsigned long parts[3] = {0, 0, 0};
    std::size_t pos = 0;
    int count = 0;
    while (count < 3 && pos < release.size() &&
           std::isdigit(static_cast<unsigned char>(release[pos]))) {
        unsigned long value = 0;
        while (pos < release.size() && std::isdigit(static_cast<unsigned char>(release[pos]))) {
            value = value * 10 + static_cast<unsigned long>(release[pos] - '0');
            ++pos;
        }
        parts[count++] = value;
        if (count < 3 && pos + 1 < release.size() && release[pos] == '.' &&
            std::isdigit(static_cast<unsigned char>(release[pos + 1]))) {
            ++pos;
        } else {
            break;
        }
    }
    record.major = static_cast<unsigned>(parts[0]);
    record.minor = static_cast<unsigned>(parts[1]);
    record.build = parts[2];

    const std::string number = release.substr(0, pos);
    record.hostName = sysname;
    if (!number.empty()) record.hostName += (sysname.empty() ? "" : " ") + number;
    return record;
}

std::optional<std::string> LinuxSystemQueries::WindowsDirectory() {
    auto dir = DataDirectoryFrom(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    // The component asks with room for 255 characters.
    if (dir && dir->size() > 255) return std::nullopt;
    return dir;
}

std::optional<std::string> LinuxSystemQueries::SystemDirectory() {
    std::error_code ec;
    if (!std::filesystem::is_directory("/usr/lib", ec)) return std::nullopt;
    return std::string("/usr/lib");
}

std::optional<ISystemQueries::VersionRecord> LinuxSystemQueries::Version() {
#ifdef REALTOPIA_HAS_UNAME
    struct utsname names {};
    if (uname(&names) != 0) return std::nullopt;
    return VersionFromUname(names.sysname, names.release, names.version);
#else
    return std::nullopt;
#endif
}

std::optional<int> LinuxSystemQueries::Ask(const std::function<std::optional<int>()>& hook) {
    if (!hook) return std::nullopt;
    return hook();
}

std::optional<int> LinuxSystemQueries::DisplayColours() {
    return Ask(hooks_.displayColours);
}
std::optional<int> LinuxSystemQueries::ScreenWidth() {
    return Ask(hooks_.screenWidth);
}
std::optional<int> LinuxSystemQueries::ScreenHeight() {
    return Ask(hooks_.screenHeight);
}

bool LinuxSystemQueries::NetworkAbsent() {
#ifdef REALTOPIA_HAS_IFADDRS
    struct ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;  // an error, not "no network"
    bool anyUp = false;
    for (struct ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        if ((flags & IFF_UP) != 0 && (flags & IFF_LOOPBACK) == 0) {
            anyUp = true;
            break;
        }
    }
    freeifaddrs(list);
    return !anyUp;
#else
    return false;
#endif
}

std::optional<std::string> LinuxSystemQueries::CurrentDirectory() {
    std::error_code ec;
    const auto dir = std::filesystem::current_path(ec);
    if (ec) return std::nullopt;
    return dir.string();
}
