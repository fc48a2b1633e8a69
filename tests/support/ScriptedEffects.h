#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/Effects.h"

// A toolkit for tests: records every call in order as a readable line and answers the
// boxes and modal windows from queues that the test fills. An empty queue gives the
// cautious answer (No, Cancel, not OK), and the call is noted in Defaulted().
//
// Lines: "info: text", "error: caption | text", "yesno: question",
// "input: caption | prompt | default", "modal: Agreement|Rules|DamRen|Police",
// "show main window", "hide splash", "timer", "sound: NAME async|wait", "sound device",
// "url: address", "quit"; "process events" only when RecordProcessEvents is set.
class ScriptedEffects : public IEffects {
public:
    // ---- Answers ----
    std::deque<bool> YesNoAnswers;
    std::deque<std::optional<std::string>> InputAnswers;  // nullopt: Cancel
    std::deque<bool> ModalResults;
    // Runs while a modal window is shown, before its result is taken: a test clicks the
    // chooser's items or the rules topics here.
    std::map<Modal, std::function<void()>> OnModal;
    // Runs while a message or input box is shown, before it is answered.
    std::function<void()> OnBox;
    // Runs whenever the logic lets pending events be processed.
    std::function<void()> OnProcessEvents;

    SoundResult NextSoundResult = SoundResult::Played;
    bool DeviceWorks = true;
    bool UrlOpens = true;
    bool RecordProcessEvents = false;
    // The monotonic time the game clock reads, in milliseconds; a test moves it by hand.
    std::int64_t NowMs = 0;

    // ---- Record ----
    // What was announced to a screen reader, in order (kept apart from Calls()).
    std::vector<std::string> Announcements;
    const std::vector<std::string>& Calls() const { return calls_; }
    const std::vector<std::string>& Defaulted() const { return defaulted_; }
    // Calls that start with `prefix`, in order.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    int Count(const std::string& line) const;
    bool Contains(const std::string& line) const { return Count(line) > 0; }
    void ClearCalls();

    static std::string ModalName(Modal window);

    // ---- IEffects ----
    void Information(const std::string& text) override;
    void Error(const std::string& caption, const std::string& text) override;
    bool YesNo(const std::string& question) override;
    bool Input(const std::string& caption, const std::string& prompt, std::string& text,
               int maxLength) override;
    bool ShowModal(Modal window) override;
    void ShowMainWindow() override;
    void HideSplash() override;
    void MainTimerChanged() override;
    std::int64_t Now() override { return NowMs; }
    void Announce(const std::string& text) override { Announcements.push_back(text); }
    SoundResult PlaySound(const std::string& name, bool wait) override;
    bool SoundDeviceWorks() override;
    bool OpenUrl(const std::string& url) override;
    void ProcessEvents() override;
    void Quit() override;

private:
    void Record(std::string line) { calls_.push_back(std::move(line)); }

    std::vector<std::string> calls_;
    std::vector<std::string> defaulted_;
};
