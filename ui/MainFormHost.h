#pragma once

#include <functional>
#include <string>

#include "ui/Commands.h"

// What the main window asks of the program that owns it: the windows that belong to the
// program rather than to the main window, and the way out.
class IMainFormHost {
public:
    virtual ~IMainFormHost() = default;

    // The police window, modal, with this message; `closed` once it is closed.
    virtual void ShowPoliceMessage(const std::string& message, std::function<void()> closed) = 0;
    // The damage/renovate chooser, modal, on the chooser the game waits for: a pick answers
    // the game from the chooser itself. `closed` once it is closed.
    virtual void ShowDamRenChooser(std::function<void()> closed) = 0;
    virtual void ShowAboutBox() = 0;
    // The e-mail command's questions and the relay page (the game is already paused).
    virtual void EmailAFriend() = 0;
    virtual void ExitProgram() = 0;
    // The player has just chosen with a command of the Options menu that sets something (the
    // sound switch, a ticker speed), which the program may keep for its next run.
    virtual void OptionChosen(TCommand /*command*/) {}
};
