#include "ui/MarketReport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "engine/Game.h"

namespace {

constexpr int kFirstYear = 2000;

// Months counted from January 2000.
int MonthIndex(int year, int month) {
    return (year - kFirstYear) * 12 + (month - 1);
}

int FloorDiv(int a, int b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The time axis: whole years, from the January of the first month shown to the December of
// the last, each month a slot of its own.
class TimeAxis {
public:
    TimeAxis(int firstIndex, int lastIndex)
        : startYear_(FloorDiv(firstIndex, 12)), endYear_(FloorDiv(lastIndex, 12)) {}

    // The middle of a month's slot, and its left edge.
    double X(int index) const { return (index - startYear_ * 12 + 0.5) / Slots(); }
    double Left(int index) const { return (index - startYear_ * 12) / Slots(); }

    // A month's amount held across its slot: prices change from one month to the next, not
    // within one, and level and upright strokes stay sharp on any screen.
    void Step(std::vector<TChartPoint>& points, int index, double y) const {
        points.push_back({Left(index), y});
        points.push_back({Left(index + 1), y});
    }

    void Mark(TChart& chart) const {
        for (int year = startYear_; year <= endYear_; ++year) {
            const double left = (year - startYear_) * 12.0 / Slots();
            if (year > startYear_) chart.YearStarts.push_back(left);
            chart.YearLabels.push_back({left + 6.0 / Slots(), std::to_string(kFirstYear + year)});
        }
    }

private:
    double Slots() const { return (endYear_ - startYear_ + 1) * 12.0; }
    int startYear_;
    int endYear_;
};

// The value axis, a ratio scale: equal heights are equal percentage changes, so a slump in a
// cheap area shows as plainly as one in a dear area. It runs a little beyond the lowest and
// highest amounts, and names the round amounts (1, 2 or 5 times a power of ten) between.
class ValueAxis {
public:
    ValueAxis(Money lowest, Money highest) {
        const double high = std::max(Pounds(highest), 1.0);
        double low = Pounds(lowest);
        if (low <= 0 || low > high) low = high / 10;
        low_ = low / kRoom;
        high_ = high * kRoom;
    }

    // Amounts of nothing or less lie on the bottom edge.
    double Y(Money amount) const {
        const double pounds = Pounds(amount);
        if (pounds <= low_) return 0;
        return std::min(1.0, std::log(pounds / low_) / std::log(high_ / low_));
    }

    void Mark(TChart& chart) const {
        std::vector<double> amounts;
        for (double power = Power(low_); power <= high_; power *= 10)
            for (double factor : {1.0, 2.0, 5.0})
                if (factor * power >= low_ && factor * power <= high_)
                    amounts.push_back(factor * power);
        // Over many powers of ten, only the powers themselves, so the names do not crowd.
        if (amounts.size() > 7) std::erase_if(amounts, [](double a) { return a / Power(a) > 1.5; });
        for (double amount : amounts) {
            const auto pounds = static_cast<std::int64_t>(std::llround(amount));
            chart.ValueLabels.push_back(
                {Y(Money::Pounds(pounds)), FormatPounds(Money::Pounds(pounds))});
        }
    }

private:
    static double Pounds(Money m) { return static_cast<double>(m.Raw()) / Money::kScale; }
    static double Power(double v) { return std::pow(10.0, std::floor(std::log10(v) + 1e-9)); }
    static constexpr double kRoom = 1.15;  // so no line runs along an edge
    double low_ = 1;
    double high_ = 10;
};

std::string EventText(TMarketHistory::TEventKind kind) {
    switch (kind) {
        case TMarketHistory::TEventKind::BankBonus:
            return "The banks' bonus for a new " + std::string(world::kStageNames[1]) + ": " +
                   FormatPounds(TGame::kBankBonus);
        case TMarketHistory::TEventKind::Crash:
            return "You crashed the market: every property on sale at half price";
        case TMarketHistory::TEventKind::Restore:
            return "The market recovered: the halved prices doubled back";
    }
    return {};
}

}  // namespace

std::string TLogRow::AccessibleText() const {
    std::string text = Month + ": " + Text;
    if (!Note.empty()) text += " (" + Note + ")";
    return text;
}

std::string TMarketReport::MonthLabel(const TGame& game, std::uint16_t year, std::int32_t month) {
    return game.MonthName(month) + " " + std::to_string(year);
}

TMarketReport::TMarketReport(const TGame& game) {
    for (const TArea& area : game.State().Areas) areaNames_.push_back(area.Name);
    BuildMonths(game);
    BuildLog(game);
    BuildCharts(game);
}

void TMarketReport::BuildMonths(const TGame& game) {
    for (const TMarketHistory::TMonth& m : game.State().History.Months())
        months_.push_back({m.Year, m.Month, m.AveragePrice, m.NetWorth, false});
    // The month in progress, once a game has begun and until it has ended.
    const bool playing =
        (game.State().Running || game.State().Paused) && game.State().Year < kFirstYear + 10;
    if (playing)
        months_.push_back({game.State().Year, game.State().Month,
                           TMarketHistory::AveragePrices(game.State().Properties), game.NetWorth(),
                           true});
}

void TMarketReport::BuildLog(const TGame& game) {
    struct Entry {
        int Index;
        int Phase;  // within a month: the events of the monthly duties, the trend, the headline
        TLogRow Row;
    };
    std::vector<Entry> entries;
    const TMarketHistory& history = game.State().History;

    for (const TMarketHistory::TEvent& e : history.Events()) {
        TLogRow row;
        row.RowKind = TLogRow::Kind::Event;
        row.Month = MonthLabel(game, e.Year, e.Month);
        row.Text = EventText(e.Kind);
        entries.push_back({MonthIndex(e.Year, e.Month), 0, row});
    }
    for (const TMarketHistory::TTrend& t : history.Trends()) {
        const std::string area =
            t.Area >= 1 && t.Area <= kAreaCount ? game.State().Area(t.Area).Name : std::string();
        TLogRow row;
        row.RowKind = TLogRow::Kind::Trend;
        row.Month = MonthLabel(game, t.Year, 12);
        row.Text = "Yearly trend in " + area + ": " + TrendName(t.Result);
        entries.push_back({MonthIndex(t.Year, 12), 1, row});
    }
    const std::vector<TMarketHistory::THeadline>& headlines = history.Headlines();
    for (std::size_t i = 0; i < headlines.size(); ++i) {
        const TMarketHistory::THeadline& h = headlines[i];
        TLogRow row;
        row.Month = MonthLabel(game, h.Year, h.Month);
        if (h.Item >= 1 && h.Item <= kNewsCount)
            row.Text = game.State().NewsItems[static_cast<std::size_t>(h.Item - 1)].Headline;
        if (!h.Landed) {
            row.Note = game.HeadlineToCome() ? PendingNote : NeverLandsNote;
            row.Pending = true;
        } else if (i + 1 < headlines.size()) {
            row.Note =
                "landed in " + MonthLabel(game, headlines[i + 1].Year, headlines[i + 1].Month);
        }
        entries.push_back({MonthIndex(h.Year, h.Month), 2, row});
    }

    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.Index != b.Index ? a.Index < b.Index : a.Phase < b.Phase;
    });
    for (Entry& e : entries) log_.push_back(std::move(e.Row));
}

namespace {

// The middle of the widest height range from 0 to 1 that no series (its steps included) and no
// level crosses at or after `from` on the time axis; the highest among equally wide ones.
double FreeHeight(const TChart& chart, double from) {
    std::vector<std::pair<double, double>> taken;
    for (const TChartSeries& series : chart.Series)
        for (std::size_t i = 0; i < series.Points.size(); ++i) {
            const TChartPoint& point = series.Points[i];
            const TChartPoint& next = series.Points[i + 1 < series.Points.size() ? i + 1 : i];
            if (next.X < from) continue;
            taken.emplace_back(std::min(point.Y, next.Y), std::max(point.Y, next.Y));
        }
    for (const TChartLevel& level : chart.Levels) taken.emplace_back(level.Y, level.Y);
    std::sort(taken.begin(), taken.end(), [](const auto& a, const auto& b) {
        return a.second > b.second;  // from the top down
    });
    double best = 1;
    double widest = -1;
    double top = 1;  // the lowest height taken so far, going down
    for (const auto& [low, high] : taken) {
        if (high < top && top - high > widest) {
            widest = top - high;
            best = (top + high) / 2;
        }
        top = std::min(top, low);
    }
    if (top > widest) best = top / 2;
    return best;
}

}  // namespace

void TMarketReport::BuildCharts(const TGame& game) {
    // The axes cover every month shown, or the current year while there is none.
    int first = MonthIndex(game.State().Year, game.State().Month);
    int last = first;
    if (!months_.empty()) {
        first = MonthIndex(months_.front().Year, months_.front().Month);
        last = MonthIndex(months_.back().Year, months_.back().Month);
    }
    for (const TMarketHistory::THeadline& h : game.State().History.Headlines()) {
        first = std::min(first, MonthIndex(h.Year, h.Month));
        last = std::max(last, MonthIndex(h.Year, h.Month));
    }
    const TimeAxis time(first, last);

    // Prices: the averages of the months shown and of now (all there is before the first
    // month); the net worth's range holds both thresholds. The lowest amounts are positive.
    const std::array<Money, kAreaCount> now =
        TMarketHistory::AveragePrices(game.State().Properties);
    Money lowestPrice = Money::FromRaw(std::numeric_limits<std::int64_t>::max());
    Money highestPrice;
    Money lowestWorth = TGame::kMagnateWorth;
    Money highestWorth = TGame::kGuruWorth;
    auto widen = [](Money amount, Money& lowest, Money& highest) {
        if (amount > Money()) lowest = std::min(lowest, amount);
        highest = std::max(highest, amount);
    };
    for (Money price : now) widen(price, lowestPrice, highestPrice);
    for (const TReportMonth& m : months_) {
        for (Money price : m.AveragePrice) widen(price, lowestPrice, highestPrice);
        widen(m.NetWorth, lowestWorth, highestWorth);
    }
    const ValueAxis priceAxis(lowestPrice, highestPrice);
    const ValueAxis worthAxis(lowestWorth, highestWorth);

    prices_.Title = "Average buying price by area";
    prices_.SeriesLegend = true;
    prices_.HeadlineLegend = "Headline";
    prices_.PendingLegend = "Pending headline";
    worth_.Title = "Your net worth";
    for (TChart* chart : {&prices_, &worth_}) {
        time.Mark(*chart);
        chart->EmptyText = "No month has been played yet";
        for (const TMarketHistory::THeadline& h : game.State().History.Headlines())
            chart->Headlines.push_back({time.X(MonthIndex(h.Year, h.Month)), !h.Landed});
    }
    priceAxis.Mark(prices_);
    worthAxis.Mark(worth_);

    for (int a = 1; a <= kAreaCount; ++a) {
        const auto i = static_cast<std::size_t>(a - 1);
        TChartSeries series{areaNames_[i], kAreaColours[i], {}};
        for (const TReportMonth& m : months_)
            time.Step(series.Points, MonthIndex(m.Year, m.Month), priceAxis.Y(m.AveragePrice[i]));
        prices_.Series.push_back(std::move(series));
    }
    TChartSeries worth{"Net worth", kWorthColour, {}};
    for (const TReportMonth& m : months_)
        time.Step(worth.Points, MonthIndex(m.Year, m.Month), worthAxis.Y(m.NetWorth));
    worth_.Series.push_back(std::move(worth));

    const std::string magnate =
        std::string(world::kStageNames[1]) + " " + FormatPounds(TGame::kMagnateWorth);
    const std::string guru =
        std::string(world::kStageNames[2]) + " " + FormatPounds(TGame::kGuruWorth);
    worth_.Levels.push_back({worthAxis.Y(TGame::kMagnateWorth), magnate, kMagnateColour});
    worth_.Levels.push_back({worthAxis.Y(TGame::kGuruWorth), guru, kGuruColour});

    // What a screen reader says: the span, then the figures of the latest month.
    if (months_.empty()) {
        prices_.Description = prices_.Title + ": " + prices_.EmptyText;
        worth_.Description = worth_.Title + ": " + worth_.EmptyText;
        return;
    }
    const TReportMonth& latest = months_.back();
    const std::string latestLabel = MonthLabel(game, latest.Year, latest.Month);
    const std::string span = ", " + MonthLabel(game, months_.front().Year, months_.front().Month) +
                             " to " + latestLabel + ". " + latestLabel + ": ";
    prices_.Description = prices_.Title + span;
    for (std::size_t i = 0; i < areaNames_.size(); ++i)
        prices_.Description +=
            (i ? ", " : "") + areaNames_[i] + " " + FormatPounds(latest.AveragePrice[i]);
    worth_.Description =
        worth_.Title + span + FormatPounds(latest.NetWorth) + "; " + magnate + ", " + guru;
    if (latest.Current) {
        for (TChart* chart : {&prices_, &worth_}) {
            chart->HasCurrent = true;
            chart->CurrentFrom = time.Left(MonthIndex(latest.Year, latest.Month));
            chart->CurrentTo = time.Left(MonthIndex(latest.Year, latest.Month) + 1);
            chart->CurrentLabel = latestLabel;
            chart->CurrentLabelY =
                FreeHeight(*chart, chart->CurrentFrom - TChart::CurrentLabelSpan);
        }
    }
}
