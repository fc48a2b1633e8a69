// The soak's accountant knows no exception: each way money once appeared from nowhere is a
// change it cannot explain, and the same step paid honestly is one it can.

#include <gtest/gtest.h>

#include "logic/Accountant.h"
#include "support/NullGameWindow.h"
#include "support/TempPlatform.h"

namespace {

class AccountantTest : public ::testing::Test {
protected:
    AccountantTest() : game_(window_, temp_.Platform()) {
        game_.InitWorld();
        game_.Engaged = true;
        game_.Running = true;
        game_.Stage = 2;  // no bonus in the sums
    }
    TProperty& Owns(int p) {
        game_.Property(p).Flags |= Owned;
        return game_.Property(p);
    }
    // The books as the game stands, then `step` and its explanation.
    template <typename Step>
    std::string Explained(Step step, bool cheatAnnounced = false) {
        Accountant accountant;
        accountant.Open(game_);
        step();
        return accountant.Explain(game_, cheatAnnounced);
    }

    NullGameWindow window_;
    TempPlatform temp_;
    TGame game_;
};

TEST_F(AccountantTest, RenovationMustBeCoveredByTheCash) {
    TProperty& p = Owns(1);
    game_.Cash = Money::Pounds(44204);
    auto renovate = [&] {
        game_.DamRenAmount = Money::Pounds(80000);
        p.DoneImprovements |= 0x0080;
        p.BuyPrice += game_.DamRenAmount;
        p.SaleValue += game_.DamRenAmount;
        game_.Cash = Money();  // what paying up to zero left
    };
    EXPECT_EQ(Explained(renovate).substr(0, 15), "a renovation of");
    game_.Cash = Money::Pounds(80000);
    p.DoneImprovements = 0;
    EXPECT_EQ(Explained(renovate), "");
}

TEST_F(AccountantTest, AFineIsPaidInFullBeforeTheCredit) {
    TProperty& p = game_.Property(2);
    p.DamageCount = 3;
    const Money credit = Money::Pounds(26634);
    auto damage = [&](Money cashAfter) {
        return [&, cashAfter] {
            ++p.DamageCount;
            game_.DamRenAmount = credit;
            p.MovePrices(-credit);
            game_.Cash = cashAfter;
        };
    };
    game_.Cash = Money::Pounds(49802);
    EXPECT_EQ(Explained(damage(credit)).substr(0, 14), "cash went from");  // fine cut short
    game_.Cash = Money::Pounds(49802);
    p.DamageCount = 3;
    EXPECT_EQ(Explained(damage(Money::Pounds(-150198) + credit)), "");
}

TEST_F(AccountantTest, TheMonthlyRepaymentComesFromTheCashEvenAtZero) {
    TProperty& p = Owns(3);
    p.Flags |= Mortgaged;
    p.MonthlyRepayment = Money::Pounds(1000);
    game_.MonthlyRepaymentTotal = p.MonthlyRepayment;
    game_.Debt = Money::Pounds(100000);
    game_.Cash = Money();
    auto month = [&](Money cashAfter) {
        return [&, cashAfter] {
            ++game_.Month;
            game_.Debt -= Money::Pounds(1000);
            game_.Cash = cashAfter;
        };
    };
    EXPECT_EQ(Explained(month(Money())).substr(0, 14), "cash went from");  // the debt forgiven
    EXPECT_EQ(Explained(month(Money::Pounds(-1000))), "");
}

TEST_F(AccountantTest, APurchaseIsChargedAtTheListedPrice) {
    const Money listed = game_.Property(4).BuyPrice;
    const Money clicked = listed + listed;  // the total from before a crash halved the price
    const Money cash = game_.Cash;
    auto buy = [&](Money charged) {
        return [&, charged] {
            game_.Property(4).Flags |= Owned;
            game_.Cash = cash - charged;
        };
    };
    EXPECT_EQ(Explained(buy(clicked)).substr(0, 14), "cash went from");
    game_.Property(4).Flags &= static_cast<std::uint16_t>(~Owned);
    game_.Cash = cash;
    EXPECT_EQ(Explained(buy(listed)), "");
    // Nothing is bought with cash below zero, not even for nothing.
    game_.Property(4).Flags &= static_cast<std::uint16_t>(~Owned);
    game_.Property(4).BuyPrice = Money();
    game_.Cash = Money::FromRaw(-1);
    EXPECT_EQ(Explained([&] { game_.Property(4).Flags |= Owned; }).substr(0, 13), "a purchase of");
}

TEST_F(AccountantTest, TheCashPhraseIsAnnouncedOnlyWhenPaid) {
    game_.Engaged = false;
    EXPECT_EQ(Explained([&] { game_.CheatUsed = true; }, true),
              "the ticker announced a cash bonus that was not paid");
    game_.Engaged = true;
    game_.CheatUsed = false;
    EXPECT_EQ(Explained(
                  [&] {
                      game_.CheatUsed = true;
                      game_.Cash += TGame::kCheatBonus;
                  },
                  true),
              "");
}

}  // namespace
