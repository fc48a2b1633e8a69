#pragma once

#include <string>

// The police message window: the caller writes the message, the window shows it modally.
// A carriage return in the message starts a new line.
struct Tpoliceform {
    static constexpr const char* Caption = "POLICE MESSAGE";
    // What the window is about, as a screen reader names it.
    static constexpr const char* Subject = "Police";
    static constexpr const char* Heading = "POLICE MESSAGE";
    std::string lbl_message = "POLICE MESSAGE";
};
