#pragma once

#include "engine/Game.h"

// Tests and benchmarks arrange a position by writing the game's state directly; the program
// itself writes it only through the rules. Whatever they write, the game's kept look at the
// market is taken afresh.
struct TGameStateAccess {
    static TGameState& Of(TGame& game) {
        game.MarketMoved();
        return game;
    }
};

inline TGameState& Edit(TGame& game) {
    return TGameStateAccess::Of(game);
}
