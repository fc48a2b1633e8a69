// What the page draws: the splash's texts, or everything the main window shows, as JSON.

#include "frontend/JsonWriter.h"
#include "frontend/ListJson.h"
#include "ui/DisplayText.h"
#include "ui/Inputs.h"
#include "ui/MainWindowView.h"
#include "ui/MenuTree.h"
#include "web/SplashTexts.h"
#include "web/WebFrontEnd.h"
#include "windows/TRealtopia.h"

using displaytext::PlainCaption;
using displaytext::WithLineFeeds;

namespace {

// The letter after a caption's "&", lower case, or "".
std::string Accelerator(const std::string& caption) {
    const char letter = displaytext::AcceleratorLetter(caption);
    return letter != 0 ? std::string(1, letter) : std::string();
}

void Caption(TJsonWriter& json, const char* key, const std::string& caption) {
    json.Open(key, '{');
    json.String("text", PlainCaption(caption)).String("accelerator", Accelerator(caption));
    json.Close('}');
}

const char* ScreenName(WebFrontEnd::Screen screen) {
    switch (screen) {
        case WebFrontEnd::Screen::Main:
            return "main";
        case WebFrontEnd::Screen::Ended:
            return "ended";
        case WebFrontEnd::Screen::Splash:
            break;
    }
    return "splash";
}

const TButtonView& ButtonView(const TMainWindowView& view, TCommand command) {
    switch (command) {
        case TCommand::BuySell:
            return view.BuySell;
        case TCommand::DamRen:
            return view.DamRen;
        case TCommand::Mortgage:
            return view.Mortgage;
        case TCommand::Email:
            return view.Email;
        case TCommand::Exit:
            return view.Exit;
        case TCommand::Rules:
            return view.Rules;
        default:
            break;
    }
    return view.Start;
}

void WriteSplash(TJsonWriter& json, const TRealtopia& app) {
    json.Open("splash", '{');
    for (const TSplashText& text : SplashTexts(app.Title())) {
        json.String(text.Key.c_str(), text.Text);
        if (!text.Hint.empty()) json.String((text.Key + "Hint").c_str(), text.Hint);
    }
    json.Close('}');
}

void WriteMenuEntries(TJsonWriter& json, const std::vector<TMenuEntry>& entries) {
    for (const TMenuEntry& entry : entries) {
        if (entry.Type == TMenuEntry::Kind::Separator) continue;
        json.Open(nullptr, '{');
        Caption(json, "caption", entry.Caption);
        if (entry.Type == TMenuEntry::Kind::Menu) {
            json.Open("items", '[');
            WriteMenuEntries(json, entry.Items);
            json.Close(']');
        } else {
            json.String("control", "menu:" + entry.Name).String("key", entry.Shortcut);
            json.Bool("enabled", entry.Enabled).Bool("checked", entry.Checked);
            json.Bool("checkable", entry.Checkable);
        }
        json.Close('}');
    }
}

void WriteMenus(TJsonWriter& json, const Tmainform& form) {
    json.Open("menus", '[');
    WriteMenuEntries(json, MenuTree(form));
    json.Close(']');
}

// The keys the window uses, and the combinations that act on their press: the page
// keeps the browser's meaning of them away and hands a focused list only what it sees.
void WriteInputs(TJsonWriter& json, const Tmainform& form) {
    json.Open("inputs", '[');
    for (const TInput& input : Inputs()) {
        if (input.Key == TKey::Other) continue;
        json.Open(nullptr, '{');
        json.String("key", input.WebName).String("name", input.Name);
        // Enter presses a button on its press: the window's too.
        json.Bool("window", input.Command.has_value() || input.Key == TKey::Enter);
        json.Bool("list", input.ListSees);
        json.Close('}');
    }
    json.Close(']');
    json.Open("accelerators", '[');
    for (const TAccelerator& accelerator : form.Accelerators()) {
        json.Open(nullptr, '{');
        json.String("key", std::string(1, accelerator.Letter));
        json.Bool("alt", accelerator.Modifiers == kAlt);
        json.Bool("ctrl", accelerator.Modifiers == kControl);
        json.String("name", AcceleratorName(accelerator));
        if (accelerator.FocusList)
            json.String("focus", *accelerator.FocusList == TList::Avail ? "avail" : "portfolio");
        json.Close('}');
    }
    json.Close(']');
}

void WriteTexts(TJsonWriter& json, const std::vector<TDrawnText>& texts, const char* key) {
    json.Open(key, '[');
    for (const TDrawnText& text : texts) {
        json.Open(nullptr, '{');
        json.Int("x", text.X).String("text", text.Text).Int("color", text.Color);
        json.Close('}');
    }
    json.Close(']');
}

void WriteTicker(TJsonWriter& json, const TMarquee& ticker, unsigned revision) {
    const TMarqueeRect area = ticker.DrawingArea();
    json.Open("ticker", '{');
    json.Int("revision", revision);
    json.Int("left", area.Left).Int("top", area.Top).Int("width", area.Width);
    json.Int("height", area.Height).Int("color", ticker.Color());
    json.String("hint", hints::Ticker);
    json.String("spoken", ticker.SpokenText());
    WriteTexts(json, ticker.Strip(), "strip");
    WriteTexts(json, ticker.Overlay(), "overlay");
    json.Close('}');
}

void WriteSelectSeveral(TJsonWriter& json, bool several) {
    json.Open("selectSeveral", '{');
    json.Bool("on", several).String("text", TListSelection::SeveralCaption);
    json.String("hint", TListSelection::SeveralHint);
    json.Close('}');
}

void WriteWindow(TJsonWriter& json, const Tmainform& form, unsigned stripRevision, bool several) {
    const TMainWindowView& view = form.View();
    json.Open("window", '{');
    json.String("caption", view.Caption).String("status", view.Status);
    json.String("cash", view.CashPanel).String("portfolioValue", view.PortfolioPanel);
    json.String("debt", view.DebtPanel).String("info", WithLineFeeds(view.Info));
    json.String("areaCaption", WithLineFeeds(view.AreaCaption));
    json.Open("areas", '[');
    for (int area = 1; area <= kAreaCount; ++area) {
        json.Open(nullptr, '{');
        json.String("control", "picture:area" + std::to_string(area));
        json.Bool("red", view.AreaFrameRed[static_cast<std::size_t>(area - 1)]);
        json.String("hint", view.AreaHints[static_cast<std::size_t>(area - 1)]);
        json.Close('}');
    }
    json.Close(']');
    json.String("trendText", view.TrendText).String("trend", TrendPictureName(view.TrendPicture));
    json.String("stage", view.StageText).String("month", view.MonthLabel);
    json.Int("clockPercent", view.ClockPercent());
    json.Int("progressPercent", view.ProgressPercent()).String("progressText", view.ProgressText());
    json.Open("timer", '{');
    json.Bool("enabled", view.TimerEnabled).Int("due", view.TimerDue);
    json.Int("generation", view.TimerGeneration);
    json.Close('}');
    json.Bool("focusStart", view.FocusStart).Int("listsRevision", view.ListsRevision);

    json.Open("buttons", '{');
    for (const std::string& name : CommandNames(TCommandKind::Button)) {
        const TCommand command = *FindCommand(TCommandKind::Button, name);
        const TButtonView& button = ButtonView(view, command);
        json.Open(name.c_str(), '{');
        json.String("text", PlainCaption(button.Caption));
        json.String("accelerator", Accelerator(button.Caption));
        json.Bool("enabled", form.Enabled(command)).String("hint", button.Hint);
        json.String("control", "button:" + name);
        json.Close('}');
    }
    json.Close('}');
    WriteMenus(json, form);
    WriteInputs(json, form);
    WriteListJson(json, "avail", view.Avail, true);
    WriteListJson(json, "portfolio", view.Portfolio, true);
    WriteSelectSeveral(json, several);

    json.Open("labels", '{');
    Caption(json, "availTitle", captions::AvailTitle);
    Caption(json, "portfolioTitle", captions::PortfolioTitle);
    Caption(json, "infoTitle", captions::InfoTitle);
    Caption(json, "progress", captions::Progress);
    Caption(json, "statusTitle", captions::StatusTitle);
    json.Close('}');

    json.Open("hints", '{');
    json.String("currentFund", hints::CurrentFund).String("portfolio", hints::Portfolio);
    json.String("debt", hints::Debt).String("availTitle", hints::AvailTitle);
    json.String("portfolioTitle", hints::PortfolioTitle).String("lists", hints::Lists);
    json.String("areas", hints::Areas).String("trend", hints::Trend);
    json.String("clock", hints::Clock).String("month", hints::Month);
    json.String("sponsor", hints::Sponsor).String("progress", hints::Progress);
    json.String("status", hints::Status).String("statusBar", hints::StatusBar);
    json.Close('}');

    WriteTicker(json, form.mq(), stripRevision);
    json.Close('}');
}

}  // namespace

std::string WebFrontEnd::ViewJson() const {
    TJsonWriter json;
    json.Open(nullptr, '{');
    json.String("screen", ScreenName(screen_)).Bool("dialogOpen", DialogOpen());
    WriteSplash(json, *app_);
    if (screen_ == Screen::Main) WriteWindow(json, app_->mainform, stripRevision_, selectSeveral_);
    json.Close('}');
    return json.Text();
}

std::string WebFrontEnd::TickerJson() const {
    TJsonWriter json;
    json.Open(nullptr, '{');
    WriteTicker(json, app_->mainform.mq(), stripRevision_);
    json.Close('}');
    return json.Text();
}
