#pragma once

#include <string>

// The police message window: the caller writes the message, the window shows it modally.
// A carriage return in the message starts a new line.
struct Tpoliceform {
    static constexpr const char* Caption = "POLICE MESSAGE";
    static constexpr const char* Heading = "POLICE MESSAGE";
    std::string lbl_message = "POLICE MESSAGE";
};
