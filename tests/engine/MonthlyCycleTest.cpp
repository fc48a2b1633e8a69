#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

using MonthlyCycleTest = RealtopiaFixture;
using Prices = std::array<std::pair<Money, Money>, kPropertyCount>;

Prices Snapshot(TGame& g) {
    Prices prices;
    for (int p = 1; p <= kPropertyCount; ++p)
        prices[static_cast<std::size_t>(p - 1)] = {g.State().Property(p).BuyPrice,
                                                   g.State().Property(p).SaleValue};
    return prices;
}

// The one amount by which every price of area `a` moved since `before`, or nullopt when
// its properties moved by different amounts. Zero when nothing moved.
std::optional<Money> AreaDelta(TGame& g, const Prices& before, int a) {
    std::optional<Money> delta;
    for (int p = (a - 1) * 20 + 1; p <= a * 20; ++p) {
        const auto& old = before[static_cast<std::size_t>(p - 1)];
        const Money buy = g.State().Property(p).BuyPrice - old.first;
        if (g.State().Property(p).SaleValue - old.second != buy) return std::nullopt;
        if (delta && *delta != buy) return std::nullopt;
        delta = buy;
    }
    return delta;
}

Money LowestSale(const Prices& prices, int a) {
    Money lowest = Money::Pounds(1000000);
    for (int p = (a - 1) * 20 + 1; p <= a * 20; ++p)
        lowest = std::min(lowest, prices[static_cast<std::size_t>(p - 1)].second);
    return lowest;
}

// A whole game from PLAY to the end without clicking a list, one timer event at a time.
TEST_F(MonthlyCycleTest, AWholeGameRunsTheCalendarTheTrendsAndTheNews) {
    TGame& g = Game();
    StartGame();
    ASSERT_TRUE(g.State().Running);

    std::vector<int> headlineMonths;
    std::vector<int> trendYears;
    int effects = 0;
    for (int tick = 1; tick <= 119; ++tick) {
        const Prices before = Snapshot(g);
        const int pending = g.State().PendingNews;
        const int meeps = effects_.Count("sound: MEEPMEEP async");
        Edit(g).MarketTrend = 99;  // YearlyTrend always overwrites it
        Tick();
        ASSERT_TRUE(g.State().Running) << tick;
        ASSERT_EQ(g.State().MonthsPlayed, tick);
        ASSERT_EQ(g.State().Month, tick % 12 + 1);
        ASSERT_EQ(g.State().Year, 2000 + tick / 12);

        const bool headline = effects_.Count("sound: MEEPMEEP async") != meeps;
        const bool trend = g.State().MarketTrend != 99;
        std::set<int> moved;
        for (int a = 1; a <= 6; ++a) {
            const std::optional<Money> delta = AreaDelta(g, before, a);
            ASSERT_TRUE(delta.has_value()) << "tick " << tick << " area " << a;
            if (*delta != Money()) moved.insert(a);
        }
        if (headline) {
            headlineMonths.push_back(tick);
            EXPECT_EQ(Form().mq().Text(), g.State().News(g.State().PendingNews).Headline + " ");
            std::set<int> expected;
            if (pending != 0) {
                ++effects;
                const TNewsItem& item = g.State().News(pending);
                if (item.Kind == Boom || item.Kind == Slump) {
                    for (int a = 1; a <= 6; ++a) {
                        if (item.Target != 0 && item.Target != a) continue;
                        expected.insert(a);
                        Money delta = LowestSale(before, a).MulDiv(item.Magnitude, 10);
                        if (item.Kind == Slump) delta = -delta;
                        EXPECT_EQ(AreaDelta(g, before, a), delta) << "tick " << tick;
                    }
                }
            }
            EXPECT_EQ(moved, expected) << "tick " << tick;
        } else if (trend) {
            trendYears.push_back(g.State().Year);
            EXPECT_EQ(g.State().Month, 12);
            EXPECT_TRUE(moved.empty() || moved == std::set<int>{1}) << "tick " << tick;
        } else {
            EXPECT_TRUE(moved.empty()) << "tick " << tick;
        }
        if (tick == 1) {
            EXPECT_EQ(View().Caption, "Realtopia - February, 2000");
            EXPECT_EQ(Form().mq().Text(), "It is January 2000 - Welcome to the game! ");
        }
        EXPECT_EQ(View().Progress, std::min(tick, 107));
        EXPECT_EQ(View().Status, "Click a property to buy it, and start the game!");
    }
    EXPECT_EQ(headlineMonths,
              (std::vector<int>{8, 16, 24, 32, 40, 48, 56, 64, 72, 80, 88, 96, 104}));
    EXPECT_EQ(effects, 12);
    EXPECT_EQ(trendYears, (std::vector<int>{2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008}));
    int shown = 0;
    for (int k = 1; k <= 40; ++k) shown += g.State().News(k).Shown;
    EXPECT_EQ(shown, 13);
    EXPECT_EQ(View().Caption, "Realtopia - December, 2009");

    // The next event ends the game without moving the caption or running the duties.
    Edit(g).Stage = 3;
    Edit(g).CrashTicks = 2;
    effects_.ClearCalls();
    Tick();
    EXPECT_FALSE(g.State().Running);
    EXPECT_EQ(g.State().CrashTicks, 2);
    EXPECT_EQ(g.State().MonthsPlayed, 119);
    EXPECT_EQ(View().Caption, "Realtopia - December, 2009");
    EXPECT_EQ(View().Status, "Net Worth: \u00A3800,000");
    EXPECT_EQ(View().Progress, View().ProgressMax);
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{
                  "info: You ended up with \u00A3800,000 in cash, and a Portfolio of \u00A30\r"
                  "Making you worth a total of \u00A3800,000\r\rBut this means diddly squat, "
                  "because you either did nothing, or quit early."});
    EXPECT_TRUE(effects_.Contains("sound: GAMEOVER async"));
    EXPECT_TRUE(effects_.CallsStartingWith("input: ").empty());  // no hi-score step
    EXPECT_EQ(effects_.Defaulted(), std::vector<std::string>{"yesno: Another Game?"});
    EXPECT_TRUE(App().Exited());
}

// The month's one look at the properties gives what a plain count gives: each area's average
// buying price and the owned properties' sale value, even with a property outside its block
// of twenty and one in no area at all.
TEST_F(MonthlyCycleTest, TheMonthsSurveyAgreesWithAPlainCount) {
    TGame& g = Game();
    for (int p = 1; p <= kPropertyCount; p += 3) Edit(g).Property(p).Flags |= Owned;
    Edit(g).Property(7).BuyPrice = Money::FromRaw(123456789);  // odd sums round halves to even
    Edit(g).Property(45).BuyPrice = Money::FromRaw(987654321);
    Edit(g).Property(5).Area = 3;   // from London to Ireland
    Edit(g).Property(90).Area = 0;  // in no area
    std::array<Money, kAreaCount> sums{};
    std::array<int, kAreaCount> counts{};
    Money owned;
    for (const TProperty& p : g.State().Properties) {
        if (p.Has(Owned)) owned += p.SaleValue;
        if (p.Area < 1 || p.Area > kAreaCount) continue;
        sums[static_cast<std::size_t>(p.Area - 1)] += p.BuyPrice;
        ++counts[static_cast<std::size_t>(p.Area - 1)];
    }
    std::array<Money, kAreaCount> averages;
    const Money ownedValue = TMarketHistory::Survey(g.State().Properties, averages);
    for (std::size_t a = 0; a < kAreaCount; ++a)
        EXPECT_EQ(averages[a], sums[a].MulDiv(1, counts[a])) << a;
    EXPECT_EQ(counts[0], 19);
    EXPECT_EQ(counts[2], 21);
    EXPECT_EQ(ownedValue, owned);
    g.Engage();
    EXPECT_EQ(g.PortfolioValue(), owned);
}

// A month keeps its look at the market while nothing moves, so each move must be seen by the
// next month's record: a purchase, a sale, a damage, a renovation, headlines, a trend, a crash
// and its end.
TEST_F(MonthlyCycleTest, EachMonthRecordsTheMarketAsTheMovesBeforeItLeftIt) {
    TGame& g = Game();
    StartGame();
    g.Engage();
    auto closeMonth = [&](const char* after) {
        const auto averages = TMarketHistory::AveragePrices(g.State().Properties);
        const Money worth = g.NetWorth();
        Tick();
        EXPECT_EQ(g.State().History.Months().back().AveragePrice, averages) << after;
        EXPECT_EQ(g.State().History.Months().back().NetWorth, worth) << after;
    };
    auto newsItem = [&](std::uint8_t kind, bool oneArea) {
        for (int k = 1; k <= kNewsCount; ++k) {
            const TNewsItem& item = g.State().NewsItems[static_cast<std::size_t>(k - 1)];
            if (item.Kind == kind && (item.Target != 0) == oneArea) return k;
        }
        ADD_FAILURE() << "no such headline";
        return 1;
    };
    Tick();
    g.Select(TSelectionSide::ForSale, {3, 4});
    g.Buy();
    closeMonth("a purchase");
    g.Select(TSelectionSide::Portfolio, {4});
    g.Sell();
    closeMonth("a sale");
    Edit(g).Selection = {3};
    Edit(g).DamRenAmount = Money::Pounds(5000);
    Tick();
    g.Damage();
    closeMonth("a damage");
    Edit(g).Selection = {3};
    Edit(g).DamRenAmount = Money::Pounds(7000);
    Tick();
    ASSERT_TRUE(g.Renovate());
    closeMonth("a renovation");
    g.ApplyNews(newsItem(Boom, true));
    closeMonth("a boom in one area");
    g.ApplyNews(newsItem(Slump, false));
    closeMonth("a slump everywhere");
    const auto beforeTrend = TMarketHistory::AveragePrices(g.State().Properties);
    for (int draw = 0;
         draw < 50 && TMarketHistory::AveragePrices(g.State().Properties) == beforeTrend; ++draw)
        g.YearlyTrend();
    ASSERT_NE(TMarketHistory::AveragePrices(g.State().Properties), beforeTrend);
    closeMonth("a trend");
    g.CrashMarket();
    closeMonth("a crash");
    g.RestoreMarket();
    closeMonth("the end of a crash");
}

TEST_F(MonthlyCycleTest, WindfallsMoveCashOnlyOnceEngagedAndMayGoNegative) {
    TGame& g = Game();
    StartGame();
    g.ApplyNews(31);  // +£500,000 before the first click is lost
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));

    ClickAvail({0});
    Edit(g).Cash = Money::Pounds(100000);
    g.ApplyNews(33);
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, Money::Pounds(-250000));
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A3-250,000");
    Tick();
    EXPECT_EQ(View().Status, "Net Worth: \u00A3-250,000");
}

TEST_F(MonthlyCycleTest, BoomsAndSlumpsMoveTheirAreaAndRefillOnlyTheAreaShown) {
    TGame& g = Game();
    StartGame();
    Form().Invoke(AreaCommand(2));
    ClickAvail({3});
    const std::string info = View().Info;
    const Money buyTotal = g.State().BuyTotal;

    Prices before = Snapshot(g);
    unsigned revision = View().ListsRevision;
    const std::vector<TListRow> franceRows = View().Avail.Rows;
    g.ApplyNews(1);  // Boom 5 for London while France is shown
    Form().ApplyGameEvents();
    EXPECT_EQ(AreaDelta(g, before, 1), LowestSale(before, 1).MulDiv(5, 10));
    EXPECT_EQ(AreaDelta(g, before, 2), Money());
    EXPECT_EQ(View().ListsRevision, revision);
    EXPECT_EQ(View().Avail.Rows[0].Text, franceRows[0].Text);

    before = Snapshot(g);
    g.ApplyNews(2);  // Slump 4 for France, shown: the rows are rebuilt, selection kept
    Form().ApplyGameEvents();
    const Money slump = -LowestSale(before, 2).MulDiv(4, 10);
    EXPECT_EQ(AreaDelta(g, before, 2), slump);
    EXPECT_EQ(View().Avail.Rows[0].Text, Tmainform::RowText(g.State().Property(21)));
    EXPECT_NE(View().Avail.Rows[0].Text, franceRows[0].Text);
    EXPECT_TRUE(View().Avail.Rows[3].Selected);
    // The selection's total and the information panel follow the prices.
    EXPECT_EQ(g.State().BuyTotal, buyTotal + slump);
    EXPECT_EQ(g.State().BuyTotal, g.State().Property(24).BuyPrice);
    EXPECT_NE(View().Info, info);
    EXPECT_NE(View().Info.find("Buy: " + FormatPounds(g.State().BuyTotal) +
                               " - Sell: " + FormatPounds(g.State().Property(24).SaleValue)),
              std::string::npos);

    before = Snapshot(g);
    g.ApplyNews(7);  // Slump 4 everywhere, each area by its own lowest price
    Form().ApplyGameEvents();
    for (int a = 1; a <= 6; ++a)
        EXPECT_EQ(AreaDelta(g, before, a), -LowestSale(before, a).MulDiv(4, 10)) << a;

    before = Snapshot(g);
    g.ApplyNews(14);  // no effect
    Form().ApplyGameEvents();
    for (int a = 1; a <= 6; ++a) EXPECT_EQ(AreaDelta(g, before, a), Money());
}

TEST_F(MonthlyCycleTest, CrashHalvesTheMarketAndTheFourthMonthDoublesItBack) {
    TGame& g = Game();
    g.CrashMarket();  // nothing before the player has clicked
    Form().ApplyGameEvents();
    EXPECT_FALSE(g.State().Property(5).Has(Halved));

    StartEngagedGame();
    SetPrices(5, Money::FromRaw(1200000003), Money::FromRaw(1000000001));
    SetPrices(7, Money::Pounds(10), Money());
    Edit(g).Property(6).Flags |= Owned;
    const Money owned = g.State().Property(6).SaleValue;
    const Prices before = Snapshot(g);

    g.CrashMarket();
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Property(5).BuyPrice, Money::FromRaw(600000002));   // 600000001.5 -> even
    EXPECT_EQ(g.State().Property(5).SaleValue, Money::FromRaw(500000000));  // 500000000.5 -> even
    EXPECT_TRUE(g.State().Property(5).Has(Halved));
    EXPECT_FALSE(g.State().Property(6).Has(Halved));
    EXPECT_EQ(g.State().Property(6).SaleValue, owned);
    EXPECT_FALSE(g.State().Property(7).Has(Halved));  // no positive sale value
    EXPECT_EQ(g.State().Property(7).BuyPrice, Money::Pounds(10));
    EXPECT_EQ(g.State().Area(1).LowestPrice, Money());

    // Bought during the crash: doubles in the player's hands.
    const Money halved8 = g.State().Property(8).SaleValue;
    Edit(g).Property(8).Flags |= Owned;

    Edit(g).Stage = 3;
    Edit(g).CrashTicks = 1;
    Tick(3);
    EXPECT_TRUE(g.State().Property(5).Has(Halved));
    EXPECT_EQ(g.State().Property(5).SaleValue, Money::FromRaw(500000000));
    Tick();
    EXPECT_EQ(g.State().CrashTicks, 5);
    EXPECT_EQ(g.State().Property(5).BuyPrice, Money::FromRaw(1200000004));
    EXPECT_EQ(g.State().Property(5).SaleValue, Money::FromRaw(1000000000));
    EXPECT_EQ(g.State().Property(8).SaleValue, halved8.MulDiv(2, 1));
    for (int p = 1; p <= kPropertyCount; ++p) {
        EXPECT_FALSE(g.State().Property(p).Has(Halved)) << p;
        if (p == 5) continue;
        const auto& old = before[static_cast<std::size_t>(p - 1)];
        const Money sale = g.State().Property(p).SaleValue;
        EXPECT_LE((sale - old.second).Raw(), 1) << p;  // odd values come back one off
        EXPECT_GE((sale - old.second).Raw(), -1) << p;
    }
    EXPECT_EQ(AreaDelta(g, before, 3), Money());  // exact for the even prices of Ireland
    Tick(5);
    EXPECT_EQ(g.State().Property(5).SaleValue, Money::FromRaw(1000000000));  // restored once only
}

// Finds a seed whose three trend draws are (first, second, d).
std::optional<std::uint64_t> SeedFor(bool wantFallen, int wantD) {
    for (std::uint64_t seed = 0; seed < 5000; ++seed) {
        TRandom r(seed);
        const int first = r.Int(1, 5), second = r.Int(1, 5), d = r.Int(0, 1);
        if (second == 4) continue;
        if ((first == 5) == wantFallen && d == wantD) return seed;
    }
    return std::nullopt;
}

TEST_F(MonthlyCycleTest, YearlyTrendMovesOnlyTheCurrentAreaAndSometimesNothing) {
    TGame& g = Game();
    Form().Invoke(AreaCommand(3));

    const std::optional<std::uint64_t> fallenStill = SeedFor(true, 0);
    ASSERT_TRUE(fallenStill);
    g.Random().Seed(*fallenStill);
    Prices before = Snapshot(g);
    g.YearlyTrend();
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().MarketTrend, Fallen);
    EXPECT_EQ(View().TrendText, "Market has fallen");
    EXPECT_EQ(View().TrendPicture, TTrendPicture::Fallen);
    for (int a = 1; a <= 6; ++a) EXPECT_EQ(AreaDelta(g, before, a), Money()) << a;

    const std::optional<std::uint64_t> risen = SeedFor(false, 1);
    ASSERT_TRUE(risen);
    g.Random().Seed(*risen);
    Edit(g).Property(45).Flags |= Owned;  // owned properties move too
    before = Snapshot(g);
    g.YearlyTrend();
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().MarketTrend, Risen);
    EXPECT_EQ(View().TrendText, "Market has risen");
    const Money lowest = LowestSale(before, 3);
    EXPECT_EQ(AreaDelta(g, before, 3), Money::Pounds(lowest.Raw() / 10 / Money::kScale));
    for (int a : {1, 2, 4, 5, 6}) EXPECT_EQ(AreaDelta(g, before, a), Money()) << a;

    const std::optional<std::uint64_t> fallen = SeedFor(true, 1);
    ASSERT_TRUE(fallen);
    g.Random().Seed(*fallen);
    Edit(g).Area(3).LowestPrice = Money();
    for (int p = 41; p <= 60; ++p) Edit(g).Property(p).SaleValue = Money::FromRaw(350019999 + p);
    before = Snapshot(g);
    g.YearlyTrend();  // 5 % of £35,002.0040 = £1,750.1002, truncated to £1,750
    Form().ApplyGameEvents();
    EXPECT_EQ(AreaDelta(g, before, 3), Money::Pounds(-1750));
}

TEST_F(MonthlyCycleTest, NoSlumpTrendOrDamageTakesAPriceBelowZero) {
    TGame& g = Game();
    StartEngagedGame();
    // Buying prices as small as the customisation file may set them.
    SetPrices(3, Money::Pounds(1000), g.State().Property(3).SaleValue);
    g.ApplyNews(11);  // London slumps by two tenths of its lowest sale value
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Property(3).BuyPrice, Money());
    EXPECT_EQ(View().Avail.Rows[static_cast<std::size_t>(AvailRow(3))].Text,
              g.State().Property(3).Name + " (\u00A30)");

    const std::optional<std::uint64_t> fallen = SeedFor(true, 1);
    ASSERT_TRUE(fallen);
    g.Random().Seed(*fallen);
    SetPrices(5, Money::Pounds(1), g.State().Property(5).SaleValue);
    const Money sale = g.State().Property(6).SaleValue;
    g.YearlyTrend();
    Form().ApplyGameEvents();
    ASSERT_LT(g.State().Property(6).SaleValue, sale);  // the market did fall
    EXPECT_EQ(g.State().Property(5).BuyPrice, Money());

    SetPrices(7, Money::Pounds(1000), Money::Pounds(500));
    Edit(g).Selection = {7};
    Edit(g).DamRenAmount = Money::Pounds(5000);
    g.Damage();
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Property(7).BuyPrice, Money());
    EXPECT_EQ(g.State().Property(7).SaleValue, Money());
}

TEST_F(MonthlyCycleTest, NewsCyclesThroughAllHeadlinesWithoutLettingEventsIn) {
    TGame& g = Game();
    for (int k = 1; k <= 40; ++k) Edit(g).News(k).Shown = true;
    g.NewsEvent();
    Form().ApplyGameEvents();
    int shown = 0;
    for (int k = 1; k <= 40; ++k) shown += g.State().News(k).Shown;
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(g.State().News(g.State().PendingNews).Shown);

    // The draw waits for the one fresh headline without handing control to the toolkit, so
    // nothing the player does can come between the new headline and the old one's effect.
    StartEngagedGame();
    for (int k = 2; k <= 40; ++k) Edit(g).News(k).Shown = true;
    Edit(g).News(1).Shown = false;
    int processed = 0;
    effects_.OnProcessEvents = [&] { ++processed; };
    effects_.ClearCalls();
    g.NewsEvent();
    Form().ApplyGameEvents();
    EXPECT_EQ(processed, 0);
    EXPECT_TRUE(effects_.Contains("sound: MEEPMEEP async"));
    EXPECT_EQ(g.State().PendingNews, 1);
    EXPECT_TRUE(g.State().News(1).Shown);
}

}  // namespace
