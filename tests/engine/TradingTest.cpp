#include <gtest/gtest.h>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

using TradingTest = RealtopiaFixture;

const Money k100k = Money::Pounds(100000);

std::string SoldTooOften(const std::string& name) {
    return "You have sold " + name +
           " too many times.\rI am suspicious, so I will fine you \u00A3100,000";
}

TEST_F(TradingTest, BuyingNeedsTheWholeSumAndExactCashIsEnough) {
    TGame& g = Game();
    StartEngagedGame();
    SetPrices(2, Money::Pounds(800000), Money::Pounds(790000));
    SetPrices(3, Money::Pounds(1), Money::Pounds(1));

    Buy({2, 3});  // a block is bought whole or not at all
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{"info: You can't afford it!"});
    EXPECT_FALSE(g.State().Property(2).Has(Owned));
    EXPECT_FALSE(g.State().Property(3).Has(Owned));

    Buy({2});
    EXPECT_TRUE(g.State().Property(2).Has(Owned));
    EXPECT_EQ(g.State().Cash, Money());
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A30");
    EXPECT_EQ(View().PortfolioPanel, "Portfolio Value: \u00A3790,000");
    EXPECT_EQ(PortfolioRow(2), 0);
    EXPECT_EQ(AvailRow(2), -1);
    // After any Buy/Sell command nothing is selected.
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::None);
    EXPECT_EQ(Game().SelectedRows(TList::Avail), 0);
    EXPECT_EQ(Game().SelectedRows(TList::Portfolio), 0);
    EXPECT_EQ(View().BuySell.Caption, "Buy/Sell");
}

TEST_F(TradingTest, NothingIsBoughtWhileTheCashIsBelowZero) {
    TGame& g = Game();
    StartEngagedGame();
    SetPrices(3, Money::Pounds(1), Money::Pounds(1));
    Edit(g).Cash = Money::FromRaw(-1);
    Buy({3});
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{"info: You can't afford it!"});
    EXPECT_FALSE(g.State().Property(3).Has(Owned));
    EXPECT_EQ(g.State().Cash, Money::FromRaw(-1));
}

TEST_F(TradingTest, APurchaseOrSaleIsMadeAtThePricesOfThePressNotOfTheClick) {
    // The rows are clicked, then the market moves before F6 (a headline's effect, a trend):
    // the information panel and the charge follow the list.
    TGame& g = Game();
    StartEngagedGame();
    SetPrices(2, Money::Pounds(200000), Money::Pounds(190000));
    SetPrices(3, Money::Pounds(300000), Money::Pounds(280000));
    ClickAvail({AvailRow(2), AvailRow(3)});
    EXPECT_EQ(g.State().BuyTotal, Money::Pounds(500000));
    const int slump = 5;  // a slump for London
    Edit(g).News(slump) = {"London falls ", Slump, 5, 1, true};
    g.ApplyNews(slump);
    Form().ApplyGameEvents();
    const Money fall = g.State().Area(1).LowestPrice.MulDiv(5, 10);
    const Money total = Money::Pounds(500000) - fall - fall;
    EXPECT_EQ(g.State().BuyTotal, total);
    EXPECT_EQ(View().Info, "A nice block of properties.\r\nTo Buy: " + FormatPounds(total) +
                               " - To Sell: " + FormatPounds(g.State().SellTotal));
    EXPECT_EQ(View().Avail.Rows[static_cast<std::size_t>(AvailRow(2))].Text,
              Tmainform::RowText(g.State().Property(2)));
    const Money cash = g.State().Cash;
    Form().Invoke(TCommand::KeyF6);
    EXPECT_TRUE(g.State().Property(2).Has(Owned));
    EXPECT_EQ(g.State().Cash, cash - total);

    // A sale after a boom in another area than the one shown: the portfolio shows the new
    // prices, and the sale pays the new sale value.
    SetPrices(41, Money::Pounds(40000), Money::Pounds(38000));
    Form().Invoke(AreaCommand(3));
    Buy({41});
    Form().Invoke(AreaCommand(1));
    ClickPortfolio({PortfolioRow(41)});
    Edit(g).News(slump) = {"Ireland booms ", Boom, 3, 3, true};
    g.ApplyNews(slump);
    Form().ApplyGameEvents();
    const Money sale = g.State().Property(41).SaleValue;
    EXPECT_GT(sale, Money::Pounds(38000));
    EXPECT_EQ(View().Portfolio.Rows[static_cast<std::size_t>(PortfolioRow(41))].Text,
              Tmainform::RowText(g.State().Property(41)));
    EXPECT_NE(View().Info.find("To Sell: " + FormatPounds(sale)), std::string::npos);
    const Money before = g.State().Cash;
    Form().Invoke(TCommand::KeyF6);
    EXPECT_FALSE(g.State().Property(41).Has(Owned));
    EXPECT_EQ(g.State().Cash, before + sale);
}

TEST_F(TradingTest, ZeroTotalsAndMissingSelectionsDoNothing) {
    TGame& g = Game();
    StartEngagedGame();
    effects_.ClearCalls();
    Form().Invoke(TCommand::KeyF6);  // the selection made by the first click
    ASSERT_TRUE(g.State().Property(1).Has(Owned));
    Form().Invoke(TCommand::KeyF6);
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{"info: Click a property in one of the lists, first!"});

    SetPrices(4, Money(), Money::Pounds(5));
    const Money cash = g.State().Cash;
    effects_.ClearCalls();
    Buy({4});
    EXPECT_FALSE(g.State().Property(4).Has(Owned));
    EXPECT_EQ(g.State().Cash, cash);
    EXPECT_TRUE(effects_.CallsStartingWith("info: ").empty());
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::None);
}

TEST_F(TradingTest, AKeyboardPurchaseCostsMoney) {
    // Alt+P, Down, F6: the rows chosen with the keys engage the game as a click does, so the
    // purchase is paid for.
    TGame& g = Game();
    StartGame();
    Form().ListFocusIn(TList::Avail, TFocusReason::Accelerator, {});
    EXPECT_FALSE(g.State().Engaged);
    Form().ListKeyUp(TList::Avail, {0, 1});
    const Money total = g.State().Property(1).BuyPrice + g.State().Property(2).BuyPrice;
    Form().KeyPress({TKey::F6});
    Form().KeyRelease({TKey::F6});
    EXPECT_TRUE(g.State().Engaged);
    EXPECT_TRUE(g.State().Property(1).Has(Owned));
    EXPECT_TRUE(g.State().Property(2).Has(Owned));
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000) - total);
}

TEST_F(TradingTest, TheFourthAndFifthSaleOfAPropertyAreFined) {
    TGame& g = Game();
    StartEngagedGame();
    SetPrices(1, Money::Pounds(100000), Money::Pounds(90000));
    Money expected = g.State().Cash;
    for (int sale = 1; sale <= 5; ++sale) {
        Buy({1});
        expected -= Money::Pounds(100000);
        effects_.ClearCalls();
        Sell({1});
        if (sale >= 4) expected -= k100k;
        expected += Money::Pounds(90000);
        EXPECT_EQ(g.State().Cash, expected) << "sale " << sale;
        EXPECT_EQ(g.State().Property(1).SoldCount, sale);
        EXPECT_EQ(effects_.Count("modal: Police"), sale >= 4 ? 1 : 0) << "sale " << sale;
        EXPECT_FALSE(g.State().Property(1).Has(Owned));
    }
    EXPECT_EQ(App().policeform.lbl_message, SoldTooOften("Dundefraggin"));
}

TEST_F(TradingTest, ABlockWithTwoSuspectsIsFinedTwiceAndSoldWhole) {
    TGame& g = Game();
    StartEngagedGame();
    for (int p : {2, 3, 4}) {
        Edit(g).Property(p).Flags |= Owned;
        Edit(g).Property(p).SoldCount = p == 3 ? 1 : 3;
    }
    Form().RefillLists();
    std::vector<std::string> messages;
    std::vector<Money> cashAtWindow;
    effects_.OnModal[IEffects::Modal::Police] = [&] {
        messages.push_back(App().policeform.lbl_message);
        cashAtWindow.push_back(g.State().Cash);
    };
    Edit(g).Cash = Money::Pounds(150000);
    const Money total = g.State().Property(2).SaleValue + g.State().Property(3).SaleValue +
                        g.State().Property(4).SaleValue;
    Sell({2, 3, 4});
    EXPECT_EQ(messages, (std::vector<std::string>{SoldTooOften(g.State().Property(2).Name),
                                                  SoldTooOften(g.State().Property(4).Name)}));
    // Each fine follows its window and is paid in full, the second into negative cash; the
    // proceeds come after both, whole.
    EXPECT_EQ(cashAtWindow, (std::vector<Money>{Money::Pounds(150000), Money::Pounds(50000)}));
    EXPECT_EQ(g.State().Cash, Money::Pounds(-50000) + total);
    EXPECT_EQ(g.State().Property(2).SoldCount, 4);
    EXPECT_EQ(g.State().Property(3).SoldCount, 2);
    EXPECT_EQ(g.State().Property(4).SoldCount, 4);
    EXPECT_TRUE(View().Portfolio.Rows.empty());
}

TEST_F(TradingTest, AMortgagedPropertyStopsTheWholeSale) {
    TGame& g = Game();
    StartEngagedGame();
    for (int p : {2, 3}) Edit(g).Property(p).Flags |= Owned;
    Edit(g).Property(3).Flags |= Mortgaged;
    Edit(g).Property(2).SoldCount = 3;
    Form().RefillLists();
    const Money cash = g.State().Cash;

    Sell({2, 3});
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{
                  "info: Sorry, at least one of these properties is mortgaged and cannot be "
                  "sold.\n\rYou must redeem any outstanding mortgages before selling."});
    EXPECT_FALSE(effects_.Contains("modal: Police"));
    EXPECT_EQ(g.State().Cash, cash);
    EXPECT_EQ(g.State().Property(2).SoldCount, 3);
    EXPECT_TRUE(g.State().Property(2).Has(Owned));

    effects_.ClearCalls();
    Sell({3});
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{
                  "info: Sorry, this property is mortgaged and cannot be sold.\n\rYou must "
                  "redeem the outstanding mortgage before selling."});
    EXPECT_TRUE(g.State().Property(3).Has(Owned));
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::None);
    EXPECT_EQ(g.State().MortgageMode, TMortgageMode::None);
}

}  // namespace
