#include "support/ScriptedEffects.h"

#include <algorithm>

std::vector<std::string> ScriptedEffects::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& call : calls_)
        if (call.compare(0, prefix.size(), prefix) == 0) out.push_back(call);
    return out;
}

int ScriptedEffects::Count(const std::string& line) const {
    return static_cast<int>(std::count(calls_.begin(), calls_.end(), line));
}

void ScriptedEffects::ClearCalls() {
    calls_.clear();
    defaulted_.clear();
}

std::string ScriptedEffects::ModalName(Modal window) {
    switch (window) {
        case Modal::Agreement:
            return "Agreement";
        case Modal::Rules:
            return "Rules";
        case Modal::DamRen:
            return "DamRen";
        case Modal::Police:
            return "Police";
        case Modal::MarketReport:
            return "MarketReport";
    }
    return "?";
}

void ScriptedEffects::Information(const std::string& text) {
    Record("info: " + text);
    if (OnBox) OnBox();
}

void ScriptedEffects::Error(const std::string& caption, const std::string& text) {
    Record("error: " + caption + " | " + text);
    if (OnBox) OnBox();
}

bool ScriptedEffects::YesNo(const std::string& question) {
    Record("yesno: " + question);
    if (OnBox) OnBox();
    if (YesNoAnswers.empty()) {
        defaulted_.push_back(calls_.back());
        return false;
    }
    const bool answer = YesNoAnswers.front();
    YesNoAnswers.pop_front();
    return answer;
}

bool ScriptedEffects::Input(const std::string& caption, const std::string& prompt,
                            std::string& text, int maxLength) {
    Record("input: " + caption + " | " + prompt + " | " + text);
    if (OnBox) OnBox();
    if (InputAnswers.empty()) {
        defaulted_.push_back(calls_.back());
        return false;
    }
    std::optional<std::string> answer = InputAnswers.front();
    InputAnswers.pop_front();
    if (!answer) return false;  // Cancel keeps the default text
    // The edit field takes at most maxLength characters (UTF-8 lead bytes counted).
    int characters = 0;
    std::size_t cut = answer->size();
    for (std::size_t i = 0; i < answer->size(); ++i) {
        if ((static_cast<unsigned char>((*answer)[i]) & 0xC0) == 0x80) continue;
        if (characters == maxLength) {
            cut = i;
            break;
        }
        ++characters;
    }
    text = answer->substr(0, cut);
    return true;
}

bool ScriptedEffects::ShowModal(Modal window) {
    Record("modal: " + ModalName(window));
    auto hook = OnModal.find(window);
    if (hook != OnModal.end() && hook->second) hook->second();
    if (ModalResults.empty()) {
        defaulted_.push_back("modal: " + ModalName(window));
        return false;
    }
    const bool ok = ModalResults.front();
    ModalResults.pop_front();
    return ok;
}

void ScriptedEffects::ShowMainWindow() {
    Record("show main window");
}
void ScriptedEffects::HideSplash() {
    Record("hide splash");
}
void ScriptedEffects::MainTimerChanged() {
    Record("timer");
}

IEffects::SoundResult ScriptedEffects::PlaySound(const std::string& name, bool wait) {
    Record("sound: " + name + (wait ? " wait" : " async"));
    return NextSoundResult;
}

bool ScriptedEffects::SoundDeviceWorks() {
    Record("sound device");
    return DeviceWorks;
}

bool ScriptedEffects::OpenUrl(const std::string& url) {
    Record("url: " + url);
    return UrlOpens;
}

void ScriptedEffects::ProcessEvents() {
    if (RecordProcessEvents) Record("process events");
    if (OnProcessEvents) OnProcessEvents();
}

void ScriptedEffects::Quit() {
    Record("quit");
}
