#include "engine/MarketHistory.h"

void TMarketHistory::Clear() {
    months_.clear();
    headlines_.clear();
    trends_.clear();
    events_.clear();
}

void TMarketHistory::CloseMonth(std::uint16_t year, std::int32_t month,
                                const std::array<TProperty, kPropertyCount>& properties,
                                Money netWorth) {
    months_.push_back({year, month, AveragePrices(properties), netWorth});
}

void TMarketHistory::HeadlineShown(int item, std::uint16_t year, std::int32_t month) {
    for (THeadline& shown : headlines_) shown.Landed = true;
    headlines_.push_back({item, year, month, false});
}

void TMarketHistory::TrendDrawn(std::uint16_t year, int area, std::int32_t result) {
    trends_.push_back({year, area, result});
}

void TMarketHistory::EventHappened(TEventKind kind, std::uint16_t year, std::int32_t month) {
    events_.push_back({kind, year, month});
}

std::array<Money, kAreaCount> TMarketHistory::AveragePrices(
    const std::array<TProperty, kPropertyCount>& properties) {
    std::array<Money, kAreaCount> sums{};
    std::array<int, kAreaCount> counts{};
    for (const TProperty& p : properties) {
        if (p.Area < 1 || p.Area > kAreaCount) continue;
        const auto a = static_cast<std::size_t>(p.Area - 1);
        sums[a] += p.BuyPrice;
        ++counts[a];
    }
    std::array<Money, kAreaCount> averages{};
    for (std::size_t a = 0; a < averages.size(); ++a)
        if (counts[a] > 0) averages[a] = sums[a].MulDiv(1, counts[a]);
    return averages;
}

void TMarketHistory::Restore(std::vector<TMonth> months, std::vector<THeadline> headlines,
                             std::vector<TTrend> trends, std::vector<TEvent> events) {
    months_ = std::move(months);
    headlines_ = std::move(headlines);
    trends_ = std::move(trends);
    events_ = std::move(events);
}
