#pragma once

#include <string>

#include "engine/GameWindow.h"

// A window that draws nothing and answers every question with No or Cancel: for benchmarks
// and fuzzing, where only the engine's own work matters.
class NullGameWindow : public IGameWindow {
public:
    void RefreshDisplay() override {}
    void ShowCash() override {}
    void RefillLists() override {}
    void ShowAreaInfo() override {}
    void ClearSelections() override {}
    void ResetWindow() override {}
    void PauseGame() override {}
    void ResumeGame() override {}
    void SetStatusText(const std::string&) override {}
    void ShowNetWorth(Money) override {}
    void ShowDate() override {}
    void SetProgress(int) override {}
    void SetProgressToMaximum() override {}
    void EnablePlay() override {}
    void StopMainTimer() override {}
    void TickerStop() override {}
    void SetTickerText(const std::string&) override {}
    void SetTickerActive(bool) override {}
    void PlayClick() override {}
    void PlaySoundResource(TSound, bool) override {}
    bool SoundDeviceWorks() override { return false; }
    void ShowInformation(const std::string&) override {}
    void ShowError(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    bool InputBox(const std::string&, const std::string&, std::string&) override { return false; }
    void ShowPoliceMessage(const std::string&) override {}
    bool ShowDamRenChooser() override { return false; }
    void ExitProgram() override {}
};
