#pragma once

#include <string>

#include "ui/Effects.h"

// A toolkit that shows nothing: every question is answered No, every modal window closes at
// once with the result `modalResult`. For benchmarks, tools and widget tests that only need
// the window logic to run.
class QuietEffects : public IEffects {
public:
    explicit QuietEffects(bool modalResult = true) : modalResult_(modalResult) {}

    void Information(const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
    bool YesNo(const std::string&) override { return false; }
    bool Input(const std::string&, const std::string&, std::string&, int) override { return false; }
    bool ShowModal(Modal) override { return modalResult_; }
    void ShowMainWindow() override {}
    void HideSplash() override {}
    void MainTimerChanged() override {}
    SoundResult PlaySound(const std::string&, bool) override { return SoundResult::Played; }
    bool SoundDeviceWorks() override { return false; }
    bool OpenUrl(const std::string&) override { return modalResult_; }
    void ProcessEvents() override {}
    void Quit() override {}

private:
    bool modalResult_;
};
