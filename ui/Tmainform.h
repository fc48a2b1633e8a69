#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/Game.h"
#include "engine/GameDebug.h"
#include "ui/Challenge.h"
#include "ui/ClockHoldingEffects.h"
#include "ui/Commands.h"
#include "ui/DisplayTexts.h"
#include "ui/Effects.h"
#include "ui/Inputs.h"
#include "ui/MainFormHost.h"
#include "ui/MainWindowView.h"
#include "ui/QuestionLoop.h"
#include "ui/TGameClock.h"
#include "ui/TMarquee.h"
#include "ui/Watch.h"

struct TSavedGame;
struct TWatch;

// The main window without its toolkit, in three parts, each in a file of its own:
// - the command surface (ui/CommandSurface.cpp): the only calls a front end makes, which
//   deliver the player's raw events (a command, a key, a list event, the timer) and say what
//   can be used now; keys go through the input table (ui/Inputs.h);
// - the controller (ui/Controller.cpp): the game, its clock and what each event means (the
//   handlers, private: the command surface calls them), with the question loop
//   (ui/QuestionLoop.h) that asks the player what the game waits for;
// - the view model (ui/Tmainform.cpp): what the window shows (View()), made from the game's
//   events and state by the display operations.
class Tmainform {
public:
    using List = TList;

    Tmainform(IMainFormHost& host, IEffects& effects, TPlatform platform);

    const TGame& Game() const { return game_; }
    // The rules, for the side windows of the window logic that make moves (the chooser). The
    // state itself is written only by the rules.
    TGame& Rules() { return game_; }
    // The debugging setters of the text front end's `set`.
    TGameDebug Debug() { return TGameDebug(game_); }
    const TMainWindowView& View() const { return view_; }
    TMarquee& mq() { return mq_; }
    const TMarquee& mq() const { return mq_; }
    const std::string& CheatBuffer() const { return cheatBuffer_; }
    const TGameClock& Clock() const { return clock_; }
    // Milliseconds left until the clock's next event, had it run on from now.
    std::int64_t ClockLeft() const { return clock_.Left(effects_.Now()); }
    // The toolkit's effects with every box holding the clock while it waits: what the
    // program's other windows use too.
    IEffects& Boxes() { return boxes_; }
    // The clock stands still while the player answers a box or reads a window (nests).
    void HoldClock();
    void ReleaseClock();

    // ---- The command surface: what the front ends call ----
    // Whether the control or key can be used now. Keys always can: they call their handlers
    // whatever the buttons show.
    bool Enabled(TCommand command) const;
    // Carries the command out; false (and nothing done) when it is disabled.
    bool Invoke(TCommand command);
    // A key pressed while the window has the keyboard. `focusedButton` is the button that has
    // the focus, if any. True when the window takes the key for itself (Enter), so the
    // focused control must not see it.
    bool KeyPress(const TKeyEvent& key, std::optional<TCommand> focusedButton = std::nullopt);
    // A key released in the window. It counts only when its press went to this window: the
    // release of a key that closed a box or a menu does nothing. True when a focused list
    // is to get the release too (ui/Inputs.h).
    bool KeyRelease(const TKeyEvent& key);
    // The key combinations that act on their press, as the captions now show them.
    std::vector<TAccelerator> Accelerators() const;
    // The window lost the keyboard to a box, a menu or another program.
    void WindowDeactivated();
    // The player's events on a list, with the rows then selected (0-based). A disabled list
    // takes no event: false.
    bool ListMouseUp(List list, const std::vector<int>& rows);
    bool ListKeyUp(List list, const std::vector<int>& rows);
    // Focus entering a list selects what is selected there when the player brought it (a
    // click, Tab or the title's accelerator), not when the window is merely activated again.
    // The title's accelerator (Alt+P, Alt+Y) into a list with nothing selected selects the row
    // the list marks (`currentRow`, the first when none), so F6 acts on the row in sight.
    bool ListFocusIn(List list, TFocusReason reason, const std::vector<int>& rows,
                     int currentRow = -1);
    // The pointer now rests on a command's control, or on a control with a fixed hint
    // (empty: none). The status bar follows the hint, also when a caption changes under it.
    void PointerOver(TCommand command);
    void PointerOverHint(const std::string& hint);
    // The toolkit's one-shot main timer went off.
    void TimerFired();
    // The window was minimised or restored; false when it already was in that state.
    bool WindowStateChanged(bool minimised);
    // The close box: true when the window may close.
    bool CloseRequested();

    // The window was created (a new world and a reset), and shown for the first time.
    void WindowCreated();
    void WindowShown();
    // A setting the player chose in an earlier run (the sound switch, a ticker speed), put
    // back at start-up: the command's handler runs, but the choice is not kept again.
    void RestoreOption(TCommand command);

    // Puts a saved game in place of the current one and shows it paused where it was left
    // (ui/SavedGameView.cpp); `resumedFrom`, when given, is the file it came from, which the
    // game's end removes.
    void ShowSavedGame(const TSavedGame& saved, const std::string& resumedFrom = {});
    // Deals the market of a friend's challenge code as a new game (ui/Challenge.cpp); a text
    // that is no code gets an error box and changes nothing.
    // A friend's result ("CODE/WORTH-C") is taken too: noted for the game being played when
    // it is that market, compared at once with the player's own figure when there is one,
    // otherwise its market dealt as a code's, its figure shown beside the player's at the end.
    TChallengeDeal PlayChallenge(const std::string& code);
    // The challenge being played and the figures known for it.
    const TChallengePlay& ChallengePlay() const { return challenge_; }

    // ---- Watching a recorded game (ui/Watch.cpp) ----
    // Deals the record's market and shows its moves, a month at each firing of the main timer
    // at the watching speed. Refused, with a box, while a game is in progress or when the
    // market cannot be dealt here. Meanwhile the player's commands do nothing but the watching
    // ones (Enabled).
    bool WatchRecord(const TGameRecord& record);
    bool Watching() const { return watch_ != nullptr; }
    TWatchSpeed WatchSpeed() const { return watchSpeed_; }
    void SetWatchSpeed(TWatchSpeed speed);
    // The moves of the record up to its next month (every one left, at Instant); false when
    // the record has ended or a move was refused.
    bool WatchStep();
    // Back to a new game of one's own, as after "Another Game?".
    void StopWatching();
    void mnu_GameWatchClick();

    // Applies the events the rules have appended since the last time, in order
    // (engine/GameEvent.h), then asks the player the question the game waits for, if any, and
    // gives the answer to the game as its next move, until none is open. Every move of the
    // window's is followed by it.
    void ApplyGameEvents();

    // ---- Display operations (the game's events, and the window's own redraws) ----
    void RefreshDisplay();
    void RefreshDisplay(const TPanelFigures& figures);
    void ShowCash(Money cash);
    void RefillLists();
    void ShowAreaInfo();
    void ShowNetWorth(Money worth);

    static std::string RowText(const TProperty& property);

private:
    // ---- The controller (ui/Controller.cpp): what the player's events mean ----
    // Creation: the status-bar hint handler is the toolkit's; then a new world and a reset.
    void FormCreate();
    void tmr_mainTimer();
    void cmd_StartClick();
    void cmd_BuySellClick();
    void cmd_DamRenClick();
    void cmd_MortgageClick();
    void cmd_emailClick();
    void mnu_HelpRulesClick();
    void mnu_FileExitClick();
    void mnu_FileQuitandReplayClick();
    void mnu_HelpAboutClick();
    // The Game menu (ui/Challenge.cpp).
    void mnu_GameChallengeFriendClick();
    void mnu_GamePlayChallengeClick();
    // The Market Report, with the clock paused while it is open.
    void mnu_OptionsMarketReportClick();
    void mnu_OptionsSoundClick();
    void Fast1Click();
    void Mediuim1Click();
    void Slow1Click();
    void SetSpeed(TSpeed speed);
    void ClickArea(int area);
    void img_SponsorClick();
    void FormShow();
    bool FormCloseQuery();
    void FormResize(bool minimised);
    // Esc, F2 and F12 released (the other keys run buttons' and menu items' handlers).
    void EscKeyUp();
    void ShowProgrammerAddress();
    void ShowCustomisationHint();
    void FormKeyPress(const std::string& character);
    // The list events. SetListSelection: the rows the player has selected in a list (before
    // the event that acts on them).
    void SetListSelection(List list, const std::vector<int>& rows);
    void lst_AvailMouseUp();
    void lst_portfolioMouseUp();
    void lst_AvailKeyUp();
    void lst_portfolioKeyUp();
    void lst_AvailEnter();
    void lst_portfolioEnter();
    void Selectlst_Avail();
    void Selectlst_portfolio();
    void SelectFrom(List list);
    // The game clock changed: the view and the toolkit's timer follow.
    void ClockChanged();

    // ---- The command surface's own (ui/CommandSurface.cpp) ----
    TListView& ListOf(List list) { return list == List::Avail ? view_.Avail : view_.Portfolio; }
    const TListView& ListOf(List list) const {
        return list == List::Avail ? view_.Avail : view_.Portfolio;
    }
    const TButtonView* ButtonOf(TCommand command) const;
    std::string HintOf(TCommand command) const;
    // A command to its handler: a button's, a menu item's, a picture's or a key's.
    void Run(TCommand command);
    void FollowHint();

    // ---- The view model (ui/Tmainform.cpp): the game's events drawn on the view ----
    // The portfolio, cash and debt panels.
    void ShowMoneyPanels(const TPanelFigures& figures);
    void ClearSelections();
    void ResetWindow();
    void PauseGame();
    void ResumeGame();
    void SetStatusText(const std::string& text);
    void ShowDate(int month, int year);
    void SetProgress(int position);
    void SetProgressToMaximum();
    void EnablePlay();
    void StopMainTimer();
    void TickerStop();
    void SetTickerText(const std::string& text);
    void SetTickerActive(bool active);
    void PlayClick();
    void PlaySoundResource(TSound sound, bool wait);
    void ExitProgram();
    // Asks the toolkit whether a sound can be played; a new world's sound option follows it.
    bool SoundDeviceWorks();
    // The status-bar hint handler: the application's current hint changed.
    void ApplicationHint(const std::string& hint);
    // Lets the toolkit handle pending events (a desktop repaint) in the middle of a handler.
    void ProcessMessages();
    void Apply(const TGameEvent& event);
    void TakeGameEvents();
    // A move of the window's: the game takes it, and the events and questions follow.
    void Play(TMoveKind kind);
    // The view's side of pausing and resuming, once the game's clock state is set.
    void ShowPaused();
    void ShowResumed(const TPanelFigures* figures);
    // The game settles its selection, then the window shows it (RefreshDisplay).
    void Redraw();
    void SetTradingEnabled(bool enabled);
    void ShowAreaAverage();
    // The engine learns how many rows each list has selected.
    void SelectionChanged();
    // The information panel's text for the selection, at the current prices.
    std::string SelectionInfo() const;
    void ShowSelectionInfo();
    // Prices may have moved since the selection was made: the panel follows its totals.
    void FollowPrices();
    // What the reckoning's box adds at the end of a challenge the player took part in (and the
    // result it keeps); empty otherwise (ui/Challenge.cpp).
    std::string ChallengeEnding();
    // The player's own worth on a challenge's market, from a game ended in this run or a
    // hi-score entry's record.
    std::optional<std::uint32_t> OwnWorth(const TChallenge& challenge) const;
    // The run's challenge figures follow the game being played when it is a challenge (after
    // marking one, noting a friend's figure, or resuming a saved game).
    void FollowChallenge();

    // The clock's interval before PLAY (the ticker's invitation) and in a game (a month).
    static constexpr int kIdleInterval = 3000;
    static constexpr int kGameInterval = 1500;

    IMainFormHost& host_;
    TClockHoldingEffects boxes_;
    IEffects& effects_;
    TGame game_;
    // Asks the player the game's questions and gives the answers to the game.
    TQuestionLoop questions_;
    TMarquee mq_;
    TMainWindowView view_;
    TGameClock clock_;
    std::string cheatBuffer_;
    // The panels', status bar's and rows' texts with the figures they were made from.
    TDisplayTexts texts_;
    // The selection's totals that the information panel shows.
    std::pair<Money, Money> infoTotals_;
    // Keys whose press this window received and whose release is still to come.
    std::set<TKey> pressedKeys_;
    // Where the pointer rests: a command's control, or a fixed hint.
    std::optional<TCommand> pointerCommand_;
    std::string pointerHint_;
    std::string shownHint_;
    // What was last announced to a screen reader (IEffects::Announce), so each is said once:
    // the ticker's text as spoken, and the stage shown.
    std::string announcedTicker_;
    int announcedStage_ = 0;
    TChallengePlay challenge_;
    // The record being watched, or null.
    std::shared_ptr<TWatch> watch_;
    TWatchSpeed watchSpeed_ = TWatchSpeed::Normal;
    // The main timer as watching sets it.
    void WatchTimerChanged();
    // Every control of the player's but Exit disabled while a game is watched.
    void ShowWatching();
    // The rows a watched game's selection names, selected in their list.
    void ShowSelected(const TMove& move);
    // What a command may do while a game is watched; nothing when none is.
    std::optional<bool> WatchEnabled(TCommand command) const;
};
