// The main window's controller: what the player's commands, keys and list events mean (the
// handlers, which the command surface in ui/CommandSurface.cpp calls), the moves they make of
// the game, and the game clock. What the window shows of it is ui/Tmainform.cpp's; the
// questions the game asks go through ui/QuestionLoop.h.

#include <string>

#include "ui/Addresses.h"
#include "ui/Tmainform.h"

namespace {

constexpr const char* kCheatPhrase = "wadofcash";

}  // namespace

// ---------------------------------------------------------------- handlers

void Tmainform::FormCreate() {
    SoundDeviceWorks();
    game_.InitWorld();
    ApplyGameEvents();
    ResetWindow();
}

void Tmainform::tmr_mainTimer() {
    if (Watching()) {
        WatchStep();
        return;
    }
    if (!clock_.Fire(effects_.Now())) return;
    ClockChanged();
    Play(TMoveKind::Tick);
    ApplyGameEvents();
}

void Tmainform::cmd_StartClick() {
    PlayClick();
    if (game_.State().Paused) {
        ResumeGame();
        return;
    }
    if (game_.State().Running) {
        PauseGame();
        return;
    }
    // A new game, whose first month is a full interval away.
    view_.ProgressMax = TGame::kProgressMaximum;
    view_.Progress = 0;
    Play(TMoveKind::Start);
    view_.QuitReplayEnabled = true;
    mq_.SetActive(false);
    clock_.Stop(effects_.Now());
    ClockChanged();
    ProcessMessages();
    clock_.Reset(kGameInterval);
    ResumeGame();
}

void Tmainform::cmd_BuySellClick() {
    Play(TMoveKind::BuyOrSell);
    ApplyGameEvents();
}
void Tmainform::cmd_DamRenClick() {
    Play(TMoveKind::DamageOrRenovate);
    ApplyGameEvents();
}
void Tmainform::cmd_MortgageClick() {
    Play(TMoveKind::MortgageOrRedeem);
    ApplyGameEvents();
}

void Tmainform::cmd_emailClick() {
    if (game_.State().Running) cmd_StartClick();  // pauses; the player presses Play to go on
    host_.EmailAFriend();
}

void Tmainform::mnu_HelpRulesClick() {
    PlayClick();
    Play(TMoveKind::ForgetSelection);
    Redraw();
    // A running game pauses and goes on afterwards; a paused one stays paused, and before
    // PLAY the clock keeps inviting the player.
    const bool wasRunning = game_.State().Running;
    if (wasRunning) PauseGame();
    effects_.OpenModal(IEffects::Modal::Rules, [this, wasRunning](bool) {
        if (wasRunning) ResumeGame();
    });
}

void Tmainform::mnu_FileExitClick() {
    PlayClick();
    ExitProgram();
}

void Tmainform::mnu_FileQuitandReplayClick() {
    if (!view_.QuitReplayEnabled) return;
    Play(TMoveKind::QuitAndReplay);
    ApplyGameEvents();
}

void Tmainform::mnu_HelpAboutClick() {
    host_.ShowAboutBox();
}

void Tmainform::mnu_OptionsMarketReportClick() {
    // A running game pauses and goes on afterwards; a paused one stays paused, and before
    // PLAY the clock keeps inviting the player.
    const bool wasRunning = game_.State().Running;
    if (wasRunning) PauseGame();
    effects_.OpenModal(IEffects::Modal::MarketReport, [this, wasRunning](bool) {
        if (wasRunning) ResumeGame();
    });
}

void Tmainform::mnu_OptionsSoundClick() {
    TMove sound = TMove::Of(TMoveKind::SoundOn);
    sound.Flag = !game_.State().SoundOn;
    game_.Apply(sound);
    view_.SoundChecked = game_.State().SoundOn;
}

void Tmainform::SetSpeed(TSpeed speed) {
    mq_.SetSpeed(speed);
}
void Tmainform::Fast1Click() {
    SetSpeed(tsFast);
}
void Tmainform::Mediuim1Click() {
    SetSpeed(tsMedium);
}
void Tmainform::Slow1Click() {
    SetSpeed(tsSlow);
}

void Tmainform::ClickArea(int area) {
    if (area < 1 || area > kAreaCount) return;
    PlayClick();
    game_.Apply(TMove::Numbered(TMoveKind::ChooseArea, area));
    ShowAreaInfo();
    Play(TMoveKind::ForgetSelection);
    ClearSelections();
    Redraw();
}

void Tmainform::img_SponsorClick() {
    effects_.OpenUrl(addresses::Sponsor);
}

void Tmainform::FormShow() {
    const bool wasHidden = !view_.Visible;
    view_.Visible = true;
    Play(TMoveKind::StopClock);
    view_.Start.Enabled = true;
    view_.FocusStart = true;
    // The before-PLAY clock and ticker held by ResetWindow start now, a full interval away.
    if (wasHidden && !game_.State().Paused) {
        clock_.Start(kIdleInterval, effects_.Now());
        ClockChanged();
        mq_.SetActive(true);
    }
}

bool Tmainform::FormCloseQuery() {
    ExitProgram();
    return true;
}

void Tmainform::FormResize(bool minimised) {
    view_.Minimised = minimised;
    if (game_.State().Running && minimised)
        PauseGame();
    else if (game_.State().Paused && !minimised)
        ResumeGame();
}

// The keys released in the window that have no button of their own (ui/Inputs.h).
void Tmainform::EscKeyUp() {
    cmd_StartClick();
    cheatBuffer_.clear();
}

void Tmainform::ShowProgrammerAddress() {
    effects_.ShowInformation(std::string("Programmer: ") + addresses::ProgrammerEmail, {});
}

void Tmainform::ShowCustomisationHint() {
    effects_.ShowInformation(std::string(kApplicationTitle) +
                                 " can be customised if you know how!\r\rGo to " +
                                 addresses::ProgrammerWeb + " to find out more..",
                             {});
}

void Tmainform::FormKeyPress(const std::string& character) {
    if (!game_.State().Running) return;
    const std::string phrase = kCheatPhrase;
    if (character.size() == 1 && phrase.find(character[0]) != std::string::npos) {
        cheatBuffer_ += character;
        if (cheatBuffer_.size() > phrase.size()) cheatBuffer_.clear();
    } else {
        cheatBuffer_.clear();
    }
    if (cheatBuffer_ != phrase) return;
    cheatBuffer_.clear();
    // Success is announced only for a bonus that is paid.
    if (!game_.CheatBonusPayable()) return;
    mq_.SetActive(false);
    PlaySoundResource(TSound::MeepMeep, true);
    PlaySoundResource(TSound::MeepMeep, false);
    mq_.SetText("CHEAT SUCCESSFUL - \u00A3500,000 IS YOURS! ");
    mq_.SetActive(true);
    Play(TMoveKind::CashPhrase);
    ApplyGameEvents();
    Redraw();
}

// ---------------------------------------------------------------- list events

void Tmainform::SetListSelection(List list, const std::vector<int>& rows) {
    TListView& view = ListOf(list);
    for (TListRow& row : view.Rows) row.Selected = false;
    for (int r : rows)
        if (r >= 0 && r < static_cast<int>(view.Rows.size()))
            view.Rows[static_cast<std::size_t>(r)].Selected = true;
    SelectionChanged();
}

void Tmainform::lst_AvailMouseUp() {
    Play(TMoveKind::Engage);
    Selectlst_Avail();
}

void Tmainform::lst_portfolioMouseUp() {
    Play(TMoveKind::Engage);
    Selectlst_portfolio();
}

// A selection made with the keyboard engages the game as a click does: until then no money
// moves, and a purchase made before it would cost nothing.
void Tmainform::lst_AvailKeyUp() {
    if (view_.Avail.AnySelected()) Play(TMoveKind::Engage);
    Selectlst_Avail();
}
void Tmainform::lst_portfolioKeyUp() {
    if (view_.Portfolio.AnySelected()) Play(TMoveKind::Engage);
    Selectlst_portfolio();
}
void Tmainform::lst_AvailEnter() {
    Selectlst_Avail();
}
void Tmainform::lst_portfolioEnter() {
    Selectlst_portfolio();
}

void Tmainform::Selectlst_Avail() {
    SelectFrom(List::Avail);
}
void Tmainform::Selectlst_portfolio() {
    SelectFrom(List::Portfolio);
}

void Tmainform::SelectFrom(List list) {
    TListView& rows = ListOf(list);
    TListView& other = ListOf(list == List::Avail ? List::Portfolio : List::Avail);
    if (!rows.AnySelected()) return;

    bool otherChanged = false;
    for (TListRow& row : other.Rows) {
        otherChanged = otherChanged || row.Selected;
        row.Selected = false;
    }
    if (otherChanged) ++view_.ListsRevision;
    SelectionChanged();

    std::vector<int> selection;
    for (const TListRow& row : rows.Rows)
        if (row.Selected) selection.push_back(row.Property);
    const bool forSale = list == List::Avail;
    TMove select = TMove::Of(TMoveKind::Select);
    select.Side = forSale ? TSelectionSide::ForSale : TSelectionSide::Portfolio;
    select.Properties = std::move(selection);
    game_.Apply(select);
    if (game_.State().Selection.size() != 1 && !forSale) {
        // A block can be neither mortgaged nor redeemed: the button says so at once rather
        // than keeping the caption of an earlier single selection.
        view_.Mortgage.Caption = "Mortgage/Redeem";
        view_.Mortgage.Enabled = false;
    }
    ShowSelectionInfo();
    Redraw();
}

// ---------------------------------------------------------------- the game clock

void Tmainform::HoldClock() {
    clock_.Hold(effects_.Now());
    ClockChanged();
}

void Tmainform::ReleaseClock() {
    clock_.Release(effects_.Now());
    ClockChanged();
}

void Tmainform::ClockChanged() {
    if (Watching()) return;  // the main timer keeps the watching pace
    if (view_.TimerGeneration == clock_.Generation()) return;
    view_.TimerEnabled = clock_.Enabled();
    view_.TimerInterval = clock_.Interval();
    view_.TimerDue = clock_.Due();
    view_.TimerGeneration = clock_.Generation();
    effects_.MainTimerChanged();
}
