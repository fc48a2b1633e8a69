#pragma once

#include <string>

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

// Makes the game wait at the police window: property 1, owned and sold three times already,
// is sold again by an engaged player. Returns the fine as it is announced (its line feeds).
inline std::string SellTooOften(TGame& game) {
    Edit(game).Engaged = true;
    Edit(game).Property(1).Flags |= Owned;
    Edit(game).Property(1).SoldCount = 3;
    TMove select = TMove::Of(TMoveKind::Select);
    select.Side = TSelectionSide::Portfolio;
    select.Properties = {1};
    game.Apply(select);
    game.Apply(TMove::Of(TMoveKind::BuyOrSell));
    return "You have sold " + game.State().Property(1).Name +
           " too many times.\nI am suspicious, so I will fine you \u00A3100,000";
}
