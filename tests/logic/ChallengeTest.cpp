// The Game menu's challenges, and the record of a game played through the window.

#include <gtest/gtest.h>

#include <cctype>

#include "engine/GameRecord.h"
#include "support/RealtopiaFixture.h"
#include "ui/Challenge.h"

namespace {

class ChallengeTest : public RealtopiaFixture {};

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
