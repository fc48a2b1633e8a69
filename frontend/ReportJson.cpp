#include "frontend/ReportJson.h"

#include "engine/Game.h"
#include "frontend/JsonWriter.h"
#include "ui/MarketReport.h"

namespace {

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

void WriteMonths(TJsonWriter& json, const TMarketReport& report) {
    json.Open("months", '[');
    for (const TReportMonth& m : report.Months()) {
        json.Open(nullptr, '{');
        json.Int("year", m.Year).Int("month", m.Month);
        json.Open("prices", '[');
        for (Money price : m.AveragePrice) json.Amount(nullptr, price);
        json.Close(']');
        json.Amount("netWorth", m.NetWorth).Bool("current", m.Current);
        json.Close('}');
    }
    json.Close(']');
}

void WriteHistory(TJsonWriter& json, const TGame& game) {
    const TMarketHistory& history = game.History;
    json.Open("headlines", '[');
    for (const TMarketHistory::THeadline& h : history.Headlines()) {
        const std::string text = h.Item >= 1 && h.Item <= kNewsCount
                                     ? game.NewsItems[static_cast<std::size_t>(h.Item - 1)].Headline
                                     : std::string();
        json.Open(nullptr, '{');
        json.Int("year", h.Year).Int("month", h.Month).Int("n", h.Item);
        json.String("headline", text).Bool("landed", h.Landed);
        json.Close('}');
    }
    json.Close(']');
    json.Open("trends", '[');
    for (const TMarketHistory::TTrend& t : history.Trends()) {
        json.Open(nullptr, '{');
        json.Int("year", t.Year).Int("area", t.Area).String("result", TrendName(t.Result));
        json.Close('}');
    }
    json.Close(']');
    json.Open("events", '[');
    for (const TMarketHistory::TEvent& e : history.Events()) {
        json.Open(nullptr, '{');
        json.Int("year", e.Year).Int("month", e.Month).String("kind", EventName(e.Kind));
        json.Close('}');
    }
    json.Close(']');
}

}  // namespace

std::string ReportJson::Write(const TGame& game) {
    const TMarketReport report(game);
    TJsonWriter json;
    json.Open(nullptr, '{');
    json.Open("areas", '[');
    for (const std::string& name : report.AreaNames()) json.String(nullptr, name);
    json.Close(']');
    WriteMonths(json, report);
    WriteHistory(json, game);
    json.Close('}');
    return json.Text();
}
