#include "desktop/DesktopWindows.h"

#include <QApplication>
#include <QIcon>
#include <QObject>
#include <QTimer>

#include "desktop/AboutBox.h"
#include "desktop/AgreementDialog.h"
#include "desktop/DamRenDialog.h"
#include "desktop/MainWindow.h"
#include "desktop/MarketReportDialog.h"
#include "desktop/PoliceDialog.h"
#include "desktop/QtEffects.h"
#include "desktop/RulesDialog.h"
#include "windows/TRealtopia.h"

struct DesktopWindows::Others {
    explicit Others(TRealtopia& app)
        : agreement(app),
          rules(app.rulesform),
          main(app.mainform, nullptr),
          chooser(app.DamRenForm, QString::fromStdString(app.Title())),
          police(app.policeform),
          report(app.mainform.Game(), &main) {}

    AgreementDialog agreement;
    RulesDialog rules;
    MainWindow main;
    DamRenDialog chooser;
    PoliceDialog police;
    MarketReportDialog report;
};

DesktopWindows::DesktopWindows(TRealtopia& app, QtEffects& effects)
    : splash(app), app_(app), effects_(effects) {
    effects.SetWindows({&splash});
    effects.SetWindowBuilder([this] { build(); });
    app.MAXINI1.SetAboutBoxPresenter([&effects, this](const TAboutBoxContent& content) {
        return effects.MayShow("About box") && ShowAboutBox(content, &main());
    });
}

DesktopWindows::~DesktopWindows() {
    effects_.SetWindowBuilder(nullptr);
    effects_.SetWindows({});
}

void DesktopWindows::buildLater() {
    QObject::connect(&splash, &SplashWindow::firstPainted, &splash,
                     [this] { QTimer::singleShot(0, &splash, [this] { build(); }); });
}

void DesktopWindows::build() {
    if (others_) return;
    // The icon is drawn from its SVG by Qt's SVG icon engine, a plugin: loaded here, after
    // the splash is on the screen, rather than before its first paint.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/realtopia.svg")));
    others_ = std::make_unique<Others>(app_);
    Others& w = *others_;
    effects_.SetWindows(
        {&splash, &w.agreement, &w.rules, &w.main, &w.chooser, &w.police, &w.report});
    w.main.sync();
    w.main.applyMainTimer();
}

AgreementDialog& DesktopWindows::agreement() {
    build();
    return others_->agreement;
}
RulesDialog& DesktopWindows::rules() {
    build();
    return others_->rules;
}
MainWindow& DesktopWindows::main() {
    build();
    return others_->main;
}
DamRenDialog& DesktopWindows::chooser() {
    build();
    return others_->chooser;
}
PoliceDialog& DesktopWindows::police() {
    build();
    return others_->police;
}
MarketReportDialog& DesktopWindows::report() {
    build();
    return others_->report;
}
