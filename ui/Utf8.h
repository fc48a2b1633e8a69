#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace utf8 {

// The characters of a UTF-8 text, each as its own string (a stray byte counts as one).
std::vector<std::string> Characters(const std::string& text);
// The first `count` characters (not bytes) of a UTF-8 text; all of it when count is negative.
std::string FirstCharacters(const std::string& text, int count);

// One character of a UTF-8 text: its code point and its length in bytes. Bytes that are not
// valid UTF-8 (a stray continuation byte, a sequence cut short, an overlong form, a surrogate,
// a code point beyond U+10FFFF) come one at a time with Valid false.
struct TCharacter {
    char32_t CodePoint = 0;
    std::size_t Length = 1;
    bool Valid = false;
};
TCharacter Decode(const std::string& text, std::size_t at);
// A control character a terminal could act on: U+0000-U+001F, U+007F and U+0080-U+009F.
bool IsControl(char32_t c);
// U+FFFD, written in place of bytes that are not valid UTF-8.
inline constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";

}  // namespace utf8
