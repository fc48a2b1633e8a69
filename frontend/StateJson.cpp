#include "frontend/StateJson.h"

#include <type_traits>

#include "frontend/JsonWriter.h"
#include "frontend/ListJson.h"
#include "windows/TRealtopia.h"

namespace {

void WriteButton(TJsonWriter& json, const char* key, const TButtonView& button) {
    json.Open(key, '{');
    json.String("caption", button.Caption);
    json.Bool("enabled", button.Enabled);
    json.String("hint", button.Hint);
    json.Close('}');
}

// One field of the game as ForEachField names it; a table's records are objects numbered
// from 1 ("n") with their shown fields.
template <class Value>
void WriteField(TJsonWriter& json, const char* key, const Value& value) {
    if constexpr (std::is_same_v<Value, Money>) {
        json.Amount(key, value);
    } else if constexpr (std::is_same_v<Value, bool>) {
        json.Bool(key, value);
    } else if constexpr (std::is_same_v<Value, std::string>) {
        json.String(key, value);
    } else if constexpr (std::is_enum_v<Value> || std::is_integral_v<Value>) {
        json.Int(key, static_cast<long long>(value));
    } else if constexpr (std::is_same_v<Value, std::vector<int>>) {
        json.Open(key, '[');
        for (int n : value) json.Int(nullptr, n);
        json.Close(']');
    } else {
        json.Open(key, '[');
        long long n = 0;
        for (const auto& record : value) {
            json.Open(nullptr, '{');
            json.Int("n", ++n);
            ForEachField(record, [&json](const char* name, const auto& field, const TField& f) {
                if (f.Use & kShown) WriteField(json, name, field);
            });
            json.Close('}');
        }
        json.Close(']');
    }
}

// The single values first, then the tables (areas, properties, headlines), so that the answer
// begins with the cash and the tables come last.
void WriteGame(TJsonWriter& json, const TGameState& game) {
    for (const bool tables : {false, true})
        ForEachField(game, [&json, tables](const char* name, const auto& field, const TField& f) {
            using Field = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, TRandom> || std::is_same_v<Field, TMarketHistory> ||
                          std::is_same_v<Field, decltype(game.RowsSelected)> ||
                          std::is_same_v<Field, decltype(game.Agenda)> ||
                          std::is_same_v<Field, TAnswer>) {
                // never shown: the draws to come, the Market Report's own answer, and what
                // the window's own answer shows (its rows, its open box)
                return;
            } else {
                constexpr bool isTable = std::is_same_v<Field, decltype(game.Areas)> ||
                                         std::is_same_v<Field, decltype(game.Properties)> ||
                                         std::is_same_v<Field, decltype(game.NewsItems)>;
                if ((f.Use & kShown) && isTable == tables) WriteField(json, name, field);
            }
        });
}

void WriteWindow(TJsonWriter& json, const Tmainform& form) {
    const TMainWindowView& view = form.View();
    json.Open("window", '{');
    json.Bool("visible", view.Visible);
    json.Bool("minimised", view.Minimised);
    json.String("caption", view.Caption);
    json.String("status", view.Status);
    json.String("cashPanel", view.CashPanel);
    json.String("portfolioPanel", view.PortfolioPanel);
    json.String("debtPanel", view.DebtPanel);
    json.String("info", view.Info);
    json.String("areaCaption", view.AreaCaption);
    json.Open("areaFrames", '[');
    for (bool red : view.AreaFrameRed) json.String(nullptr, red ? "red" : "black");
    json.Close(']');
    json.String("trendText", view.TrendText);
    json.String("trendPicture", TrendPictureName(view.TrendPicture));
    json.String("stageText", view.StageText);
    json.String("monthLabel", view.MonthLabel);
    json.Int("clock", view.Clock);
    json.Int("progress", view.Progress);
    json.Int("progressMax", view.ProgressMax);
    json.Bool("timerEnabled", view.TimerEnabled);
    json.Int("timerInterval", view.TimerInterval);

    const TMarquee& ticker = form.mq();
    json.Open("ticker", '{');
    json.String("text", ticker.Text());
    json.Bool("active", ticker.Active());
    json.Bool("onScreen", ticker.OnScreen());
    json.String("speed", SpeedName(ticker.Speed()));
    json.Close('}');

    json.Open("buttons", '{');
    WriteButton(json, "start", view.Start);
    WriteButton(json, "buySell", view.BuySell);
    WriteButton(json, "damRen", view.DamRen);
    WriteButton(json, "mortgage", view.Mortgage);
    WriteButton(json, "email", view.Email);
    WriteButton(json, "exit", view.Exit);
    WriteButton(json, "rules", view.Rules);
    json.Close('}');

    json.Open("menu", '{');
    json.Open("quitReplay", '{');
    json.Bool("enabled", view.QuitReplayEnabled);
    json.Close('}');
    json.Open("sound", '{');
    json.Bool("checked", view.SoundChecked);
    json.Close('}');
    json.String("speed", SpeedName(ticker.Speed()));
    json.Close('}');

    WriteListJson(json, "avail", view.Avail);
    WriteListJson(json, "portfolio", view.Portfolio);
    json.Close('}');
}

}  // namespace

std::string StateJson::Write(const TRealtopia& app) {
    TJsonWriter json;
    json.Open(nullptr, '{');
    ::WriteGame(json, app.mainform.Game().State());
    WriteWindow(json, app.mainform);
    json.Close('}');
    return json.Text();
}

std::string StateJson::WriteGame(const TGameState& game) {
    TJsonWriter json;
    json.Open(nullptr, '{');
    ::WriteGame(json, game);
    json.Close('}');
    return json.Text();
}
