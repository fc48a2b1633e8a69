#include "logic/Accountant.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint16_t kRenovationBits = 0x00FF;  // DoneImprovements: bits of renovation items

std::string Named(std::size_t index) {
    return "property " + std::to_string(index + 1);
}

std::string Amount(Money m) {
    return FormatPounds(m) + " (" + std::to_string(m.Raw()) + ")";
}

}  // namespace

// Cash and debt as the rules move them in one step; money moves only while the game is
// engaged, the debt moves all the same.
class Accountant::Ledger {
public:
    Ledger(const Books& before, bool engaged, std::map<std::string, int>& seen)
        : Cash(before.Cash), Debt(before.Debt), engaged_(engaged), seen_(seen) {}

    void Spend(const char* what, Money amount) {
        ++seen_[what];
        if (!engaged_) return;
        const Money balance = Cash;
        Cash -= amount;
        if (Cash < Money() && balance >= Money()) Cash = Money();
    }
    void Add(const char* what, Money amount) {
        ++seen_[what];
        if (engaged_) Cash += amount;
    }
    // A redemption or settlement: no more than is owed, paid in full.
    void Repay(const char* what, Money amount) {
        const Money paid = std::min(amount, Debt);
        Debt -= paid;
        Add(what, -paid);
    }

    Money Cash, Debt;

private:
    bool engaged_;
    std::map<std::string, int>& seen_;
};

Accountant::Books Accountant::Take(const TGame& game) {
    Books books;
    books.Cash = game.State().Cash;
    books.Debt = game.State().Debt;
    books.RepaymentTotal = game.State().MonthlyRepaymentTotal;
    books.BuyTotal = game.State().BuyTotal;
    books.SellTotal = game.State().SellTotal;
    books.NetWorth = game.NetWorth();
    books.Stage = game.State().Stage;
    books.Year = game.State().Year;
    books.Month = game.State().Month;
    books.MonthsPlayed = game.State().MonthsPlayed;
    books.PendingNews = game.State().PendingNews;
    books.Engaged = game.State().Engaged;
    books.CheatUsed = game.State().CheatUsed;
    for (std::size_t i = 0; i < books.Lots.size(); ++i) {
        const TProperty& p = game.State().Properties[i];
        books.Lots[i] = {p.BuyPrice,    p.SaleValue, p.Flags, p.DoneImprovements,
                         p.DamageCount, p.SoldCount, p.Area};
    }
    return books;
}

void Accountant::Open(const TGame& game) {
    before_ = Take(game);
}

void Accountant::MonthlyDuties(Ledger& ledger, const Books& after, bool liquidated) {
    if (before_.RepaymentTotal > Money()) {
        const Money payment = std::min(before_.RepaymentTotal, std::max(ledger.Debt, Money()));
        ledger.Debt -= payment;
        ledger.Spend("monthly repayment", payment);
    }
    if (before_.Stage == 1 && after.Stage >= 2) ledger.Add("bank bonus", TGame::kBankBonus);
    if (liquidated && before_.Stage < 3 && after.Stage == 3)
        ledger.Repay("liquidation", ledger.Debt);
}

void Accountant::Windfall(Ledger& ledger, const TGame& game, const Books& after) {
    // A headline is drawn in every eighth month; the one before it lands then.
    const bool drawn = after.MonthsPlayed != before_.MonthsPlayed && after.MonthsPlayed % 8 == 0 &&
                       after.MonthsPlayed < TGame::kProgressMaximum;
    const int pending = before_.PendingNews;
    if (!drawn || pending < 1 || pending > kNewsCount) return;
    const TNewsItem& news = game.State().NewsItems[static_cast<std::size_t>(pending - 1)];
    if (news.Kind == ::Windfall) ledger.Add("windfall", Money::Pounds(news.Target));
}

void Accountant::Commands(Ledger& ledger, const Books& after, Money damRenAmount) {
    bool bought = false, sold = false;
    for (std::size_t i = 0; i < after.Lots.size(); ++i) {
        const Lot& was = before_.Lots[i];
        const Lot& is = after.Lots[i];
        bought = bought || (!was.Has(Owned) && is.Has(Owned));
        if (was.Has(Owned) && !is.Has(Owned)) {
            sold = true;
            if (was.SoldCount >= TGame::kSuspicionThreshold)
                ledger.Spend("selling fine", TGame::kSellingFine);
        }
        if (is.DamageCount > was.DamageCount) {
            if (was.DamageCount >= TGame::kVandalismThreshold)
                ledger.Spend("vandalism fine", TGame::kVandalismFine);
            ledger.Add("damage credit", damRenAmount.TruncatedToPounds());
        }
        if ((is.Done & ~was.Done & kRenovationBits) != 0) ledger.Spend("renovation", damRenAmount);
        if (!was.Has(Mortgaged) && is.Has(Mortgaged)) {
            ledger.Debt += is.Sale;
            ledger.Add("mortgage", is.Sale);
        }
        if (was.Has(Mortgaged) && !is.Has(Mortgaged)) ledger.Repay("redemption", is.Sale);
    }
    if (bought) ledger.Spend("purchase", before_.BuyTotal);
    if (sold) ledger.Add("sale", before_.SellTotal);
    if (!before_.CheatUsed && after.CheatUsed) ledger.Add("cheat bonus", TGame::kCheatBonus);
}

std::string Accountant::Prices(const Books& after, bool month, Money damRenAmount) {
    // Only the owned properties count towards the net worth.
    std::array<std::optional<Money>, kAreaCount + 1> areaMove;
    for (std::size_t i = 0; i < after.Lots.size(); ++i) {
        const Lot& was = before_.Lots[i];
        const Lot& is = after.Lots[i];
        if (is.Buy < Money() || is.Sale < Money()) return Named(i) + " has a price below zero";
        if (!was.Has(Owned) || !is.Has(Owned)) {
            if (month && was.Has(Owned) != is.Has(Owned))
                return Named(i) + " changed hands in a month";
            continue;
        }
        if (!month) {
            const bool renovated = (is.Done & ~was.Done & kRenovationBits) != 0;
            if (is.Sale != was.Sale + (renovated ? damRenAmount : Money()))
                return Named(i) + "'s sale value moved without a renovation";
            continue;
        }
        // A market move: the same amount for every owned property of an area, after the end
        // of a crash has doubled the halved ones back; a price that would fall below zero
        // stops at zero.
        const bool restored = was.Has(Halved) && !is.Has(Halved);
        const Money base = restored ? was.Sale.MulDiv(2, 1) : was.Sale;
        const Money moved = is.Sale - base;
        if (is.Sale == Money() && moved <= Money()) continue;
        std::optional<Money>& areaDelta = areaMove[static_cast<std::size_t>(is.Area)];
        if (areaDelta && *areaDelta != moved)
            return Named(i) + " moved by " + Amount(moved) + ", others of its area by " +
                   Amount(*areaDelta);
        areaDelta = moved;
        if (moved != Money()) ++seen_["market move"];
    }
    return {};
}

std::string Accountant::Compare(const Ledger& ledger, const Books& after,
                                Money expectedCash) const {
    if (after.Cash != expectedCash)
        return "cash went from " + Amount(before_.Cash) + " to " + Amount(after.Cash) +
               "; the rules give " + Amount(expectedCash);
    if (after.Debt != ledger.Debt)
        return "debt went from " + Amount(before_.Debt) + " to " + Amount(after.Debt) +
               "; the rules give " + Amount(ledger.Debt);
    Money portfolio;
    if (after.Engaged)
        for (const Lot& lot : after.Lots)
            if (lot.Has(Owned)) portfolio += lot.Sale;
    const Money worth = expectedCash - ledger.Debt + portfolio;
    if (after.NetWorth != worth)
        return "net worth went from " + Amount(before_.NetWorth) + " to " + Amount(after.NetWorth) +
               "; cash, debt and portfolio give " + Amount(worth);
    return {};
}

std::string Accountant::Explain(const TGame& game) {
    const Books after = Take(game);
    const bool month = after.Year != before_.Year || after.Month != before_.Month;
    Ledger ledger(before_, after.Engaged, seen_);
    if (month) {
        MonthlyDuties(ledger, after, true);
        Windfall(ledger, game, after);
    } else {
        Commands(ledger, after, game.State().DamRenAmount);
    }
    std::string unexplained = Prices(after, month, game.State().DamRenAmount);
    if (unexplained.empty()) unexplained = Compare(ledger, after, ledger.Cash);
    before_ = after;
    return unexplained;
}

std::string Accountant::ExplainEnd(const TGame& game) {
    const Books after = Take(game);
    const bool month = after.Year != before_.Year || after.Month != before_.Month;
    Ledger ledger(before_, after.Engaged, seen_);
    // The month that would begin 2010 ends the game before its duties; a month whose stage
    // check is answered by retiring ends it after them.
    if (month && after.Year < 2010) MonthlyDuties(ledger, after, false);
    const std::string prices = Prices(after, month, game.State().DamRenAmount);
    if (!prices.empty()) return prices;
    ledger.Repay("settlement", ledger.Debt);

    Money portfolio;
    if (after.Engaged)
        for (const Lot& lot : after.Lots)
            if (lot.Has(Owned)) portfolio += lot.Sale;
    Money total = ledger.Cash + portfolio;
    if (after.Engaged && total < Money()) total = Money();
    ++seen_["end of game"];
    if (after.Cash != total)
        return "the game ended with " + Amount(after.Cash) + " in cash; the rules give " +
               Amount(total);
    if (after.Debt != Money()) return "debt left after the settlement: " + Amount(after.Debt);
    return {};
}
