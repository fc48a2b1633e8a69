// The Game menu's challenges, and the record of a game played through the window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "engine/GameRecord.h"
#include "engine/Hisc.h"
#include "engine/Money.h"
#include "support/Files.h"
#include "support/RealtopiaFixture.h"
#include "ui/Challenge.h"
#include "ui/SavedGameView.h"

namespace {

namespace fs = std::filesystem;

class ChallengeTest : public RealtopiaFixture {
protected:
    // Deals `text` through Game > Play a Challenge…
    void PlayChallenge(const std::string& text) {
        effects_.InputAnswers = {text};
        ASSERT_TRUE(Form().Invoke(TCommand::MenuPlayChallenge));
    }
    // The clock runs to the end of the game: the names for the hi-score table, then Yes to
    // "Another Game?". The reckoning's box, as shown.
    std::string PlayToTheEnd() {
        effects_.ClearCalls();
        effects_.InputAnswers = {"Ann", "Lee"};
        effects_.YesNoAnswers = {true};
        const std::uint64_t ends = Form().Game().EndCount();
        for (int i = 0; i < 200 && Form().Game().EndCount() == ends; ++i) Tick();
        EXPECT_GT(Form().Game().EndCount(), ends);
        const auto reckoning = effects_.CallsStartingWith("info: You ended up with ");
        return reckoning.size() == 1 ? reckoning[0] : std::string();
    }
    static std::string Pounds(std::uint32_t worth) { return FormatPounds(Money::Pounds(worth)); }
};

}  // namespace

TEST_F(ChallengeTest, AFriendsCodeDealsTheSameMarketThroughTheGameMenu) {
    TGame friends(temp_.Platform(4242));
    friends.InitWorld();
    const std::string code = EncodeChallenge(friends.Challenge());
    std::string typed;
    for (char c : code)
        if (c != '-') typed += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

    EnterGame();
    PressPlay();
    Tick(3);
    effects_.InputAnswers = {" " + typed + " "};
    ASSERT_TRUE(Form().Invoke(TCommand::MenuPlayChallenge));
    EXPECT_EQ(Form().Game().Challenge(), friends.Challenge());
    EXPECT_TRUE(Form().Game().State().Properties == friends.State().Properties);
    EXPECT_EQ(Form().Game().State().MonthsPlayed, 0);
    EXPECT_NE(
        View().Avail.Rows.front().Text.find(FormatPounds(friends.State().Property(1).BuyPrice)),
        std::string::npos);
    EXPECT_TRUE(View().Start.Enabled);

    // The same market goes on with the same draws.
    PressPlay();
    friends.Apply(TMove::Of(TMoveKind::Start));
    for (int i = 0; i < 12; ++i) {
        Tick();
        friends.Apply(TMove::Of(TMoveKind::Tick));
    }
    EXPECT_TRUE(Form().Game().State().Properties == friends.State().Properties);

    // "Challenge a Friend…" shows the code of the game being played, ready to copy.
    effects_.ClearCalls();
    effects_.InputAnswers = {std::nullopt};
    ASSERT_TRUE(Form().Invoke(TCommand::MenuChallengeFriend));
    EXPECT_TRUE(effects_.Contains("input: Challenge a Friend | " + ChallengeMessage(Form().Game()) +
                                  " | " + code));
}

TEST_F(ChallengeTest, ATypoGetsAClearMessageAndChangesNothing) {
    StartEngagedGame();
    const TGameState before = Form().Game().State();
    effects_.ClearCalls();
    std::string code = EncodeChallenge({777, 0});
    code[2] = code[2] == '7' ? '8' : '7';
    effects_.InputAnswers = {code};
    ASSERT_TRUE(Form().Invoke(TCommand::MenuPlayChallenge));
    EXPECT_TRUE(
        effects_.Contains("error: Play a Challenge | That is not a Realtopia challenge code."));
    EXPECT_TRUE(Form().Game().State() == before);

    effects_.InputAnswers = {std::nullopt};  // Cancel
    ASSERT_TRUE(Form().Invoke(TCommand::MenuPlayChallenge));
    EXPECT_TRUE(Form().Game().State() == before);
}

TEST_F(ChallengeTest, AGamePlayedThroughTheWindowReplaysFromItsRecord) {
    StartEngagedGame();
    Buy({2});
    Tick(20);
    ClickPortfolio({0});
    Form().Invoke(TCommand::Mortgage);
    Tick(5);
    Form().Invoke(AreaCommand(4));
    ClickAvail({0, 1});
    Tick(2);
    const TGameRecord& record = Form().Game().Record();
    ASSERT_TRUE(Form().Game().Recording());
    ASSERT_GT(record.Moves.size(), 30U);

    TGame replay(temp_.Platform(1));
    const TReplayResult result = ReplayRecord(record, replay);
    ASSERT_EQ(result.Verdict, TReplayVerdict::Replayed) << result.Text();
    EXPECT_TRUE(replay.State() == Form().Game().State());
}

TEST_F(ChallengeTest, TheEndOfAChallengeGivesItsResultAndAFriendsResultIsSetBesideIt) {
    keepRecords_ = true;
    Create();
    TGame friends(temp_.Platform(4242));
    friends.InitWorld();
    const TChallenge code = friends.Challenge();
    EnterGame();
    PlayChallenge(EncodeChallenge(code));
    PressPlay();
    ClickAvail({0});
    const std::string reckoning = PlayToTheEnd();

    // The box gives the code and the result to send back: the worth the table took.
    const std::optional<TChallengeResult> ended = Form().ChallengePlay().Ended;
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->Code, code);
    THiScoreTable table;
    ASSERT_TRUE(table.Load(Form().Game().HiScorePath(), "20260101"));
    EXPECT_EQ(table.Score(1), ended->Worth);
    EXPECT_GT(ended->Worth, 0U);
    EXPECT_TRUE(reckoning.ends_with("\r\rThis market was the challenge " + EncodeChallenge(code) +
                                    ". Send your friend your result:\r\r" +
                                    EncodeChallengeResult(*ended)))
        << reckoning;

    // The friend's result, pasted once the game is over: both figures at once, nothing dealt.
    const TChallengeResult theirs{code, ended->Worth + 1000};
    const TGameState before = Form().Game().State();
    effects_.ClearCalls();
    PlayChallenge(EncodeChallengeResult(theirs));
    const std::string compared =
        "info: The challenge " + EncodeChallenge(code) + "\r\rYour worth: " + Pounds(ended->Worth) +
        "\rYour friend's: " + Pounds(theirs.Worth) + "\rYour friend made more.";
    EXPECT_TRUE(effects_.Contains(compared)) << ::testing::PrintToString(effects_.Calls());
    EXPECT_TRUE(Form().Game().State() == before);

    // Another run of the program finds the player's own figure in the hi-score entry's record.
    Create();
    EnterGame();
    effects_.ClearCalls();
    PlayChallenge(EncodeChallengeResult(theirs));
    EXPECT_TRUE(effects_.Contains(compared)) << ::testing::PrintToString(effects_.Calls());

    // Played again, with the friend's result pasted while the game runs: the end shows the
    // three figures.
    PlayChallenge(EncodeChallenge(code));
    EXPECT_EQ(Form().ChallengePlay().Earlier, ended->Worth);
    PressPlay();
    ClickAvail({0});
    Tick(3);
    effects_.ClearCalls();
    TGameState playing = Form().Game().State();
    ASSERT_TRUE(playing.ChallengeGame);
    PlayChallenge(EncodeChallengeResult(theirs));
    EXPECT_TRUE(effects_.Contains("info: Your friend ended this market worth " +
                                  Pounds(theirs.Worth) +
                                  ". Your own worth will stand beside it when this game ends."));
    // The game goes on as it was, with the friend's figure noted in it.
    playing.FriendsWorth = theirs.Worth;
    EXPECT_TRUE(Form().Game().State() == playing);
    const std::string again = PlayToTheEnd();
    const std::uint32_t mine = Form().ChallengePlay().Ended->Worth;
    EXPECT_TRUE(again.ends_with(EncodeChallengeResult({code, mine}) +
                                "\r\rYour worth: " + Pounds(mine) +
                                "\rYour earlier game of it: " + Pounds(ended->Worth) +
                                "\rYour friend's: " + Pounds(theirs.Worth) + "\r" +
                                (mine < theirs.Worth   ? "Your friend made more."
                                 : mine > theirs.Worth ? "You made more."
                                                       : "You both made the same.")))
        << again;
}

TEST_F(ChallengeTest, AChallengeLeftAndResumedEndsAsIfNeverLeft) {
    keepRecords_ = true;
    Create();
    TGame friends(temp_.Platform(4242));
    friends.InitWorld();
    const TChallenge code = friends.Challenge();
    const TChallengeResult theirs{code, 987654};
    EnterGame();
    PlayChallenge(EncodeChallenge(code));
    PressPlay();
    ClickAvail({0});
    Tick(3);
    PlayChallenge(EncodeChallengeResult(theirs));
    Tick(20);

    // The program leaves the game: its saved game and record, kept aside.
    ASSERT_TRUE(SaveGameOnExit(Form()));
    const std::string savePath = Form().Game().SavedGamePath();
    const std::string recordPath = Form().Game().RecordPath();
    const std::string savedBytes = ReadAll(savePath);
    const std::string recordBytes = ReadAll(recordPath);

    // The same game played on without a break ends with the result and the friend's figure.
    const std::string unbroken = PlayToTheEnd();
    const std::uint32_t mine = Form().ChallengePlay().Ended->Worth;
    const std::string ahead = mine < theirs.Worth   ? "Your friend made more."
                              : mine > theirs.Worth ? "You made more."
                                                    : "You both made the same.";
    EXPECT_TRUE(unbroken.ends_with("\r\rThis market was the challenge " + EncodeChallenge(code) +
                                   ". Send your friend your result:\r\r" +
                                   EncodeChallengeResult({code, mine}) +
                                   "\r\rYour worth: " + Pounds(mine) +
                                   "\rYour friend's: " + Pounds(theirs.Worth) + "\r" + ahead))
        << unbroken;

    // Another run of the program, with neither that game's hi-score entry nor its end: the
    // saved game and its record as they were left.
    const fs::path data = fs::path(Form().Game().HiScorePath()).parent_path();
    for (const auto& entry : fs::directory_iterator(data))
        if (entry.path().filename().string().starts_with("REALTOPI.DAT")) fs::remove(entry);
    WriteAll(savePath, savedBytes);
    WriteAll(recordPath, recordBytes);
    Create();
    App().OfferSavedGames = true;
    effects_.YesNoAnswers = {true};
    EnterGame();
    ASSERT_EQ(Form().Game().Challenge(), code);
    EXPECT_TRUE(Form().Game().IsChallenge());
    EXPECT_EQ(Form().Game().FriendsFigure(), theirs.Worth);
    EXPECT_EQ(Form().ChallengePlay().Friend, theirs.Worth);
    EXPECT_TRUE(Form().Game().Recording());  // its record goes on, challenge or not

    // Played on, it ends with the same box, and its hi-score entry's record replays.
    ASSERT_TRUE(Form().Invoke(TCommand::KeyEsc));
    EXPECT_EQ(PlayToTheEnd(), unbroken);
    THiScoreTable table;
    ASSERT_TRUE(table.Load(Form().Game().HiScorePath(), "20260101"));
    ASSERT_EQ(table.Score(1), mine);
    TPlatform platform = temp_.Platform();
    platform.KeepRecords = false;
    const TReplayResult replayed =
        VerifyEntry(Form().Game().HiScorePath(), table.Record(1), platform);
    EXPECT_EQ(replayed.Verdict, TReplayVerdict::Replayed) << replayed.Text();
}

TEST_F(ChallengeTest, OnlyAChallengeThePlayerTookPartInEndsWithAResult) {
    // A game of one's own: the reckoning as it always was.
    StartEngagedGame();
    std::string reckoning = PlayToTheEnd();
    ASSERT_NE(reckoning.find("\rMaking you worth a total of "), std::string::npos);
    EXPECT_EQ(reckoning.find("challenge"), std::string::npos) << reckoning;
    EXPECT_FALSE(Form().ChallengePlay().Ended);

    // Its code given to a friend through "Challenge a Friend…": its end gives the result.
    PressPlay();
    ClickAvail({0});
    effects_.InputAnswers = {std::nullopt};
    ASSERT_TRUE(Form().Invoke(TCommand::MenuChallengeFriend));
    const TChallenge mine = Form().Game().Challenge();
    reckoning = PlayToTheEnd();
    ASSERT_TRUE(Form().ChallengePlay().Ended);
    EXPECT_NE(reckoning.find(EncodeChallengeResult(*Form().ChallengePlay().Ended)),
              std::string::npos);
    EXPECT_EQ(Form().ChallengePlay().Ended->Code, mine);

    // A challenge quit early means nothing: no result.
    PlayChallenge(EncodeChallenge(mine));
    PressPlay();
    Tick(2);
    effects_.ClearCalls();
    effects_.YesNoAnswers = {true};
    ASSERT_TRUE(Form().Invoke(TCommand::MenuQuitAndReplay));
    const auto boxes = effects_.CallsStartingWith("info: You ended up with ");
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].find("Send your friend"), std::string::npos) << boxes[0];
}

TEST_F(ChallengeTest, AMistypedResultGetsAClearMessageAndChangesNothing) {
    StartEngagedGame();
    std::string text = EncodeChallengeResult({Form().Game().Challenge(), 2345678});
    text[text.find('/') + 3] = text[text.find('/') + 3] == '4' ? '5' : '4';
    const TGameState before = Form().Game().State();
    effects_.ClearCalls();
    PlayChallenge(text);
    EXPECT_TRUE(
        effects_.Contains("error: Play a Challenge | That is not a Realtopia challenge result."));
    EXPECT_TRUE(Form().Game().State() == before);
    EXPECT_FALSE(Form().ChallengePlay().Friend);
}

TEST_F(ChallengeTest, WatchingAHiScoreGameStepsTheSameStatesAsItsReplay) {
    keepRecords_ = true;
    Create();
    StartEngagedGame();
    Buy({2});
    Tick(14);
    ClickPortfolio({0});
    Form().Invoke(TCommand::Mortgage);
    PlayToTheEnd();
    const std::string tablePath = Form().Game().HiScorePath();
    const std::string tableBytes = ReadAll(tablePath);
    THiScoreTable table;
    ASSERT_TRUE(table.Load(tablePath, "20260101"));
    TGameRecord record;
    std::string why;
    ASSERT_TRUE(ReadGameRecord(EntryRecordPath(tablePath, table.Record(1)), record, why)) << why;

    // Game > Watch a Hi-Score Game…, the first place.
    effects_.ClearCalls();
    effects_.InputAnswers = {" 1 "};
    ASSERT_TRUE(Form().Invoke(TCommand::MenuWatch));
    ASSERT_TRUE(Form().Watching());
    const auto asked = effects_.CallsStartingWith("input: Watch a Game | ");
    ASSERT_EQ(asked.size(), 1U);
    // The score as every amount of the game is shown, with its thousands grouped.
    EXPECT_NE(asked[0].find("\r1) Ann Lee  " + FormatPounds(Money::Pounds(table.Score(1)))),
              std::string::npos);
    EXPECT_NE(FormatPounds(Money::Pounds(table.Score(1))).find(','), std::string::npos);
    // Meanwhile the player's own commands do nothing.
    EXPECT_FALSE(Form().Enabled(TCommand::Start));
    EXPECT_FALSE(Form().Invoke(TCommand::BuySell));
    EXPECT_FALSE(Form().ListMouseUp(TList::Avail, {0}));
    EXPECT_FALSE(View().Start.Enabled || View().BuySell.Enabled || View().Avail.Enabled);
    EXPECT_TRUE(View().Exit.Enabled);
    EXPECT_FALSE(Form().Enabled(TCommand::MenuRules));  // it would pause the watched game
    EXPECT_TRUE(Form().Enabled(TCommand::MenuStopWatching));

    // Each firing of the main timer is a month of the record, the same state as its replay's.
    TPlatform platform = temp_.Platform();
    platform.KeepRecords = false;
    TGame reference(platform);
    TReplay replay(record);
    ASSERT_TRUE(replay.Deal(reference));
    int months = 0;
    while (Form().View().TimerEnabled) {
        bool month = false;
        while (!replay.AtEnd() && !month) {
            month = replay.NextKind() == TMoveKind::Tick;
            ASSERT_TRUE(replay.Step(reference)) << replay.Result().Text();
        }
        Form().TimerFired();
        ASSERT_TRUE(Form().Game().State() == reference.State()) << "month " << months;
        // A game watched is not the player's: leaving the program does not keep it.
        if (months == 5) {
            EXPECT_FALSE(SaveGameOnExit(Form()));
        }
        EXPECT_FALSE(View().BuySell.Enabled || View().Portfolio.Enabled) << months;
        ASSERT_LT(++months, 200);
    }
    EXPECT_TRUE(replay.AtEnd());
    EXPECT_EQ(months, std::count_if(record.Moves.begin(), record.Moves.end(),
                                    [](const TRecordedMove& move) {
                                        return move.Move.Kind == TMoveKind::Tick;
                                    }));
    EXPECT_EQ(StateDigest(Form().Game()), record.State);
    EXPECT_EQ(View().Status, kWatchEnded);
    EXPECT_EQ(View().Progress, View().ProgressMax);
    EXPECT_TRUE(View().TimerEnabled == false);

    // At Instant, the whole game at the first firing; stopping deals a game of one's own, and
    // nothing of the player's was written meanwhile.
    ASSERT_TRUE(Form().Invoke(TCommand::MenuStopWatching));
    ASSERT_TRUE(Form().Invoke(TCommand::MenuWatchInstant));
    ASSERT_TRUE(Form().WatchRecord(record));
    EXPECT_EQ(View().TimerDue, 0);
    Form().TimerFired();
    EXPECT_TRUE(Form().Game().State() == reference.State());
    EXPECT_FALSE(View().TimerEnabled);
    ASSERT_TRUE(Form().Invoke(TCommand::MenuStopWatching));
    EXPECT_FALSE(Form().Watching());
    EXPECT_TRUE(Form().Enabled(TCommand::Start));
    EXPECT_TRUE(View().Start.Enabled && View().Rules.Enabled);
    EXPECT_FALSE(Form().Game().State().Running);
    EXPECT_EQ(ReadAll(tablePath), tableBytes);
    EXPECT_FALSE(FileExists(Form().Game().SavedGamePath()));
    EXPECT_FALSE(SaveGameOnExit(Form()));
}
