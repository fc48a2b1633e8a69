#pragma once

#include <functional>
#include <string>

#include "engine/SavedGame.h"

class TGame;
class Tmainform;

// A game left in the main window and shown there again on the next start.

// Told to the player when the saved game is set aside.
inline constexpr const char* kUnreadableSavedGame =
    "Your saved game could not be read; a new game starts.";

// "Continue your game of May 2003 (net worth £2,345,678)?", for the saved game under the
// rules and tables of `current`.
std::string ContinueQuestion(const TSavedGame& saved, const TGame& current);

// What the main window shows now, as the saved game keeps it.
TSavedWindow SavedWindowOf(const Tmainform& form);

// Writes the game in progress with what the window shows to `path`. False, with `why`, when no
// game is in progress or the file cannot be written.
bool SaveGameOf(const Tmainform& form, const std::string& path, std::string& why);

// When the program ends: a game in progress is written to the game's saved-game path.
// True when it was written.
bool SaveGameOnExit(const Tmainform& form);

// A front end that may be closed without notice (a browser's tab, discarded in the background)
// keeps the game after every move that changes it instead of only when the program ends.
class TGameKeeper {
public:
    // Writes the game in progress to the game's saved-game path when it differs from what
    // this keeper last wrote; that file is then the one the game's end removes. True when
    // it was written.
    bool Keep(Tmainform& form);

private:
    std::string written_;  // the file image last written
};

// On start-up, with the main window shown: offers the game saved at the saved-game path.
// An unreadable file is set aside (".bad") and the player told so; Yes shows the game paused
// where it was left (the file goes when that game ends); No removes the file. `done` hears
// whether the saved game was resumed, once the player has answered.
void OfferSavedGame(Tmainform& form, std::function<void(bool resumed)> done = {});
