#include <gtest/gtest.h>

#include <filesystem>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"
#include "ui/MarketReport.h"

namespace {

using StagesTest = RealtopiaFixture;

const char* kBonus =
    "info: The Major banks all have increased confidence in you, Here's \u00A33,400,000";
const char* kGuru =
    "info: Now you are so influential that you can either liquidate your investments and "
    "crash the market... or you can buy a small south-American country....";
const char* kSequel =
    "info: To play with your new country; you'll have to wait for Realtopia II: Moneyquake. "
    "Keep checking the website......";

TEST_F(StagesTest, MagnateAtExactlyTheThreshold) {
    TGame& g = Game();
    StartEngagedGame();
    Edit(g).Cash = Money::Pounds(1600000) - Money::FromRaw(1);
    Tick();
    EXPECT_EQ(g.State().Stage, 1);
    EXPECT_TRUE(effects_.CallsStartingWith("info: ").empty());

    Edit(g).Cash = Money::Pounds(1500000);
    Edit(g).Property(7).Flags |= Owned;
    Edit(g).Property(7).SaleValue = Money::Pounds(150000);
    Edit(g).Debt = Money::Pounds(50000);  // net worth counts the portfolio and the debt
    Tick();
    EXPECT_EQ(g.State().Stage, 2);
    EXPECT_EQ(effects_.CallsStartingWith("info: "), std::vector<std::string>{kBonus});
    EXPECT_EQ(g.State().Cash, Money::Pounds(4900000));
    EXPECT_EQ(View().StageText, "MAGNATE");
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A34,900,000");
    EXPECT_TRUE(g.State().Running);
    Tick();
    EXPECT_EQ(effects_.Count(kBonus), 1);  // once only

    // Nothing at all before the first click.
    Create();
    StartGame();
    Edit(Game()).Cash = Money::Pounds(20000000);
    Tick();
    EXPECT_EQ(Game().State().Stage, 1);
}

TEST_F(StagesTest, BonusCarriesStraightToGuruAndLiquidatingCrashesTheMarketForFourMonths) {
    TGame& g = Game();
    StartEngagedGame();
    Buy({1});
    ClickPortfolio({0});
    Form().Invoke(TCommand::KeyF7);
    const Money debt = g.State().Debt;
    ASSERT_GT(debt, Money());
    const Money ownedSale = g.State().Property(1).SaleValue;
    // Cash so that the net worth is exactly £6,600,000 at the check.
    Edit(g).Cash = Money::Pounds(6600000) - ownedSale + debt;

    std::vector<std::pair<Money, Money>> before;
    for (int p = 1; p <= kPropertyCount; ++p)
        before.push_back({g.State().Property(p).BuyPrice, g.State().Property(p).SaleValue});
    effects_.YesNoAnswers.push_back(true);
    effects_.ClearCalls();
    Tick();
    EXPECT_EQ(effects_.CallsStartingWith("info: "), (std::vector<std::string>{kBonus, kGuru}));
    EXPECT_EQ(effects_.CallsStartingWith("yesno: "),
              std::vector<std::string>{"yesno: Liquidate and crash the Market?"});
    EXPECT_EQ(g.State().Stage, 3);
    EXPECT_EQ(View().StageText, "GURU");
    EXPECT_EQ(g.State().CrashTicks, 1);
    EXPECT_EQ(g.State().Debt, Money());  // the mortgages were settled first
    EXPECT_FALSE(g.State().Property(1).Has(Mortgaged));
    EXPECT_TRUE(g.State().Running);
    EXPECT_EQ(g.State().Property(1).SaleValue, ownedSale);
    EXPECT_FALSE(g.State().Property(1).Has(Halved));
    for (int p = 2; p <= kPropertyCount; ++p) {
        EXPECT_TRUE(g.State().Property(p).Has(Halved)) << p;
        EXPECT_EQ(g.State().Property(p).SaleValue,
                  before[static_cast<std::size_t>(p - 1)].second.MulDiv(1, 2))
            << p;
    }

    Tick(3);
    EXPECT_TRUE(g.State().Property(2).Has(Halved));
    Tick();
    for (int p = 2; p <= kPropertyCount; ++p) {
        EXPECT_FALSE(g.State().Property(p).Has(Halved)) << p;
        EXPECT_EQ(g.State().Property(p).SaleValue,
                  before[static_cast<std::size_t>(p - 1)].second.MulDiv(1, 2).MulDiv(2, 1))
            << p;
    }
    EXPECT_EQ(effects_.Count(kGuru), 1);

    // The Market Report's log keeps the three events in the order they came.
    std::vector<std::string> events;
    const TMarketReport report(g);
    for (const TLogRow& row : report.Log())
        if (row.RowKind == TLogRow::Kind::Event) events.push_back(row.AccessibleText());
    EXPECT_EQ(events,
              (std::vector<std::string>{
                  "February 2000: The banks' bonus for a new Magnate: \u00A33,400,000",
                  "February 2000: You crashed the market: every property on sale at half price",
                  "June 2000: The market recovered: the halved prices doubled back"}));
}

TEST_F(StagesTest, DecliningToLiquidateEndsTheGameAndTheRestOfThatTick) {
    TGame& g = Game();
    StartEngagedGame();
    Edit(g).Cash = Money::Pounds(10000000);
    Edit(g).Stage = 2;
    effects_.YesNoAnswers = {false, true};  // no liquidation; another game
    effects_.ClearCalls();
    Tick();
    EXPECT_EQ(effects_.CallsStartingWith("yesno: "),
              (std::vector<std::string>{"yesno: Liquidate and crash the Market?",
                                        "yesno: Another Game?"}));
    const std::vector<std::string> infos = effects_.CallsStartingWith("info: ");
    ASSERT_GE(infos.size(), 3u);
    EXPECT_EQ(infos[0], kGuru);
    EXPECT_EQ(infos[1], kSequel);
    EXPECT_EQ(infos[2],
              "info: You ended up with \u00A310,000,000 in cash, and a Portfolio of \u00A30\r"
              "Making you worth a total of \u00A310,000,000");
    // The hi-score step ran (its name questions were cancelled).
    EXPECT_EQ(effects_.CallsStartingWith("input: "),
              std::vector<std::string>{
                  "input: High Score Table Input | Enter your first name | unknown"});
    // A new world, waiting for PLAY: the interrupted tick did not go on counting.
    EXPECT_EQ(g.State().Stage, 1);
    EXPECT_EQ(g.State().MonthsPlayed, 0);
    EXPECT_EQ(g.State().Month, 1);
    EXPECT_EQ(g.State().Year, 2000);
    EXPECT_EQ(Form().mq().Text(), "Press PLAY to start ");
    EXPECT_EQ(View().MonthLabel, "January");
    EXPECT_FALSE(g.State().Running);
    EXPECT_FALSE(App().Exited());
}

TEST_F(StagesTest, QuitAndReplayReportsAGameNotPlayed) {
    TGame& g = Game();
    StartEngagedGame();
    Buy({2, 3});
    ClickPortfolio({0});
    Form().Invoke(TCommand::KeyF7);
    Tick(53);  // June 2004
    ASSERT_EQ(g.State().Month, 6);
    Edit(g).Cash = Money::Pounds(500000);
    effects_.ClearCalls();
    effects_.YesNoAnswers.push_back(true);
    Form().Invoke(TCommand::MenuQuitAndReplay);
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{
                  "info: You ended up with \u00A3500,000 in cash, and a Portfolio of \u00A30\r"
                  "Making you worth a total of \u00A3500,000\r\rBut this means diddly squat, "
                  "because you either did nothing, or quit early."});
    EXPECT_TRUE(effects_.CallsStartingWith("input: ").empty());
    EXPECT_FALSE(std::filesystem::exists(temp_.UserDataDirectory() + "/REALTOPI.DAT"));
    EXPECT_EQ(effects_.CallsStartingWith("yesno: "),
              std::vector<std::string>{"yesno: Another Game?"});

    // The next game starts again in January 2000 and runs its full 120 months.
    EXPECT_EQ(View().MonthLabel, "January");
    EXPECT_EQ(View().Clock, 1);
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));
    EXPECT_FALSE(View().QuitReplayEnabled);
    PressPlay();
    Tick(119);
    EXPECT_TRUE(g.State().Running);
    EXPECT_EQ(View().Caption, "Realtopia - December, 2009");
    Tick();
    EXPECT_FALSE(g.State().Running);
}

TEST_F(StagesTest, TheFinalTotalIsTheNetWorthBeforeTheSettlement) {
    TGame& g = Game();
    StartEngagedGame();
    Edit(g).Stage = 2;
    Buy({1, 2});
    ClickPortfolio({1});
    Form().Invoke(TCommand::KeyF7);
    Tick(20);
    Edit(g).Year = 2009;
    Edit(g).Month = 12;
    Edit(g).Cash =
        Money::Pounds(100);  // short of the debt: the settlement leaves the cash below zero
    const Money worth = g.NetWorth();
    const Money portfolio = g.PortfolioValue();
    const Money debt = g.State().Debt;
    ASSERT_GT(debt, Money());
    effects_.ClearCalls();
    Tick();
    const std::vector<std::string> infos = effects_.CallsStartingWith("info: ");
    ASSERT_FALSE(infos.empty());
    EXPECT_EQ(infos[0], "info: You ended up with " + FormatPounds(worth - portfolio) +
                            " in cash, and a Portfolio of " + FormatPounds(portfolio) +
                            "\rMaking you worth a total of " + FormatPounds(worth));
    EXPECT_EQ(g.State().Cash, worth);
    EXPECT_EQ(g.State().Debt, Money());
    // The hi-score step follows the reckoning; then the game asks for another.
    ASSERT_GE(infos.size(), 2u);
    EXPECT_TRUE(infos[1] == "info: You have beaten the previous Hi Score!" ||
                infos[1] == "info: You are on the Hi Score table!")
        << infos[1];
    EXPECT_EQ(effects_.CallsStartingWith("yesno: "),
              std::vector<std::string>{"yesno: Another Game?"});
    EXPECT_TRUE(App().Exited());
}

}  // namespace
