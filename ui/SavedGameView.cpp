// Saving what the main window shows with the game, and showing a saved game again.

#include "ui/SavedGameView.h"

#include <algorithm>
#include <memory>

#include "ui/Tmainform.h"

namespace {

// A row's property name: the text before its price in brackets.
std::string NameOfRow(const std::string& text) {
    const std::size_t price = text.rfind(" (");
    return price == std::string::npos ? text : text.substr(0, price);
}

std::vector<TSavedRow> RowsOf(const TListView& list) {
    std::vector<TSavedRow> rows;
    for (const TListRow& row : list.Rows) rows.push_back({row.Text, row.Selected, row.Property});
    return rows;
}

// The saved row showed the property of the row just refilled. A file of format 2 or older
// kept no property, only the text: there the names must agree.
bool SameProperty(const TSavedRow& saved, const TListRow& row) {
    if (saved.Property != 0) return saved.Property == row.Property;
    return NameOfRow(saved.Text) == NameOfRow(row.Text);
}

// Puts back the rows as they were shown (prices that the window had not redrawn yet included)
// and their selection, when they show the same properties as the rows just refilled. Rows
// that do not are left as refilled, with nothing selected.
void RestoreRows(TListView& list, const std::vector<TSavedRow>& saved) {
    if (saved.size() != list.Rows.size()) return;
    for (std::size_t i = 0; i < saved.size(); ++i)
        if (!SameProperty(saved[i], list.Rows[i])) return;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (list.Rows[i].Text != saved[i].Text) {
            list.Rows[i].Text = saved[i].Text;
            // The same property, so the same name; NameLength stays inside the text whatever
            // a file says.
            list.Rows[i].NameLength = std::min(list.Rows[i].NameLength, saved[i].Text.size());
            list.Rows[i].TextVersion = 0;  // made again at the next refill
        }
        list.Rows[i].Selected = saved[i].Selected;
    }
}

}  // namespace

std::string ContinueQuestion(const TSavedGame& saved, const TGame& current) {
    return "Continue your game of " + current.MonthName(saved.State.Month) + " " +
           std::to_string(saved.State.Year) + " (net worth " +
           FormatPounds(saved.NetWorth(current)) + ")?";
}

TSavedWindow SavedWindowOf(const Tmainform& form) {
    const TMainWindowView& view = form.View();
    TSavedWindow window;
    window.Caption = view.Caption;
    window.Status = view.Status;
    window.CashPanel = view.CashPanel;
    window.PortfolioPanel = view.PortfolioPanel;
    window.DebtPanel = view.DebtPanel;
    window.Info = view.Info;
    window.AreaCaption = view.AreaCaption;
    window.TrendText = view.TrendText;
    window.TrendPicture = static_cast<std::int32_t>(view.TrendPicture);
    window.StageText = view.StageText;
    window.MonthLabel = view.MonthLabel;
    window.Clock = view.Clock;
    window.BuySellCaption = view.BuySell.Caption;
    window.DamRenCaption = view.DamRen.Caption;
    window.MortgageCaption = view.Mortgage.Caption;
    window.TickerText = form.mq().Text();
    window.TickerActive = form.mq().Active();
    window.TickerOnScreen = form.mq().OnScreen();
    window.TimerInterval = view.TimerInterval;
    window.TimerLeft = static_cast<std::int32_t>(form.ClockLeft());
    window.Progress = view.Progress;
    window.Typed = form.CheatBuffer();
    window.Avail = RowsOf(view.Avail);
    window.Portfolio = RowsOf(view.Portfolio);
    return window;
}

bool SaveGameOf(const Tmainform& form, const std::string& path, std::string& why) {
    // A game watched is not the player's.
    if (!form.Game().GameInProgress() || form.Watching()) {
        why = "no game in progress";
        return false;
    }
    return WriteSavedGame(path, TSavedGame::Capture(form.Game(), SavedWindowOf(form)), why);
}

bool SaveGameOnExit(const Tmainform& form) {
    std::string why;
    return SaveGameOf(form, form.Game().SavedGamePath(), why);
}

bool TGameKeeper::Keep(Tmainform& form) {
    if (!form.Game().GameInProgress() || form.Watching()) {
        written_.clear();
        return false;
    }
    const TSavedGame saved = TSavedGame::Capture(form.Game(), SavedWindowOf(form));
    std::string bytes = saved.ToBytes();
    if (bytes == written_) return false;
    const std::string path = form.Game().SavedGamePath();
    std::string why;
    if (!WriteSavedGame(path, saved, why)) return false;
    written_ = std::move(bytes);
    // A game dealt afresh is now kept too: its end removes the file, as a resumed one's does.
    form.Rules().ResumedFrom = path;
    return true;
}

void OfferSavedGame(Tmainform& form, std::function<void(bool resumed)> done) {
    auto finish = [done](bool resumed) {
        if (done) done(resumed);
    };
    const std::string path = form.Game().SavedGamePath();
    auto saved = std::make_shared<TSavedGame>();
    std::string why;
    switch (ReadSavedGame(path, *saved, why)) {
        case TSavedGameRead::Missing:
            return finish(false);
        case TSavedGameRead::Unreadable:
            SetAsideSavedGame(path);
            return form.Boxes().ShowInformation(kUnreadableSavedGame, [finish] { finish(false); });
        case TSavedGameRead::Read:
            break;
    }
    form.Boxes().AskYesNo(ContinueQuestion(*saved, form.Game()),
                          [&form, saved, path, finish](bool yes) {
                              if (!yes) {
                                  RemoveSavedGame(path);
                                  return finish(false);
                              }
                              form.ShowSavedGame(*saved, path);
                              finish(true);
                          });
}

void Tmainform::ShowSavedGame(const TSavedGame& saved, const std::string& resumedFrom) {
    const TSavedWindow& shown = saved.Window;
    saved.ApplyTo(game_);
    if (!resumedFrom.empty()) game_.ResumedFrom = resumedFrom;
    // The game's record goes on from the one kept beside the saved game, if that leads here.
    TGameRecord record;
    std::string why;
    if (ReadGameRecord(game_.RecordPath(), record, why))
        ResumeRecord(record, game_);
    else
        game_.AdoptRecord(TGameRecord(), false);
    FollowChallenge();

    // The frames, the hints and the lists from the game; then the rows as they were shown.
    for (int a = 1; a <= kAreaCount; ++a)
        view_.AreaHints[static_cast<std::size_t>(a - 1)] = game_.State().Area(a).Name;
    ClearSelections();
    ShowAreaInfo();
    RestoreRows(view_.Avail, shown.Avail);
    RestoreRows(view_.Portfolio, shown.Portfolio);
    ++view_.ListsRevision;
    SelectionChanged();

    // Every text as it was shown. The window redraws a panel only when the rules say so, so
    // what it showed is not always what the game would draw now; nor is it redrawn here, since
    // drawing the panels settles the selection's totals and modes, which must stay as saved.
    view_.Caption = shown.Caption;
    view_.Status = shown.Status;
    view_.CashPanel = shown.CashPanel;
    view_.PortfolioPanel = shown.PortfolioPanel;
    view_.DebtPanel = shown.DebtPanel;
    view_.Info = shown.Info;
    infoTotals_ = {game_.State().BuyTotal,
                   game_.State().SellTotal};  // the panel shows the saved selection
    view_.AreaCaption = shown.AreaCaption;
    view_.TrendText = shown.TrendText;
    view_.TrendPicture = static_cast<TTrendPicture>(shown.TrendPicture);
    view_.StageText = shown.StageText;
    announcedStage_ = game_.State().Stage;  // reached before the break: not news now
    view_.MonthLabel = shown.MonthLabel;
    view_.Clock = shown.Clock;
    view_.BuySell.Caption = shown.BuySellCaption;
    view_.DamRen.Caption = shown.DamRenCaption;
    view_.Mortgage.Caption = shown.MortgageCaption;
    view_.ProgressMax = TGame::kProgressMaximum;
    view_.Progress = shown.Progress;
    cheatBuffer_ = shown.Typed;
    mq_.SetOnScreen(shown.TickerOnScreen);
    mq_.SetText(shown.TickerText);
    mq_.SetActive(shown.TickerActive);
    // The month goes on with the time it had left.
    clock_.Stop(effects_.Now());
    clock_.Reset(shown.TimerInterval, shown.TimerLeft);
    ClockChanged();
    view_.Start.Enabled = true;
    // The money and the month are the game's own from the first frame, whatever the file's
    // texts say. (The title names the date from the first month played on, and the trend
    // shown is the last that moved the market.)
    ShowMoneyPanels(game_.PanelFigures());
    view_.MonthLabel = game_.MonthName(game_.State().Month);
    view_.Clock = game_.State().Month;

    // Paused, as a game is when the player pauses it there: Play (Esc) goes on. A game saved
    // while a question waited asks it again.
    PauseGame();
    ApplyGameEvents();
}
