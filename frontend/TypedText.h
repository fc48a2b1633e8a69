#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reading what a player typed or a page answered: a line's words and its numbers.
namespace typed {

// Without leading and trailing blanks and tabs.
std::string Trim(const std::string& text);
// The words of a line, split at runs of blanks and tabs.
std::vector<std::string> Words(const std::string& text);
// A decimal number of digits only, within [low, high]; nothing for anything else.
std::optional<std::int64_t> ParseInteger(const std::string& text, std::int64_t low,
                                         std::int64_t high);
std::optional<std::uint64_t> ParseUnsigned(const std::string& text);

}  // namespace typed
