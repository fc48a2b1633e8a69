#pragma once

#include <string>
#include <vector>

class TRealtopia;

// The answer to the `show` command: a readable picture of the window the player sees (the
// splash before the game window is entered), one string a line, without tags. Each control
// is named by the command word that works it.
class ShowText {
public:
    static std::vector<std::string> Lines(const TRealtopia& app);
};
