#include "console/SavedGameCommands.h"

#include "console/ConsoleOutput.h"
#include "console/ConsoleText.h"
#include "engine/SavedGame.h"
#include "ui/SavedGameView.h"
#include "ui/Tmainform.h"

namespace {

// All after the command word, so a path may hold blanks.
std::string PathOf(const std::string& line) {
    const std::string trimmed = consoletext::Trim(line);
    const std::size_t blank = trimmed.find_first_of(" \t");
    return blank == std::string::npos ? std::string() : consoletext::Trim(trimmed.substr(blank));
}

}  // namespace

void SaveCommand(const Tmainform& form, ConsoleOutput& out, const std::string& line) {
    const std::string path = PathOf(line);
    if (path.empty()) return out.Line("?", "save PATH");
    std::string why;
    if (!form.Game().GameInProgress()) return out.Line("?", "no game in progress");
    if (!SaveGameOf(form, path, why)) return out.Line("?", "cannot save " + path + ": " + why);
    out.Line("saved", path);
}

void LoadCommand(Tmainform& form, ConsoleOutput& out, const std::string& line) {
    const std::string path = PathOf(line);
    if (path.empty()) return out.Line("?", "load PATH");
    TSavedGame saved;
    std::string why;
    // A file that cannot be read is left where it is: only the desktop's own file is set aside.
    if (ReadSavedGame(path, saved, why) != TSavedGameRead::Read)
        return out.Line("?", "cannot load " + path + ": " + why);
    form.ShowSavedGame(saved);
    out.Line("loaded", path);
}
