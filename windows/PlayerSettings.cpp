#include "windows/PlayerSettings.h"

#include <optional>

#include "ui/Tmainform.h"

namespace {

const char* SpeedText(TSpeed speed) {
    switch (speed) {
        case tsSlow:
            return "slow";
        case tsFast:
            return "fast";
        case tsMedium:
            break;
    }
    return "medium";
}

std::optional<TSpeed> SpeedOf(const std::string& text) {
    for (const TSpeed speed : {tsSlow, tsMedium, tsFast})
        if (text == SpeedText(speed)) return speed;
    return std::nullopt;
}

}  // namespace

TPlayerSettings ReadPlayerSettings(ISettingsStore& store) {
    TPlayerSettings settings;
    if (const auto text = store.Read(settingkeys::TickerSpeed))
        settings.TickerSpeed = SpeedOf(*text).value_or(settings.TickerSpeed);
    if (const auto text = store.Read(settingkeys::Sound)) settings.SoundOff = *text == "off";
    return settings;
}

TPlayerSettings ShownPlayerSettings(const Tmainform& form) {
    TPlayerSettings settings;
    settings.TickerSpeed = form.mq().Speed();
    settings.SoundOff = !form.Game().State().SoundOn;
    return settings;
}

void ApplyPlayerSettings(const TPlayerSettings& settings, Tmainform& form) {
    switch (settings.TickerSpeed) {
        case tsSlow:
            form.RestoreOption(TCommand::MenuSlow);
            break;
        case tsMedium:
            form.RestoreOption(TCommand::MenuMedium);
            break;
        case tsFast:
            form.RestoreOption(TCommand::MenuFast);
            break;
    }
    if (settings.SoundOff && form.Game().State().SoundOn) form.RestoreOption(TCommand::MenuSound);
}

void KeepPlayerChoice(ISettingsStore& store, TCommand command, const Tmainform& form) {
    const TPlayerSettings shown = ShownPlayerSettings(form);
    switch (command) {
        case TCommand::MenuSound:
            store.Write(settingkeys::Sound, shown.SoundOff ? "off" : "on");
            break;
        case TCommand::MenuFast:
        case TCommand::MenuMedium:
        case TCommand::MenuSlow:
            store.Write(settingkeys::TickerSpeed, SpeedText(shown.TickerSpeed));
            break;
        default:
            break;
    }
}
