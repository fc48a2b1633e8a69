#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/ChallengeCode.h"

class TGame;

// What the challenge commands say, the same in every front end.
inline constexpr const char* kChallengeFriendCaption = "Challenge a Friend";
inline constexpr const char* kPlayChallengeCaption = "Play a Challenge";
inline constexpr const char* kPlayChallengePrompt =
    "Type the challenge code or the result your friend sent you";
inline constexpr const char* kCopyChallengeButton = "Copy";
inline constexpr const char* kCustomisationDiffers =
    "This challenge was made with another customisation file than yours: you play its market "
    "with the names and prices as built in.";

// The end of a challenge and the figures compared.
inline constexpr const char* kChallengeEndLead = "This market was the challenge ";
inline constexpr const char* kChallengeEndSend = ". Send your friend your result:";
inline constexpr const char* kYourWorth = "Your worth: ";
inline constexpr const char* kFriendsWorth = "Your friend's: ";
inline constexpr const char* kEarlierWorth = "Your earlier game of it: ";
inline constexpr const char* kFriendAhead = "Your friend made more.";
inline constexpr const char* kYouAhead = "You made more.";
inline constexpr const char* kLevelPegging = "You both made the same.";
inline constexpr const char* kFriendNotedLead = "Your friend ended this market worth ";
inline constexpr const char* kFriendNotedRest =
    ". Your own worth will stand beside it when this game ends.";
inline constexpr const char* kChallengeComparedLead = "The challenge ";

// What the window knows of challenges in this run of the program. Whether the game being
// played is a challenge, and the friend's figure on it, are the game's own (TGame::IsChallenge,
// TGame::FriendsFigure, kept with the saved game); this is the last challenge played and the
// figures known for it, so that its code played again keeps the friend's figure.
struct TChallengePlay {
    // The last challenge played: dealt from its code, its code given to a friend, or resumed.
    // It stays set when another game follows.
    std::optional<TChallenge> Playing;
    std::optional<std::uint32_t> Friend;   // the friend's worth on it, from their result
    std::optional<std::uint32_t> Earlier;  // the player's own worth in an earlier game of it
    // The result of the last challenge that ended with the player engaged.
    std::optional<TChallengeResult> Ended;
};

// "Your worth: £1,234\rYour friend's: £987\rYou made more." (lines only for figures known).
std::string ChallengeFigures(std::uint32_t yours, std::optional<std::uint32_t> friends,
                             std::optional<std::uint32_t> earlier);
// What the end box of a challenge adds to the reckoning: the code, the result to send back,
// and the figures to compare when there are any.
std::string ChallengeEndText(const TChallengeResult& result, std::optional<std::uint32_t> friends,
                             std::optional<std::uint32_t> earlier);
// The best worth of the player's own hi-score entries whose kept record is of `challenge`'s
// market and reached its reckoning.
std::optional<std::uint32_t> EarlierWorth(const TGame& game, const TChallenge& challenge);

// What the page adds to its address to deal the challenge: "?challenge=CODE".
std::string ChallengeLink(const TChallenge& challenge);

// The text of "Challenge a Friend…": the code of the game being played and what to do with it.
std::string ChallengeMessage(const TGame& game);

// How "Play a Challenge…" went.
enum class TChallengeDeal : std::int8_t {
    Dealt,           // the challenge's market, with the player's own customisation file
    DealtAsBuiltIn,  // the challenge's market, as built in (its customisation was another's)
    NotACode,        // nothing changed
    FriendNoted,     // a result of the game being played: its figure waits for the end
    Compared,        // a result of a market the player has played: both figures shown
};
