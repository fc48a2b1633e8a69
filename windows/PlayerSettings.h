#pragma once

#include "ui/Commands.h"
#include "ui/TMarquee.h"
#include "windows/SettingsStore.h"

class Tmainform;

// The Options menu's choices, kept across runs: the ticker's speed and the sound switch.
struct TPlayerSettings {
    TSpeed TickerSpeed = tsMedium;
    // Sound switched off by the player. Sound switched on is what the device test at the start
    // of each game decides, so only "off" changes anything.
    bool SoundOff = false;

    bool operator==(const TPlayerSettings&) const = default;
};

namespace settingkeys {
inline constexpr const char* TickerSpeed = "options/tickerSpeed";  // "slow", "medium", "fast"
inline constexpr const char* Sound = "options/sound";              // "on", "off"
}  // namespace settingkeys

// What the store holds; a key missing, damaged or of a value this program does not know
// leaves that setting at its default.
TPlayerSettings ReadPlayerSettings(ISettingsStore& store);

// The choices the main window's Options menu shows now.
TPlayerSettings ShownPlayerSettings(const Tmainform& form);
// Makes the Options menu show them, as the player's choosing them would.
void ApplyPlayerSettings(const TPlayerSettings& settings, Tmainform& form);
// Keeps the choice the player just made with an Options menu command: only that one, so that
// a sound switched on by the device test is never taken for the player's choice.
void KeepPlayerChoice(ISettingsStore& store, TCommand command, const Tmainform& form);
