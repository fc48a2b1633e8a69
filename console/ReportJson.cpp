#include "console/ReportJson.h"

#include "console/ConsoleOutput.h"
#include "console/StateJson.h"
#include "engine/Game.h"
#include "ui/MarketReport.h"

namespace {

std::string Member(const char* key, const std::string& value) {
    return StateJson::Quote(key) + ":" + value;
}

std::string Number(const char* key, long long value) {
    return Member(key, std::to_string(value));
}

// The elements joined by commas inside the brackets.
std::string List(const std::vector<std::string>& items, char open, char close) {
    std::string text(1, open);
    for (std::size_t i = 0; i < items.size(); ++i) text += (i ? "," : "") + items[i];
    return text + close;
}

const char* TrendName(std::int32_t result) {
    switch (result) {
        case Risen:
            return "risen";
        case Fallen:
            return "fallen";
        default:
            return "steady";
    }
}

const char* EventName(TMarketHistory::TEventKind kind) {
    switch (kind) {
        case TMarketHistory::TEventKind::BankBonus:
            return "bankBonus";
        case TMarketHistory::TEventKind::Crash:
            return "crash";
        case TMarketHistory::TEventKind::Restore:
            break;
    }
    return "restore";
}

}  // namespace

std::vector<std::string> ReportJson::NewsLines(const TGame& game) {
    std::vector<std::string> lines;
    const TMarketReport report(game);
    for (const TLogRow& row : report.Log())
        lines.push_back(row.Month + " | " + row.Text + (row.Note.empty() ? "" : " | " + row.Note));
    return lines;
}

std::string ReportJson::Write(const TGame& game) {
    const TMarketReport report(game);
    std::vector<std::string> areas;
    for (const std::string& name : report.AreaNames()) areas.push_back(StateJson::Quote(name));

    std::vector<std::string> months;
    for (const TReportMonth& m : report.Months()) {
        std::vector<std::string> prices;
        for (Money price : m.AveragePrice) prices.push_back(std::to_string(price.Raw()));
        months.push_back(
            List({Number("year", m.Year), Number("month", m.Month),
                  Member("prices", List(prices, '[', ']')), Number("netWorth", m.NetWorth.Raw()),
                  Member("current", m.Current ? "true" : "false")},
                 '{', '}'));
    }

    const TMarketHistory& history = game.State().History;
    std::vector<std::string> headlines;
    for (const TMarketHistory::THeadline& h : history.Headlines()) {
        const std::string text =
            h.Item >= 1 && h.Item <= kNewsCount
                ? game.State().NewsItems[static_cast<std::size_t>(h.Item - 1)].Headline
                : std::string();
        headlines.push_back(List({Number("year", h.Year), Number("month", h.Month),
                                  Number("n", h.Item), Member("headline", StateJson::Quote(text)),
                                  Member("landed", h.Landed ? "true" : "false")},
                                 '{', '}'));
    }
    std::vector<std::string> trends;
    for (const TMarketHistory::TTrend& t : history.Trends())
        trends.push_back(List({Number("year", t.Year), Number("area", t.Area),
                               Member("result", StateJson::Quote(TrendName(t.Result)))},
                              '{', '}'));
    std::vector<std::string> events;
    for (const TMarketHistory::TEvent& e : history.Events())
        events.push_back(List({Number("year", e.Year), Number("month", e.Month),
                               Member("kind", StateJson::Quote(EventName(e.Kind)))},
                              '{', '}'));

    return List(
        {Member("areas", List(areas, '[', ']')), Member("months", List(months, '[', ']')),
         Member("headlines", List(headlines, '[', ']')), Member("trends", List(trends, '[', ']')),
         Member("events", List(events, '[', ']'))},
        '{', '}');
}

void PrintReport(ConsoleOutput& out, const TGame& game) {
    for (const std::string& line : ReportJson::NewsLines(game)) out.Line("news", line);
    out.RawLine("report", ReportJson::Write(game));
}
