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

}  // namespace consoletext
