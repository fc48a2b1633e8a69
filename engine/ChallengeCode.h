#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A game to share: the seed its market was dealt from and a digest of what the customisation
// file changed in its world (0: nothing). Written as letters and digits in dash-separated
// groups, e.g. "4K9M-ZQ2T-8H3B", of an alphabet without I, L, O or U; the last character is
// a check, so a mistyped character or two swapped neighbours are caught.
struct TChallenge {
    std::uint64_t Seed = 0;
    std::uint16_t Customisation = 0;  // 15 bits; 0 for a world as built in

    bool operator==(const TChallenge&) const = default;
};

inline constexpr const char* kNotAChallengeCode = "That is not a Realtopia challenge code.";
inline constexpr std::uint16_t kCustomisationMask = 0x7FFF;

// The code of a challenge: at least 12 characters, more only for a seed above 2^40.
std::string EncodeChallenge(const TChallenge& challenge);
// Reads a code, in either case, with or without its dashes and spaces; O, I and L are read
// as 0, 1 and 1. False, and `challenge` untouched, for anything that is not a code of this
// game (a typo, another game's code, the wrong length).
bool DecodeChallenge(std::string_view text, TChallenge& challenge);

// What a friend sends back after playing a challenge: its code and the worth they ended with,
// in whole pounds, e.g. "4K9M-ZQ2T-8H3B/1234567-Q": the code, a slash, the worth in plain
// digits, a dash and a check character over both, so a mistyped figure is caught as well.
struct TChallengeResult {
    TChallenge Code;
    std::uint32_t Worth = 0;

    bool operator==(const TChallengeResult&) const = default;
};

inline constexpr const char* kNotAChallengeResult = "That is not a Realtopia challenge result.";

std::string EncodeChallengeResult(const TChallengeResult& result);
// Reads a result, in either case, spaces anywhere, the figure with or without its thousands
// commas or a pound sign. False, and `result` untouched, for anything else: a typo in the code
// or the figure, a code without a figure, a figure above 4,294,967,295.
bool DecodeChallengeResult(std::string_view text, TChallengeResult& result);
