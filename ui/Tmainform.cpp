#include "ui/Tmainform.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "ui/DisplayText.h"

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Writes `text` unless `to` already holds it: a refresh seldom changes a caption.
void Put(std::string& to, std::string_view text) {
    if (to != text) to.assign(text);
}

bool AnySelected(const TListView& list) {
    return list.AnySelected();
}

}  // namespace

Tmainform::Tmainform(IMainFormHost& host, IEffects& effects, TPlatform platform)
    : host_(host),
      boxes_(
          effects, [this] { HoldClock(); }, [this] { ReleaseClock(); }),
      effects_(boxes_),
      game_(std::move(platform)),
      questions_(
          game_, effects_, host_, [this] { TakeGameEvents(); },
          [this] { return ChallengeEnding(); }) {
    // The news ticker under the money panels.
    mq_.SetBevelOuter(bvLowered);
    mq_.SetBevelWidth(1);
    mq_.SetColor(0x000000);
    mq_.SetSpeed(tsMedium);
    mq_.SetPauseAmount(100);
    mq_.SetDoPause(true);
    mq_.SetOnScreen(true);
    mq_.SetDirection(tdLeft);
    mq_.Resize(722, 31);
}

std::string Tmainform::RowText(const TProperty& property) {
    std::string text;
    TDisplayTexts::WriteRow(text, property);
    return text;
}

// ---------------------------------------------------------------- the game's events

void Tmainform::ApplyGameEvents() {
    TakeGameEvents();
    // A watched game's questions were answered when it was played: the record holds the answers.
    if (!Watching()) questions_.Ask();
}

void Tmainform::TakeGameEvents() {
    // One event at a time, taken before it is applied: a box or a repaint while it is applied
    // may let the player move, whose events then follow the ones of this move. Each is applied
    // where it lies in the outbox, not copied out.
    TGameEvents& events = game_.Events();
    events.BeginTaking();
    while (const TGameEvent* event = events.Next()) Apply(*event);
    events.EndTaking();
}

void Tmainform::Play(TMoveKind kind) {
    game_.Apply(TMove::Of(kind));
}

void Tmainform::Apply(const TGameEvent& event) {
    switch (event.Kind) {
        case TGameEventKind::PanelsChanged: {
            // The event lies in the outbox, which a move made meanwhile may move: its figures
            // are read first.
            const TPanelFigures figures = event.Panels;
            RefreshDisplay(figures);
            break;
        }
        case TGameEventKind::CashChanged:
            ShowCash(event.Amount);
            break;
        case TGameEventKind::ListsChanged:
            RefillLists();
            break;
        case TGameEventKind::AreaChanged:
            ShowAreaInfo();
            break;
        case TGameEventKind::SelectionsCleared:
            ClearSelections();
            break;
        case TGameEventKind::NewGame:
            // The new world's sound option follows the device as it is now.
            game_.Apply([this] {
                TMove sound = TMove::Of(TMoveKind::SoundOn);
                sound.Flag = SoundDeviceWorks();
                return sound;
            }());
            ResetWindow();
            break;
        case TGameEventKind::Paused:
            ShowPaused();
            break;
        case TGameEventKind::Resumed: {
            const TPanelFigures figures = event.Panels;
            ShowResumed(&figures);
            break;
        }
        case TGameEventKind::StatusText:
            SetStatusText(event.Text);
            break;
        case TGameEventKind::NetWorth:
            ShowNetWorth(event.Amount);
            break;
        case TGameEventKind::DateChanged:
            ShowDate(event.Number, event.Year);
            break;
        case TGameEventKind::Progress:
            SetProgress(event.Number);
            break;
        case TGameEventKind::ProgressFull:
            SetProgressToMaximum();
            break;
        case TGameEventKind::PlayEnabled:
            EnablePlay();
            break;
        case TGameEventKind::ClockStopped:
            StopMainTimer();
            break;
        case TGameEventKind::TickerStopped:
            TickerStop();
            break;
        case TGameEventKind::TickerText:
            SetTickerText(event.Text);
            break;
        case TGameEventKind::TickerActive:
            SetTickerActive(event.Flag);
            break;
        case TGameEventKind::Sound:
            PlaySoundResource(event.Sound, event.Flag);
            break;
        case TGameEventKind::ProgramEnds:
            ExitProgram();
            break;
    }
}

// ---------------------------------------------------------------- display operations

void Tmainform::RefreshDisplay() {
    RefreshDisplay(game_.PanelFigures());
}

void Tmainform::ShowMoneyPanels(const TPanelFigures& figures) {
    // The portfolio's value moves only with the market (or when the player joins in).
    const TGame& game = game_;
    texts_.Portfolio.Show(view_.PortfolioPanel,
                          {static_cast<std::int64_t>(game.MarketRevision()), game.State().Engaged},
                          [&](std::string& text) {
                              text.assign("Portfolio Value: ");
                              AppendPounds(text, game.PortfolioValue());
                          });
    ShowCash(figures.Cash);
    texts_.Debt.Show(view_.DebtPanel, {figures.Debt.Raw(), figures.Repayment.Raw()},
                     [&](std::string& text) {
                         text.assign("Owe: ");
                         AppendPounds(text, figures.Debt);
                         text.append(" (\u00A3");
                         AppendTwoDecimals(text, figures.Repayment);
                         text.append("/m)");
                     });
}

void Tmainform::RefreshDisplay(const TPanelFigures& figures) {
    ShowAreaAverage();
    ShowMoneyPanels(figures);

    switch (figures.Side) {
        case TSelectionSide::None:
            if (!AnySelected(view_.Avail)) {
                Put(view_.DamRen.Caption, "Damage/Renovate");
                Put(view_.BuySell.Caption, "Buy/Sell");
                Put(view_.Info, "Click on a property");
            }
            break;
        case TSelectionSide::ForSale:
            Put(view_.BuySell.Caption, "Buy (F6)");
            Put(view_.DamRen.Caption, "Damage (F5)");
            FollowPrices();
            break;
        case TSelectionSide::Portfolio:
            Put(view_.BuySell.Caption, "Sell (F6)");
            Put(view_.DamRen.Caption, "Renovate (F5)");
            FollowPrices();
            break;
    }

    switch (figures.Mortgage) {
        case TMortgageMode::None:
            if (!AnySelected(view_.Portfolio)) {
                Put(view_.Mortgage.Caption, "Mortgage/Redeem");
                view_.Mortgage.Enabled = false;
            }
            break;
        case TMortgageMode::CanMortgage:
            Put(view_.Mortgage.Caption, "Mortgage (F7)");
            view_.Mortgage.Enabled = true;
            break;
        case TMortgageMode::CanRedeem:
            Put(view_.Mortgage.Caption, "Redeem (F7)");
            view_.Mortgage.Enabled = true;
            break;
    }

    switch (figures.Trend) {
        case Risen:
            Put(view_.TrendText, "Market has risen");
            view_.TrendPicture = TTrendPicture::Risen;
            break;
        case Fallen:
            Put(view_.TrendText, "Market has fallen");
            view_.TrendPicture = TTrendPicture::Fallen;
            break;
        default:
            Put(view_.TrendText, "Market is steady");
            view_.TrendPicture = TTrendPicture::Steady;
            break;
    }
    texts_.Stage.Show(view_.StageText, {figures.Stage},
                      [&](std::string& text) { text = Upper(TGame::StageName(figures.Stage)); });
    // A stage reached is said as the status panel shows it; a new game starts again below.
    if (announcedStage_ > 0 && figures.Stage > announcedStage_)
        effects_.Announce(std::string(captions::StatusTitle) + ": " + view_.StageText);
    announcedStage_ = figures.Stage;
}

void Tmainform::Redraw() {
    Play(TMoveKind::SettleSelection);
    RefreshDisplay();
}

void Tmainform::ShowCash(Money cash) {
    texts_.Cash.Show(view_.CashPanel, {cash.Raw()}, [&](std::string& text) {
        text.assign("Current Cash: ");
        AppendPounds(text, cash);
    });
}

void Tmainform::RefillLists() {
    // The rows are written over in place: a row keeps its selection by position, not by
    // property, and its text is made again only when its property's figures changed.
    std::size_t avail = 0;
    std::size_t portfolio = 0;
    auto put = [this](TListView& list, std::size_t& at, int n, const TProperty& p) {
        if (at == list.Rows.size()) list.Rows.emplace_back();
        texts_.PutRow(list.Rows[at++], n, p);
    };
    for (int n = 1; n <= kPropertyCount; ++n) {
        const TProperty& p = game_.State().Property(n);
        if (p.Has(Owned))
            put(view_.Portfolio, portfolio, n, p);
        else if (p.Area == game_.State().CurrentArea)
            put(view_.Avail, avail, n, p);
    }
    view_.Avail.Rows.resize(avail);
    view_.Portfolio.Rows.resize(portfolio);
    ++view_.ListsRevision;
    SelectionChanged();
}

void Tmainform::ShowAreaInfo() {
    for (int a = 1; a <= kAreaCount; ++a)
        view_.AreaFrameRed[static_cast<std::size_t>(a - 1)] = (a == game_.State().CurrentArea);
    RefillLists();
    ShowAreaAverage();
}

// The area's caption with the average price of what is for sale: after every change of
// prices too (a headline, a trend), not only when the area is chosen.
void Tmainform::ShowAreaAverage() {
    // Made again only when the market moved or another area is shown.
    const int area = game_.State().CurrentArea;
    texts_.Area.Show(
        view_.AreaCaption, {static_cast<std::int64_t>(game_.MarketRevision()), area},
        [&](std::string& text) {
            Money sum;
            int count = 0;
            for (const TProperty& p : game_.State().Properties) {
                if (p.Area != area || p.Has(Owned)) continue;
                sum += p.BuyPrice;
                ++count;
            }
            text.assign("Current Area: ").append(game_.State().Area(area).Name).append("\r\n");
            if (sum > Money() && count > 0) {
                text.append("Average price: ");
                AppendPounds(text, sum.MulDiv(1, count));
            } else {
                text.append("All properties sold");
            }
        });
}

void Tmainform::ClearSelections() {
    bool changed = false;
    for (TListView* list : {&view_.Avail, &view_.Portfolio})
        for (TListRow& row : list->Rows) {
            changed = changed || row.Selected;
            row.Selected = false;
        }
    if (changed) ++view_.ListsRevision;
    SelectionChanged();
}

void Tmainform::ResetWindow() {
    // A new game starts with the window's first title and status line.
    view_.Caption = TMainWindowView().Caption;
    view_.Status = TMainWindowView().Status;
    view_.QuitReplayEnabled = false;
    view_.Progress = 0;
    Play(TMoveKind::Disengage);
    view_.Avail.Rows.clear();
    ++view_.ListsRevision;
    SelectionChanged();
    for (int a = 1; a <= kAreaCount; ++a)
        view_.AreaHints[static_cast<std::size_t>(a - 1)] = game_.State().Area(a).Name;
    Play(TMoveKind::StopClock);
    // Before PLAY the clock only keeps the ticker inviting the player, which nobody sees
    // while the window is hidden: it waits for FormShow.
    if (view_.Visible) {
        clock_.Start(kIdleInterval, effects_.Now());
    } else {
        clock_.Stop(effects_.Now());
        clock_.Reset(kIdleInterval);
    }
    ClockChanged();
    SetTradingEnabled(false);
    view_.Mortgage.Enabled = false;
    ProcessMessages();
    Play(TMoveKind::ResetPlay);
    view_.Clock = game_.State().Month;
    view_.MonthLabel = game_.MonthName(game_.State().Month);
    ShowAreaInfo();
    Redraw();
    mq_.SetText("Press PLAY to start ");
    mq_.SetActive(view_.Visible);
    view_.Start.Enabled = true;
    ClearSelections();
}

void Tmainform::PauseGame() {
    Play(TMoveKind::Pause);
    ShowPaused();
}

void Tmainform::ShowPaused() {
    view_.QuitReplayEnabled = false;
    clock_.Stop(effects_.Now());
    ClockChanged();
    SetTradingEnabled(false);
    view_.Mortgage.Enabled = false;
    ProcessMessages();
    view_.Start.Caption = "Play (Esc)";
    view_.Start.Hint = "Press me to Play";
    mq_.Stop();
}

void Tmainform::ResumeGame() {
    Play(TMoveKind::Resume);
    ShowResumed(nullptr);
}

// `figures`: the panels as the rules left them when they resumed; none when the window
// resumes the game itself, which then settles the selection and redraws.
void Tmainform::ShowResumed(const TPanelFigures* figures) {
    view_.QuitReplayEnabled = true;
    clock_.Resume(effects_.Now());
    ClockChanged();
    SetTradingEnabled(true);
    view_.Start.Caption = "Pause (Esc)";
    view_.Start.Hint = "Press me to Pause";
    ProcessMessages();
    if (figures != nullptr)
        RefreshDisplay(*figures);
    else
        Redraw();
    mq_.SetActive(true);
}

void Tmainform::SetStatusText(const std::string& text) {
    view_.Status = text;
}

void Tmainform::ShowNetWorth(Money worth) {
    texts_.Worth.Show(view_.Status, {worth.Raw()}, [&](std::string& text) {
        text.assign("Net Worth: ");
        AppendPounds(text, worth);
    });
}

void Tmainform::ShowDate(int month, int year) {
    const std::string& name = game_.MonthName(month);
    view_.MonthLabel = name;
    view_.Clock = month;
    // Written in place: a month makes no new text.
    view_.Caption.assign(kApplicationTitle).append(" - ").append(name).append(", ");
    view_.Caption.append(std::to_string(year));
}

void Tmainform::SetProgress(int position) {
    view_.Progress = std::clamp(position, 0, view_.ProgressMax);
}

void Tmainform::SetProgressToMaximum() {
    view_.Progress = view_.ProgressMax;
}

void Tmainform::EnablePlay() {
    view_.Start.Enabled = true;
}

void Tmainform::StopMainTimer() {
    clock_.Stop(effects_.Now());
    ClockChanged();
}

void Tmainform::TickerStop() {
    mq_.Stop();
}
void Tmainform::SetTickerText(const std::string& text) {
    mq_.SetText(text);
    // A new text on the ticker (a headline, the welcome, the end of the game) is said once;
    // the invitation to press PLAY, told again every few seconds, only the first time.
    const std::string spoken = mq_.SpokenText();
    if (spoken.empty() || spoken == announcedTicker_) return;
    announcedTicker_ = spoken;
    effects_.Announce(spoken);
}
void Tmainform::SetTickerActive(bool active) {
    mq_.SetActive(active);
}

void Tmainform::PlayClick() {
    PlaySoundResource(TSound::Click, false);
}

void Tmainform::PlaySoundResource(TSound sound, bool wait) {
    if (!game_.State().SoundOn) return;
    const std::string name = SoundResourceName(sound);
    switch (effects_.PlaySound(name, wait)) {
        case IEffects::SoundResult::NotFound:
            effects_.ShowError(name, "Could not find this Resource", {});
            break;
        case IEffects::SoundResult::NotLoaded:
            effects_.ShowError(name, "Could not load this Resource", {});
            break;
        case IEffects::SoundResult::Bad:
            effects_.ShowError(name, "Resource bad.", {});
            break;
        case IEffects::SoundResult::Played:
            break;
    }
}

bool Tmainform::SoundDeviceWorks() {
    const bool works = effects_.SoundDeviceWorks();
    game_.SetSoundDeviceWorks(works);
    view_.SoundChecked = works;
    return works;
}

void Tmainform::ProcessMessages() {
    effects_.ProcessEvents();
}

void Tmainform::ExitProgram() {
    host_.ExitProgram();
}

// ---------------------------------------------------------------- selection

void Tmainform::ShowSelectionInfo() {
    view_.Info = SelectionInfo();
    infoTotals_ = {game_.State().BuyTotal, game_.State().SellTotal};
}

void Tmainform::FollowPrices() {
    // The panel is written again only when a price movement changed the totals it shows.
    if (infoTotals_ != std::pair{game_.State().BuyTotal, game_.State().SellTotal})
        ShowSelectionInfo();
}

std::string Tmainform::SelectionInfo() const {
    const bool forSale = game_.State().SelectionSide == TSelectionSide::ForSale;
    std::string info;
    if (game_.State().Selection.size() == 1) {
        const TProperty& p = game_.State().Property(game_.State().Selection.front());
        info = p.Name + " (" + game_.State().Area(p.Area).Name + ")\r\n" + p.Description + "\r\n";
        if (forSale) {
            info += "Buy: " + FormatPounds(game_.State().BuyTotal) +
                    " - Sell: " + FormatPounds(game_.State().SellTotal);
            if (p.Has(Damaged)) info += " -Damaged";
            if (p.Has(Renovated)) info += " -Renovated";
            info += "\r\n";
        } else {
            info += "To Buy: " + FormatPounds(game_.State().BuyTotal) +
                    " - To Sell: " + FormatPounds(game_.State().SellTotal);
        }
    } else {
        info = std::string(forSale ? "A nice block of properties." : "A block of properties.") +
               "\r\nTo Buy: " + FormatPounds(game_.State().BuyTotal) +
               " - To Sell: " + FormatPounds(game_.State().SellTotal);
    }
    return info;
}

void Tmainform::ApplicationHint(const std::string& hint) {
    view_.Status = hint;
}

// ---------------------------------------------------------------- helpers

void Tmainform::SelectionChanged() {
    // A watched game's rows selected are the record's (ui/Watch.cpp shows them).
    if (Watching()) return;
    for (List list : {List::Avail, List::Portfolio}) {
        const TListView& rows = ListOf(list);
        // A move, so that a game's record holds what the rules were told.
        TMove move = TMove::Numbered(
            TMoveKind::SelectRows,
            static_cast<int>(std::count_if(rows.Rows.begin(), rows.Rows.end(),
                                           [](const TListRow& row) { return row.Selected; })));
        move.List = list;
        if (game_.State().RowsSelected[list == TList::Avail ? 0 : 1] != move.Number)
            game_.Apply(move);
    }
}

void Tmainform::SetTradingEnabled(bool enabled) {
    view_.DamRen.Enabled = enabled;
    view_.BuySell.Enabled = enabled;
    view_.Avail.Enabled = enabled;
    view_.Portfolio.Enabled = enabled;
}
