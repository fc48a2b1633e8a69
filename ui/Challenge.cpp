// Challenges in the main window: the code of the game being played, and a friend's market
// dealt from theirs.

#include "ui/Challenge.h"

#include "ui/Tmainform.h"

std::string ChallengeMessage(const TGame& game) {
    return "Your friend can play this very market: the same prices, headlines, trends and "
           "draws. Send them the code\r\r" +
           EncodeChallenge(game.Challenge()) +
           "\r\rto type into Game \u2192 Play a Challenge\u2026 (or to open the web page "
           "with ?challenge=" +
           EncodeChallenge(game.Challenge()) + " after its address), and see who makes more.";
}

TChallengeDeal Tmainform::PlayChallenge(const std::string& code) {
    TChallenge challenge;
    if (!DecodeChallenge(code, challenge)) {
        effects_.Error(kPlayChallengeCaption, kNotAChallengeCode);
        return TChallengeDeal::NotACode;
    }
    // A new game, dealt as at the start: the window starts over with the challenge's world.
    SoundDeviceWorks();
    const bool own = game_.DealChallenge(challenge);
    ApplyGameEvents();
    ResetWindow();
    if (own) return TChallengeDeal::Dealt;
    effects_.Information(kCustomisationDiffers);
    return TChallengeDeal::DealtAsBuiltIn;
}

void Tmainform::mnu_GameChallengeFriendClick() {
    // The code stands selected in the box, ready to be copied.
    std::string code = EncodeChallenge(game_.Challenge());
    effects_.Input(kChallengeFriendCaption, ChallengeMessage(game_), code,
                   IEffects::kInputMaxLength);
}

void Tmainform::mnu_GamePlayChallengeClick() {
    std::string code;
    if (effects_.Input(kPlayChallengeCaption, kPlayChallengePrompt, code,
                       IEffects::kInputMaxLength))
        PlayChallenge(code);
}
