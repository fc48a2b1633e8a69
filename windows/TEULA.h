#pragma once

#include <string>

// The user agreement, accepted afresh before every entry into the game.
struct TEULA {
    static constexpr const char* Heading = "USER AGREEMENT";
    // The window's title, and what a screen reader names it by.
    static constexpr const char* Subject = "User Agreement";
    static constexpr const char* AcceptCaption = "I &AGREE";
    static constexpr const char* DeclineCaption = "I &DISAGREE";

    // The text written into the agreement when the window is created.
    static std::string AgreementText(const std::string& applicationTitle);
};
