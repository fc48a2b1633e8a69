#include <gtest/gtest.h>

#include <map>
#include <string>

#include "frontend/RulesLoop.h"
#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"
#include "ui/Addresses.h"
#include "ui/Inputs.h"
#include "ui/MenuTree.h"
#include "windows/Trulesform.h"

namespace {

using CommandsTest = RealtopiaFixture;
using Key = TKey;

void TypeText(Tmainform& form, const std::string& text) {
    for (char c : text) form.KeyPress(TKeyEvent(TKey::Other, std::string(1, c)));
}

TEST_F(CommandsTest, SplashPathsIntoTheGameOrOut) {
    effects_.ModalResults = {true, true};
    App().cmd_NewUserClick();
    EXPECT_EQ(effects_.Calls(),
              (std::vector<std::string>{"sound device", "timer", "modal: Agreement", "modal: Rules",
                                        "show main window", "timer", "hide splash"}));
    EXPECT_TRUE(View().Visible);
    EXPECT_TRUE(View().FocusStart);
    EXPECT_FALSE(App().Exited());

    Create();
    effects_.ClearCalls();
    App().cmd_playClick();  // agreement declined
    EXPECT_EQ(effects_.Calls(), (std::vector<std::string>{"modal: Agreement", "quit"}));
    EXPECT_TRUE(App().Exited());

    Create();
    effects_.ClearCalls();
    effects_.ModalResults = {true, false};  // a new user leaves the rules without OK
    App().cmd_NewUserClick();
    EXPECT_EQ(effects_.Calls(),
              (std::vector<std::string>{"modal: Agreement", "modal: Rules", "quit"}));
    EXPECT_FALSE(View().Visible);
}

TEST_F(CommandsTest, PlayPauseAndResumeDriveTheClock) {
    TGame& g = Game();
    EnterGame();
    effects_.ClearCalls();
    Form().Invoke(TCommand::KeyEsc);  // Esc before PLAY starts a game like the button
    EXPECT_TRUE(g.State().Running);
    EXPECT_EQ(g.State().PendingNews, 0);
    EXPECT_EQ(View().ProgressMax, 108);
    EXPECT_TRUE(View().TimerEnabled);
    EXPECT_EQ(View().TimerInterval, 1500);
    EXPECT_EQ(View().Start.Caption, "Pause (Esc)");
    EXPECT_EQ(View().Start.Hint, "Press me to Pause");
    EXPECT_TRUE(View().Avail.Enabled && View().BuySell.Enabled && View().DamRen.Enabled);
    EXPECT_TRUE(View().QuitReplayEnabled);
    EXPECT_EQ(effects_.Count("sound: CLICK async"), 1);

    ClickAvail({0});
    Form().Invoke(TCommand::KeyEsc);
    EXPECT_FALSE(g.State().Running);
    EXPECT_TRUE(g.State().Paused);
    EXPECT_FALSE(View().TimerEnabled);
    EXPECT_FALSE(View().Avail.Enabled || View().Portfolio.Enabled || View().BuySell.Enabled);
    EXPECT_FALSE(View().QuitReplayEnabled);
    EXPECT_EQ(View().Start.Caption, "Play (Esc)");
    Form().TimerFired();  // a stopped timer brings no month
    EXPECT_EQ(g.State().Month, 1);

    // F6 while paused acts on the selection made before.
    Form().Invoke(TCommand::KeyF6);
    EXPECT_TRUE(g.State().Property(1).Has(Owned));
    Form().Invoke(TCommand::KeyF7);
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{"info: Click a property in one of the lists, first!"});

    Form().Invoke(TCommand::KeyEsc);
    EXPECT_TRUE(g.State().Running);
    EXPECT_TRUE(g.State().Engaged);  // resuming is not a new game
    EXPECT_EQ(View().TimerInterval, 1500);

    // Minimising pauses; restoring resumes, also a game paused before minimising.
    Form().WindowStateChanged(true);
    EXPECT_TRUE(g.State().Paused);
    Form().WindowStateChanged(false);
    EXPECT_TRUE(g.State().Running);
    PressPlay();
    Form().WindowStateChanged(true);
    Form().WindowStateChanged(false);
    EXPECT_TRUE(g.State().Running);
}

TEST_F(CommandsTest, ChoosingAnAreaClearsTheSelection) {
    TGame& g = Game();
    StartGame();
    Edit(g).Property(3).Flags |= Owned;
    Form().RefillLists();
    ClickPortfolio({0});
    PressPlay();  // areas answer while paused too
    Edit(g).MarketTrend = Risen;
    effects_.ClearCalls();
    Form().Invoke(AreaCommand(5));
    EXPECT_EQ(effects_.Calls(), std::vector<std::string>{"sound: CLICK async"});
    EXPECT_EQ(g.State().CurrentArea, 5);
    EXPECT_EQ(View().Avail.Rows.front().Text, Tmainform::RowText(g.State().Property(81)));
    EXPECT_EQ(Game().SelectedRows(TList::Portfolio), 0);
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::None);
    EXPECT_EQ(View().BuySell.Caption, "Buy/Sell");
    EXPECT_EQ(View().DamRen.Caption, "Damage/Renovate");
    EXPECT_EQ(View().Mortgage.Caption, "Mortgage/Redeem");
    EXPECT_FALSE(View().Mortgage.Enabled);
    EXPECT_EQ(View().Info, "Click on a property");
    EXPECT_EQ(g.State().MarketTrend, Risen);

    // The arrow keys among the pictures, three by two: a picture to each side, a row up or
    // down, round the six.
    EXPECT_EQ(AreaAfterArrow(5, TArrow::Right), 6);
    EXPECT_EQ(AreaAfterArrow(6, TArrow::Right), 1);
    EXPECT_EQ(AreaAfterArrow(1, TArrow::Left), 6);
    EXPECT_EQ(AreaAfterArrow(2, TArrow::Down), 5);
    EXPECT_EQ(AreaAfterArrow(5, TArrow::Down), 2);
    EXPECT_EQ(AreaAfterArrow(1, TArrow::Up), 4);
}

TEST_F(CommandsTest, TheCheatPaysOncePerRun) {
    TGame& g = Game();
    TypeText(Form(), "wadofcash");  // before PLAY
    EXPECT_TRUE(Form().CheatBuffer().empty());

    // Before the first click no money moves: the phrase claims nothing and stays unused.
    StartGame();
    const std::string ticker = Form().mq().Text();
    effects_.ClearCalls();
    TypeText(Form(), "wadofcash");
    EXPECT_FALSE(g.State().CheatUsed);
    EXPECT_EQ(Form().mq().Text(), ticker);
    EXPECT_TRUE(effects_.CallsStartingWith("sound: ").empty());
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));

    ClickAvail({0});
    PressPlay();
    TypeText(Form(), "wadofcash");  // while paused
    EXPECT_FALSE(g.State().CheatUsed);
    PressPlay();

    TypeText(Form(), "wad");
    TypeText(Form(), "x");  // a letter not in the phrase empties the buffer
    EXPECT_TRUE(Form().CheatBuffer().empty());
    TypeText(Form(), "hwadofcash");  // one letter too many: the buffer overflows at the end
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));
    EXPECT_TRUE(Form().CheatBuffer().empty());
    effects_.ClearCalls();
    TypeText(Form(), "wadofcash");
    EXPECT_EQ(g.State().Cash, Money::Pounds(1300000));
    EXPECT_EQ(effects_.CallsStartingWith("sound: "),
              (std::vector<std::string>{"sound: MEEPMEEP wait", "sound: MEEPMEEP async"}));
    EXPECT_EQ(Form().mq().Text(), "CHEAT SUCCESSFUL - \u00A3500,000 IS YOURS! ");
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A31,300,000");
    EXPECT_TRUE(Form().CheatBuffer().empty());

    TypeText(Form(), "wadofcash");
    EXPECT_EQ(g.State().Cash, Money::Pounds(1300000));

    // Not even in a later game of the same run.
    effects_.YesNoAnswers.push_back(true);
    Form().Invoke(TCommand::MenuQuitAndReplay);
    StartEngagedGame();
    TypeText(Form(), "wadofcash");
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));
}

TEST_F(CommandsTest, SoundsFollowTheSwitch) {
    TGame& g = Game();
    StartEngagedGame();
    effects_.ClearCalls();
    Form().Invoke(TCommand::KeyF6);
    Form().Invoke(TCommand::KeyF5);
    Form().Invoke(TCommand::KeyF7);
    Form().Invoke(AreaCommand(2));
    EXPECT_EQ(effects_.Count("sound: CLICK async"), 4);

    effects_.NextSoundResult = IEffects::SoundResult::NotFound;
    Form().Invoke(AreaCommand(2));
    EXPECT_TRUE(effects_.Contains("error: CLICK | Could not find this Resource"));
    effects_.NextSoundResult = IEffects::SoundResult::Played;

    Form().Invoke(TCommand::MenuSound);
    EXPECT_FALSE(g.State().SoundOn);
    EXPECT_FALSE(View().SoundChecked);
    effects_.ClearCalls();
    Form().Invoke(AreaCommand(1));
    g.NewsEvent();
    Form().ApplyGameEvents();
    TypeText(Form(), "wadofcash");
    effects_.YesNoAnswers.push_back(true);
    Form().Invoke(TCommand::MenuQuitAndReplay);
    EXPECT_TRUE(g.State().CheatUsed);
    EXPECT_TRUE(effects_.CallsStartingWith("sound: ").empty());
    // The device test of the next game switches it on again.
    EXPECT_TRUE(g.State().SoundOn);
    EXPECT_TRUE(View().SoundChecked);

    // A machine without sound starts with it off.
    effects_.DeviceWorks = false;
    Create();
    EXPECT_FALSE(Game().State().SoundOn);
    EXPECT_FALSE(View().SoundChecked);
}

TEST_F(CommandsTest, OptionsChosenAreKeptForTheNextRun) {
    using Values = std::map<std::string, std::string>;
    auto fastChecked = [this] { return MenuTree(Form())[1].Items[1].Items[0].Checked; };
    StartEngagedGame();
    Form().Invoke(TCommand::MenuFast);
    Form().Invoke(TCommand::MenuSound);
    EXPECT_EQ(settings_->Values,
              (Values{{"options/sound", "off"}, {"options/tickerSpeed", "fast"}}));

    // The program started again finds them: fast, and silent despite the device test.
    Create();
    EXPECT_EQ(Form().mq().Speed(), tsFast);
    EXPECT_TRUE(fastChecked());
    EXPECT_FALSE(Game().State().SoundOn);
    EXPECT_FALSE(View().SoundChecked);
    EnterGame();
    effects_.ClearCalls();
    PressPlay();
    EXPECT_TRUE(effects_.CallsStartingWith("sound: ").empty());

    // A new game's device test switches sound on again, which is not the player's choice.
    ClickAvail({0});
    effects_.YesNoAnswers.push_back(true);
    Form().Invoke(TCommand::MenuQuitAndReplay);
    EXPECT_TRUE(Game().State().SoundOn);
    EXPECT_EQ(settings_->Values.at("options/sound"), "off");

    // Switched on by the player and slow: kept as well.
    Form().Invoke(TCommand::MenuSound);
    Form().Invoke(TCommand::MenuSound);
    Form().Invoke(TCommand::MenuSlow);
    Create();
    EXPECT_EQ(Form().mq().Speed(), tsSlow);
    EXPECT_TRUE(Game().State().SoundOn);
    // Kept "on" does not switch on a device that fails its test.
    effects_.DeviceWorks = false;
    Create();
    EXPECT_FALSE(Game().State().SoundOn);
    effects_.DeviceWorks = true;

    // Damaged or unknown values are the defaults, without a word to the player.
    for (const Values& damaged :
         {Values{{"options/tickerSpeed", "warp"}, {"options/sound", "\xFF\xFE"}},
          Values{{"options/tickerSpeed", ""}, {"options/sound", "OFF "}},
          Values{{"options/tickerSpeed", std::string("fast\0", 5)}}}) {
        settings_->Values = damaged;
        effects_.ClearCalls();
        Create();
        EXPECT_EQ(Form().mq().Speed(), tsMedium);
        EXPECT_TRUE(Game().State().SoundOn);
        EXPECT_TRUE(effects_.CallsStartingWith("info: ").empty());
        EXPECT_TRUE(effects_.CallsStartingWith("error: ").empty());
        EXPECT_EQ(settings_->Values, damaged);  // nothing chosen, nothing written
    }
}

TEST_F(CommandsTest, GameOverSoundPlaysBeforeTheQuestion) {
    StartGame();
    effects_.ClearCalls();
    Form().Invoke(TCommand::MenuQuitAndReplay);
    const std::vector<std::string>& calls = effects_.Calls();
    const auto sound = std::find(calls.begin(), calls.end(), "sound: GAMEOVER async");
    ASSERT_NE(sound, calls.end());
    EXPECT_LT(sound - calls.begin(),
              std::find(calls.begin(), calls.end(), "yesno: Another Game?") - calls.begin());
    EXPECT_TRUE(App().Exited());
}

TEST_F(CommandsTest, RulesPauseAGameButLeaveTheWaitingClockAlone) {
    TGame& g = Game();
    EnterGame();
    effects_.NowMs = 1000;
    const std::int64_t left = Form().ClockLeft();
    effects_.ClearCalls();
    // The waiting clock stands still while the rules are read, and goes on where it was.
    effects_.OnModal[IEffects::Modal::Rules] = [&] {
        EXPECT_FALSE(View().TimerEnabled);
        effects_.NowMs += 60000;
    };
    Form().Invoke(TCommand::KeyF1);
    EXPECT_EQ(effects_.CallsStartingWith("modal: "), std::vector<std::string>{"modal: Rules"});
    EXPECT_TRUE(View().TimerEnabled);
    EXPECT_EQ(View().TimerInterval, 3000);
    EXPECT_EQ(Form().ClockLeft(), left);
    EXPECT_FALSE(g.State().Running);
    EXPECT_FALSE(g.State().Paused);
    effects_.OnModal.erase(IEffects::Modal::Rules);

    // A game paused by the player stays paused after the rules, whichever way they open.
    PressPlay();
    Form().KeyPress(TKeyEvent(TKey::Esc));
    Form().KeyRelease(TKeyEvent(TKey::Esc));
    ASSERT_TRUE(g.State().Paused);
    for (TCommand rules : {TCommand::KeyF1, TCommand::Rules, TCommand::MenuRules}) {
        Form().Invoke(rules);
        EXPECT_TRUE(g.State().Paused);
        EXPECT_FALSE(View().TimerEnabled);
        EXPECT_EQ(View().Start.Caption, "Play (Esc)");
    }

    PressPlay();
    ASSERT_TRUE(g.State().Running);
    ClickAvail({0});
    bool pausedWhileShown = false;
    effects_.OnModal[IEffects::Modal::Rules] = [&] {
        pausedWhileShown = g.State().Paused && !View().TimerEnabled;
        App().rulesform.NotImplemented(4);
    };
    Form().Invoke(TCommand::MenuRules);
    EXPECT_TRUE(pausedWhileShown);
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::None);
    EXPECT_EQ(View().BuySell.Caption, "Buy (F6)");  // the row itself stays selected
    EXPECT_TRUE(g.State().Running);
    EXPECT_EQ(View().TimerInterval, 1500);
    EXPECT_EQ(App().rulesform.Title(), "RULES - STRATEGY");
}

TEST_F(CommandsTest, EnterOnAFocusedRulesButtonPressesItAndElsewhereCloses) {
    Trulesform& rules = App().rulesform;
    auto enter = [&](const std::string& focusedButton) {
        return TakeRulesAnswer(rules, Trulesform::EnterAnswer(focusedButton));
    };
    EXPECT_TRUE(enter("").Closes);  // no button focused: the default button, CLOSE
    EXPECT_EQ(rules.Title(), "RULES");
    EXPECT_FALSE(enter(Trulesform::TopicAnswer(3)).Closes);
    EXPECT_EQ(rules.Title(), "RULES - DAMAGE/RENOVATE");
    EXPECT_EQ(rules.Text(), Trulesform::TopicText(3));
    // Enter on the focused Back button goes back, as Space and a click do; it never closes.
    const TRulesAnswer back = enter(Trulesform::BackAnswer);
    EXPECT_FALSE(back.Closes);
    EXPECT_TRUE(back.Changed);
    EXPECT_EQ(rules.Title(), "RULES");
    const TRulesAnswer close = enter(Trulesform::CloseAnswer);
    EXPECT_TRUE(close.Closes);
    EXPECT_TRUE(close.Ok);
}

TEST_F(CommandsTest, FunctionKeysShowTheProgrammersAddresses) {
    Form().Invoke(TCommand::KeyF12);
    Form().Invoke(TCommand::KeyF2);
    Form().Invoke(TCommand::KeyF6);  // before PLAY, nothing selected
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              (std::vector<std::string>{
                  std::string("info: Programmer: ") + addresses::ProgrammerEmail,
                  std::string("info: Realtopia can be customised if you know how!\r\rGo to ") +
                      addresses::ProgrammerWeb + " to find out more..",
                  "info: Click a property in one of the lists, first!"}));
    Form().Invoke(TCommand::MenuQuitAndReplay);  // disabled before PLAY
    EXPECT_FALSE(effects_.Contains("yesno: Another Game?"));
    EXPECT_TRUE(Form().CloseRequested());
    EXPECT_TRUE(App().Exited());
}

// A key pressed and released in the window runs its row's handler once, before PLAY too
// and with nothing selected: the same handler its command runs, and nothing else.
TEST_F(CommandsTest, EachKeyGoesThroughItsRowToItsHandlerOnce) {
    TGame& g = Game();
    EnterGame();
    effects_.ClearCalls();
    auto key = [this](TKey k) {
        Form().KeyPress(TKeyEvent(k));
        return Form().KeyRelease(TKeyEvent(k));
    };
    for (const TKey k : {Key::F12, Key::F2, Key::F5, Key::F6, Key::F7})
        EXPECT_FALSE(key(k));  // the window's key, not a list's
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              (std::vector<std::string>{
                  std::string("info: Programmer: ") + addresses::ProgrammerEmail,
                  std::string("info: Realtopia can be customised if you know how!\r\rGo to ") +
                      addresses::ProgrammerWeb + " to find out more..",
                  // F5 with no side selected says nothing; F6 and F7 ask for a property.
                  "info: Click a property in one of the lists, first!",
                  "info: Click a property in one of the lists, first!"}));
    EXPECT_TRUE(effects_.CallsStartingWith("modal: ").empty());
    key(Key::F1);
    key(Key::F9);
    EXPECT_EQ(effects_.CallsStartingWith("modal: "),
              (std::vector<std::string>{"modal: Rules", "modal: MarketReport"}));
    EXPECT_FALSE(g.State().Running);
    key(Key::Esc);
    EXPECT_TRUE(g.State().Running);
    EXPECT_EQ(effects_.CallsStartingWith("info: ").size(), 4u);
}

TEST_F(CommandsTest, EmailPausesTheGameAndEncodesEveryAnswer) {
    TGame& g = Game();
    StartGame();
    effects_.InputAnswers = {"Jo Bloggs", "jo@x.com", "fr@y.com", "It's fun & free"};
    Form().Invoke(TCommand::Email);
    EXPECT_TRUE(g.State().Paused);
    EXPECT_EQ(effects_.CallsStartingWith("input: "),
              (std::vector<std::string>{
                  "input: Email to a friend | Type in your Name | Type your name here",
                  std::string("input: Email to a friend | Type in YOUR email address | ") +
                      addresses::SampleOwnAddress,
                  std::string("input: Email to a friend | Type in THEIR email address | ") +
                      addresses::SampleFriendAddress,
                  "input: Email to a friend | Type in a short message | 64 characters or "
                  "less"}));
    EXPECT_EQ(effects_.CallsStartingWith("url: "),
              std::vector<std::string>{
                  std::string("url: ") + addresses::Relay + addresses::RelayPath +
                  "?fn=Jo%20Bloggs&fa=jo%40x.com&ta=fr%40y.com&tm=It%27s%20fun%20%26%20free"});

    // 64 characters go at once; 65 bring the second question, whose answer is sent.
    const std::string longest(64, 'm');
    for (const std::string& message : {longest, longest + "m"}) {
        effects_.ClearCalls();
        effects_.InputAnswers = {"", "a", "b", message, "short"};
        Form().Invoke(TCommand::Email);
        const bool tooLong = message.size() > 64;
        EXPECT_EQ(
            effects_.Contains("input: Email to a friend | Too long! - Type in a SHORT message | 64 "
                              "characters or less"),
            tooLong);
        EXPECT_EQ(effects_.CallsStartingWith("url: ").at(0),
                  std::string("url: ") + addresses::Relay + addresses::RelayPath +
                      "?fn=&fa=a&ta=b&tm=" + (tooLong ? "short" : longest));
    }

    // Cancel or the default text at any question stops the command.
    for (int question = 0; question < 4; ++question) {
        effects_.ClearCalls();
        effects_.InputAnswers = {"n", "a", "b", "m"};
        effects_.InputAnswers[static_cast<std::size_t>(question)] = std::nullopt;
        Form().Invoke(TCommand::Email);
        EXPECT_EQ(effects_.CallsStartingWith("input: ").size(),
                  static_cast<std::size_t>(question + 1));
        EXPECT_TRUE(effects_.CallsStartingWith("url: ").empty()) << question;
    }
    effects_.ClearCalls();
    effects_.InputAnswers = {"Type your name here"};
    Form().Invoke(TCommand::Email);
    EXPECT_EQ(effects_.CallsStartingWith("input: ").size(), 1u);

    effects_.ClearCalls();
    effects_.UrlOpens = false;
    effects_.InputAnswers = {"n", "a", "b", "m"};
    Form().Invoke(TCommand::Email);
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{"info: Sorry, unable to send EMail"});
    EXPECT_TRUE(g.State().Paused);  // never resumed by the command
}

// One table of keys, one row a key: its names, what its release runs and whether a focused
// list gets it too. Every name of a row leads back to that row.
TEST_F(CommandsTest, TheInputTableSaysWhatAKeyMeans) {
    for (const TInput& input : Inputs()) {
        EXPECT_EQ(&InputOf(input.Key), &input) << input.Name;
        if (input.Command) {
            EXPECT_EQ(InputOf(*input.Command), &input) << input.Name;
            EXPECT_EQ(FindCommand(TCommandKind::Key, input.CommandName), input.Command);
            EXPECT_EQ(FindCommand(TCommandKind::Key, input.Name), input.Command);
            EXPECT_EQ(CommandName(*input.Command), input.CommandName);
        }
        if (input.Key != TKey::Other) {
            EXPECT_EQ(KeyEventNamed(input.Name)->Key, input.Key) << input.Name;
            EXPECT_EQ(KeyEventOfWebName(input.WebName, 0, false).Key, input.Key) << input.Name;
            EXPECT_EQ(KeyEventOfDesktopName(input.DesktopName).Key, input.Key) << input.Name;
            EXPECT_EQ(KeyEventOfDesktopName(input.Name).Key, input.Key) << input.Name;
        }
        // A key the window handles is not the list's as well.
        EXPECT_EQ(input.ListSees, !input.Command.has_value()) << input.Name;
    }
    EXPECT_EQ(CommandNames(TCommandKind::Key),
              (std::vector<std::string>{"esc", "f1", "f2", "f5", "f6", "f7", "f9", "f12"}));
    EXPECT_EQ(InputOf(TCommand::BuySell), nullptr);  // a button, not a key
    EXPECT_STREQ(InputOf(TKey::Esc).WebName, "Escape");
    EXPECT_EQ(KeyEventOfDesktopName("Return").Key, TKey::Enter);
    EXPECT_EQ(KeyEventOfDesktopName("Backtab").Key, TKey::Tab);
    EXPECT_EQ(KeyEventOfDesktopName("A").Key, TKey::Other);
    EXPECT_EQ(KeyEventOfWebName("Escape", 0, false).Key, TKey::Esc);
    EXPECT_EQ(KeyEventOfWebName("P", kAlt | kShift, false).Letter, 'p');
    EXPECT_EQ(KeyEventOfWebName("%", 0, false).Letter, 0);

    const std::optional<TKeyEvent> alt = KeyEventNamed("Alt+U");
    ASSERT_TRUE(alt);
    EXPECT_EQ(alt->Letter, 'u');
    EXPECT_EQ(alt->Modifiers, unsigned{kAlt});
    const std::optional<TKeyEvent> ctrl = KeyEventNamed("ctrl+3");
    ASSERT_TRUE(ctrl);
    EXPECT_EQ(ctrl->Letter, '3');
    EXPECT_EQ(ctrl->Modifiers, unsigned{kControl});
    EXPECT_EQ(KeyEventNamed("f6")->Key, TKey::F6);
    EXPECT_FALSE(KeyEventNamed("u"));  // a plain letter is typed, not a key command
    EXPECT_FALSE(KeyEventNamed("Hyper+u"));
    EXPECT_FALSE(KeyEventNamed("F3"));

    EnterGame();
    Form().KeyPress(TKeyEvent(TKey::F7));
    EXPECT_FALSE(Form().KeyRelease(TKeyEvent(TKey::F7)));
    EXPECT_TRUE(Form().KeyRelease(TKeyEvent(TKey::Other, "a")));
}

TEST_F(CommandsTest, AcceleratorsActOnTheirPress) {
    EnterGame();
    const std::vector<TAccelerator> accelerators = Form().Accelerators();
    std::vector<std::string> names;
    for (const TAccelerator& accelerator : accelerators)
        names.push_back(AcceleratorName(accelerator));
    EXPECT_EQ(names, (std::vector<std::string>{"Alt+U", "Alt+X", "Alt+P", "Alt+Y", "Ctrl+1",
                                               "Ctrl+2", "Ctrl+3", "Ctrl+4", "Ctrl+5", "Ctrl+6"}));
    EXPECT_EQ(accelerators[2].FocusList, TList::Avail);

    auto press = [this](const char* name) { return Form().KeyPress(*KeyEventNamed(name)); };
    EXPECT_TRUE(press("Ctrl+5"));
    EXPECT_EQ(Game().State().CurrentArea, 5);
    EXPECT_TRUE(View().AreaFrameRed[4]);
    EXPECT_FALSE(press("Alt+5"));  // not an accelerator
    EXPECT_EQ(Game().State().CurrentArea, 5);
    // Alt+P only moves the focus, which the front end does.
    EXPECT_FALSE(press("Alt+P"));
    effects_.ClearCalls();
    EXPECT_TRUE(press("Alt+U"));
    EXPECT_TRUE(effects_.Contains("modal: Rules"));
    EXPECT_TRUE(press("Alt+X"));
    EXPECT_TRUE(App().Exited());
}

TEST_F(CommandsTest, TheMenuTreeShowsItemsKeysAndStates) {
    EnterGame();
    const std::vector<TMenuEntry> menus = MenuTree(Form());
    ASSERT_EQ(menus.size(), 4u);
    EXPECT_EQ(menus[0].Caption, "&File");
    const TMenuEntry& quit = menus[0].Items[0];
    EXPECT_EQ(quit.Command, TCommand::MenuQuitAndReplay);
    EXPECT_FALSE(quit.Enabled);
    EXPECT_EQ(menus[0].Items[1].Type, TMenuEntry::Kind::Separator);
    const TMenuEntry& speeds = menus[1].Items[1];
    ASSERT_EQ(speeds.Type, TMenuEntry::Kind::Menu);
    EXPECT_EQ(speeds.Items[1].Caption, "&Medium");
    EXPECT_TRUE(speeds.Items[1].Checked && speeds.Items[1].Radio);
    EXPECT_EQ(menus[1].Items[2].Shortcut, "F9");
    EXPECT_EQ(menus[2].Items[0].Shortcut, "F1");
    EXPECT_EQ(menus[2].Items[0].Name, "rules");
    EXPECT_EQ(menus[2].Items[1].Shortcut, "");
    EXPECT_EQ(menus[3].Caption, "&Game");
    EXPECT_EQ(menus[3].Items[0].Name, "challengefriend");
    EXPECT_EQ(menus[3].Items[1].Caption, "&Play a Challenge\u2026");
    EXPECT_TRUE(menus[3].Items[1].Enabled);
    // Watching a hi-score game: its item, stopping (only while watching) and the speeds.
    EXPECT_EQ(menus[3].Items[3].Name, "watch");
    EXPECT_TRUE(menus[3].Items[3].Enabled);
    EXPECT_EQ(menus[3].Items[4].Name, "stopwatching");
    EXPECT_FALSE(menus[3].Items[4].Enabled);
    ASSERT_EQ(menus[3].Items[5].Items.size(), 3u);
    EXPECT_TRUE(menus[3].Items[5].Items[0].Checked && menus[3].Items[5].Items[0].Radio);
    EXPECT_EQ(menus[3].Items[5].Items[2].Name, "watchinstant");

    Form().Invoke(TCommand::MenuSlow);
    PressPlay();
    const std::vector<TMenuEntry> after = MenuTree(Form());
    EXPECT_TRUE(after[0].Items[0].Enabled);
    EXPECT_TRUE(after[1].Items[1].Items[2].Checked);
    EXPECT_FALSE(after[1].Items[1].Items[1].Checked);
}

TEST_F(CommandsTest, EmailBeforePlayLeavesTheClockAlone) {
    EnterGame();
    effects_.NowMs = 500;
    const std::int64_t left = Form().ClockLeft();
    effects_.InputAnswers = {std::nullopt};
    effects_.OnBox = [&] { effects_.NowMs += 60000; };
    Form().Invoke(TCommand::Email);
    EXPECT_FALSE(Game().State().Paused);
    EXPECT_TRUE(View().TimerEnabled);
    EXPECT_EQ(Form().ClockLeft(), left);
}

// No month passes while a box waits for its answer, whatever the box; the clock then goes on
// with the time it had left, and a game paused meanwhile stays paused.
TEST_F(CommandsTest, TheClockWaitsWhileABoxWaits) {
    StartGame();
    const int month = Game().State().Month;
    effects_.NowMs += 700;
    const std::int64_t left = Form().ClockLeft();
    int boxes = 0;
    effects_.OnBox = [&] {
        ++boxes;
        EXPECT_FALSE(View().TimerEnabled);
        effects_.NowMs += 5500;
        Form().TimerFired();  // a timer event already queued does nothing
        EXPECT_EQ(Game().State().Month, month);
    };
    ClickAvail({});
    Form().Invoke(TCommand::KeyF6);  // "Click a property in one of the lists, first!"
    Form().Invoke(TCommand::KeyF12);
    EXPECT_EQ(boxes, 2);
    EXPECT_TRUE(View().TimerEnabled);
    EXPECT_EQ(Form().ClockLeft(), left);
    EXPECT_EQ(Game().State().Month, month);

    // Pausing from behind a box (as a queued Esc would) leaves the clock stopped after it.
    effects_.OnBox = [&] { Form().Invoke(TCommand::KeyEsc); };
    Form().Invoke(TCommand::KeyF2);
    EXPECT_FALSE(View().TimerEnabled);
    EXPECT_TRUE(Game().State().Paused);
}

}  // namespace

namespace {

// Press and release in the main window, as the toolkit reports a key struck there.
void Strike(Tmainform& form, TKey key) {
    form.KeyPress({key});
    form.KeyRelease({key});
}

TEST_F(CommandsTest, AKeyReleaseCountsOnlyAfterItsPressInTheWindow) {
    TGame& g = Game();
    EnterGame();
    // Esc that closed a box (or a menu) before PLAY: the press went to the box.
    Form().KeyRelease({TKey::Esc});
    EXPECT_FALSE(g.State().Running || g.State().Paused);

    // The e-mail command pauses the game; its first box cancelled with Esc leaves it paused.
    StartGame();
    effects_.InputAnswers = {std::nullopt};
    Form().KeyPress({TKey::Enter});  // the default button
    EXPECT_TRUE(g.State().Paused);
    Form().KeyRelease({TKey::Esc});
    EXPECT_TRUE(g.State().Paused);
    EXPECT_EQ(effects_.CallsStartingWith("input: ").size(), 1u);

    // A press the window lost to a box opened meanwhile is forgotten too; repeats are one key.
    Form().KeyPress({TKey::Esc});
    Form().WindowDeactivated();
    Form().KeyRelease({TKey::Esc});
    EXPECT_TRUE(g.State().Paused);
    Form().KeyPress({TKey::Esc});
    Form().KeyPress({TKey::Esc, "", 0, true});
    Form().KeyRelease({TKey::Esc, "", 0, true});
    Form().KeyRelease({TKey::Esc});
    EXPECT_TRUE(g.State().Running);

    // Enter on a focused button presses that button, not the default one.
    Form().KeyPress({TKey::Enter}, TCommand::Start);
    EXPECT_TRUE(g.State().Paused);
}

TEST_F(CommandsTest, DisabledCommandsAreRefusedButKeysAlwaysAct) {
    TGame& g = Game();
    EnterGame();
    EXPECT_FALSE(Form().Enabled(TCommand::BuySell));
    EXPECT_FALSE(Form().Invoke(TCommand::BuySell));
    EXPECT_FALSE(Form().Invoke(TCommand::MenuQuitAndReplay));
    EXPECT_TRUE(effects_.CallsStartingWith("info: ").empty());
    EXPECT_TRUE(Form().Invoke(TCommand::KeyF6));
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{"info: Click a property in one of the lists, first!"});
    EXPECT_TRUE(Form().Invoke(AreaCommand(4)));
    EXPECT_EQ(g.State().CurrentArea, 4);
}

TEST_F(CommandsTest, FocusBackFromTheRulesWindowSelectsNothing) {
    TGame& g = Game();
    StartGame();
    ClickAvail({0});
    Strike(Form(), TKey::F1);
    EXPECT_EQ(effects_.Count("modal: Rules"), 1);
    // The window is active again and its list gets the focus back: not the player's doing.
    Form().ListFocusIn(TList::Avail, TFocusReason::WindowActivation, {0});
    effects_.ClearCalls();
    Strike(Form(), TKey::F6);
    EXPECT_FALSE(g.State().Property(1).Has(Owned));
    EXPECT_EQ(effects_.CallsStartingWith("info: "),
              std::vector<std::string>{"info: Click a property in one of the lists, first!"});
    // Tab into the list does select.
    Form().ListFocusIn(TList::Avail, TFocusReason::Tab, {0});
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::ForSale);
}

TEST_F(CommandsTest, TheTitlesAcceleratorSelectsTheRowInSight) {
    TGame& g = Game();
    StartGame();
    // Alt+P into a list with nothing selected: the row the list marks is selected, and the
    // toolkit is told to show it (the lists' revision rises).
    const unsigned revision = View().ListsRevision;
    Form().ListFocusIn(TList::Avail, TFocusReason::Accelerator, {});
    EXPECT_TRUE(View().Avail.Rows[0].Selected);
    EXPECT_NE(View().ListsRevision, revision);
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::ForSale);
    EXPECT_EQ(g.State().Selection, std::vector<int>{View().Avail.Rows[0].Property});
    // The key's release reaches the list as every key's there does, and F6 buys the row.
    Form().ListKeyUp(TList::Avail, {0});
    const int bought = View().Avail.Rows[0].Property;
    const Money cash = g.State().Cash;
    effects_.ClearCalls();
    Strike(Form(), TKey::F6);
    EXPECT_TRUE(effects_.CallsStartingWith("info: ").empty());
    EXPECT_TRUE(g.State().Property(bought).Has(Owned));
    EXPECT_EQ(g.State().Cash, cash - g.State().Property(bought).BuyPrice);
    // Alt+Y back into the portfolio, whose list marks its third row: that one.
    ClickAvail({2});
    Strike(Form(), TKey::F6);
    Form().ListFocusIn(TList::Portfolio, TFocusReason::Accelerator, {}, 1);
    EXPECT_FALSE(View().Portfolio.Rows[0].Selected);
    EXPECT_TRUE(View().Portfolio.Rows[1].Selected);
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::Portfolio);
    // A selection there already stays as it is.
    Form().ListFocusIn(TList::Portfolio, TFocusReason::Accelerator, {0});
    EXPECT_TRUE(View().Portfolio.Rows[0].Selected);
    EXPECT_FALSE(View().Portfolio.Rows[1].Selected);
}

TEST_F(CommandsTest, TheStatusBarFollowsTheHintUnderThePointer) {
    EnterGame();
    Form().PointerOver(TCommand::Start);
    EXPECT_EQ(View().Status, "Press me to start");
    Form().Invoke(TCommand::Start);
    EXPECT_EQ(View().Status, "Press me to Pause");
    Form().Invoke(TCommand::Start);
    EXPECT_EQ(View().Status, "Press me to Play");
    // A month writes the net worth; the unchanged hint does not overwrite it.
    Form().Invoke(TCommand::Start);
    Form().TimerFired();
    EXPECT_NE(View().Status, "Press me to Pause");
    Form().PointerOverHint(hints::Debt);
    EXPECT_EQ(View().Status, hints::Debt);
}

TEST_F(CommandsTest, PausesNeverHoldTheMonthBack) {
    TGame& g = Game();
    EnterGame();
    PressPlay();
    EXPECT_EQ(View().TimerDue, 1500);
    // Twenty choosers in a row, 100 ms of running clock between them: each pauses and
    // resumes, and the month still comes after 1,500 ms of running time.
    Edit(g).Property(1).Flags &= static_cast<std::uint16_t>(~Owned);
    effects_.ModalResults.assign(20, false);
    // While the chooser is open the clock stands still.
    effects_.OnModal[IEffects::Modal::DamRen] = [this] { effects_.NowMs += 5000; };
    for (int i = 0; i < 20; ++i) {
        effects_.NowMs += 100;
        ClickAvail({0});
        Form().Invoke(TCommand::DamRen);
        EXPECT_TRUE(g.State().Running);
        EXPECT_EQ(View().TimerDue, std::max(0, 1500 - 100 * (i + 1))) << "chooser " << i;
    }
    Form().TimerFired();  // the toolkit's timer, armed for the time left
    EXPECT_EQ(g.State().Month, 2);
    EXPECT_EQ(View().TimerDue, 1500);

    // A new game and a reset begin full intervals.
    effects_.NowMs += 700;
    PressPlay();
    EXPECT_EQ(View().TimerDue, 800);
    PressPlay();
    effects_.YesNoAnswers.push_back(true);  // "Another Game?"
    Form().Invoke(TCommand::MenuQuitAndReplay);
    EXPECT_EQ(View().TimerDue, 3000);
    PressPlay();
    EXPECT_EQ(View().TimerDue, 1500);
}

}  // namespace

namespace {

TEST_F(CommandsTest, TheMarketReportLeavesTheClockAsItWas) {
    TGame& g = Game();
    StartGame();
    bool pausedWhileOpen = false;
    effects_.OnModal[IEffects::Modal::MarketReport] = [&] { pausedWhileOpen = g.State().Paused; };
    Form().KeyPress({TKey::F9});
    Form().KeyRelease({TKey::F9});
    EXPECT_TRUE(pausedWhileOpen);
    EXPECT_TRUE(g.State().Running);
    PressPlay();
    Form().Invoke(TCommand::MenuMarketReport);
    EXPECT_TRUE(g.State().Paused);
    EXPECT_EQ(effects_.Count("modal: MarketReport"), 2);
}

}  // namespace
