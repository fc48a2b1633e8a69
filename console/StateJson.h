#pragma once

#include <string>

class TRealtopia;

// The answer to the `state` command: the game state and everything the main window shows,
// as one line of JSON. Money is an integer count of ten-thousandths of a pound.
class StateJson {
public:
    static std::string Write(const TRealtopia& app);

    // A JSON string literal: quotes, backslash and control characters escaped (\r \n \t, the
    // rest, DEL and C1 included, as \u00XX); valid UTF-8 passes through unchanged, other bytes
    // become U+FFFD.
    static std::string Quote(const std::string& text);
};
