#pragma once

#include <string>

class TRealtopia;
struct TGameState;

// The answer to the `state` command: the game state and everything the main window shows,
// as one line of JSON. Money is an integer count of ten-thousandths of a pound.
class StateJson {
public:
    static std::string Write(const TRealtopia& app);
    // The game's part alone (every key but "window"), for a game no window has shown.
    static std::string WriteGame(const TGameState& game);
};
