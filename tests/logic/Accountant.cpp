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

// Cash, debt and the change of net worth as one step moves them. Money moves only while the
// game is engaged; the debt moves all the same.
class Accountant::Ledger {
public:
    Ledger(const Books& before, bool engaged, std::map<std::string, int>& seen)
        : Cash(before.Cash), Debt(before.Debt), engaged_(engaged), seen_(seen) {}

    // Money from outside or to outside (a windfall, a bonus, a fine): the net worth moves
    // with the cash.
    void Gain(const char* what, Money amount) {
        ++seen_[what];
        if (!engaged_) return;
        Cash += amount;
        Worth += amount;
        if (amount < Money()) CountIfNegative();
    }
    // Cash for something of the net worth's own: a sale for a property at its sale value, a
    // renovation for the sale value it adds, a purchase for a property worth `worth` more or
    // less than its price.
    void Exchange(const char* what, Money cash, Money worth = Money()) {
        ++seen_[what];
        if (!engaged_) return;
        Cash += cash;
        Worth += worth;
    }
    void Borrow(const char* what, Money amount) {
        ++seen_[what];
        Debt += amount;
        if (engaged_) Cash += amount;
    }
    // A repayment, a redemption or a settlement: no more than is owed, paid in full.
    void Repay(const char* what, Money amount) {
        ++seen_[what];
        const Money paid = std::min(amount, Debt);
        Debt -= paid;
        if (engaged_) Cash -= paid;
        CountIfNegative();
    }

    Money Cash, Debt, Worth;

private:
    void CountIfNegative() {
        if (engaged_ && Cash < Money()) ++seen_["paid into negative cash"];
    }

    bool engaged_;
    std::map<std::string, int>& seen_;
};

Accountant::Books Accountant::Take(const TGame& game) {
    Books books;
    books.Cash = game.Cash;
    books.Debt = game.Debt;
    books.RepaymentTotal = game.MonthlyRepaymentTotal;
    books.NetWorth = game.NetWorth();
    books.Stage = game.Stage;
    books.Year = game.Year;
    books.Month = game.Month;
    books.MonthsPlayed = game.MonthsPlayed;
    books.PendingNews = game.PendingNews;
    books.Engaged = game.Engaged;
    books.CheatUsed = game.CheatUsed;
    for (std::size_t i = 0; i < books.Lots.size(); ++i) {
        const TProperty& p = game.Properties[i];
        books.Lots[i] = {p.BuyPrice,    p.SaleValue, p.Flags, p.DoneImprovements,
                         p.DamageCount, p.SoldCount, p.Area};
    }
    return books;
}

void Accountant::Open(const TGame& game) {
    before_ = Take(game);
}

void Accountant::MonthlyDuties(Ledger& ledger, const Books& after, bool liquidated) {
    if (before_.RepaymentTotal > Money())
        ledger.Repay("monthly repayment", std::min(before_.RepaymentTotal, ledger.Debt));
    if (before_.Stage == 1 && after.Stage >= 2) ledger.Gain("bank bonus", TGame::kBankBonus);
    if (liquidated && before_.Stage < 3 && after.Stage == 3)
        ledger.Repay("liquidation", ledger.Debt);
}

void Accountant::Windfall(Ledger& ledger, const TGame& game, const Books& after) {
    // A headline is drawn in every eighth month; the one before it lands then.
    const bool drawn = after.MonthsPlayed != before_.MonthsPlayed && after.MonthsPlayed % 8 == 0 &&
                       after.MonthsPlayed < TGame::kProgressMaximum;
    const int pending = before_.PendingNews;
    if (!drawn || pending < 1 || pending > kNewsCount) return;
    const TNewsItem& news = game.NewsItems[static_cast<std::size_t>(pending - 1)];
    if (news.Kind == ::Windfall) ledger.Gain("windfall", Money::Pounds(news.Target));
}

std::string Accountant::Commands(Ledger& ledger, const Books& after, Money damRenAmount) {
    Money bought, boughtWorth, sold;
    bool anyBought = false, anySold = false;
    for (std::size_t i = 0; i < after.Lots.size(); ++i) {
        const Lot& was = before_.Lots[i];
        const Lot& is = after.Lots[i];
        if (!was.Has(Owned) && is.Has(Owned)) {
            // At the price the list showed when the step began.
            anyBought = true;
            bought += was.Buy;
            boughtWorth += was.Sale - was.Buy;
        }
        if (was.Has(Owned) && !is.Has(Owned)) {
            anySold = true;
            sold += was.Sale;
            if (was.SoldCount >= TGame::kSuspicionThreshold)
                ledger.Gain("selling fine", -TGame::kSellingFine);
        }
        if (is.DamageCount > was.DamageCount) {
            if (was.DamageCount >= TGame::kVandalismThreshold)
                ledger.Gain("vandalism fine", -TGame::kVandalismFine);
            ledger.Gain("damage credit", damRenAmount.TruncatedToPounds());
        }
        if ((is.Done & ~was.Done & kRenovationBits) != 0) {
            if (before_.Cash < damRenAmount)
                return "a renovation of " + Amount(damRenAmount) + " with " + Amount(before_.Cash) +
                       " in cash";
            ledger.Exchange("renovation", -damRenAmount);
        }
        if (!was.Has(Mortgaged) && is.Has(Mortgaged)) ledger.Borrow("mortgage", is.Sale);
        if (was.Has(Mortgaged) && !is.Has(Mortgaged)) ledger.Repay("redemption", is.Sale);
    }
    if (anyBought) {
        if (before_.Cash < bought)
            return "a purchase of " + Amount(bought) + " with " + Amount(before_.Cash) + " in cash";
        ledger.Exchange("purchase", -bought, boughtWorth);
    }
    if (anySold) ledger.Exchange("sale", sold);
    return {};
}

std::string Accountant::Prices(Ledger& ledger, const Books& after, bool month, Money damRenAmount) {
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
        if (is.Sale != Money() || moved > Money()) {
            std::optional<Money>& areaDelta = areaMove[static_cast<std::size_t>(is.Area)];
            if (areaDelta && *areaDelta != moved)
                return Named(i) + " moved by " + Amount(moved) + ", others of its area by " +
                       Amount(*areaDelta);
            areaDelta = moved;
        }
        if (is.Sale != was.Sale) {
            ++seen_["market move"];
            ledger.Worth += is.Sale - was.Sale;
        }
    }
    return {};
}

std::string Accountant::Compare(const Ledger& ledger, const Books& after) const {
    if (after.Cash != ledger.Cash)
        return "cash went from " + Amount(before_.Cash) + " to " + Amount(after.Cash) +
               "; what moved money gives " + Amount(ledger.Cash);
    if (after.Debt != ledger.Debt)
        return "debt went from " + Amount(before_.Debt) + " to " + Amount(after.Debt) +
               "; what moved money gives " + Amount(ledger.Debt);
    // Before the first click the portfolio does not count; once it does, every pound of the
    // net worth's change has its reason.
    if (before_.Engaged && after.Engaged && after.NetWorth - before_.NetWorth != ledger.Worth)
        return "net worth went from " + Amount(before_.NetWorth) + " to " + Amount(after.NetWorth) +
               "; what moved money explains " + Amount(ledger.Worth) + " of the change";
    return {};
}

std::string Accountant::Explain(const TGame& game, bool cheatAnnounced) {
    const Books after = Take(game);
    const bool month = after.Year != before_.Year || after.Month != before_.Month;
    Ledger ledger(before_, after.Engaged, seen_);
    std::string unexplained;
    if (month) {
        MonthlyDuties(ledger, after, true);
        Windfall(ledger, game, after);
    } else {
        unexplained = Commands(ledger, after, game.DamRenAmount);
    }
    // The cash phrase pays once, and its announcement is the payment's.
    const bool cheatPaid = !before_.CheatUsed && after.CheatUsed;
    if (cheatPaid) ledger.Gain("cheat bonus", TGame::kCheatBonus);
    if (unexplained.empty() && cheatAnnounced && !(cheatPaid && after.Engaged))
        unexplained = "the ticker announced a cash bonus that was not paid";
    if (unexplained.empty()) unexplained = Prices(ledger, after, month, game.DamRenAmount);
    if (unexplained.empty()) unexplained = Compare(ledger, after);
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
    const std::string prices = Prices(ledger, after, month, game.DamRenAmount);
    if (!prices.empty()) return prices;
    ledger.Repay("settlement", ledger.Debt);

    Money portfolio;
    if (after.Engaged)
        for (const Lot& lot : after.Lots)
            if (lot.Has(Owned)) portfolio += lot.Sale;
    const Money total = ledger.Cash + portfolio;
    ++seen_["end of game"];
    if (after.Cash != total)
        return "the game ended with " + Amount(after.Cash) + " in cash; what moved money gives " +
               Amount(total);
    if (after.Debt != Money()) return "debt left after the settlement: " + Amount(after.Debt);
    return {};
}
