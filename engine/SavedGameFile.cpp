// The saved-game file on disk: read only when regular and small, written whole and safely,
// removed when its game ends, set aside when it cannot be trusted.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/Game.h"
#include "engine/RegularFile.h"
#include "engine/SafeReplace.h"
#include "engine/SavedGame.h"

namespace fs = std::filesystem;

TSavedGameRead ReadSavedGame(const std::string& path, TSavedGame& saved, std::string& why) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) {
        why = "no such file";
        return TSavedGameRead::Missing;
    }
    std::string bytes;
    switch (ReadRegularFile(path, TSavedGame::kMaxFileSize, bytes)) {
        case TReadResult::TooLarge:
            why = "larger than " + std::to_string(TSavedGame::kMaxFileSize) + " bytes";
            return TSavedGameRead::Unreadable;
        case TReadResult::Unreadable:
            why =
                fs::is_regular_file(fs::status(path, ec)) ? "cannot be read" : "not a regular file";
            return TSavedGameRead::Unreadable;
        case TReadResult::Read:
            break;
    }
    return TSavedGame::FromBytes(bytes, saved, why) ? TSavedGameRead::Read
                                                    : TSavedGameRead::Unreadable;
}

bool WriteSavedGame(const std::string& path, const TSavedGame& saved, std::string& why) {
    // What could not be read back is not written.
    why = saved.Problem();
    if (!why.empty()) return false;
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    errno = 0;
    // The file holds the player's names: it is private, whatever the umask says.
    if (SafeReplace(path, saved.ToBytes(), TFileAccess::OwnerOnly)) return true;
    why = errno != 0 ? std::strerror(errno) : "cannot be written";
    return false;
}

bool RemoveSavedGame(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status)) return true;
    if (fs::is_directory(status)) return false;
    return fs::remove(path, ec) && !ec;
}

bool SetAsideSavedGame(const std::string& path) {
    std::error_code ec;
    fs::rename(path, path + ".bad", ec);
    return !ec;
}

std::string TGame::SavedGamePath() const {
    // Beside the hi-score table, wherever its rules put that.
    return fs::path(HiScorePath()).replace_filename(kSavedGameFileName).string();
}

bool TGame::GameInProgress() const {
    return (Running || Paused) && !reckoning_;
}
