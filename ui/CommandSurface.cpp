// The command surface of the main window: what a click, a key, a focus change, the pointer
// and the clock mean. Every front end delivers its raw events here.

#include <algorithm>

#include "ui/DisplayText.h"
#include "ui/Tmainform.h"
#include "ui/Utf8.h"

namespace {

bool IsArea(TCommand command) {
    return command >= TCommand::Area1 && command <= TCommand::Area6;
}

int AreaOf(TCommand command) {
    return static_cast<int>(command) - static_cast<int>(TCommand::Area1) + 1;
}

// The Options menu's items that change a setting rather than open a window.
bool IsSetting(TCommand command) {
    return command == TCommand::MenuSound || command == TCommand::MenuFast ||
           command == TCommand::MenuMedium || command == TCommand::MenuSlow;
}

}  // namespace

const TButtonView* Tmainform::ButtonOf(TCommand command) const {
    switch (command) {
        case TCommand::Start:
            return &view_.Start;
        case TCommand::BuySell:
            return &view_.BuySell;
        case TCommand::DamRen:
            return &view_.DamRen;
        case TCommand::Mortgage:
            return &view_.Mortgage;
        case TCommand::Email:
            return &view_.Email;
        case TCommand::Exit:
            return &view_.Exit;
        case TCommand::Rules:
            return &view_.Rules;
        default:
            return nullptr;
    }
}

bool Tmainform::Enabled(TCommand command) const {
    // While a game is watched the player only watches (ui/Watch.cpp).
    if (const std::optional<bool> watching = WatchEnabled(command)) return *watching;
    if (const TButtonView* button = ButtonOf(command)) return button->Enabled;
    if (command == TCommand::MenuQuitAndReplay) return view_.QuitReplayEnabled;
    // Pictures respond in every state, the other menu items are always enabled, and the
    // keys call their handlers whatever the buttons show.
    return true;
}

bool Tmainform::Invoke(TCommand command) {
    if (!Enabled(command)) return false;
    Run(command);
    if (IsSetting(command)) host_.OptionChosen(command);
    FollowHint();
    return true;
}

void Tmainform::Run(TCommand command) {
    if (IsArea(command)) return ClickArea(AreaOf(command));
    switch (command) {
        case TCommand::Start:
            return cmd_StartClick();
        case TCommand::BuySell:
            return cmd_BuySellClick();
        case TCommand::DamRen:
            return cmd_DamRenClick();
        case TCommand::Mortgage:
            return cmd_MortgageClick();
        case TCommand::Email:
            return cmd_emailClick();
        case TCommand::Exit:
        case TCommand::MenuExit:
            return mnu_FileExitClick();
        case TCommand::Rules:
        case TCommand::MenuRules:
            return mnu_HelpRulesClick();
        case TCommand::Sponsor:
            return img_SponsorClick();
        case TCommand::MenuQuitAndReplay:
            return mnu_FileQuitandReplayClick();
        case TCommand::MenuSound:
            return mnu_OptionsSoundClick();
        case TCommand::MenuFast:
            return Fast1Click();
        case TCommand::MenuMedium:
            return Mediuim1Click();
        case TCommand::MenuSlow:
            return Slow1Click();
        case TCommand::MenuAbout:
            return mnu_HelpAboutClick();
        case TCommand::MenuMarketReport:
            return mnu_OptionsMarketReportClick();
        // The keys released in the window (the input table's commands) call the handlers
        // directly, whether or not the matching button is enabled.
        case TCommand::KeyEsc:
            return EscKeyUp();
        case TCommand::KeyF1:
            return mnu_HelpRulesClick();
        case TCommand::KeyF2:
            return ShowCustomisationHint();
        case TCommand::KeyF5:
            return cmd_DamRenClick();
        case TCommand::KeyF6:
            return cmd_BuySellClick();
        case TCommand::KeyF7:
            return cmd_MortgageClick();
        case TCommand::KeyF9:
            return mnu_OptionsMarketReportClick();
        case TCommand::KeyF12:
            return ShowProgrammerAddress();
        case TCommand::MenuChallengeFriend:
            return mnu_GameChallengeFriendClick();
        case TCommand::MenuPlayChallenge:
            return mnu_GamePlayChallengeClick();
        case TCommand::MenuWatch:
            return mnu_GameWatchClick();
        case TCommand::MenuStopWatching:
            return StopWatching();
        case TCommand::MenuWatchNormal:
            return SetWatchSpeed(TWatchSpeed::Normal);
        case TCommand::MenuWatchFast:
            return SetWatchSpeed(TWatchSpeed::Fast);
        case TCommand::MenuWatchInstant:
            return SetWatchSpeed(TWatchSpeed::Instant);
        default:
            return;
    }
}

// ---------------------------------------------------------------- keys

bool Tmainform::KeyPress(const TKeyEvent& key, std::optional<TCommand> focusedButton) {
    const unsigned modifiers = key.Modifiers;
    if (InputOf(key.Key).Command && !key.AutoRepeat) pressedKeys_.insert(key.Key);

    // An accelerator runs its command on the press; the window keeps the key.
    if (!key.AutoRepeat && key.Letter != 0) {
        for (const TAccelerator& accelerator : Accelerators()) {
            if (accelerator.Letter != key.Letter || accelerator.Modifiers != modifiers ||
                !accelerator.Command)
                continue;
            Invoke(*accelerator.Command);
            FollowHint();
            return true;
        }
    }
    // Only the menu's accelerators reach a watched game.
    if (Watching()) return false;
    // Enter presses the focused button, or the default button (e-mail) when the focus is
    // elsewhere; the window keeps the key.
    if (key.Key == TKey::Enter && modifiers == 0) {
        Invoke(focusedButton.value_or(TCommand::Email));
        return true;
    }
    // Typed characters go to the cheat phrase; Alt combinations are the menu's and Tab the
    // focus's.
    if (!key.Text.empty() && (modifiers & kAlt) == 0 && key.Key != TKey::Tab) {
        for (const std::string& character : utf8::Characters(key.Text)) FormKeyPress(character);
    }
    FollowHint();
    return false;
}

bool Tmainform::KeyRelease(const TKeyEvent& key) {
    if (Watching()) return false;
    const TInput& input = InputOf(key.Key);
    if (key.AutoRepeat) return input.ListSees;
    // The release of a key pressed elsewhere (in a box it closed, in a menu) is not ours.
    if (pressedKeys_.erase(key.Key) == 0) return input.ListSees;
    // Key, its row, the row's command, its handler.
    if (input.Command) Invoke(*input.Command);
    return input.ListSees;
}

std::vector<TAccelerator> Tmainform::Accelerators() const {
    std::vector<TAccelerator> accelerators;
    for (const std::string& name : CommandNames(TCommandKind::Button)) {
        const TCommand command = *FindCommand(TCommandKind::Button, name);
        const TButtonView* button = ButtonOf(command);
        if (const char letter = button ? displaytext::AcceleratorLetter(button->Caption) : 0)
            accelerators.push_back({letter, kAlt, command, std::nullopt});
    }
    accelerators.push_back(
        {displaytext::AcceleratorLetter(captions::AvailTitle), kAlt, std::nullopt, List::Avail});
    accelerators.push_back({displaytext::AcceleratorLetter(captions::PortfolioTitle), kAlt,
                            std::nullopt, List::Portfolio});
    for (int area = 1; area <= kAreaCount; ++area)
        accelerators.push_back(
            {static_cast<char>('0' + area), kControl, AreaCommand(area), std::nullopt});
    return accelerators;
}

void Tmainform::WindowDeactivated() {
    pressedKeys_.clear();
}

// ---------------------------------------------------------------- lists

bool Tmainform::ListMouseUp(List list, const std::vector<int>& rows) {
    if (Watching()) return false;
    if (!ListOf(list).Enabled) return false;
    SetListSelection(list, rows);
    list == List::Avail ? lst_AvailMouseUp() : lst_portfolioMouseUp();
    FollowHint();
    return true;
}

bool Tmainform::ListKeyUp(List list, const std::vector<int>& rows) {
    if (Watching()) return false;
    if (!ListOf(list).Enabled) return false;
    SetListSelection(list, rows);
    list == List::Avail ? lst_AvailKeyUp() : lst_portfolioKeyUp();
    FollowHint();
    return true;
}

bool Tmainform::ListFocusIn(List list, TFocusReason reason, const std::vector<int>& rows,
                            int currentRow) {
    if (Watching()) return false;
    TListView& view = ListOf(list);
    if (!view.Enabled) return false;
    if (reason != TFocusReason::Click && reason != TFocusReason::Tab &&
        reason != TFocusReason::Accelerator)
        return true;
    const int rowCount = static_cast<int>(view.Rows.size());
    if (reason == TFocusReason::Accelerator && rows.empty() && rowCount > 0) {
        SetListSelection(list, {currentRow >= 0 && currentRow < rowCount ? currentRow : 0});
        ++view_.ListsRevision;  // the toolkit shows the row selected
    } else {
        SetListSelection(list, rows);
    }
    list == List::Avail ? lst_AvailEnter() : lst_portfolioEnter();
    FollowHint();
    return true;
}

// ---------------------------------------------------------------- hints

std::string Tmainform::HintOf(TCommand command) const {
    if (const TButtonView* button = ButtonOf(command)) return button->Hint;
    if (IsArea(command)) return view_.AreaHints[static_cast<std::size_t>(AreaOf(command) - 1)];
    if (command == TCommand::Sponsor) return hints::Sponsor;
    return {};
}

void Tmainform::PointerOver(TCommand command) {
    pointerCommand_ = command;
    pointerHint_.clear();
    FollowHint();
}

void Tmainform::PointerOverHint(const std::string& hint) {
    pointerCommand_.reset();
    pointerHint_ = hint;
    FollowHint();
}

// The status bar shows the hint under the pointer whenever that hint changes: when the
// pointer moves, and when the control under it changes its hint (Play becomes Pause).
void Tmainform::FollowHint() {
    const std::string hint = pointerCommand_ ? HintOf(*pointerCommand_) : pointerHint_;
    if (hint == shownHint_) return;
    shownHint_ = hint;
    ApplicationHint(hint);
}

// ---------------------------------------------------------------- clock and window

void Tmainform::TimerFired() {
    tmr_mainTimer();
    FollowHint();
}

bool Tmainform::WindowStateChanged(bool minimised) {
    if (view_.Minimised == minimised) return false;
    FormResize(minimised);
    FollowHint();
    return true;
}

bool Tmainform::CloseRequested() {
    return FormCloseQuery();
}

void Tmainform::WindowCreated() {
    FormCreate();
}

void Tmainform::WindowShown() {
    FormShow();
    FollowHint();
}

void Tmainform::RestoreOption(TCommand command) {
    if (IsSetting(command)) Run(command);
}
