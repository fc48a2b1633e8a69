// The soak's accountant knows no exception: each way money once appeared from nowhere is a
// change it cannot explain, and the same step paid honestly is one it can.

#include <gtest/gtest.h>

#include "logic/Accountant.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"
#include "support/TempPlatform.h"

namespace {

class AccountantTest : public ::testing::Test {
protected:
    AccountantTest() : game_(temp_.Platform()) {
        game_.InitWorld();
        Edit(game_).Engaged = true;
        Edit(game_).Running = true;
        Edit(game_).Stage = 2;  // no bonus in the sums
    }
    TProperty& Owns(int p) {
        Edit(game_).Property(p).Flags |= Owned;
        return Edit(game_).Property(p);
    }
    // The books as the game stands, then `step` and its explanation.
    template <typename Step>
    std::string Explained(Step step, bool cheatAnnounced = false) {
        Accountant accountant;
        accountant.Open(game_);
        step();
        return accountant.Explain(game_, cheatAnnounced);
    }

    TempPlatform temp_;
    TGame game_;
};

TEST_F(AccountantTest, RenovationMustBeCoveredByTheCash) {
    TProperty& p = Owns(1);
    Edit(game_).Cash = Money::Pounds(44204);
    auto renovate = [&] {
        Edit(game_).DamRenAmount = Money::Pounds(80000);
        p.DoneImprovements |= 0x0080;
        p.BuyPrice += game_.State().DamRenAmount;
        p.SaleValue += game_.State().DamRenAmount;
        Edit(game_).Cash = Money();  // what paying up to zero left
    };
    EXPECT_EQ(Explained(renovate).substr(0, 15), "a renovation of");
    Edit(game_).Cash = Money::Pounds(80000);
    p.DoneImprovements = 0;
    EXPECT_EQ(Explained(renovate), "");
}

TEST_F(AccountantTest, AFineIsPaidInFullBeforeTheCredit) {
    TProperty& p = Edit(game_).Property(2);
    p.DamageCount = 3;
    const Money credit = Money::Pounds(26634);
    auto damage = [&](Money cashAfter) {
        return [&, cashAfter] {
            ++p.DamageCount;
            Edit(game_).DamRenAmount = credit;
            p.MovePrices(-credit);
            Edit(game_).Cash = cashAfter;
        };
    };
    Edit(game_).Cash = Money::Pounds(49802);
    EXPECT_EQ(Explained(damage(credit)).substr(0, 14), "cash went from");  // fine cut short
    Edit(game_).Cash = Money::Pounds(49802);
    p.DamageCount = 3;
    EXPECT_EQ(Explained(damage(Money::Pounds(-150198) + credit)), "");
}

TEST_F(AccountantTest, TheMonthlyRepaymentComesFromTheCashEvenAtZero) {
    TProperty& p = Owns(3);
    p.Flags |= Mortgaged;
    p.MonthlyRepayment = Money::Pounds(1000);
    Edit(game_).MonthlyRepaymentTotal = p.MonthlyRepayment;
    Edit(game_).Debt = Money::Pounds(100000);
    Edit(game_).Cash = Money();
    auto month = [&](Money cashAfter) {
        return [&, cashAfter] {
            ++Edit(game_).Month;
            Edit(game_).Debt -= Money::Pounds(1000);
            Edit(game_).Cash = cashAfter;
        };
    };
    EXPECT_EQ(Explained(month(Money())).substr(0, 14), "cash went from");  // the debt forgiven
    EXPECT_EQ(Explained(month(Money::Pounds(-1000))), "");
}

TEST_F(AccountantTest, APurchaseIsChargedAtTheListedPrice) {
    const Money listed = game_.State().Property(4).BuyPrice;
    const Money clicked = listed + listed;  // the total from before a crash halved the price
    const Money cash = game_.State().Cash;
    auto buy = [&](Money charged) {
        return [&, charged] {
            Edit(game_).Property(4).Flags |= Owned;
            Edit(game_).Cash = cash - charged;
        };
    };
    EXPECT_EQ(Explained(buy(clicked)).substr(0, 14), "cash went from");
    Edit(game_).Property(4).Flags &= static_cast<std::uint16_t>(~Owned);
    Edit(game_).Cash = cash;
    EXPECT_EQ(Explained(buy(listed)), "");
    // Nothing is bought with cash below zero, not even for nothing.
    Edit(game_).Property(4).Flags &= static_cast<std::uint16_t>(~Owned);
    Edit(game_).Property(4).BuyPrice = Money();
    Edit(game_).Cash = Money::FromRaw(-1);
    EXPECT_EQ(Explained([&] { Edit(game_).Property(4).Flags |= Owned; }).substr(0, 13),
              "a purchase of");
}

TEST_F(AccountantTest, TheCashPhraseIsAnnouncedOnlyWhenPaid) {
    Edit(game_).Engaged = false;
    EXPECT_EQ(Explained([&] { Edit(game_).CheatUsed = true; }, true),
              "the ticker announced a cash bonus that was not paid");
    Edit(game_).Engaged = true;
    Edit(game_).CheatUsed = false;
    EXPECT_EQ(Explained(
                  [&] {
                      Edit(game_).CheatUsed = true;
                      Edit(game_).Cash += TGame::kCheatBonus;
                  },
                  true),
              "");
}

}  // namespace
