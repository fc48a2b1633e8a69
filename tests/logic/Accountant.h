#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "engine/Game.h"

// The soak test's accountant. Before each step of a game it takes the books; after the step it
// explains every change of the player's cash, debt and net worth, with nothing left over, by
// what may move money: a transaction at the price shown (a purchase at the buying prices the
// list showed, a sale at the sale values, a mortgage, a redemption, the monthly repayment and
// the settlement at the debt they pay, a renovation at its price, a damage's credit), a fine
// paid in full, a price movement of owned property in a month, a windfall, the banks' bonus
// and the cash phrase. Obligations are paid in full however low the cash; a purchase or a
// renovation must be covered by the cash it found.
class Accountant {
public:
    // Takes the books at the start of a game.
    void Open(const TGame& game);
    // After a step that did not end the game: empty when every change is explained, otherwise
    // the first change that is not. `cheatAnnounced`: the ticker announced the cash phrase's
    // bonus in this step. The books then stand as the step left them.
    std::string Explain(const TGame& game, bool cheatAnnounced = false);
    // At "Another Game?", after a step that ended the game: the month's duties if a month
    // passed, the settlement of the mortgages, and the reckoning that puts the final worth in
    // the cash.
    std::string ExplainEnd(const TGame& game);

    // How many times each kind of change has been explained.
    const std::map<std::string, int>& Seen() const { return seen_; }

private:
    struct Lot {
        Money Buy, Sale;
        std::uint16_t Flags = 0, Done = 0;
        std::int32_t DamageCount = 0, SoldCount = 0, Area = 0;
        bool Has(std::uint16_t flag) const { return (Flags & flag) != 0; }
    };
    struct Books {
        Money Cash, Debt, RepaymentTotal, NetWorth;
        int Stage = 0, Year = 0, Month = 0, MonthsPlayed = 0, PendingNews = 0;
        bool Engaged = false, CheatUsed = false;
        std::array<Lot, kPropertyCount> Lots;
    };
    class Ledger;

    static Books Take(const TGame& game);
    void MonthlyDuties(Ledger& ledger, const Books& after, bool liquidated);
    void Windfall(Ledger& ledger, const TGame& game, const Books& after);
    std::string Commands(Ledger& ledger, const Books& after, Money damRenAmount);
    std::string Prices(Ledger& ledger, const Books& after, bool month, Money damRenAmount);
    std::string Compare(const Ledger& ledger, const Books& after) const;

    Books before_;
    std::map<std::string, int> seen_;
};
