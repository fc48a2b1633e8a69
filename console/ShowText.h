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

    // A caption as it reads on screen: "&" marks an accelerator and is not shown ("&&" is "&").
    static std::string Plain(const std::string& caption);
};
