#pragma once

#include <cstdint>
#include <string>

#include "engine/ChallengeCode.h"

class TGame;

// What the challenge commands say, the same in every front end.
inline constexpr const char* kChallengeFriendCaption = "Challenge a Friend";
inline constexpr const char* kPlayChallengeCaption = "Play a Challenge";
inline constexpr const char* kPlayChallengePrompt = "Type the challenge code your friend sent you";
inline constexpr const char* kCopyChallengeButton = "Copy";
inline constexpr const char* kCustomisationDiffers =
    "This challenge was made with another customisation file than yours: you play its market "
    "with the names and prices as built in.";

// The text of "Challenge a Friend…": the code of the game being played and what to do with it.
std::string ChallengeMessage(const TGame& game);

// How "Play a Challenge…" went.
enum class TChallengeDeal : std::int8_t {
    Dealt,           // the challenge's market, with the player's own customisation file
    DealtAsBuiltIn,  // the challenge's market, as built in (its customisation was another's)
    NotACode,        // nothing changed
};
