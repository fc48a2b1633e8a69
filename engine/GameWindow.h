#pragma once

#include <cstdint>
#include <string>

#include "engine/Money.h"

// Which list a selection came from, if any.
enum class TSelectionSide : std::int8_t { None, ForSale, Portfolio };
// What the mortgage button offers for the selection.
enum class TMortgageMode : std::int8_t { None, CanMortgage, CanRedeem };
// What the damage/renovate chooser is open for.
enum class TDamRenMode : std::int8_t { None, Damage, Renovate };
// The program's three sounds.
enum class TSound { Click, MeepMeep, GameOver };

// The resource name of a sound ("CLICK", "MEEPMEEP", "GAMEOVER").
inline const char* SoundResourceName(TSound sound) {
    switch (sound) {
        case TSound::MeepMeep:
            return "MEEPMEEP";
        case TSound::GameOver:
            return "GAMEOVER";
        case TSound::Click:
            break;
    }
    return "CLICK";
}

// What the engine needs of the main window: its display operations and the effects
// (message boxes, sounds, the clock) that the rules call for. The window logic implements
// it for both front ends; tests implement it with a script that records every call.
class IGameWindow {
public:
    enum class List { Avail, Portfolio };

    virtual ~IGameWindow() = default;

    // Display operations.
    virtual void RefreshDisplay() = 0;
    virtual void ShowCash() = 0;
    virtual void RefillLists() = 0;
    virtual void ShowAreaInfo() = 0;
    virtual void ClearSelections() = 0;
    virtual void ResetWindow() = 0;
    virtual void PauseGame() = 0;
    virtual void ResumeGame() = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    // The month's net worth for the status bar; the window makes the text when it shows it.
    virtual void ShowNetWorth(Money worth) = 0;
    virtual void ShowDate() = 0;  // month label, clock and caption from Month and Year
    virtual void SetProgress(int position) = 0;
    virtual void SetProgressToMaximum() = 0;
    virtual void EnablePlay() = 0;
    virtual void StopMainTimer() = 0;

    // The news ticker.
    virtual void TickerStop() = 0;
    virtual void SetTickerText(const std::string& text) = 0;
    virtual void SetTickerActive(bool active) = 0;

    // Sounds.
    virtual void PlayClick() = 0;
    virtual void PlaySoundResource(TSound sound, bool wait) = 0;
    virtual bool SoundDeviceWorks() = 0;

    // Modal windows and boxes.
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowError(const std::string& caption, const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& question) = 0;
    // Returns whether OK was pressed; `text` holds the default on entry and the answer on OK.
    virtual bool InputBox(const std::string& caption, const std::string& prompt,
                          std::string& text) = 0;
    virtual void ShowPoliceMessage(const std::string& text) = 0;
    // Shows the damage/renovate chooser; true when a choice was made (DamRenAmount is set).
    virtual bool ShowDamRenChooser() = 0;

    virtual void ExitProgram() = 0;
};
