#pragma once

#include <cstdint>

#include "engine/Money.h"

class TGame;

// Single fields of a game set directly, for debugging (the text front end's `set`). Each
// changes one field and nothing else (no redraw, no rule runs); false, and nothing changed,
// for a value outside the field's range.
class TGameDebug {
public:
    // Amounts lie within TGame::kLargestAmount either way of zero; the counters stay where
    // the game's own counting cannot overflow them.
    static constexpr int kLastYear = 9999;
    // Leaves room for a billion more months to be counted.
    static constexpr std::int64_t kMostMonthsPlayed = 2'147'483'647 - 1'000'000'000;

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
