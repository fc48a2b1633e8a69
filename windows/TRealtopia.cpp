#include "windows/TRealtopia.h"

#include "windows/Addresses.h"

TRealtopia::TRealtopia(IEffects& effects, TPlatform platform,
                       std::shared_ptr<ISystemQueries> systemQueries)
    : AgreementText(TEULA::AgreementText(kApplicationTitle)),
      mainform(*this, effects, std::move(platform)),
      DamRenForm(mainform.Game(), effects),
      MAXINI1(std::move(systemQueries)),
      effects_(effects) {
    ConfigureForMainWindow(MAXINI1);
    mainform.FormCreate();
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
    MAXINI1.ShowAboutBox();
}

void TRealtopia::ExitProgram() {
    exited_ = true;
    effects_.Quit();
}
