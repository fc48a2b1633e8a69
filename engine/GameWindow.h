#pragma once

#include <cstdint>
#include <string>

#include "engine/GameEvent.h"

// What the damage/renovate chooser is open for.
enum class TDamRenMode : std::int8_t { None, Damage, Renovate };

// What the rules ask of the player, and wait for. Everything else a rule does reaches the
// window as an event in the game's outbox (engine/GameEvent.h); the window logic applies the
// events so far before it shows any of these, so the screen behind a box is the game of that
// moment. A box that only informs is asked here too: the rule goes on only once the player has
// read it (a fine is taken after its police window), and the player may act meanwhile. The
// window logic implements it; benchmarks and fuzzing use NullGameWindow.
class IGameWindow {
public:
    enum class List { Avail, Portfolio };

    virtual ~IGameWindow() = default;

    // Whether a sound can be played: asked when a world is dealt.
    virtual bool SoundDeviceWorks() = 0;

    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowError(const std::string& caption, const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& question) = 0;
    // Returns whether OK was pressed; `text` holds the default on entry and the answer on OK.
    virtual bool InputBox(const std::string& caption, const std::string& prompt,
                          std::string& text) = 0;
    virtual void ShowPoliceMessage(const std::string& text) = 0;
    // Shows the damage/renovate chooser; true when a choice was made (DamRenAmount is set).
    virtual bool ShowDamRenChooser() = 0;
};
