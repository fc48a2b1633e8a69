#pragma once

#include <memory>
#include <string>

#include "components/TMAXINI.h"
#include "engine/Platform.h"
#include "ui/Effects.h"
#include "ui/MainFormHost.h"
#include "ui/Tmainform.h"
#include "windows/SettingsStore.h"
#include "windows/TDamRenForm.h"
#include "windows/TEULA.h"
#include "windows/Tpoliceform.h"
#include "windows/Trulesform.h"

// The program without its toolkit: its windows, created once in start-up order and alive
// until the end, the way from the splash into the game, and ExitProgram, the one way out.
class TRealtopia : public IMainFormHost {
public:
    // `settings` keeps the Options menu's choices across runs (none: kept in memory only).
    TRealtopia(IEffects& effects, TPlatform platform,
               std::shared_ptr<ISystemQueries> systemQueries = nullptr,
               std::shared_ptr<ISettingsStore> settings = nullptr);

    // The windows, in the order they are created.
    std::string AgreementText;  // TEULA's text, built at creation
    Trulesform rulesform;
    Tmainform mainform;
    TDamRenForm DamRenForm;
    Tpoliceform policeform;
    TMAXINI MAXINI1;  // the main window's application-information and settings component

    const std::string& Title() const { return title_; }

    // Whether entering the game offers a game saved when the program last ended (the desktop
    // program keeps games across runs; the text front end does not).
    bool OfferSavedGames = false;

    // The splash window's handlers.
    void cmd_playClick();
    void cmd_NewUserClick();
    void lbl_brightworkClick();
    void Image1Click();
    void lbllink_CareerlyClick();

    // The agreement's refusal closes the splash while the agreement is still shown.
    void cmd_DECLINEClick();

    // What the main window asks of the program.
    void ShowPoliceMessage(const std::string& message, std::function<void()> closed) override;
    void ShowDamRenChooser(std::function<void()> closed) override;
    void ShowAboutBox() override;
    void EmailAFriend() override;
    // Closes the splash, which ends the program.
    void ExitProgram() override;
    bool Exited() const { return exited_; }
    // Kept in the settings store at once, so that no way of ending the program loses it.
    void OptionChosen(TCommand command) override;

private:
    void EnterGame();

    IEffects& effects_;
    std::shared_ptr<ISettingsStore> settings_;
    std::string title_ = kApplicationTitle;
    bool exited_ = false;
};
