#pragma once

#include <string>

#include "engine/GameWindow.h"

// A window that answers every question with No or Cancel: for benchmarks and fuzzing, where
// only the engine's own work matters. Whoever plays through it clears the game's events
// (TGame::Events()), which no view takes.
class NullGameWindow : public IGameWindow {
public:
    bool SoundDeviceWorks() override { return false; }
    void ShowInformation(const std::string&) override {}
    void ShowError(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    bool InputBox(const std::string&, const std::string&, std::string&) override { return false; }
    void ShowPoliceMessage(const std::string&) override {}
    bool ShowDamRenChooser() override { return false; }
};
