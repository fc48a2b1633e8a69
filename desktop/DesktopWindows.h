#pragma once

#include "desktop/AgreementDialog.h"
#include "desktop/DamRenDialog.h"
#include "desktop/MainWindow.h"
#include "desktop/MarketReportDialog.h"
#include "desktop/PoliceDialog.h"
#include "desktop/RulesDialog.h"
#include "desktop/SplashWindow.h"

class QtEffects;
class TRealtopia;

// The program's windows in start-up order, each showing its part of the window logic, and
// known to the effects that open them. The splash, created first, is the main window.
class DesktopWindows {
public:
    DesktopWindows(TRealtopia& app, QtEffects& effects);
    DesktopWindows(const DesktopWindows&) = delete;
    DesktopWindows& operator=(const DesktopWindows&) = delete;

    SplashWindow splash;
    AgreementDialog agreement;
    RulesDialog rules;
    MainWindow main;
    DamRenDialog chooser;
    PoliceDialog police;
    MarketReportDialog report;
};
