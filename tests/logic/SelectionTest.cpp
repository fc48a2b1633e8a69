#include <gtest/gtest.h>

#include "support/RealtopiaFixture.h"

namespace {

class SelectionTest : public RealtopiaFixture {
protected:
    void SetUp() override {
        StartGame();
        for (int p : {5, 6, 7}) Game().Property(p).Flags |= Owned;
        Form().RefillLists();
    }
    static std::string Pounds(Money m) { return FormatPounds(m); }
};

TEST_F(SelectionTest, OneForSaleRowDescribesThePropertyWithItsMarks) {
    TGame& g = Game();
    g.Property(2).Flags |= Damaged | Renovated;
    ClickAvail({1});
    const TProperty& p = g.Property(2);
    EXPECT_EQ(g.Selection, std::vector<int>{2});
    EXPECT_EQ(View().Info, p.Name + " (London)\r\n" + p.Description +
                               "\r\nBuy: " + Pounds(p.BuyPrice) +
                               " - Sell: " + Pounds(p.SaleValue) + " -Damaged -Renovated\r\n");
    EXPECT_EQ(g.SelectionSide, TSelectionSide::ForSale);
    EXPECT_EQ(View().BuySell.Caption, "Buy (F6)");
    EXPECT_EQ(View().DamRen.Caption, "Damage (F5)");
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage/Redeem");
    EXPECT_FALSE(View().Mortgage.Enabled);

    ClickAvail({0, 2, 3});
    EXPECT_EQ(g.Selection, (std::vector<int>{1, 3, 4}));
    const Money buy = g.Property(1).BuyPrice + g.Property(3).BuyPrice + g.Property(4).BuyPrice;
    const Money sell = g.Property(1).SaleValue + g.Property(3).SaleValue + g.Property(4).SaleValue;
    EXPECT_EQ(g.BuyTotal, buy);
    EXPECT_EQ(g.SellTotal, sell);
    EXPECT_EQ(View().Info, "A nice block of properties.\r\nTo Buy: " + Pounds(buy) +
                               " - To Sell: " + Pounds(sell));
}

TEST_F(SelectionTest, PortfolioRowsSetTheMortgageButton) {
    TGame& g = Game();
    g.Property(6).Flags |= Mortgaged;
    Form().RefillLists();
    ClickAvail({0});
    ClickPortfolio({0});
    EXPECT_EQ(Game().SelectedRows(IGameWindow::List::Avail), 0);  // the other list clears
    const TProperty& p = g.Property(5);
    EXPECT_EQ(View().Info, p.Name + " (London)\r\n" + p.Description + "\r\nTo Buy: " +
                               Pounds(p.BuyPrice) + " - To Sell: " + Pounds(p.SaleValue));
    EXPECT_EQ(View().BuySell.Caption, "Sell (F6)");
    EXPECT_EQ(View().DamRen.Caption, "Renovate (F5)");
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage (F7)");
    EXPECT_TRUE(View().Mortgage.Enabled);
    ClickPortfolio({1});
    EXPECT_EQ(g.MortgageMode, TMortgageMode::CanRedeem);
    EXPECT_EQ(View().Mortgage.Caption, "Redeem (F7)");

    ClickAvail({3});
    EXPECT_EQ(Game().SelectedRows(IGameWindow::List::Portfolio), 0);
    EXPECT_FALSE(View().Mortgage.Enabled);
    ClickPortfolio({0, 2});  // a block cannot be mortgaged
    EXPECT_EQ(g.MortgageMode, TMortgageMode::None);
    EXPECT_FALSE(View().Mortgage.Enabled);
    ClickPortfolio({1});
    ASSERT_TRUE(View().Mortgage.Enabled);
    ClickPortfolio({1, 2});  // extending a single selection to a block disables it too
    EXPECT_EQ(g.MortgageMode, TMortgageMode::None);
    EXPECT_FALSE(View().Mortgage.Enabled);
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage/Redeem");
    EXPECT_EQ(View().Info.substr(0, 24), "A block of properties.\r\n");
}

TEST_F(SelectionTest, AnEmptySelectionChangesNothingAndAPurchasePaysTheListedPrice) {
    TGame& g = Game();
    ClickAvail({2});
    const std::string info = View().Info;
    const Money buy = g.BuyTotal;
    g.Property(3).BuyPrice += Money::Pounds(1000);  // a later price change
    Form().RefillLists();
    ClickAvail({});  // e.g. Ctrl+click on the only selected row
    EXPECT_EQ(View().Info, info);
    EXPECT_EQ(g.BuyTotal, buy);
    EXPECT_EQ(g.Selection, std::vector<int>{3});
    EXPECT_EQ(g.SelectionSide, TSelectionSide::ForSale);
    const Money cash = g.Cash;
    EXPECT_EQ(View().Avail.Rows[2].Text, Tmainform::RowText(g.Property(3)));
    Form().cmd_BuySellClick();  // at the price the row shows now, not at the click's
    EXPECT_TRUE(g.Property(3).Has(Owned));
    EXPECT_EQ(g.Cash, cash - buy - Money::Pounds(1000));
}

TEST_F(SelectionTest, RowsAreFoundByTrimmedNameAndTheLowerNumberWins) {
    TGame& g = Game();
    g.Property(9).Name = g.Property(4).Name;
    Form().RefillLists();
    ClickAvail({AvailRow(9)});
    EXPECT_EQ(g.Selection, std::vector<int>{4});
    EXPECT_EQ(g.BuyTotal, g.Property(4).BuyPrice);

    Form().ClickArea(6);
    ClickAvail({13});  // "57th Precinct " ends in a blank
    EXPECT_EQ(g.Selection, std::vector<int>{114});
    ClickAvail({16});  // "Rocky 5 Road "
    EXPECT_EQ(g.Selection, std::vector<int>{117});
    EXPECT_EQ(Form().FindProperty("  Wall Street \t"), 113);
    EXPECT_EQ(Form().FindProperty("nowhere"), 1);
    EXPECT_EQ(Form().FindProperty("wall street"), 1);  // case counts
}

TEST_F(SelectionTest, AClickOrAKeyboardSelectionEngagesTheGame) {
    TGame& g = Game();
    // Focus alone, and keys released over a list with nothing selected, do not.
    Form().SetListSelection(IGameWindow::List::Avail, {0});
    Form().lst_AvailEnter();
    Form().SetListSelection(IGameWindow::List::Portfolio, {});
    Form().lst_portfolioKeyUp();
    EXPECT_FALSE(g.Engaged);
    Form().SetListSelection(IGameWindow::List::Portfolio, {0});
    Form().lst_portfolioKeyUp();
    EXPECT_EQ(g.Selection, std::vector<int>{5});
    EXPECT_TRUE(g.Engaged);

    PressPlay();  // pause and resume keep it; a new game clears it
    PressPlay();
    EXPECT_TRUE(g.Engaged);
    Form().ResetWindow();
    EXPECT_FALSE(g.Engaged);
}

}  // namespace
