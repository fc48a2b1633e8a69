#pragma once

#include <cstdint>

#include "engine/Money.h"

class TGame;

// Single fields of a game set directly, for debugging (the text front end's `set`). Each
// changes one field and nothing else (no redraw, no rule runs); false, and nothing changed,
// for a value outside the field's range, which is the range the saved game keeps to (its line
// in ForEachField).
class TGameDebug {
public:
    explicit TGameDebug(TGame& game) : game_(game) {}

    bool SetCash(Money amount);
    bool SetDebt(Money amount);
    bool SetBuyPrice(int property, Money amount);
    bool SetSaleValue(int property, Money amount);
    bool SetDate(std::int64_t year, std::int64_t month);
    bool SetMonthsPlayed(std::int64_t months);
    bool SetStage(std::int64_t stage);

private:
    TGame& game_;
};
