#include "engine/Platform.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

std::string TPlatform::DefaultUserDataDirectory() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/realtopia";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/share/realtopia";
    return {};
}

std::string TPlatform::ExecutablePath(const std::string& argv0) {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return path.string();
    return argv0;
}

std::string TPlatform::SystemToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d", &local);
    return text;
}
