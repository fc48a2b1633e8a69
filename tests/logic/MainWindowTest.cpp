#include <gtest/gtest.h>

#include <algorithm>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

using MainWindowTest = RealtopiaFixture;

TEST_F(MainWindowTest, StartUpShowsTheWaitingWindow) {
    const TMainWindowView& v = View();
    TGame& g = Game();
    EXPECT_EQ(v.CashPanel, "Current Cash: \u00A3800,000");
    EXPECT_EQ(v.PortfolioPanel, "Portfolio Value: \u00A30");
    EXPECT_EQ(v.DebtPanel, "Owe: \u00A30 (\u00A30.00/m)");
    EXPECT_EQ(v.StageText, "DEVELOPER");
    EXPECT_EQ(v.TrendText, "Market is steady");
    EXPECT_EQ(v.TrendPicture, TTrendPicture::Steady);
    EXPECT_EQ(v.AreaFrameRed, (std::array<bool, 6>{true, false, false, false, false, false}));
    EXPECT_EQ(v.AreaHints, (std::array<std::string, 6>{"London", "France", "Ireland", "Switzerland",
                                                       "Scotland", "New York"}));
    Money sum;
    for (int p = 1; p <= 20; ++p) sum += g.State().Property(p).BuyPrice;
    EXPECT_EQ(v.AreaCaption,
              "Current Area: London\r\nAverage price: " + FormatPounds(sum.MulDiv(1, 20)));
    EXPECT_EQ(v.Info, "Click on a property");
    EXPECT_EQ(v.MonthLabel, "January");
    EXPECT_EQ(v.Clock, 1);
    EXPECT_EQ(v.Caption, "Realtopia");
    EXPECT_EQ(v.Status, "Ready...");

    ASSERT_EQ(v.Avail.Rows.size(), 20u);
    for (int p = 1; p <= 20; ++p) {
        EXPECT_EQ(
            v.Avail.Rows[static_cast<std::size_t>(p - 1)].Text,
            g.State().Property(p).Name + " (" + FormatPounds(g.State().Property(p).BuyPrice) + ")");
    }
    EXPECT_TRUE(v.Portfolio.Rows.empty());
    EXPECT_FALSE(v.Avail.Enabled);
    EXPECT_FALSE(v.Portfolio.Enabled);
    EXPECT_FALSE(v.BuySell.Enabled);
    EXPECT_FALSE(v.DamRen.Enabled);
    EXPECT_FALSE(v.Mortgage.Enabled);
    EXPECT_EQ(v.Mortgage.Caption, "Mortgage/Redeem");
    EXPECT_EQ(v.Start.Caption, "PLAY (Esc)");
    EXPECT_TRUE(v.Start.Enabled);
    EXPECT_FALSE(v.QuitReplayEnabled);
    EXPECT_EQ(v.TimerInterval, 3000);
    EXPECT_EQ(Form().mq().Text(), "Press PLAY to start ");
    EXPECT_TRUE(v.SoundChecked);
    EXPECT_FALSE(v.Visible);
    EXPECT_TRUE(effects_.Defaulted().empty());

    // While the window is hidden behind the splash, neither its clock nor its ticker runs,
    // so nothing wakes the program while the player reads the splash.
    EXPECT_FALSE(v.TimerEnabled);
    EXPECT_FALSE(Form().mq().Active());
    EXPECT_FALSE(Form().mq().TimerEnabled());
    Form().mq().SetText("something else");
    Tick(3);
    EXPECT_EQ(Form().mq().Text(), "something else");

    // Shown, both start: the clock a full interval away.
    effects_.ClearCalls();
    EnterGame();
    EXPECT_TRUE(v.TimerEnabled);
    EXPECT_EQ(v.TimerInterval, 3000);
    EXPECT_EQ(v.TimerDue, 3000);
    EXPECT_TRUE(Form().mq().Active());
    EXPECT_TRUE(Form().mq().TimerEnabled());
    EXPECT_EQ(effects_.Count("timer"), 1);

    // Before PLAY every event only re-invites the player.
    Tick(3);
    EXPECT_EQ(Form().mq().Text(), " Press PLAY to start ");
    EXPECT_EQ(g.State().Month, 1);
    EXPECT_EQ(v.Caption, "Realtopia");
}

TEST_F(MainWindowTest, ListsFollowOwnershipMortgagesAndTheArea) {
    TGame& g = Game();
    StartEngagedGame();
    Edit(g).Property(45).Flags |= Owned | Mortgaged;  // another area: still in the portfolio
    for (int p = 1; p <= 20; ++p) Edit(g).Property(p).Flags |= Owned;
    Form().ShowAreaInfo();
    EXPECT_TRUE(View().Avail.Rows.empty());
    EXPECT_EQ(View().AreaCaption, "Current Area: London\r\nAll properties sold");
    ASSERT_EQ(View().Portfolio.Rows.size(), 21u);
    EXPECT_EQ(View().Portfolio.Rows[20].Text, g.State().Property(45).Name + " (" +
                                                  FormatPounds(g.State().Property(45).BuyPrice) +
                                                  ") [M]");

    // A second area: its unowned properties only, and its own average.
    Form().Invoke(AreaCommand(3));
    EXPECT_EQ(View().Avail.Rows.size(), 19u);
    EXPECT_EQ(View().AreaFrameRed, (std::array<bool, 6>{false, false, true, false, false, false}));
    Money sum;
    for (int p = 41; p <= 60; ++p)
        if (p != 45) sum += g.State().Property(p).BuyPrice;
    EXPECT_EQ(View().AreaCaption,
              "Current Area: Ireland\r\nAverage price: " + FormatPounds(sum.MulDiv(1, 19)));

    // A change of prices (a headline landing) shows in the average at once.
    Edit(g).Property(41).BuyPrice += Money::Pounds(19000);
    Form().RefreshDisplay();
    EXPECT_EQ(View().AreaCaption, "Current Area: Ireland\r\nAverage price: " +
                                      FormatPounds((sum + Money::Pounds(19000)).MulDiv(1, 19)));
}

TEST_F(MainWindowTest, AnotherGameStartsWithTheFirstTitleAndStatus) {
    StartEngagedGame();
    effects_.InputAnswers = {"Ann", "Smith"};
    for (int month = 0; month < 200 && !effects_.Contains("yesno: Another Game?"); ++month) {
        effects_.YesNoAnswers = {true};
        Form().TimerFired();
    }
    ASSERT_TRUE(effects_.Contains("yesno: Another Game?"));
    EXPECT_EQ(View().Caption, "Realtopia");
    EXPECT_EQ(View().Status, TMainWindowView().Status);
    EXPECT_FALSE(App().Exited());
}

// What a screen reader is told, whatever has the focus: each new text on the ticker, a fine, a
// stage reached and the end of the game, once each and in the words the screen shows.
TEST_F(MainWindowTest, AHeadlineAFineAStageAndTheEndAreAnnouncedOnceEach) {
    TGame& g = Game();
    // Before PLAY the invitation, told again every few seconds, is said once.
    EnterGame();
    Tick(3);
    EXPECT_EQ(effects_.Announcements, std::vector<std::string>{Form().mq().SpokenText()});
    StartEngagedGame();
    effects_.Announcements.clear();

    // Eight months bring a headline: every new ticker text is said once, as the ticker spells
    // it, and nothing else.
    std::vector<std::string> shown;
    for (int month = 0; month < 9; ++month) {
        Tick();
        const std::string spoken = Form().mq().SpokenText();
        if (shown.empty() || shown.back() != spoken) shown.push_back(spoken);
    }
    EXPECT_NE(g.State().PendingNews, 0);  // a headline is on the ticker
    EXPECT_EQ(effects_.Announcements, shown);

    // A fine, as its window opens, with the window's line break.
    effects_.Announcements.clear();
    std::vector<std::string> atPoliceWindow;
    effects_.OnModal[IEffects::Modal::Police] = [&] { atPoliceWindow = effects_.Announcements; };
    Edit(g).Cash = Money::Pounds(500000);
    const int p = Form().View().Avail.Rows[0].Property;
    Edit(g).Property(p).SoldCount = 3;
    Buy({p});
    Sell({p});
    const std::string fine = "You have sold " + g.State().Property(p).Name +
                             " too many times.\nI am suspicious, so I will fine you \u00A3100,000";
    EXPECT_EQ(atPoliceWindow, std::vector<std::string>{fine});
    EXPECT_EQ(effects_.Announcements, std::vector<std::string>{fine});

    // A stage reached, as the status panel shows it, once.
    effects_.Announcements.clear();
    Edit(g).Cash = Money::Pounds(2000000);
    Tick();
    Tick();
    EXPECT_EQ(View().StageText, "MAGNATE");
    EXPECT_EQ(std::count(effects_.Announcements.begin(), effects_.Announcements.end(),
                         "Your Status: MAGNATE"),
              1);

    // The end of the game, as the ticker says it; a new game starts below again.
    effects_.Announcements.clear();
    effects_.YesNoAnswers = {true};  // another game
    Form().Invoke(TCommand::MenuQuitAndReplay);
    ASSERT_FALSE(effects_.Announcements.empty());
    EXPECT_EQ(effects_.Announcements.front(), "End of the game");
    EXPECT_EQ(
        std::count(effects_.Announcements.begin(), effects_.Announcements.end(), "End of the game"),
        1);
    EXPECT_EQ(View().StageText, "DEVELOPER");
}

}  // namespace

namespace {

// The window's texts are made again only when their figures change; a figure that changes,
// and a text written over meanwhile, never leave a stale text behind.
TEST_F(MainWindowTest, TextsFollowEveryChangeOfTheirAmounts) {
    TGame& g = Game();
    StartEngagedGame();
    Form().ShowCash(Money::Pounds(1234567));
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A31,234,567");
    Form().ShowCash(Money::Pounds(-5));
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A3-5");
    Edit(g).Cash = Money::Pounds(42);
    Edit(g).Debt = Money::Pounds(1000);
    Form().RefreshDisplay();
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A342");
    EXPECT_EQ(View().DebtPanel.substr(0, 12), "Owe: \u00A31,000");

    // The status bar shows a hint, then the same net worth again: the worth comes back.
    Form().ShowNetWorth(Money::Pounds(777));
    Form().PointerOverHint("a hint");
    Form().ShowNetWorth(Money::Pounds(777));
    EXPECT_EQ(View().Status, "Net Worth: \u00A3777");

    // A row follows its property's price, mortgage and name.
    const TProperty& first = g.State().Property(1);
    Edit(g).Property(1).BuyPrice = Money::Pounds(1000);
    Form().RefillLists();
    EXPECT_EQ(View().Avail.Rows[0].Text, first.Name + " (\u00A31,000)");
    Edit(g).Property(1).BuyPrice = Money::Pounds(2000);
    Form().RefillLists();
    EXPECT_EQ(View().Avail.Rows[0].Text, first.Name + " (\u00A32,000)");
    Edit(g).Property(1).Flags |= Owned | Mortgaged;
    Form().RefillLists();
    ASSERT_FALSE(View().Portfolio.Rows.empty());
    EXPECT_EQ(View().Portfolio.Rows[0].Text, first.Name + " (\u00A32,000) [M]");
    Edit(g).Property(1).Flags = static_cast<std::uint16_t>(first.Flags & ~Mortgaged);
    Edit(g).Property(1).Name = "Renamed";
    Form().RefillLists();
    EXPECT_EQ(View().Portfolio.Rows[0].Text, "Renamed (\u00A32,000)");
    EXPECT_EQ(View().Portfolio.Rows[0].NameLength, 7u);
}

}  // namespace
