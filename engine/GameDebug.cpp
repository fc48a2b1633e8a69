#include "engine/GameDebug.h"

#include "engine/Game.h"

namespace {

bool AmountInRange(Money amount) {
    return amount >= -TGame::kLargestAmount && amount <= TGame::kLargestAmount;
}

}  // namespace

bool TGameDebug::SetCash(Money amount) {
    if (!AmountInRange(amount)) return false;
    game_.Cash = amount;
    return true;
}

bool TGameDebug::SetDebt(Money amount) {
    if (!AmountInRange(amount)) return false;
    game_.Debt = amount;
    return true;
}

bool TGameDebug::SetBuyPrice(int property, Money amount) {
    if (property < 1 || property > kPropertyCount || !AmountInRange(amount)) return false;
    game_.Property(property).BuyPrice = amount;
    game_.MarketMoved();
    return true;
}

bool TGameDebug::SetSaleValue(int property, Money amount) {
    if (property < 1 || property > kPropertyCount || !AmountInRange(amount)) return false;
    game_.Property(property).SaleValue = amount;
    game_.MarketMoved();
    return true;
}

bool TGameDebug::SetDate(std::int64_t year, std::int64_t month) {
    if (year < 0 || year > kLastYear || month < 1 || month > 12) return false;
    game_.Year = static_cast<std::uint16_t>(year);
    game_.Month = static_cast<std::int32_t>(month);
    return true;
}

bool TGameDebug::SetMonthsPlayed(std::int64_t months) {
    if (months < 0 || months > kMostMonthsPlayed) return false;
    game_.MonthsPlayed = static_cast<std::int32_t>(months);
    return true;
}

bool TGameDebug::SetStage(std::int64_t stage) {
    if (stage < 1 || stage > 3) return false;
    game_.Stage = static_cast<std::uint16_t>(stage);
    return true;
}
