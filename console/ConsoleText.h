#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/TMarquee.h"

// Small text helpers of the command reader.
namespace consoletext {

// Without leading and trailing blanks and tabs.
std::string Trim(const std::string& text);
// The words of a line, split at runs of blanks and tabs.
std::vector<std::string> Words(const std::string& text);
// The characters of a UTF-8 text, each as its own string (a stray byte counts as one).
std::vector<std::string> Characters(const std::string& utf8);
// A decimal number of digits only, within [low, high]; nothing for anything else.
std::optional<std::int64_t> ParseInteger(const std::string& text, std::int64_t low,
                                         std::int64_t high);
std::optional<std::uint64_t> ParseUnsigned(const std::string& text);
// Lower-case ASCII letters, for words compared without regard to case.
std::string Lower(std::string text);
// The protocol's name of a ticker speed: "slow", "medium" or "fast".
const char* SpeedName(TSpeed speed);

// One character of a UTF-8 text: its code point and its length in bytes. Bytes that are not
// valid UTF-8 (a stray continuation byte, a sequence cut short, an overlong form, a surrogate,
// a code point beyond U+10FFFF) come one at a time with Valid false.
struct TUtf8Character {
    char32_t CodePoint = 0;
    std::size_t Length = 1;
    bool Valid = false;
};
TUtf8Character DecodeUtf8(const std::string& text, std::size_t at);
// A control character a terminal could act on: U+0000-U+001F, U+007F and U+0080-U+009F.
bool IsControl(char32_t c);
// U+FFFD, written in place of bytes that are not valid UTF-8.
inline constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";

}  // namespace consoletext
