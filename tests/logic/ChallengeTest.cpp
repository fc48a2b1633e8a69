// The Game menu's challenges, and the record of a game played through the window.

#include <gtest/gtest.h>

#include <cctype>

#include "engine/GameRecord.h"
#include "engine/Hisc.h"
#include "support/RealtopiaFixture.h"
#include "ui/Challenge.h"

namespace {

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
    const std::string compared = "info: The challenge " + EncodeChallenge(code) +
                                 "\r\rYour worth: " + Pounds(ended->Worth) +
                                 "\rYour friend's: " + Pounds(theirs.Worth) +
                                 "\rYour friend made more.";
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
    const TGameState playing = Form().Game().State();
    PlayChallenge(EncodeChallengeResult(theirs));
    EXPECT_TRUE(effects_.Contains("info: Your friend ended this market worth " +
                                  Pounds(theirs.Worth) +
                                  ". Your own worth will stand beside it when this game ends."));
    EXPECT_TRUE(Form().Game().State() == playing);
    const std::string again = PlayToTheEnd();
    const std::uint32_t mine = Form().ChallengePlay().Ended->Worth;
    EXPECT_TRUE(again.ends_with(EncodeChallengeResult({code, mine}) + "\r\rYour worth: " +
                                Pounds(mine) + "\rYour earlier game of it: " +
                                Pounds(ended->Worth) + "\rYour friend's: " +
                                Pounds(theirs.Worth) + "\r" +
                                (mine < theirs.Worth   ? "Your friend made more."
                                 : mine > theirs.Worth ? "You made more."
                                                       : "You both made the same.")))
        << again;
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
