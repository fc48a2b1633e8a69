#include "desktop/DesktopWindows.h"

#include "desktop/AboutBox.h"
#include "desktop/QtEffects.h"
#include "windows/TRealtopia.h"

DesktopWindows::DesktopWindows(TRealtopia& app, QtEffects& effects)
    : splash(app),
      agreement(app),
      rules(app.rulesform),
      main(app.mainform, nullptr),
      chooser(app.DamRenForm, QString::fromStdString(app.Title())),
      police(app.policeform),
      report(app.mainform.Game(), &main) {
    effects.SetWindows({&splash, &agreement, &rules, &main, &chooser, &police, &report});
    app.MAXINI1.SetAboutBoxPresenter([&effects, this](const TAboutBoxContent& content) {
        return effects.MayShow("About box") && ShowAboutBox(content, &main);
    });
    main.sync();
    main.applyMainTimer();
}
