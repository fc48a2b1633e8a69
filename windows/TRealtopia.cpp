#include "windows/TRealtopia.h"

#include "ui/Addresses.h"
#include "ui/SavedGameView.h"
#include "windows/EmailAddress.h"
#include "windows/PlayerSettings.h"

TRealtopia::TRealtopia(IEffects& effects, TPlatform platform,
                       std::shared_ptr<ISystemQueries> systemQueries,
                       std::shared_ptr<ISettingsStore> settings)
    : AgreementText(TEULA::AgreementText(kApplicationTitle)),
      mainform(*this, effects, std::move(platform)),
      DamRenForm(mainform.Rules(), mainform.Boxes()),
      MAXINI1(std::move(systemQueries)),
      effects_(mainform.Boxes()),
      settings_(settings ? std::move(settings) : std::make_shared<TMemorySettingsStore>()) {
    ConfigureForMainWindow(MAXINI1);
    mainform.FormCreate();
    // After the first game's sound test, which a sound switched off by the player overrules.
    ApplyPlayerSettings(ReadPlayerSettings(*settings_), mainform);
}

void TRealtopia::cmd_playClick() {
    if (!effects_.ShowModal(IEffects::Modal::Agreement)) {
        ExitProgram();
        return;
    }
    EnterGame();
}

void TRealtopia::cmd_NewUserClick() {
    if (!effects_.ShowModal(IEffects::Modal::Agreement)) {
        ExitProgram();
        return;
    }
    if (!effects_.ShowModal(IEffects::Modal::Rules)) {
        ExitProgram();
        return;
    }
    EnterGame();
}

void TRealtopia::EnterGame() {
    effects_.ShowMainWindow();
    mainform.FormShow();
    effects_.ProcessEvents();
    effects_.HideSplash();
    // A resumed game is shown at once, paused where it was left.
    if (OfferSavedGames && OfferSavedGame(mainform)) effects_.ProcessEvents();
}

void TRealtopia::lbl_brightworkClick() {
    effects_.OpenUrl(addresses::Maker);
}
void TRealtopia::Image1Click() {
    effects_.OpenUrl(addresses::Sponsor);
}
void TRealtopia::lbllink_CareerlyClick() {
    effects_.OpenUrl(addresses::Sponsor);
}

void TRealtopia::cmd_DECLINEClick() {
    ExitProgram();
}

void TRealtopia::ShowPoliceMessage(const std::string& message) {
    policeform.lbl_message = message;
    effects_.ShowModal(IEffects::Modal::Police);
}

bool TRealtopia::ShowDamRenChooser() {
    DamRenForm.FormShow();
    effects_.ShowModal(IEffects::Modal::DamRen);
    return DamRenForm.Closed() && DamRenForm.ChoiceMade();
}

void TRealtopia::ShowAboutBox() {
    mainform.HoldClock();
    MAXINI1.ShowAboutBox();
    mainform.ReleaseClock();
}

void TRealtopia::EmailAFriend() {
    // Each question stops the command when the answer is the untouched default text, which
    // is also what Cancel gives.
    auto ask = [this](const std::string& prompt, const std::string& defaultText,
                      std::string& answer) {
        answer = defaultText;
        effects_.Input("Email to a friend", prompt, answer, IEffects::kInputMaxLength);
        return answer != defaultText;
    };
    std::string name, own, other, message;
    if (!ask("Type in your Name", "Type your name here", name)) return;
    if (!ask("Type in YOUR email address", addresses::SampleOwnAddress, own)) return;
    if (!ask("Type in THEIR email address", addresses::SampleFriendAddress, other)) return;
    const std::string messageDefault = "64 characters or less";
    ask("Type in a short message", messageDefault, message);
    if (CharacterCount(message) > 64)
        ask("Too long! - Type in a SHORT message", messageDefault, message);
    if (message == messageDefault) return;

    if (!effects_.OpenUrl(RelayAddress(name, own, other, message)))
        effects_.Information("Sorry, unable to send EMail");
}

void TRealtopia::OptionChosen(TCommand command) {
    KeepPlayerChoice(*settings_, command, mainform);
}

void TRealtopia::ExitProgram() {
    exited_ = true;
    effects_.Quit();
}
