#include "engine/GameDebug.h"

#include "engine/Game.h"

namespace {

// The value lies in the range of the field of that name in Record's list.
template <class Record = TGameState>
bool InRange(const char* name, std::int64_t value) {
    return FieldNamed<Record>(name).Holds(value);
}

}  // namespace

bool TGameDebug::SetCash(Money amount) {
    if (!InRange("cash", amount.Raw())) return false;
    game_.Cash = amount;
    return true;
}

bool TGameDebug::SetDebt(Money amount) {
    if (!InRange("debt", amount.Raw())) return false;
    game_.Debt = amount;
    return true;
}

bool TGameDebug::SetBuyPrice(int property, Money amount) {
    if (property < 1 || property > kPropertyCount || !InRange<TProperty>("buy", amount.Raw()))
        return false;
    game_.Property(property).BuyPrice = amount;
    game_.MarketMoved();
    return true;
}

bool TGameDebug::SetSaleValue(int property, Money amount) {
    if (property < 1 || property > kPropertyCount || !InRange<TProperty>("sale", amount.Raw()))
        return false;
    game_.Property(property).SaleValue = amount;
    game_.MarketMoved();
    return true;
}

bool TGameDebug::SetDate(std::int64_t year, std::int64_t month) {
    if (!InRange("year", year) || !InRange("month", month)) return false;
    game_.Year = static_cast<std::uint16_t>(year);
    game_.Month = static_cast<std::int32_t>(month);
    return true;
}

bool TGameDebug::SetMonthsPlayed(std::int64_t months) {
    if (!InRange("monthsPlayed", months)) return false;
    game_.MonthsPlayed = static_cast<std::int32_t>(months);
    return true;
}

bool TGameDebug::SetStage(std::int64_t stage) {
    if (!InRange("stage", stage)) return false;
    game_.Stage = static_cast<std::uint16_t>(stage);
    return true;
}
