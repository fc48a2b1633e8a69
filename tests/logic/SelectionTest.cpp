#include <gtest/gtest.h>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

class SelectionTest : public RealtopiaFixture {
protected:
    void SetUp() override {
        StartGame();
        for (int p : {5, 6, 7}) Edit(Game()).Property(p).Flags |= Owned;
        Form().RefillLists();
    }
    static std::string Pounds(Money m) { return FormatPounds(m); }
};

TEST_F(SelectionTest, OneForSaleRowDescribesThePropertyWithItsMarks) {
    TGame& g = Game();
    Edit(g).Property(2).Flags |= Damaged | Renovated;
    ClickAvail({1});
    const TProperty& p = g.State().Property(2);
    EXPECT_EQ(g.State().Selection, std::vector<int>{2});
    EXPECT_EQ(View().Info, p.Name + " (London)\r\n" + p.Description +
                               "\r\nBuy: " + Pounds(p.BuyPrice) +
                               " - Sell: " + Pounds(p.SaleValue) + " -Damaged -Renovated\r\n");
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::ForSale);
    EXPECT_EQ(View().BuySell.Caption, "Buy (F6)");
    EXPECT_EQ(View().DamRen.Caption, "Damage (F5)");
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage/Redeem");
    EXPECT_FALSE(View().Mortgage.Enabled);

    ClickAvail({0, 2, 3});
    EXPECT_EQ(g.State().Selection, (std::vector<int>{1, 3, 4}));
    const Money buy = g.State().Property(1).BuyPrice + g.State().Property(3).BuyPrice +
                      g.State().Property(4).BuyPrice;
    const Money sell = g.State().Property(1).SaleValue + g.State().Property(3).SaleValue +
                       g.State().Property(4).SaleValue;
    EXPECT_EQ(g.State().BuyTotal, buy);
    EXPECT_EQ(g.State().SellTotal, sell);
    EXPECT_EQ(View().Info, "A nice block of properties.\r\nTo Buy: " + Pounds(buy) +
                               " - To Sell: " + Pounds(sell));
}

TEST_F(SelectionTest, PortfolioRowsSetTheMortgageButton) {
    TGame& g = Game();
    Edit(g).Property(6).Flags |= Mortgaged;
    Form().RefillLists();
    ClickAvail({0});
    ClickPortfolio({0});
    EXPECT_EQ(Game().SelectedRows(TList::Avail), 0);  // the other list clears
    const TProperty& p = g.State().Property(5);
    EXPECT_EQ(View().Info, p.Name + " (London)\r\n" + p.Description + "\r\nTo Buy: " +
                               Pounds(p.BuyPrice) + " - To Sell: " + Pounds(p.SaleValue));
    EXPECT_EQ(View().BuySell.Caption, "Sell (F6)");
    EXPECT_EQ(View().DamRen.Caption, "Renovate (F5)");
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage (F7)");
    EXPECT_TRUE(View().Mortgage.Enabled);
    ClickPortfolio({1});
    EXPECT_EQ(g.State().MortgageMode, TMortgageMode::CanRedeem);
    EXPECT_EQ(View().Mortgage.Caption, "Redeem (F7)");

    ClickAvail({3});
    EXPECT_EQ(Game().SelectedRows(TList::Portfolio), 0);
    EXPECT_FALSE(View().Mortgage.Enabled);
    ClickPortfolio({0, 2});  // a block cannot be mortgaged
    EXPECT_EQ(g.State().MortgageMode, TMortgageMode::None);
    EXPECT_FALSE(View().Mortgage.Enabled);
    ClickPortfolio({1});
    ASSERT_TRUE(View().Mortgage.Enabled);
    ClickPortfolio({1, 2});  // extending a single selection to a block disables it too
    EXPECT_EQ(g.State().MortgageMode, TMortgageMode::None);
    EXPECT_FALSE(View().Mortgage.Enabled);
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage/Redeem");
    EXPECT_EQ(View().Info.substr(0, 24), "A block of properties.\r\n");
}

TEST_F(SelectionTest, AnEmptySelectionChangesNothingAndAPurchasePaysTheListedPrice) {
    TGame& g = Game();
    ClickAvail({2});
    const std::string info = View().Info;
    const Money buy = g.State().BuyTotal;
    Edit(g).Property(3).BuyPrice += Money::Pounds(1000);  // a later price change
    Form().RefillLists();
    ClickAvail({});  // e.g. Ctrl+click on the only selected row
    EXPECT_EQ(View().Info, info);
    EXPECT_EQ(g.State().BuyTotal, buy);
    EXPECT_EQ(g.State().Selection, std::vector<int>{3});
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::ForSale);
    const Money cash = g.State().Cash;
    EXPECT_EQ(View().Avail.Rows[2].Text, Tmainform::RowText(g.State().Property(3)));
    Form().Invoke(TCommand::KeyF6);  // at the price the row shows now, not at the click's
    EXPECT_TRUE(g.State().Property(3).Has(Owned));
    EXPECT_EQ(g.State().Cash, cash - buy - Money::Pounds(1000));
}

// A row selects the property it shows, whatever its text: two rows that read the same select
// each its own property, and a name with brackets or blanks at its ends is no different.
TEST_F(SelectionTest, EachRowSelectsItsOwnProperty) {
    TGame& g = Game();
    // For sale: 1, 2, 3, 4, 8, 9, ...; owned: 5, 6, 7.
    Edit(g).Property(9) = g.State().Property(4);
    Edit(g).Property(3).Name = "Foo (bar) ";
    Edit(g).Property(6).Name = g.State().Property(5).Name;
    Edit(g).Property(6).BuyPrice = g.State().Property(5).BuyPrice;
    Form().RefillLists();
    ASSERT_EQ(View().Avail.Rows[3].Text, View().Avail.Rows[5].Text);
    ASSERT_EQ(View().Portfolio.Rows[0].Text, View().Portfolio.Rows[1].Text);
    ClickAvail({5});
    EXPECT_EQ(g.State().Selection, std::vector<int>{9});
    ClickAvail({3});
    EXPECT_EQ(g.State().Selection, std::vector<int>{4});
    ClickAvail({2});
    EXPECT_EQ(g.State().Selection, std::vector<int>{3});
    ClickAvail({2, 3, 5});
    EXPECT_EQ(g.State().Selection, (std::vector<int>{3, 4, 9}));
    ClickPortfolio({1});
    EXPECT_EQ(g.State().Selection, std::vector<int>{6});

    Form().Invoke(AreaCommand(6));
    ClickAvail({13});  // "57th Precinct " ends in a blank
    EXPECT_EQ(g.State().Selection, std::vector<int>{114});
    ClickAvail({16});  // "Rocky 5 Road "
    EXPECT_EQ(g.State().Selection, std::vector<int>{117});
}

TEST_F(SelectionTest, AClickOrAKeyboardSelectionEngagesTheGame) {
    TGame& g = Game();
    // Focus alone, and keys released over a list with nothing selected, do not.
    Form().ListFocusIn(TList::Avail, TFocusReason::Tab, {0});
    Form().ListKeyUp(TList::Portfolio, {});
    EXPECT_FALSE(g.State().Engaged);
    Form().ListKeyUp(TList::Portfolio, {0});
    EXPECT_EQ(g.State().Selection, std::vector<int>{5});
    EXPECT_TRUE(g.State().Engaged);

    PressPlay();  // pause and resume keep it; a new game clears it
    PressPlay();
    EXPECT_TRUE(g.State().Engaged);
    effects_.YesNoAnswers.push_back(true);  // "Another Game?"
    Form().Invoke(TCommand::MenuQuitAndReplay);
    EXPECT_FALSE(g.State().Engaged);
}

}  // namespace
