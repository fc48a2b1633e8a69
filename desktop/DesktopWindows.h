#pragma once

#include <memory>

#include "desktop/SplashWindow.h"

class AgreementDialog;
class DamRenDialog;
class MainWindow;
class MarketReportDialog;
class PoliceDialog;
class QtEffects;
class RulesDialog;
class TRealtopia;

// The program's windows in start-up order, each showing its part of the window logic, and
// known to the effects that open them. The splash, created first, is the main window. The
// others are built after the splash has been painted once (buildLater()), or at once when
// something needs one of them first, so the player sees the splash as early as possible.
class DesktopWindows {
public:
    DesktopWindows(TRealtopia& app, QtEffects& effects);
    ~DesktopWindows();
    DesktopWindows(const DesktopWindows&) = delete;
    DesktopWindows& operator=(const DesktopWindows&) = delete;

    // Builds the other windows once the event loop is idle after the splash's first paint.
    void buildLater();
    // Builds the other windows now, unless they are built already.
    void build();
    bool built() const { return others_ != nullptr; }

    SplashWindow splash;
    AgreementDialog& agreement();
    RulesDialog& rules();
    MainWindow& main();
    DamRenDialog& chooser();
    PoliceDialog& police();
    MarketReportDialog& report();

private:
    struct Others;

    TRealtopia& app_;
    QtEffects& effects_;
    std::unique_ptr<Others> others_;
};
