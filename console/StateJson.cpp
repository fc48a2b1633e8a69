#include "console/StateJson.h"

#include <cstdio>

#include "console/ConsoleText.h"
#include "windows/TRealtopia.h"

namespace {

// Appends the members of one JSON object or array, placing the commas.
class JsonWriter {
public:
    std::string Text() const { return text_; }

    void Open(const char* key, char bracket) {
        Key(key);
        text_ += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        text_ += bracket;
        first_ = false;
    }
    void Int(const char* key, long long value) {
        Key(key);
        text_ += std::to_string(value);
    }
    void Bool(const char* key, bool value) {
        Key(key);
        text_ += value ? "true" : "false";
    }
    void String(const char* key, const std::string& value) {
        Key(key);
        text_ += StateJson::Quote(value);
    }
    void Amount(const char* key, Money value) { Int(key, value.Raw()); }

private:
    // An array element when key is null.
    void Key(const char* key) {
        if (!first_) text_ += ',';
        first_ = false;
        if (key != nullptr) {
            text_ += StateJson::Quote(key);
            text_ += ':';
        }
    }

    std::string text_;
    bool first_ = true;
};

void WriteButton(JsonWriter& json, const char* key, const TButtonView& button) {
    json.Open(key, '{');
    json.String("caption", button.Caption);
    json.Bool("enabled", button.Enabled);
    json.String("hint", button.Hint);
    json.Close('}');
}

void WriteList(JsonWriter& json, const char* key, const TListView& list) {
    json.Open(key, '{');
    json.Bool("enabled", list.Enabled);
    json.Open("rows", '[');
    for (const TListRow& row : list.Rows) {
        json.Open(nullptr, '{');
        json.String("text", row.Text);
        json.Bool("selected", row.Selected);
        json.Close('}');
    }
    json.Close(']');
    json.Close('}');
}

void WriteGame(JsonWriter& json, const TGame& game) {
    json.Amount("cash", game.Cash);
    json.Amount("debt", game.Debt);
    json.Amount("monthlyRepaymentTotal", game.MonthlyRepaymentTotal);
    json.Int("stage", game.Stage);
    json.Int("crashTicks", game.CrashTicks);
    json.Int("year", game.Year);
    json.Int("month", game.Month);
    json.Int("monthsPlayed", game.MonthsPlayed);
    json.Int("currentArea", game.CurrentArea);
    json.Int("marketTrend", game.MarketTrend);
    json.Int("pendingNews", game.PendingNews);
    json.Bool("running", game.Running);
    json.Bool("paused", game.Paused);
    json.Bool("engaged", game.Engaged);
    json.Bool("soundOn", game.SoundOn);
    json.Bool("cheatUsed", game.CheatUsed);
    json.Int("selectionSide", static_cast<int>(game.SelectionSide));
    json.Int("mortgageMode", static_cast<int>(game.MortgageMode));
    json.Open("selection", '[');
    for (int n : game.Selection) json.Int(nullptr, n);
    json.Close(']');
    json.Amount("buyTotal", game.BuyTotal);
    json.Amount("sellTotal", game.SellTotal);
    json.String("firstName", game.FirstName);
    json.String("lastName", game.LastName);
    json.String("contactAddress", game.ContactAddress);

    json.Open("areas", '[');
    for (const TArea& area : game.Areas) {
        json.Open(nullptr, '{');
        json.String("name", area.Name);
        json.Amount("lowestPrice", area.LowestPrice);
        json.Close('}');
    }
    json.Close(']');

    json.Open("properties", '[');
    for (int n = 1; n <= kPropertyCount; ++n) {
        const TProperty& p = game.Property(n);
        json.Open(nullptr, '{');
        json.Int("n", n);
        json.String("name", p.Name);
        json.String("description", p.Description);
        json.Int("area", p.Area);
        json.Amount("buy", p.BuyPrice);
        json.Amount("sale", p.SaleValue);
        json.Int("flags", p.Flags);
        json.Int("done", p.DoneImprovements);
        json.Int("damageCount", p.DamageCount);
        json.Int("soldCount", p.SoldCount);
        json.Amount("monthlyRepayment", p.MonthlyRepayment);
        json.Close('}');
    }
    json.Close(']');

    json.Open("news", '[');
    for (std::size_t k = 0; k < game.NewsItems.size(); ++k) {
        json.Open(nullptr, '{');
        json.Int("n", static_cast<long long>(k + 1));
        json.Bool("shown", game.NewsItems[k].Shown);
        json.Close('}');
    }
    json.Close(']');
}

void WriteWindow(JsonWriter& json, const Tmainform& form) {
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
    json.String("speed", consoletext::SpeedName(ticker.Speed()));
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
    json.String("speed", consoletext::SpeedName(ticker.Speed()));
    json.Close('}');

    WriteList(json, "avail", view.Avail);
    WriteList(json, "portfolio", view.Portfolio);
    json.Close('}');
}

}  // namespace

std::string StateJson::Write(const TRealtopia& app) {
    JsonWriter json;
    json.Open(nullptr, '{');
    WriteGame(json, app.mainform.Game());
    WriteWindow(json, app.mainform);
    json.Close('}');
    return json.Text();
}

std::string StateJson::Quote(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const consoletext::TUtf8Character c = consoletext::DecodeUtf8(text, i);
        i += c.Length;
        if (!c.Valid) {
            quoted += consoletext::kReplacementCharacter;  // JSON text is UTF-8
        } else if (c.CodePoint == '"') {
            quoted += "\\\"";
        } else if (c.CodePoint == '\\') {
            quoted += "\\\\";
        } else if (c.CodePoint == '\r') {
            quoted += "\\r";
        } else if (c.CodePoint == '\n') {
            quoted += "\\n";
        } else if (c.CodePoint == '\t') {
            quoted += "\\t";
        } else if (consoletext::IsControl(c.CodePoint)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c.CodePoint));
            quoted += escape;
        } else {
            quoted.append(text, i - c.Length, c.Length);
        }
    }
    quoted += '"';
    return quoted;
}
