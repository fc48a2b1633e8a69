#pragma once

// The floor of the engine's month: the same rules written by hand over plain arrays, with no
// window, no history and no text. It draws the same random numbers as TGame and ends in the
// same state, so the engine's time per month can be read as a ratio to the least a month
// costs. It covers what the engine benchmark's games meet (an engaged player, Developer and
// Magnate); a game that reaches Guru is not its business, and `SameAs` then says so.

#include <array>
#include <cstdint>

#include "engine/Game.h"

class TFloorMonth {
public:
    // Takes the state of `game` (a game in play) and its generator.
    void Load(const TGame& game) {
        for (std::size_t p = 0; p < kPropertyCount; ++p) {
            buy_[p] = game.State().Properties[p].BuyPrice.Raw();
            sale_[p] = game.State().Properties[p].SaleValue.Raw();
            owned_[p] = game.State().Properties[p].Has(Owned) ? 1 : 0;
        }
        for (std::size_t k = 0; k < kNewsCount; ++k) {
            kind_[k] = game.State().NewsItems[k].Kind;
            magnitude_[k] = game.State().NewsItems[k].Magnitude;
            target_[k] = game.State().NewsItems[k].Target;
            shown_[k] = game.State().NewsItems[k].Shown;
        }
        cash_ = game.State().Cash.Raw();
        debt_ = game.State().Debt.Raw();
        repayment_ = game.State().MonthlyRepaymentTotal.Raw();
        stage_ = game.State().Stage;
        year_ = game.State().Year;
        month_ = game.State().Month;
        played_ = game.State().MonthsPlayed;
        area_ = game.State().CurrentArea;
        pending_ = game.State().PendingNews;
        random_ = game.Random();
    }

    void Month() {
        if (month_ < 12) {
            ++month_;
        } else {
            ++year_;
            month_ = 1;
        }
        if (repayment_ > 0) {
            std::int64_t payment = repayment_;
            if (debt_ < payment) payment = debt_ < 0 ? 0 : debt_;
            debt_ -= payment;
            Spend(payment);
        }
        if (stage_ == 1 || stage_ == 2) {
            std::int64_t portfolio = 0;
            for (std::size_t p = 0; p < kPropertyCount; ++p) portfolio += owned_[p] ? sale_[p] : 0;
            if (stage_ == 1 && portfolio + cash_ - debt_ >= TGame::kMagnateWorth.Raw()) {
                stage_ = 2;
                cash_ += TGame::kBankBonus.Raw();
            }
        }
        ++played_;
        if (played_ >= TGame::kProgressMaximum) return;
        if (month_ == 12) Trend();
        if (played_ % 8 == 0) News();
    }

    // Whether `game` holds the state this month ended in.
    bool SameAs(const TGame& game) const {
        for (std::size_t p = 0; p < kPropertyCount; ++p)
            if (buy_[p] != game.State().Properties[p].BuyPrice.Raw() ||
                sale_[p] != game.State().Properties[p].SaleValue.Raw())
                return false;
        return cash_ == game.State().Cash.Raw() && debt_ == game.State().Debt.Raw() &&
               stage_ == game.State().Stage && year_ == game.State().Year &&
               month_ == game.State().Month && pending_ == game.State().PendingNews &&
               random_.GetState() == game.Random().GetState();
    }

private:
    void Spend(std::int64_t amount) {
        const std::int64_t before = cash_;
        cash_ -= amount;
        if (cash_ < 0 && before >= 0) cash_ = 0;
    }

    std::int64_t Lowest(int area) const {
        std::int64_t lowest = TGame::kLowestPriceCap.Raw();
        const std::size_t first = static_cast<std::size_t>(area - 1) * kPropertiesPerArea;
        for (std::size_t p = first; p < first + kPropertiesPerArea; ++p)
            lowest = sale_[p] < lowest ? sale_[p] : lowest;
        return lowest;
    }

    void Move(int area, std::int64_t delta) {
        const std::size_t first = static_cast<std::size_t>(area - 1) * kPropertiesPerArea;
        for (std::size_t p = first; p < first + kPropertiesPerArea; ++p) {
            buy_[p] = buy_[p] + delta < 0 ? 0 : buy_[p] + delta;
            sale_[p] = sale_[p] + delta < 0 ? 0 : sale_[p] + delta;
        }
    }

    void Trend() {
        int trend = Risen;
        if (random_.Int(1, 5) == 5) trend = Fallen;
        if (random_.Int(1, 5) == 4) trend = Steady;
        if (trend == Steady) return;
        const std::int64_t lowest = Lowest(area_);
        const int d = random_.Int(0, 1);
        const std::int64_t pound = Money::kScale;
        const std::int64_t delta =
            trend == Risen ? lowest * d / 10 / pound * pound : -(lowest * d / 20 / pound * pound);
        Move(area_, delta);
    }

    void News() {
        bool all = true;
        for (bool s : shown_) all = all && s;
        if (all) shown_.fill(false);
        int k = random_.Int(1, kNewsCount);
        while (shown_[static_cast<std::size_t>(k - 1)]) k = random_.Int(1, kNewsCount);
        shown_[static_cast<std::size_t>(k - 1)] = true;
        if (pending_ != 0) Apply(static_cast<std::size_t>(pending_ - 1));
        pending_ = k;
    }

    void Apply(std::size_t item) {
        if (kind_[item] == Windfall) {
            cash_ += Money::Pounds(target_[item]).Raw();
        } else if (kind_[item] == Boom || kind_[item] == Slump) {
            for (int a = 1; a <= kAreaCount; ++a) {
                if (target_[item] != 0 && target_[item] != a) continue;
                // Magnitude tenths of the lowest price, to the nearest ten-thousandth (halves
                // to even).
                const std::int64_t n = Lowest(a) * magnitude_[item];
                std::int64_t delta = n / 10;
                const std::int64_t rest = n % 10;
                if (rest > 5 || (rest == 5 && delta % 2 != 0)) ++delta;
                Move(a, kind_[item] == Slump ? -delta : delta);
            }
        }
    }

    std::array<std::int64_t, kPropertyCount> buy_{}, sale_{};
    std::array<std::uint8_t, kPropertyCount> owned_{};
    std::array<std::uint8_t, kNewsCount> kind_{}, magnitude_{};
    std::array<std::int32_t, kNewsCount> target_{};
    std::array<bool, kNewsCount> shown_{};
    std::int64_t cash_ = 0, debt_ = 0, repayment_ = 0;
    int stage_ = 1, year_ = 0, month_ = 0, played_ = 0, area_ = 1, pending_ = 0;
    TRandom random_;
};
