// The Market Report's window logic: the series follow the prices month by month, the news log
// tells which headline is still to land, and a report with nothing to show yet is complete.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "support/RealtopiaFixture.h"
#include "ui/MarketReport.h"

namespace {

using MarketReportTest = RealtopiaFixture;
using Averages = std::array<Money, kAreaCount>;

// Each area's average buying price over its twenty properties, owned or not.
Averages AreaAverages(TGame& g) {
    Averages sums{};
    for (int p = 1; p <= kPropertyCount; ++p)
        sums[static_cast<std::size_t>((p - 1) / kPropertiesPerArea)] +=
            g.State().Property(p).BuyPrice;
    for (Money& sum : sums) sum = sum.MulDiv(1, kPropertiesPerArea);
    return sums;
}

// "£1,250,000" as pounds.
double Pounds(const std::string& label) {
    std::string digits;
    for (char c : label)
        if (c >= '0' && c <= '9') digits += c;
    return std::stod(digits);
}

// The height of an amount on a ratio scale through two named amounts.
class Scale {
public:
    Scale(const TAxisMark& low, const TAxisMark& high)
        : low_(low.Position),
          perLog_((high.Position - low.Position) /
                  std::log(Pounds(high.Label) / Pounds(low.Label))),
          lowPounds_(Pounds(low.Label)) {}
    double Y(Money m) const {
        return low_ + perLog_ * std::log(static_cast<double>(m.Raw()) / Money::kScale / lowPounds_);
    }

private:
    double low_;
    double perLog_;
    double lowPounds_;
};

std::vector<const TLogRow*> PendingRows(const TMarketReport& report) {
    std::vector<const TLogRow*> rows;
    for (const TLogRow& row : report.Log())
        if (row.Pending) rows.push_back(&row);
    return rows;
}

TEST_F(MarketReportTest, SeriesFollowThePricesMonthByMonthOverAWholeGame) {
    TGame& g = Game();
    StartEngagedGame();
    Buy({1, 2, 3});  // owned properties keep counting in their area's average

    std::vector<Averages> shown;
    std::vector<Money> worth;
    for (int tick = 1; tick <= 119; ++tick) {
        // A damaged price moves the average within a month; the month closes with it.
        if (tick == 30) SetPrices(25, Money::Pounds(1000), Money::Pounds(900));
        shown.push_back(AreaAverages(g));
        worth.push_back(g.NetWorth());
        const TMarketReport now(g);
        ASSERT_TRUE(now.Months().back().Current) << tick;
        ASSERT_EQ(now.Months().back().AveragePrice, shown.back()) << tick;
        ASSERT_EQ(now.Months().back().NetWorth, worth.back()) << tick;
        Tick();
    }

    // 119 closed months and December 2009 in progress.
    const TMarketReport report(g);
    const std::vector<TReportMonth>& months = report.Months();
    ASSERT_EQ(months.size(), 120u);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(months[i].Year, 2000 + static_cast<int>(i / 12)) << i;
        EXPECT_EQ(months[i].Month, static_cast<int>(i % 12) + 1) << i;
        EXPECT_EQ(months[i].AveragePrice, shown[i]) << i;
        EXPECT_EQ(months[i].NetWorth, worth[i]) << i;
        EXPECT_FALSE(months[i].Current) << i;
    }
    EXPECT_TRUE(months.back().Current);
    EXPECT_NE(shown[28], shown[29]);  // the series did move

    // Drawn to scale: ten years of months across, and amounts upwards on a ratio scale, the
    // same for the lines as for the amounts named beside them.
    const TChart& prices = report.Prices();
    ASSERT_EQ(prices.Series.size(), 6u);
    EXPECT_EQ(prices.YearLabels.size(), 10u);
    EXPECT_EQ(prices.YearLabels.front().Label, "2000");
    ASSERT_GE(prices.ValueLabels.size(), 3u);
    const Scale priceScale(prices.ValueLabels.front(), prices.ValueLabels.back());
    for (std::size_t a = 0; a < 6; ++a) {
        const TChartSeries& series = prices.Series[a];
        EXPECT_EQ(series.Name, g.State().Area(static_cast<int>(a) + 1).Name);
        // A step line: each month's average held across its twelfth of a year.
        ASSERT_EQ(series.Points.size(), 2 * months.size());
        for (std::size_t i = 0; i < months.size(); ++i) {
            const TChartPoint& from = series.Points[2 * i];
            const TChartPoint& to = series.Points[2 * i + 1];
            EXPECT_NEAR(from.X, i / 120.0, 1e-9);
            EXPECT_NEAR(to.X, (i + 1) / 120.0, 1e-9);
            EXPECT_EQ(from.Y, to.Y);
            EXPECT_NEAR(from.Y, priceScale.Y(months[i].AveragePrice[a]), 1e-9);
            EXPECT_GT(from.Y, 0.0);
            EXPECT_LT(from.Y, 1.0);
        }
    }
    // The net worth chart keeps both thresholds in sight, named with their amounts.
    const TChart& chart = report.Worth();
    const Scale worthScale(chart.ValueLabels.front(), chart.ValueLabels.back());
    ASSERT_EQ(chart.Levels.size(), 2u);
    EXPECT_EQ(chart.Levels[0].Label, "Magnate \u00A31,600,000");
    EXPECT_EQ(chart.Levels[1].Label, "Guru \u00A310,000,000");
    EXPECT_NEAR(chart.Levels[0].Y, worthScale.Y(TGame::kMagnateWorth), 1e-9);
    EXPECT_NEAR(chart.Levels[1].Y, worthScale.Y(TGame::kGuruWorth), 1e-9);
    EXPECT_LT(chart.Levels[1].Y, 1.0);
    ASSERT_EQ(chart.Series.size(), 1u);
    for (std::size_t i = 0; i < worth.size(); ++i)
        EXPECT_NEAR(chart.Series[0].Points[2 * i].Y, worthScale.Y(worth[i]), 1e-9) << i;
    EXPECT_TRUE(chart.HasCurrent);
    EXPECT_EQ(chart.CurrentLabel, "December 2009");
    EXPECT_NEAR(chart.CurrentFrom, 119 / 120.0, 1e-9);
    EXPECT_NEAR(chart.CurrentTo, 1.0, 1e-9);
    // The month's name sits where no line of the last stretch of the axis runs: a band a
    // tenth of the plot high around its height is crossed by no step and no level.
    for (const TChart* drawn : {&prices, &chart}) {
        const double from = drawn->CurrentFrom - TChart::CurrentLabelSpan;
        const double y = drawn->CurrentLabelY;
        auto crosses = [y](double a, double b) {
            return std::min(a, b) < y + 0.05 && std::max(a, b) > y - 0.05;
        };
        for (const TChartSeries& series : drawn->Series) {
            for (std::size_t i = 0; i + 1 < series.Points.size(); ++i) {
                if (series.Points[i + 1].X < from) continue;
                EXPECT_FALSE(crosses(series.Points[i].Y, series.Points[i + 1].Y))
                    << drawn->Title << " " << series.Name << " " << i;
            }
        }
        for (const TChartLevel& level : drawn->Levels)
            EXPECT_FALSE(crosses(level.Y, level.Y)) << level.Label;
    }

    // The next game starts a new report.
    effects_.YesNoAnswers = {true};
    Tick();
    EXPECT_TRUE(Game().State().History.Months().empty());
    EXPECT_TRUE(TMarketReport(Game()).Months().empty());
}

TEST_F(MarketReportTest, HeadlinesLandWhenTheNextShowsAndTrendsKeepTheirArea) {
    TGame& g = Game();
    StartGame();
    std::size_t headlines = 0;
    for (int tick = 1; tick <= 119; ++tick) {
        if (tick % 12 == 3)
            Form().Invoke(AreaCommand(tick / 12 % 6 + 1));  // each December in another area
        Tick();
        const TMarketReport report(g);
        const std::vector<const TLogRow*> pending = PendingRows(report);
        if (g.State().History.Headlines().size() != headlines) {
            headlines = g.State().History.Headlines().size();
            ASSERT_EQ(g.State().History.Headlines().back().Item, g.State().PendingNews);
            // Only the newest headline is still to land, and the log says so.
            ASSERT_EQ(pending.size(), 1u) << tick;
            EXPECT_EQ(pending[0]->Text, g.State().NewsItems[g.State().PendingNews - 1].Headline);
            // The last headline of a game (month 104) has no other after it.
            EXPECT_EQ(pending[0]->Note, g.State().MonthsPlayed < 104
                                            ? TMarketReport::PendingNote
                                            : TMarketReport::NeverLandsNote)
                << tick;
            EXPECT_EQ(pending[0]->Month,
                      g.MonthName(g.State().Month) + " " + std::to_string(g.State().Year));
            EXPECT_EQ(pending[0], &report.Log().back());
            for (std::size_t i = 0; i + 1 < headlines; ++i)
                EXPECT_TRUE(g.State().History.Headlines()[i].Landed) << i;
        }
        if (g.State().Month == 12 && g.State().MonthsPlayed < 108) {
            ASSERT_FALSE(g.State().History.Trends().empty());
            const TMarketHistory::TTrend& trend = g.State().History.Trends().back();
            EXPECT_EQ(trend.Year, g.State().Year);
            EXPECT_EQ(trend.Area, g.State().CurrentArea);
            EXPECT_EQ(trend.Result, g.State().MarketTrend);
            const std::string result = g.State().MarketTrend == Risen    ? "risen"
                                       : g.State().MarketTrend == Fallen ? "fallen"
                                                                         : "steady";
            const TLogRow& row = report.Log().back();  // no headline in a December of 8 months
            EXPECT_EQ(row.Text, "Yearly trend in " + g.State().Area(g.State().CurrentArea).Name +
                                    ": " + result);
            EXPECT_EQ(row.Month, "December " + std::to_string(g.State().Year));
        }
    }
    EXPECT_EQ(g.State().History.Headlines().size(), 13u);
    EXPECT_EQ(g.State().History.Trends().size(), 9u);

    // Every landed headline names the month of the one that brought its effect.
    const TMarketReport report(g);
    const std::vector<TMarketHistory::THeadline>& shown = g.State().History.Headlines();
    std::size_t h = 0;
    for (const TLogRow& row : report.Log()) {
        if (row.RowKind != TLogRow::Kind::Headline) continue;
        ASSERT_LT(h, shown.size());
        if (h + 1 < shown.size()) {
            EXPECT_EQ(row.Note, "landed in " + g.MonthName(shown[h + 1].Month) + " " +
                                    std::to_string(shown[h + 1].Year));
        }
        EXPECT_EQ(row.AccessibleText(), row.Month + ": " + row.Text + " (" + row.Note + ")");
        ++h;
    }
    EXPECT_EQ(h, 13u);
    // Headline months are marked on both time axes, the last one hollow.
    ASSERT_EQ(report.Prices().Headlines.size(), 13u);
    EXPECT_TRUE(report.Prices().Headlines.back().Pending);
    EXPECT_FALSE(report.Worth().Headlines.front().Pending);
    EXPECT_NEAR(report.Prices().Headlines.front().X, 8.5 / 120.0, 1e-9);  // September 2000
}

TEST_F(MarketReportTest, AGameWithoutHeadlinesHasAnEmptyReportThatIsStillComplete) {
    TGame& g = Game();
    EnterGame();
    const TMarketReport waiting(g);
    EXPECT_TRUE(waiting.Months().empty());
    EXPECT_TRUE(waiting.Log().empty());
    for (const TChart* chart : {&waiting.Prices(), &waiting.Worth()}) {
        EXPECT_FALSE(chart->HasCurrent);
        EXPECT_TRUE(chart->Headlines.empty());
        for (const TChartSeries& series : chart->Series) EXPECT_TRUE(series.Points.empty());
        // Axes to draw the empty chart on: the year 2000 and a scale of amounts.
        ASSERT_EQ(chart->YearLabels.size(), 1u);
        EXPECT_EQ(chart->YearLabels[0].Label, "2000");
        EXPECT_GE(chart->ValueLabels.size(), 3u);
        EXPECT_EQ(chart->Description, chart->Title + ": " + chart->EmptyText);
    }
    EXPECT_EQ(waiting.Prices().Series.size(), 6u);

    // Once the clock runs, the month in progress is shown; no headline before the eighth.
    PressPlay();
    Tick(7);
    const TMarketReport early(g);
    EXPECT_EQ(early.Months().size(), 8u);
    EXPECT_TRUE(early.Log().empty());
    EXPECT_TRUE(early.Prices().HasCurrent);
    EXPECT_EQ(early.Prices().CurrentLabel, "August 2000");
    EXPECT_EQ(early.Prices().Description.substr(0, 60),
              "Average buying price by area, January 2000 to August 2000. A");
}

}  // namespace
