#pragma once

#include <string>

class TRealtopia;

// The answer to the `state` command: the game state and everything the main window shows,
// as one line of JSON. Money is an integer count of ten-thousandths of a pound.
class StateJson {
public:
    static std::string Write(const TRealtopia& app);
};
