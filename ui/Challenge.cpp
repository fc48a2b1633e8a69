// Challenges in the main window: the code of the game being played, a friend's market dealt
// from theirs, and the figures compared at the end.

#include "ui/Challenge.h"

#include "engine/Hisc.h"
#include "ui/Tmainform.h"

namespace {

std::string Pounds(std::uint32_t worth) {
    return FormatPounds(Money::Pounds(worth));
}

}  // namespace

std::string ChallengeMessage(const TGame& game) {
    return "Your friend can play this very market: the same prices, headlines, trends and "
           "draws. Send them the code\r\r" +
           EncodeChallenge(game.Challenge()) +
           "\r\rto type into Game \u2192 Play a Challenge\u2026 (or to open the web page "
           "with ?challenge=" +
           EncodeChallenge(game.Challenge()) + " after its address), and see who makes more.";
}

std::string ChallengeFigures(std::uint32_t yours, std::optional<std::uint32_t> friends,
                             std::optional<std::uint32_t> earlier) {
    std::string text = kYourWorth + Pounds(yours);
    if (earlier) text += std::string("\r") + kEarlierWorth + Pounds(*earlier);
    if (friends) {
        text += std::string("\r") + kFriendsWorth + Pounds(*friends) + "\r";
        text += *friends > yours ? kFriendAhead : *friends < yours ? kYouAhead : kLevelPegging;
    }
    return text;
}

std::string ChallengeEndText(const TChallengeResult& result, std::optional<std::uint32_t> friends,
                             std::optional<std::uint32_t> earlier) {
    std::string text = std::string(kChallengeEndLead) + EncodeChallenge(result.Code) +
                       kChallengeEndSend + "\r\r" + EncodeChallengeResult(result);
    if (friends || earlier) text += "\r\r" + ChallengeFigures(result.Worth, friends, earlier);
    return text;
}

std::optional<std::uint32_t> EarlierWorth(const TGame& game, const TChallenge& challenge) {
    const std::string path = game.HiScorePath();
    if (!FileExists(path)) return std::nullopt;
    THiScoreTable table;  // a table that cannot be read has no earlier games to tell
    if (!table.Load(path, TPlatform::SystemToday())) return std::nullopt;
    for (int place = 1; place <= 10; ++place) {
        const THiRecord& entry = table.Record(place);
        TGameRecord record;
        std::string why;
        if (ReadGameRecord(EntryRecordPath(path, entry), record, why) && record.Code == challenge &&
            record.Finished)
            return entry.Score;  // best first
    }
    return std::nullopt;
}

std::string Tmainform::ChallengeEnding() {
    if (!game_.IsChallenge() || !game_.ReckoningOpen() || !game_.State().Engaged) return {};
    const TChallengeResult result{game_.Challenge(),
                                  TGame::ScoreOf(game_.PortfolioValue() + game_.State().Cash)};
    const std::optional<std::uint32_t> earlier =
        challenge_.Playing == result.Code ? challenge_.Earlier : std::nullopt;
    challenge_.Ended = result;
    return "\r\r" + ChallengeEndText(result, game_.FriendsFigure(), earlier);
}

void Tmainform::FollowChallenge() {
    if (!game_.IsChallenge()) return;
    const TChallenge challenge = game_.Challenge();
    if (challenge_.Playing != challenge)
        challenge_ = TChallengePlay{challenge, {}, OwnWorth(challenge), challenge_.Ended};
    challenge_.Friend = game_.FriendsFigure();
}

std::string ChallengeLink(const TChallenge& challenge) {
    return "?challenge=" + EncodeChallenge(challenge);
}

std::optional<std::uint32_t> Tmainform::OwnWorth(const TChallenge& challenge) const {
    if (challenge_.Ended && challenge_.Ended->Code == challenge) return challenge_.Ended->Worth;
    return EarlierWorth(game_, challenge);
}

TChallengeDeal Tmainform::PlayChallenge(const std::string& text) {
    TChallengeResult result;
    const bool isResult = DecodeChallengeResult(text, result);
    if (!isResult && !DecodeChallenge(text, result.Code)) {
        const bool meantResult = text.find('/') != std::string::npos;
        effects_.ShowError(kPlayChallengeCaption,
                           meantResult ? kNotAChallengeResult : kNotAChallengeCode, {});
        return TChallengeDeal::NotACode;
    }
    const TChallenge challenge = result.Code;
    if (isResult) {
        // The game being played is that market: its end shows both figures.
        if (challenge == game_.Challenge() && game_.GameInProgress()) {
            game_.NoteFriendsFigure(result.Worth);
            FollowChallenge();
            effects_.ShowInformation(kFriendNotedLead + Pounds(result.Worth) + kFriendNotedRest,
                                     {});
            return TChallengeDeal::FriendNoted;
        }
        // A market the player has played to its end: the two figures at once.
        if (const auto own = OwnWorth(challenge)) {
            effects_.ShowInformation(kChallengeComparedLead + EncodeChallenge(challenge) + "\r\r" +
                                         ChallengeFigures(*own, result.Worth, std::nullopt),
                                     {});
            return TChallengeDeal::Compared;
        }
    }
    // A new game, dealt as at the start: the window starts over with the challenge's world.
    SoundDeviceWorks();
    const bool own = game_.DealChallenge(challenge);
    ApplyGameEvents();
    ResetWindow();
    // The friend's figure stays with their market when its code is played again.
    std::optional<std::uint32_t> friends;
    if (isResult)
        friends = result.Worth;
    else if (challenge_.Playing == challenge)
        friends = challenge_.Friend;
    game_.NoteFriendsFigure(friends);
    challenge_ = TChallengePlay{challenge, friends, OwnWorth(challenge), challenge_.Ended};
    if (own) return TChallengeDeal::Dealt;
    effects_.ShowInformation(kCustomisationDiffers, {});
    return TChallengeDeal::DealtAsBuiltIn;
}

void Tmainform::mnu_GameChallengeFriendClick() {
    // The game being played is now a challenge: its end gives the result to send back.
    const TChallenge challenge = game_.Challenge();
    game_.MarkChallenge();
    FollowChallenge();
    const std::string code = EncodeChallenge(challenge);
    effects_.ShowCopyable(kChallengeFriendCaption, ChallengeMessage(game_), code,
                          kCopyChallengeButton, ChallengeLink(challenge), {});
}

void Tmainform::mnu_GamePlayChallengeClick() {
    effects_.AskInput(kPlayChallengeCaption, kPlayChallengePrompt, {}, IEffects::kInputMaxLength,
                      [this](bool ok, const std::string& text) {
                          if (ok) PlayChallenge(text);
                      });
}
