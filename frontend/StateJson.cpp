#include "frontend/StateJson.h"

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

void WriteGame(TJsonWriter& json, const TGame& game) {
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
    WriteGame(json, app.mainform.Game());
    WriteWindow(json, app.mainform);
    json.Close('}');
    return json.Text();
}
