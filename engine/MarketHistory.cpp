#include "engine/MarketHistory.h"

namespace {

// `sum` ÷ `count`, to the nearest ten-thousandth, halves to even: Money::MulDiv(1, count)
// without its 128-bit arithmetic, since a quotient by a count never overflows. The usual
// count of twenty is a constant, so the division becomes a multiplication.
Money Average(std::int64_t sum, std::int64_t count) {
    const auto divide = [sum](std::int64_t by) {
        std::int64_t q = sum / by;
        const std::int64_t r = sum % by;
        const std::int64_t twice = (r < 0 ? -r : r) * 2;
        if (twice > by || (twice == by && q % 2 != 0)) q += sum < 0 ? -1 : 1;
        return Money::FromRaw(q);
    };
    return count == kPropertiesPerArea ? divide(kPropertiesPerArea) : divide(count);
}

}  // namespace

void TMarketHistory::Clear() {
    months_.clear();
    headlines_.clear();
    trends_.clear();
    events_.clear();
    // A whole game's months, so a month never waits for the vector to grow.
    months_.reserve(120);
}

Money TMarketHistory::Survey(const std::array<TProperty, kPropertyCount>& properties,
                             std::array<Money, kAreaCount>& averagePrices) {
    std::array<std::int64_t, kAreaCount> sums{};
    std::array<std::int64_t, kAreaCount> counts{};
    std::int64_t owned = 0;
    // The properties lie in area order, twenty an area: each area's sum is kept in a
    // register while its block is read. A property found outside its block (which no game
    // makes) is counted in its own area all the same.
    for (std::size_t block = 0; block < kAreaCount; ++block) {
        const int area = static_cast<int>(block) + 1;
        std::int64_t sum = 0;
        std::int64_t count = 0;
        for (std::size_t i = block * kPropertiesPerArea; i < (block + 1) * kPropertiesPerArea;
             ++i) {
            const TProperty& p = properties[i];
            // Without a branch: which properties are owned follows no pattern a processor
            // could learn.
            const std::int64_t ownedMask = -static_cast<std::int64_t>(p.Flags & Owned);
            owned += p.SaleValue.Raw() & ownedMask;
            if (p.Area == area) {
                sum += p.BuyPrice.Raw();
                ++count;
            } else if (p.Area >= 1 && p.Area <= kAreaCount) {
                const auto a = static_cast<std::size_t>(p.Area - 1);
                sums[a] += p.BuyPrice.Raw();
                ++counts[a];
            }
        }
        sums[block] += sum;
        counts[block] += count;
    }
    for (std::size_t a = 0; a < kAreaCount; ++a)
        averagePrices[a] = counts[a] > 0 ? Average(sums[a], counts[a]) : Money();
    return Money::FromRaw(owned);
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

void TMarketHistory::Restore(std::vector<TMonth> months, std::vector<THeadline> headlines,
                             std::vector<TTrend> trends, std::vector<TEvent> events) {
    months_ = std::move(months);
    headlines_ = std::move(headlines);
    trends_ = std::move(trends);
    events_ = std::move(events);
}
