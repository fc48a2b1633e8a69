#include "windows/TRealtopia.h"

#include <functional>
#include <memory>

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
    mainform.WindowCreated();
    // After the first game's sound test, which a sound switched off by the player overrules.
    ApplyPlayerSettings(ReadPlayerSettings(*settings_), mainform);
}

void TRealtopia::cmd_playClick() {
    effects_.OpenModal(IEffects::Modal::Agreement, [this](bool accepted) {
        if (!accepted) return ExitProgram();
        EnterGame();
    });
}

void TRealtopia::cmd_NewUserClick() {
    effects_.OpenModal(IEffects::Modal::Agreement, [this](bool accepted) {
        if (!accepted) return ExitProgram();
        effects_.OpenModal(IEffects::Modal::Rules, [this](bool closed) {
            if (!closed) return ExitProgram();
            EnterGame();
        });
    });
}

void TRealtopia::EnterGame() {
    effects_.ShowMainWindow();
    mainform.WindowShown();
    effects_.ProcessEvents();
    effects_.HideSplash();
    // A resumed game is shown at once, paused where it was left.
    if (OfferSavedGames)
        OfferSavedGame(mainform, [this](bool resumed) {
            if (resumed) effects_.ProcessEvents();
        });
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

void TRealtopia::ShowPoliceMessage(const std::string& message, std::function<void()> closed) {
    policeform.lbl_message = message;
    effects_.OpenModal(IEffects::Modal::Police, [closed](bool) {
        if (closed) closed();
    });
}

void TRealtopia::ShowDamRenChooser(std::function<void()> closed) {
    DamRenForm.FormShow();
    effects_.OpenModal(IEffects::Modal::DamRen, [closed](bool) {
        if (closed) closed();
    });
}

void TRealtopia::ShowAboutBox() {
    mainform.HoldClock();
    MAXINI1.ShowAboutBox();
    mainform.ReleaseClock();
}

namespace {

// The e-mail command's questions, one after the other: each stops the command when the answer
// is the untouched default text, which is also what Cancel gives.
struct TEmailQuestions {
    IEffects& effects;
    std::string name, own, other, message;

    explicit TEmailQuestions(IEffects& boxes) : effects(boxes) {}

    void Ask(const std::string& prompt, const std::string& defaultText,
             std::function<void(const std::string&)> then) {
        effects.AskInput("Email to a friend", prompt, defaultText, IEffects::kInputMaxLength,
                         [defaultText, then](bool, const std::string& answer) {
                             if (answer != defaultText) then(answer);
                         });
    }
};

}  // namespace

void TRealtopia::EmailAFriend() {
    const std::string messageDefault = "64 characters or less";
    auto q = std::make_shared<TEmailQuestions>(effects_);
    auto send = [this, q, messageDefault](const std::string& message) {
        if (message == messageDefault) return;
        if (!effects_.OpenUrl(RelayAddress(q->name, q->own, q->other, message)))
            effects_.ShowInformation("Sorry, unable to send EMail", {});
    };
    q->Ask("Type in your Name", "Type your name here", [q, send, messageDefault](auto& name) {
        q->name = name;
        q->Ask("Type in YOUR email address", addresses::SampleOwnAddress, [=](auto& own) {
            q->own = own;
            q->Ask("Type in THEIR email address", addresses::SampleFriendAddress, [=](auto& other) {
                q->other = other;
                // A message left as it was is no message; one too long is asked for again.
                q->effects.AskInput(
                    "Email to a friend", "Type in a short message", messageDefault,
                    IEffects::kInputMaxLength, [=](bool, const std::string& message) {
                        if (CharacterCount(message) <= 64) return send(message);
                        q->effects.AskInput(
                            "Email to a friend", "Too long! - Type in a SHORT message",
                            messageDefault, IEffects::kInputMaxLength,
                            [=](bool, const std::string& shorter) { send(shorter); });
                    });
            });
        });
    });
}

void TRealtopia::OptionChosen(TCommand command) {
    KeepPlayerChoice(*settings_, command, mainform);
}

void TRealtopia::ExitProgram() {
    exited_ = true;
    effects_.Quit();
}
