#include <gtest/gtest.h>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

class MortgageTest : public RealtopiaFixture {
protected:
    // An engaged game in January 2000 owning property 1, worth £1,190,000. Already a
    // Magnate, so that the bank bonus stays out of the sums.
    void SetUp() override {
        StartEngagedGame();
        Edit(Game()).Stage = 2;
        SetPrices(1, Money::Pounds(1200000), Money::Pounds(1190000));
        Own(1);
    }
    void Own(int p) {
        Edit(Game()).Property(p).Flags |= Owned;
        Form().RefillLists();
    }
    void MortgageOrRedeem(int p) {
        ClickPortfolio({PortfolioRow(p)});
        Form().Invoke(TCommand::KeyF7);
    }
};

TEST_F(MortgageTest, MortgageAndRedeemAtTheSameValueCancelOut) {
    TGame& g = Game();
    ClickPortfolio({PortfolioRow(1)});
    EXPECT_EQ(g.State().MortgageMode, TMortgageMode::CanMortgage);
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage (F7)");
    EXPECT_TRUE(View().Mortgage.Enabled);

    Form().Invoke(TCommand::KeyF7);
    EXPECT_TRUE(g.State().Property(1).Has(Mortgaged));
    EXPECT_EQ(g.State().Cash, Money::Pounds(1990000));
    EXPECT_EQ(g.State().Debt, Money::Pounds(1190000));
    EXPECT_EQ(g.State().Property(1).MonthlyRepayment, Money::Pounds(10000));
    EXPECT_EQ(g.State().MonthlyRepaymentTotal, Money::Pounds(10000));
    EXPECT_EQ(View().DebtPanel, "Owe: \u00A31,190,000 (\u00A310,000.00/m)");
    EXPECT_EQ(View().Portfolio.Rows[0].Text, "Dundefraggin (\u00A31,200,000) [M]");
    EXPECT_TRUE(View().Portfolio.Rows[0].Selected);  // the command keeps the selection

    Form().Invoke(TCommand::KeyF7);  // MortgageMode went back to 0: nothing happens
    EXPECT_EQ(g.State().Debt, Money::Pounds(1190000));

    ClickPortfolio({0});
    EXPECT_EQ(View().Mortgage.Caption, "Redeem (F7)");
    Form().Invoke(TCommand::KeyF7);
    EXPECT_FALSE(g.State().Property(1).Has(Mortgaged));
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().MonthlyRepaymentTotal, Money());
    EXPECT_EQ(g.State().Property(1).MonthlyRepayment, Money());
    EXPECT_EQ(View().DebtPanel, "Owe: \u00A30 (\u00A30.00/m)");
    EXPECT_EQ(View().Portfolio.Rows[0].Text, "Dundefraggin (\u00A31,200,000)");
}

TEST_F(MortgageTest, MonthlyRepaymentNeverTakesTheDebtBelowZero) {
    TGame& g = Game();
    MortgageOrRedeem(1);
    Tick();
    EXPECT_EQ(g.State().Debt, Money::Pounds(1180000));
    EXPECT_EQ(g.State().Cash, Money::Pounds(1980000));
    EXPECT_EQ(View().DebtPanel, "Owe: \u00A31,180,000 (\u00A310,000.00/m)");

    // Short of the repayment: it is paid in full all the same, into negative cash, and again
    // from there the next month.
    Edit(g).Cash = Money::Pounds(3000);
    Tick();
    EXPECT_EQ(g.State().Cash, Money::Pounds(-7000));
    EXPECT_EQ(g.State().Debt, Money::Pounds(1170000));
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A3-7,000");
    Edit(g).Cash = Money();
    Tick();
    EXPECT_EQ(g.State().Cash, Money::Pounds(-10000));
    EXPECT_EQ(g.State().Debt, Money::Pounds(1160000));

    Edit(g).Cash = Money::Pounds(50000);
    Edit(g).Debt = Money::Pounds(4000);  // less than a repayment is left
    Tick();
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().Cash, Money::Pounds(46000));
    Tick();
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().Cash, Money::Pounds(46000));
}

TEST_F(MortgageTest, RedeemingAfterARiseReturnsTheSurplus) {
    TGame& g = Game();
    Own(2);
    const Money other = g.State().Property(2).SaleValue;
    MortgageOrRedeem(2);
    MortgageOrRedeem(1);
    ASSERT_EQ(g.State().Debt, other + Money::Pounds(1190000));
    const Money cash = g.State().Cash;
    Edit(g).Property(1).SaleValue = Money::Pounds(1190000) + other + Money::Pounds(5000);
    MortgageOrRedeem(1);
    // The pooled debt is wiped out and the £5,000 beyond it comes back.
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().Cash, cash - g.State().Property(1).SaleValue + Money::Pounds(5000));
    EXPECT_TRUE(g.State().Property(2).Has(Mortgaged));
    EXPECT_EQ(g.State().MonthlyRepaymentTotal, g.State().Property(2).MonthlyRepayment);
}

TEST_F(MortgageTest, RedeemingWithoutTheCashLeavesTheNetWorthAsItWas) {
    TGame& g = Game();
    MortgageOrRedeem(1);
    Edit(g).Debt = Money::Pounds(125853);
    Edit(g).Property(1).SaleValue = Money::Pounds(200000);
    Edit(g).Cash = Money::Pounds(100);
    const Money worth = g.NetWorth();
    MortgageOrRedeem(1);
    // The debt is paid in full; what the cash lacks leaves it below zero.
    EXPECT_FALSE(g.State().Property(1).Has(Mortgaged));
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().Cash, Money::Pounds(-125753));
    EXPECT_EQ(g.NetWorth(), worth);
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A3-125,753");
}

TEST_F(MortgageTest, RefusedCases) {
    TGame& g = Game();
    // Nothing selected in the portfolio; two rows selected.
    Form().Invoke(AreaCommand(1));
    effects_.ClearCalls();
    Form().Invoke(TCommand::KeyF7);
    Own(2);
    ClickPortfolio({0, 1});
    Form().Invoke(TCommand::KeyF7);
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              (std::vector<std::string>{"info: Click a property in one of the lists, first!",
                                        "info: Sorry, only one property at a time"}));
    EXPECT_EQ(g.State().Debt, Money());

    // A sale value of exactly zero can be neither mortgaged nor redeemed.
    Edit(g).Property(2).SaleValue = Money();
    MortgageOrRedeem(2);
    EXPECT_FALSE(g.State().Property(2).Has(Mortgaged));
    Edit(g).Property(2).Flags |= Mortgaged;
    MortgageOrRedeem(2);
    EXPECT_TRUE(g.State().Property(2).Has(Mortgaged));

    // Mortgage refuses a property that is not owned or already mortgaged.
    Edit(g).Selection = {3};
    Edit(g).SellTotal = g.State().Property(3).SaleValue;
    g.Mortgage();
    Form().ApplyGameEvents();
    Edit(g).Selection = {1};
    Edit(g).SellTotal = g.State().Property(1).SaleValue;
    Edit(g).Property(1).Flags |= Mortgaged;
    g.Mortgage();
    Form().ApplyGameEvents();
    EXPECT_FALSE(g.State().Property(3).Has(Mortgaged));
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().MonthlyRepaymentTotal, Money());
}

TEST_F(MortgageTest, SettlingAllMortgagesCostsExactlyTheOutstandingDebt) {
    TGame& g = Game();
    Own(2);
    MortgageOrRedeem(1);
    MortgageOrRedeem(2);
    Tick(2);
    Edit(g).Property(2).SaleValue += Money::Pounds(12345);
    const Money cash = g.State().Cash;
    const Money debt = g.State().Debt;
    ASSERT_GT(debt, Money());
    effects_.ClearCalls();
    g.RedeemAllMortgages();
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, cash - debt);
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().MonthlyRepaymentTotal, Money());
    for (int p = 1; p <= kPropertyCount; ++p) {
        EXPECT_FALSE(g.State().Property(p).Has(Mortgaged)) << p;
        EXPECT_EQ(g.State().Property(p).MonthlyRepayment, Money()) << p;
    }
    EXPECT_TRUE(g.State().Property(1).Has(Owned));
    EXPECT_EQ(Form().mq().Text(), "Redeeming Mortgages.. ");
    EXPECT_TRUE(g.State().Running);  // paused for the settlement only
    EXPECT_EQ(View().DebtPanel, "Owe: \u00A30 (\u00A30.00/m)");

    // Short of the debt: the settlement still costs exactly the debt, and no net worth appears.
    MortgageOrRedeem(1);
    Edit(g).Property(1).SaleValue -= Money::Pounds(90000);  // the value fell: a remainder is left
    Edit(g).Cash = Money::Pounds(100);
    const Money worth = g.NetWorth();
    const Money owed = g.State().Debt;
    g.RedeemAllMortgages();
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, Money::Pounds(100) - owed);
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.NetWorth(), worth);
}

}  // namespace
