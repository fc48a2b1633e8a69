// A game saved at any month and shown again in a new program is the game that was left: paused
// exactly as it was, and played on, it ends exactly as the game played without the break.
// Also the start-up offer of the saved game and its removal when the game ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/SavedGame.h"
#include "frontend/ReportJson.h"
#include "frontend/StateJson.h"
#include "support/Files.h"
#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"
#include "ui/SavedGameView.h"
#include "windows/TRealtopia.h"

namespace fs = std::filesystem;

namespace {

// Answers every box and modal window from the generator of the current step, so that the same
// step in another program gets the same answers.
class StepEffects : public IEffects {
public:
    explicit StepEffects(std::mt19937_64& random) : random_(random) {}
    TRealtopia* app = nullptr;
    bool quit = false;

    void Information(const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
    bool YesNo(const std::string& question) override {
        return question != "Another Game?" && Pick(2) == 0;
    }
    bool Input(const std::string&, const std::string&, std::string& text, int) override {
        if (Pick(4) == 0) return false;  // Cancel: the default text stays
        text = "Player" + std::to_string(Pick(100));
        return true;
    }
    bool ShowModal(Modal window) override {
        if (window != Modal::DamRen) return true;
        TDamRenForm& form = app->DamRenForm;
        if (Pick(5) == 0) {
            form.cmd_CancelClick();
        } else {
            form.optgroupClick(1 + Pick(8));
            form.cmd_CloseClick();
        }
        return form.ChoiceMade();
    }
    void ShowMainWindow() override {}
    void HideSplash() override {}
    void MainTimerChanged() override {}
    SoundResult PlaySound(const std::string&, bool) override { return SoundResult::Played; }
    bool SoundDeviceWorks() override { return true; }
    bool OpenUrl(const std::string&) override { return false; }
    void ProcessEvents() override {}
    void Quit() override { quit = true; }

    int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }

private:
    std::mt19937_64& random_;
};

// One program in its own directories, entered through the agreement, played step by step: each
// step some moves drawn from (game seed, step), then one event of the main timer.
class Player {
public:
    explicit Player(std::uint64_t dealSeed) : effects_(random_) {
        app_ = std::make_unique<TRealtopia>(effects_, temp_.Platform(dealSeed));
        effects_.app = app_.get();
        app_->cmd_playClick();
    }

    Tmainform& Form() { return app_->mainform; }
    // The game's state and its market history, as the console prints them.
    std::string State() const {
        return StateJson::Write(*app_) + "\n" + ReportJson::Write(app_->mainform.Game());
    }
    bool Ended() const { return effects_.quit; }
    // The PLAY/Pause button.
    void Play() { Form().Invoke(TCommand::Start); }

    void Step(std::uint64_t seed, int step) {
        random_.seed(seed * 1000003ULL + static_cast<std::uint64_t>(step));
        for (int moves = effects_.Pick(4); moves > 0; --moves) Move();
        Form().TimerFired();
    }

private:
    // The player selects up to `most` rows of a list at random.
    std::vector<int> Select(TList list, int most) {
        const TMainWindowView& view = Form().View();
        const auto& rows = list == TList::Avail ? view.Avail.Rows : view.Portfolio.Rows;
        std::set<int> chosen;
        for (int n = 1 + effects_.Pick(most); n > 0 && !rows.empty(); --n)
            chosen.insert(effects_.Pick(static_cast<int>(rows.size())));
        return std::vector<int>(chosen.begin(), chosen.end());
    }

    void Move() {
        Tmainform& form = Form();
        const TMainWindowView& view = form.View();
        switch (effects_.Pick(10)) {
            case 0:
                if (!view.Avail.Enabled) break;
                form.ListMouseUp(TList::Avail, Select(TList::Avail, 3));
                break;
            case 1:
                if (!view.Portfolio.Enabled) break;
                form.ListMouseUp(TList::Portfolio, Select(TList::Portfolio, 1));
                break;
            case 2:
                form.ListKeyUp(TList::Portfolio, Select(TList::Portfolio, 2));
                break;
            case 3:
            case 4:
                form.Invoke(TCommand::BuySell);
                break;
            case 5:
                form.Invoke(TCommand::DamRen);
                break;
            case 6:
                form.Invoke(TCommand::Mortgage);
                break;
            case 7:
                form.Invoke(AreaCommand(1 + effects_.Pick(kAreaCount)));
                break;
            case 8: {
                // The cash-bonus phrase, often typed across two steps.
                static const char* kTyping[] = {"wadof", "cash", "wadofcash", "x"};
                for (char c : std::string(kTyping[effects_.Pick(4)]))
                    form.KeyPress(TKeyEvent(TKey::Other, std::string(1, c)));
                break;
            }
            default:
                form.Invoke(TCommand::KeyF1);  // the rules, with the clock paused
                break;
        }
    }

    std::mt19937_64 random_;
    StepEffects effects_;
    TempPlatform temp_;
    std::unique_ptr<TRealtopia> app_;
};

constexpr int kSteps = 125;  // the game ends with the 120th event at the latest

// The first character where two state lines differ, with some context, for failure messages.
std::string Difference(const std::string& a, const std::string& b) {
    const auto at = static_cast<std::size_t>(
        std::mismatch(a.begin(), a.begin() + static_cast<long>(std::min(a.size(), b.size())),
                      b.begin())
            .first -
        a.begin());
    const std::size_t from = at > 80 ? at - 80 : 0;
    return "\n  left:  ..." + a.substr(from, 160) + "\n  right: ..." + b.substr(from, 160);
}

TEST(SavedGameRoundTrip, ResumedGamesEndAsGamesPlayedWithoutABreak) {
    const std::vector<int> savePoints = {0, 1, 7, 8, 9, 23, 47, 64, 100, 107, 113, 119};
    TempPlatform files;
    int withMortgage = 0, withHeadline = 0, withTyping = 0, magnates = 0, resumed = 0;

    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        // The game without a break: paused and resumed at each save point, saved there too
        // (while running in odd steps, while paused in even ones).
        std::map<int, std::string> pausedState;
        std::map<int, TGameState> pausedGame;  // the generator and the history too
        Player reference(seed);
        reference.Play();
        for (int step = 0; step < kSteps && !reference.Ended(); ++step) {
            if (std::find(savePoints.begin(), savePoints.end(), step) != savePoints.end()) {
                const std::string path = files.Root() + "/" + std::to_string(step) + ".sav";
                std::string why;
                bool written = step % 2 == 0 || SaveGameOf(reference.Form(), path, why);
                reference.Play();
                written = written && (step % 2 != 0 || SaveGameOf(reference.Form(), path, why));
                ASSERT_TRUE(written) << why;
                pausedState[step] = reference.State();
                pausedGame[step] = reference.Form().Game().State();
                reference.Play();

                const TGame& game = reference.Form().Game();
                withMortgage += game.State().MonthlyRepaymentTotal > Money();
                withHeadline += game.State().PendingNews != 0;
                withTyping += !reference.Form().CheatBuffer().empty();
                magnates += game.State().Stage > 1;
            }
            reference.Step(seed, step);
        }
        ASSERT_TRUE(reference.Ended()) << "seed " << seed;
        const std::string finalState = reference.State();
        const TGameState finalGame = reference.Form().Game().State();

        // Each save shown in a new program that dealt another game, then played on.
        for (const auto& [from, paused] : pausedState) {
            Player resumedPlayer(seed + 1000);
            TSavedGame saved;
            std::string why;
            ASSERT_EQ(ReadSavedGame(files.Root() + "/" + std::to_string(from) + ".sav", saved, why),
                      TSavedGameRead::Read)
                << why;
            resumedPlayer.Form().ShowSavedGame(saved);
            ASSERT_TRUE(resumedPlayer.State() == paused)
                << "seed " << seed << ", shown at step " << from
                << Difference(resumedPlayer.State(), paused);
            ASSERT_TRUE(resumedPlayer.Form().Game().State() == pausedGame.at(from))
                << "seed " << seed << ", shown at step " << from;

            resumedPlayer.Play();
            for (int step = from; step < kSteps && !resumedPlayer.Ended(); ++step) {
                if (step != from &&
                    std::find(savePoints.begin(), savePoints.end(), step) != savePoints.end()) {
                    resumedPlayer.Play();
                    resumedPlayer.Play();
                }
                resumedPlayer.Step(seed, step);
            }
            ASSERT_TRUE(resumedPlayer.State() == finalState)
                << "seed " << seed << ", resumed at step " << from
                << Difference(resumedPlayer.State(), finalState);
            ASSERT_TRUE(resumedPlayer.Form().Game().State() == finalGame)
                << "seed " << seed << ", resumed at step " << from;
            ++resumed;
        }
    }
    // The games saved held what matters: mortgages, headlines still to land, half-typed
    // phrases and later stages.
    EXPECT_GT(resumed, 100);
    EXPECT_GT(withMortgage, 0);
    EXPECT_GT(withHeadline, 0);
    EXPECT_GT(withTyping, 0);
    EXPECT_GT(magnates, 0);
}

// ---------------------------------------------------------------- start-up and the end

class SavedGameOffer : public RealtopiaFixture {
protected:
    std::string SavePath() { return Game().SavedGamePath(); }
    // The saved game offered; whether it was resumed, once the player has answered.
    bool Offer() {
        std::optional<bool> resumed;
        OfferSavedGame(Form(), [&resumed](bool yes) { resumed = yes; });
        EXPECT_TRUE(resumed.has_value());
        return resumed.value_or(false);
    }

    // A game some months in, with a property bought and mortgaged, left by the program.
    void LeaveGame() {
        StartEngagedGame();
        Buy({2});
        ClickPortfolio({PortfolioRow(2)});
        Form().Invoke(TCommand::KeyF7);
        Tick(40);
        effects_.NowMs += 600;  // part of the month has run
        ASSERT_TRUE(SaveGameOnExit(Form()));
        question_ =
            "Continue your game of May 2003 (net worth " + FormatPounds(Game().NetWorth()) + ")?";
    }
    // The program started again, through the agreement.
    void Restart() {
        Create();
        EnterGame();
        effects_.ClearCalls();
    }

    std::string question_;
};

TEST_F(SavedGameOffer, YesShowsTheGamePausedAndItsEndRemovesTheFile) {
    LeaveGame();
    // A program that keeps games asks when the player enters the game window.
    Create();
    App().OfferSavedGames = true;
    effects_.YesNoAnswers = {true};
    EnterGame();
    EXPECT_EQ(effects_.CallsStartingWith("yesno: "),
              std::vector<std::string>{"yesno: " + question_});
    EXPECT_TRUE(Game().State().Paused);
    EXPECT_EQ(View().Start.Caption, "Play (Esc)");
    EXPECT_EQ(View().TimerDue, 900);  // the month goes on with the time it had left
    EXPECT_EQ(Game().State().Property(2).Flags, Owned | Mortgaged);
    EXPECT_TRUE(fs::exists(SavePath()));  // kept until the game ends

    // Play (Esc) goes on; Quit and Replay ends the game, and with it the saved one.
    Form().Invoke(TCommand::KeyEsc);
    EXPECT_TRUE(Game().State().Running);
    Form().Invoke(TCommand::MenuQuitAndReplay);
    EXPECT_FALSE(fs::exists(SavePath()));
}

TEST_F(SavedGameOffer, AStageReachedBeforeTheBreakIsNotAnnouncedAgain) {
    StartEngagedGame();
    Edit(Game()).Cash = Money::Pounds(2000000);
    Tick();
    ASSERT_EQ(Game().State().Stage, 2);
    Tick(2);
    ASSERT_TRUE(SaveGameOnExit(Form()));
    Create();
    App().OfferSavedGames = true;
    effects_.YesNoAnswers = {true};
    EnterGame();
    ASSERT_EQ(Game().State().Stage, 2);
    effects_.Announcements.clear();
    Form().Invoke(TCommand::KeyEsc);
    Tick(3);
    EXPECT_EQ(View().StageText, "MAGNATE");
    EXPECT_EQ(std::count(effects_.Announcements.begin(), effects_.Announcements.end(),
                         "Your Status: MAGNATE"),
              0);
}

// A row shown with a price the window had not written yet is put back as it was shown; the
// next refill writes the property as it now is.
TEST_F(SavedGameOffer, ARowPutBackAsShownIsWrittenAgainByTheNextRefill) {
    StartEngagedGame();
    Tick(2);
    ASSERT_FALSE(View().Avail.Rows.empty());
    const int number = View().Avail.Rows[0].Property;
    Edit(Game()).Property(number).BuyPrice += Money::Pounds(1);  // the same width of text
    const std::string shown = View().Avail.Rows[0].Text;
    ASSERT_TRUE(SaveGameOnExit(Form()));
    Create();
    App().OfferSavedGames = true;
    effects_.YesNoAnswers = {true};
    EnterGame();
    ASSERT_EQ(View().Avail.Rows[0].Text, shown);

    Form().RefillLists();
    EXPECT_EQ(View().Avail.Rows[0].Text, Tmainform::RowText(Game().State().Property(number)));
    EXPECT_NE(View().Avail.Rows[0].Text, shown);
}

TEST_F(SavedGameOffer, NoRemovesTheFileAndDealsAsBefore) {
    LeaveGame();
    Restart();
    const std::string fresh = StateJson::Write(App());
    effects_.YesNoAnswers = {false};
    EXPECT_FALSE(Offer());
    EXPECT_EQ(effects_.CallsStartingWith("yesno: "),
              std::vector<std::string>{"yesno: " + question_});
    EXPECT_FALSE(fs::exists(SavePath()));
    EXPECT_EQ(StateJson::Write(App()), fresh);

    // Nothing saved: nothing offered.
    Restart();
    EXPECT_FALSE(Offer());
    EXPECT_TRUE(effects_.Calls().empty());
}

TEST_F(SavedGameOffer, AnUnreadableFileIsSetAsideAndThePlayerTold) {
    LeaveGame();
    std::string bytes = ReadAll(SavePath());
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x10);
    WriteAll(SavePath(), bytes);
    Restart();
    const std::string fresh = StateJson::Write(App());
    EXPECT_FALSE(Offer());
    EXPECT_EQ(
        effects_.CallsStartingWith("info: "),
        std::vector<std::string>{"info: Your saved game could not be read; a new game starts."});
    EXPECT_FALSE(fs::exists(SavePath()));
    EXPECT_EQ(ReadAll(SavePath() + ".bad"), bytes);
    EXPECT_EQ(StateJson::Write(App()), fresh);
}

TEST_F(SavedGameOffer, OnlyAGameInProgressIsSaved) {
    EnterGame();
    EXPECT_FALSE(SaveGameOnExit(Form()));  // before PLAY
    EXPECT_FALSE(fs::exists(SavePath()));
    PressPlay();
    Form().Invoke(TCommand::Start);  // paused is in progress too
    EXPECT_TRUE(Game().GameInProgress());
    ASSERT_TRUE(SaveGameOnExit(Form()));
    Form().Invoke(TCommand::Start);
    const std::string elsewhere = ReadAll(SavePath());

    // From its reckoning on, a game is over: closing the program then saves nothing. This
    // game was not resumed from the file, so its end leaves the file alone.
    ClickAvail({0});
    Tick(119);
    bool savedDuringReckoning = true;
    effects_.OnProcessEvents = [&] { savedDuringReckoning = SaveGameOnExit(Form()); };
    Tick();
    EXPECT_EQ(Game().State().Year, 2010);
    EXPECT_FALSE(savedDuringReckoning);
    EXPECT_EQ(ReadAll(SavePath()), elsewhere);
}

// A list row is put back onto the property it showed, whatever its text reads: a row whose
// text lagged is shown as it was, and rows that showed other properties than the game's lists
// now do are left as refilled, with nothing selected.
TEST_F(SavedGameOffer, RowsArePutBackByThePropertyTheyShowed) {
    StartEngagedGame();
    ClickAvail({1});
    ASSERT_TRUE(View().Avail.Rows[1].Selected);
    const TSavedGame saved = TSavedGame::Capture(Game(), SavedWindowOf(Form()));
    ASSERT_GE(saved.Window.Avail.size(), 3u);
    EXPECT_EQ(saved.Window.Avail[1].Property, View().Avail.Rows[1].Property);

    TSavedGame lagging = saved;
    lagging.Window.Avail[0].Text = "Another name (\u00A31)";
    Restart();
    Form().ShowSavedGame(lagging);
    EXPECT_EQ(View().Avail.Rows[0].Text, "Another name (\u00A31)");
    EXPECT_LE(View().Avail.Rows[0].NameLength, View().Avail.Rows[0].Text.size());
    EXPECT_TRUE(View().Avail.Rows[1].Selected);

    TSavedGame swapped = saved;
    std::swap(swapped.Window.Avail[1].Property, swapped.Window.Avail[2].Property);
    Restart();
    Form().ShowSavedGame(swapped);
    for (const TListRow& row : View().Avail.Rows) EXPECT_FALSE(row.Selected) << row.Text;
}

}  // namespace
