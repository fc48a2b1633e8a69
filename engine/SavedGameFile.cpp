// The saved-game file on disk: read only when regular and small, written whole and safely,
// removed when its game ends, set aside when it cannot be trusted.

#include <filesystem>
#include <system_error>

#include "engine/Game.h"
#include "engine/SafeFile.h"
#include "engine/SavedGame.h"

namespace fs = std::filesystem;

TSavedGameRead ReadSavedGame(const std::string& path, TSavedGame& saved, std::string& why) {
    std::string bytes;
    switch (ReadRegularFile(path, TSavedGame::kMaxFileSize, bytes, why)) {
        case TFileRead::Missing:
            why = "no such file";
            return TSavedGameRead::Missing;
        case TFileRead::Unreadable:
            return TSavedGameRead::Unreadable;
        case TFileRead::Read:
            break;
    }
    return TSavedGame::FromBytes(bytes, saved, why) ? TSavedGameRead::Read
                                                    : TSavedGameRead::Unreadable;
}

bool WriteSavedGame(const std::string& path, const TSavedGame& saved, std::string& why) {
    // What could not be read back is not written.
    why = saved.Problem();
    if (!why.empty()) return false;
    return ReplaceFileSafely(path, saved.ToBytes(), why);
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
