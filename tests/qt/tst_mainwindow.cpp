// The main window in Qt: every control where the layout puts it, and the player's clicks, keys
// and window events reaching the window logic (and the logic's answer reaching the widgets).

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "desktop/AreaFrame.h"
#include "desktop/BarGauge.h"
#include "desktop/MainWindow.h"
#include "desktop/PanelWidget.h"
#include "desktop/PieClock.h"
#include "desktop/PropertyList.h"
#include "desktop/QtSettingsStore.h"
#include "qt/FocusMark.h"
#include "windows/TRealtopia.h"

namespace {

// Records what the window logic shows and answers every question the same way.
class FakeEffects : public IEffects {
public:
    std::vector<std::string> messages;  // information and error boxes
    std::vector<std::string> prompts;   // input boxes
    std::vector<Modal> modals;
    int quits = 0;
    bool deviceWorks = false;

    void Information(const std::string& text) override { messages.push_back(text); }
    void Error(const std::string& caption, const std::string& text) override {
        messages.push_back(caption + ": " + text);
    }
    bool YesNo(const std::string& question) override {
        messages.push_back(question);
        return false;
    }
    bool Input(const std::string&, const std::string& prompt, std::string&, int) override {
        prompts.push_back(prompt);
        return false;
    }
    bool ShowModal(Modal window) override {
        modals.push_back(window);
        return true;
    }
    void ShowMainWindow() override {}
    void HideSplash() override {}
    void MainTimerChanged() override {}
    SoundResult PlaySound(const std::string&, bool) override { return SoundResult::Played; }
    bool SoundDeviceWorks() override { return deviceWorks; }
    bool OpenUrl(const std::string&) override { return true; }
    void ProcessEvents() override {}
    void Quit() override { ++quits; }

    int count(const std::string& message) const {
        return static_cast<int>(std::count(messages.begin(), messages.end(), message));
    }
};

// What a control shows as its text, whatever kind of control it is.
QString Shown(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* panel = qobject_cast<const PanelWidget*>(widget)) return panel->caption();
    if (const auto* bar = qobject_cast<const QStatusBar*>(widget))
        return bar->findChild<QLabel*>()->text();
    return {};
}

// What a screen reader reads as the control's name, through Qt's accessibility interface.
QString ReadName(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlsArePlacedAsTheLayoutSays_data();
    void controlsArePlacedAsTheLayoutSays();
    void windowAndMenuStartAsLaidOut();
    void playAndListClickRelabelTheCommands();
    void functionKeysArePreviewedOnce();
    void aKeyThatClosedABoxDoesNothingHere();
    void focusBackFromTheRulesSelectsNothing();
    void keysSelectTheRowInSightAndPausingKeepsTheListsFocus();
    void everyFocusableControlShowsTheFocus();
    void typedPhraseReachesTheWindowOncePerKey();
    void enterPressesTheDefaultButton();
    void areaClickMovesTheRedFrame();
    void pointerShowsHintsInTheStatusBar();
    void minimisingPausesAndRestoringResumes();
    void closingEndsTheProgram();
    void aScreenReaderReadsWhatTheWindowShows();
    void theAreasAreControlsForKeysAndScreenReaders();
    void listRowsKeepTheirPriceWhole();
    void optionsAreKeptInTheSettingsFile();
    void listRowsAreShortenedAgainForANewWidth();
    void watchingAGameTakesTheMenuAndTheMainTimer();

private:
    template <typename T = QWidget>
    T* control(const char* name) const {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no control named %s", name);
        return widget;
    }
    void clickRow(const char* list, int row);
    void pressPlay();

    QTemporaryDir dir;
    TPlatform platform;
    std::unique_ptr<FakeEffects> effects;
    std::unique_ptr<TRealtopia> app;
    std::unique_ptr<MainWindow> window;
};

void TestMainWindow::initTestCase() {
    Q_INIT_RESOURCE(realtopia_resources);
    QVERIFY(dir.isValid());
}

void TestMainWindow::init() {
    effects = std::make_unique<FakeEffects>();
    platform = {};
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.UserDataDirectory = dir.filePath(QStringLiteral("data")).toStdString();
    platform.Seed = 7;
    platform.Today = [] { return std::string("20260101"); };
    app = std::make_unique<TRealtopia>(*effects, platform);
    window = std::make_unique<MainWindow>(app->mainform);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestMainWindow::cleanup() {
    window.reset();
    app.reset();
    effects.reset();
}

void TestMainWindow::clickRow(const char* list, int row) {
    auto* widget = control<QListWidget>(list);
    const QRect place = widget->visualItemRect(widget->item(row));
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, place.center());
}

void TestMainWindow::pressPlay() {
    QTest::mouseClick(control<QAbstractButton>("cmd_Start"), Qt::LeftButton);
    QCOMPARE(Shown(control("cmd_Start")), QStringLiteral("Pause (Esc)"));
}

void TestMainWindow::controlsArePlacedAsTheLayoutSays_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");  // null: not checked
    QTest::addColumn<QString>("tooltip");

    const QString none;
    auto row = [](const char* name, const char* parent, QRect place, QString text,
                  const char* tooltip) {
        QTest::newRow(name) << QString::fromLatin1(parent) << place << text
                            << QString::fromUtf8(tooltip);
    };
    row("pnl_top", "client", {0, 0, 722, 25}, none, "");
    row("pnl_CurrentFund", "pnl_top", {0, 0, 210, 25}, QStringLiteral("Current Cash: £800,000"),
        "Your slush fund");
    row("pnl_Currportfolio", "pnl_top", {210, 0, 302, 25}, QStringLiteral("Portfolio Value: £0"),
        "The current value of your properties");
    row("pnl_CurrDebt", "pnl_top", {512, 0, 210, 25}, QStringLiteral("Owe: £0 (£0.00/m)"),
        "Your total debts");
    row("mq", "client", {0, 25, 722, 31}, none, "");
    row("pnl_main", "client", {0, 56, 722, 459}, none, "");
    row("lbl_TAvail", "pnl_main", {8, 8, 201, 17}, QStringLiteral("&Properties for Sale"),
        "Properties for sale");
    row("lbl_TPortfolio", "pnl_main", {216, 8, 201, 17}, QStringLiteral("&Your Portfolio"),
        "Properties that you own");
    row("lst_Avail", "pnl_main", {8, 32, 201, 321}, none, "Select one or more properties");
    row("lst_portfolio", "pnl_main", {216, 32, 201, 321}, none, "Select one or more properties");
    row("lbl_TInfo", "pnl_main", {8, 364, 409, 17}, QStringLiteral("Information"), "");
    row("pnl_info", "pnl_main", {8, 383, 409, 65}, none, "");
    row("lbl_info", "pnl_info", {3, 3, 403, 59}, QStringLiteral("Click on a property"), "");
    row("lbl_TAreas", "pnl_main", {420, 5, 294, 28}, none, "Click below to change area");
    row("pnl_Areas", "pnl_main", {422, 33, 294, 126}, none, "");
    const int lefts[] = {8, 102, 196};
    for (int i = 0; i < 6; ++i) {
        const QByteArray picture = "img_area" + QByteArray::number(i + 1);
        const QByteArray frame = "img_Rect" + QByteArray::number(i + 1);
        const int left = lefts[i % 3];
        const int top = i < 3 ? 8 : 66;
        QTest::newRow(picture.constData())
            << QStringLiteral("pnl_Areas") << QRect(left, top, 90, 54) << none << QString();
        QTest::newRow(frame.constData())
            << QStringLiteral("pnl_Areas") << QRect(left - 2, top - 2, 94, 58) << none << QString();
    }
    row("cmd_DamRen", "pnl_main", {428, 161, 140, 32}, QStringLiteral("Damage/Renovate"),
        "Damage or Renovate a property");
    row("cmd_BuySell", "pnl_main", {576, 161, 140, 32}, QStringLiteral("Buy/Sell"),
        "Buy or Sell a property");
    row("cmd_Mortgage", "pnl_main", {576, 205, 140, 32}, QStringLiteral("Mortgage/Redeem"),
        "Mortgage or Redeem a property");
    row("lbl_trend", "pnl_main", {420, 213, 93, 16}, QStringLiteral("Market is steady"),
        "This affects all properties in the current area");
    row("img_trend", "pnl_main", {520, 201, 40, 40}, none,
        "This affects all properties in the current area");
    row("pnl_Clock", "pnl_main", {458, 240, 80, 80}, none, "");
    row("clock", "pnl_Clock", {0, 0, 80, 80}, none, "Time marches on..");
    row("lbl_time", "pnl_Clock", {10, 32, 61, 16}, QStringLiteral("January"),
        "The months progress..");
    row("img_Sponsor", "pnl_main", {576, 248, 140, 36}, none, "Visit our Web Site");
    row("lbl_progress", "pnl_main", {576, 293, 140, 16}, QStringLiteral("Game Progress"),
        "Overall game progress");
    row("progress", "pnl_main", {576, 310, 140, 16}, none, "Overall game progress");
    row("cmd_Start", "pnl_main", {428, 336, 140, 41}, QStringLiteral("PLAY (Esc)"),
        "Press me to start");
    row("lbl_tStatus", "pnl_main", {572, 336, 140, 16}, QStringLiteral("Your Status"),
        "Your game status");
    row("lbl_Stage", "pnl_main", {572, 355, 140, 19}, QStringLiteral("DEVELOPER"),
        "Your game status");
    row("cmd_email", "pnl_main", {428, 383, 288, 26}, QStringLiteral("eMail this game to a friend"),
        "Click here to eMail this game to a friend");
    row("cmd_Exit", "pnl_main", {428, 416, 136, 32}, QStringLiteral("E&xit Game"),
        "Press me to give up");
    row("cmd_Rules", "pnl_main", {576, 416, 140, 32}, QStringLiteral("R&ules of the Game"),
        "The rules of the game");
    row("st", "client", {0, 515, 722, 19}, QStringLiteral("Ready..."), "");
}

void TestMainWindow::controlsArePlacedAsTheLayoutSays() {
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);
    const QByteArray name = QTest::currentDataTag();
    QWidget* widget = control(name.constData());
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), place);
    QVERIFY2(!ReadName(widget).isEmpty() || name.startsWith("img_Rect") ||
                 name.startsWith("pnl_top") || name.startsWith("pnl_main") || name == "lbl_info" ||
                 name == "lbl_trend" || name == "lbl_TAreas",
             "a control without an accessible name");
    // Internal names never reach a screen reader.
    QVERIFY(!ReadName(widget).startsWith(QStringLiteral("pnl_")));
    if (!text.isNull()) QCOMPARE(Shown(widget), text);
    // The area pictures carry their area's name as the hint.
    if (name.startsWith("img_area")) {
        const int area = name.back() - '0';
        const QString areaName =
            QString::fromStdString(app->mainform.Game().State().Area(area).Name);
        QCOMPARE(widget->toolTip(), areaName);
        QCOMPARE(widget->accessibleName(), areaName);
    } else if (!tooltip.isNull()) {
        QCOMPARE(widget->toolTip(), tooltip);
    }
}

void TestMainWindow::windowAndMenuStartAsLaidOut() {
    // The client area below the menu bar, fixed, with no maximise box.
    QCOMPARE(control("client")->size(), QSize(722, 534));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(window->windowTitle(), QStringLiteral("Realtopia"));

    QVERIFY(!control<QAction>("mnu_FileQuitandReplay")->isEnabled());
    QVERIFY(control<QAction>("mnu_OptionsSound")->isCheckable());
    QVERIFY(control<QAction>("Mediuim1")->isChecked());
    QCOMPARE(control<QAction>("Mediuim1")->text(), QStringLiteral("&Medium"));
    // The menus show the keys that do the same (shown only: the window runs the key).
    QCOMPARE(control<QAction>("mnu_HelpRules")->text(), QStringLiteral("Rules"));
    QCOMPARE(control<QAction>("mnu_HelpRules")->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(control<QAction>("mnu_OptionsMarketReport")->shortcut(), QKeySequence(Qt::Key_F9));
    QCOMPARE(control<QAction>("mnu_HelpRules")->shortcutContext(), Qt::WidgetShortcut);

    // Before PLAY: trading and lists disabled, the for-sale list already filled, London red.
    QVERIFY(!control("cmd_BuySell")->isEnabled());
    QVERIFY(!control("cmd_Mortgage")->isEnabled());
    auto* avail = control<QListWidget>("lst_Avail");
    QVERIFY(!avail->isEnabled());
    QCOMPARE(avail->count(), static_cast<int>(app->mainform.View().Avail.Rows.size()));
    QVERIFY(avail->count() > 0);
    QCOMPARE(avail->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(avail->visualItemRect(avail->item(0)).height(), 16);
    QCOMPARE(control<AreaFrame>("img_Rect1")->colour(), QColor(Qt::red));
    QVERIFY(Shown(control("lbl_TAreas")).startsWith(QStringLiteral("Current Area: London\n")));
    QCOMPARE(control<PieClock>("clock")->percent(), 0);
    QCOMPARE(control<BarGauge>("progress")->text(), QStringLiteral("0%"));
    QVERIFY(control("img_level")->isHidden());
    // The trend picture is an image named by the trend's text.
    QAccessibleInterface* trend = QAccessible::queryAccessibleInterface(control("img_trend"));
    QCOMPARE(trend->role(), QAccessible::Graphic);
    QCOMPARE(trend->text(QAccessible::Name),
             QString::fromStdString(app->mainform.View().TrendText));
    QVERIFY(!trend->text(QAccessible::Name).isEmpty());
    // The hidden arrows are no nodes of the tree, so their names never reach a screen reader.
    QAccessibleInterface* trendPanel =
        QAccessible::queryAccessibleInterface(control("img_level")->parentWidget());
    QVERIFY(trendPanel->childCount() > 0);
    for (int i = 0; i < trendPanel->childCount(); ++i) {
        const QString name = trendPanel->child(i)->object()->objectName();
        QVERIFY2(name != QStringLiteral("img_level") && name != QStringLiteral("img_up") &&
                     name != QStringLiteral("img_down"),
                 qPrintable(name));
    }

    // The menu's speed items act as one radio group and reach the ticker.
    control<QAction>("Fast1")->trigger();
    QCOMPARE(app->mainform.mq().Speed(), tsFast);
    QVERIFY(!control<QAction>("Mediuim1")->isChecked());
    control<QAction>("mnu_OptionsSound")->trigger();
    QCOMPARE(control<QAction>("mnu_OptionsSound")->isChecked(), app->mainform.View().SoundChecked);

    // Tab visits the controls in the screen's order.
    QStringList order;
    QWidget* widget = control("lst_Avail");
    do {
        if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != control("lst_Avail"));
    QCOMPARE(order,
             QStringList({"lst_Avail", "lst_portfolio", "img_area1", "img_area2", "img_area3",
                          "img_area4", "img_area5", "img_area6", "cmd_DamRen", "cmd_BuySell",
                          "cmd_Mortgage", "cmd_Start", "cmd_email", "cmd_Exit", "cmd_Rules"}));

    // The window logic asks for the focus on PLAY when it shows the window.
    app->mainform.WindowShown();
    window->sync();
    QCOMPARE(QApplication::focusWidget(), control("cmd_Start"));
}

void TestMainWindow::playAndListClickRelabelTheCommands() {
    pressPlay();
    auto* avail = control<QListWidget>("lst_Avail");
    QVERIFY(avail->isEnabled());
    QVERIFY(control<QAction>("mnu_FileQuitandReplay")->isEnabled());
    window->applyMainTimer();
    QCOMPARE(control<QTimer>("tmr_main")->interval(), 1500);

    clickRow("lst_Avail", 1);
    QCOMPARE(Shown(control("cmd_BuySell")), QStringLiteral("Buy (F6)"));
    QCOMPARE(Shown(control("cmd_DamRen")), QStringLiteral("Damage (F5)"));
    const QString row = avail->item(1)->text();
    const QString name = row.left(row.indexOf(QStringLiteral(" (")));
    QVERIFY2(Shown(control("lbl_info")).startsWith(name), qPrintable(Shown(control("lbl_info"))));

    // Ctrl+click adds a second row: a block.
    const QRect second = avail->visualItemRect(avail->item(3));
    QTest::mouseClick(avail->viewport(), Qt::LeftButton, Qt::ControlModifier, second.center());
    QCOMPARE(avail->selectedItems().size(), 2);
    QVERIFY(Shown(control("lbl_info")).startsWith(QStringLiteral("A nice block of properties.")));

    // A plain click selects one row again; buying moves it into the portfolio, where a click
    // offers to sell and to mortgage.
    clickRow("lst_Avail", 1);
    QCOMPARE(avail->selectedItems().size(), 1);
    QTest::mouseClick(control<QAbstractButton>("cmd_BuySell"), Qt::LeftButton);
    auto* portfolio = control<QListWidget>("lst_portfolio");
    QCOMPARE(portfolio->count(), 1);
    QCOMPARE(portfolio->item(0)->text(), row);
    clickRow("lst_portfolio", 0);
    QCOMPARE(Shown(control("cmd_BuySell")), QStringLiteral("Sell (F6)"));
    QCOMPARE(Shown(control("cmd_Mortgage")), QStringLiteral("Mortgage (F7)"));
    QVERIFY(control("cmd_Mortgage")->isEnabled());
    QVERIFY(avail->selectedItems().isEmpty());

    // F7 in the list mortgages; the window has handled the key, so the list does not also
    // take its release and select again (which would offer "Redeem").
    QTest::keyClick(portfolio, Qt::Key_F7);
    QVERIFY(app->mainform.Game().State().Debt > Money());
    QCOMPARE(Shown(control("cmd_Mortgage")), QStringLiteral("Mortgage (F7)"));
    QVERIFY(Shown(control("pnl_Currportfolio")) != QStringLiteral("Portfolio Value: £0"));
}

void TestMainWindow::functionKeysArePreviewedOnce() {
    const std::string ask = "Click a property in one of the lists, first!";
    QTest::keyClick(window.get(), Qt::Key_F6);
    QCOMPARE(effects->count(ask), 1);
    // From a control that leaves the key alone, it travels up to the window: still once.
    QTest::keyClick(control("cmd_Exit"), Qt::Key_F6);
    QCOMPARE(effects->count(ask), 2);
    QTest::keyClick(control("lst_Avail"), Qt::Key_F7);
    QCOMPARE(effects->count(ask), 3);
    // A held key repeats, but acts once, when it is let go.
    QTest::keyPress(control("cmd_Rules"), Qt::Key_F6);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_F6, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(control("cmd_Rules"), &repeat);
    QCOMPARE(effects->count(ask), 3);
    QTest::keyRelease(control("cmd_Rules"), Qt::Key_F6);
    QCOMPARE(effects->count(ask), 4);

    // F1 opens the rules; Esc plays.
    QTest::keyClick(control("cmd_Exit"), Qt::Key_F1);
    QCOMPARE(effects->modals.size(), std::size_t{1});
    QCOMPARE(effects->modals.front(), IEffects::Modal::Rules);
    QTest::keyClick(control("cmd_Exit"), Qt::Key_Escape);
    QCOMPARE(Shown(control("cmd_Start")), QStringLiteral("Pause (Esc)"));
}

void TestMainWindow::aKeyThatClosedABoxDoesNothingHere() {
    // The box closes on the press; only the release reaches the window.
    QDialog box;
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_F6, Qt::Key_F1}) {
        QTest::keyPress(&box, key);
        QTest::keyRelease(control("cmd_Exit"), key);
    }
    QCOMPARE(Shown(control("cmd_Start")), QStringLiteral("PLAY (Esc)"));
    QVERIFY(effects->messages.empty());
    QVERIFY(effects->modals.empty());

    // The window lost the keyboard after a press: its release is not ours either.
    window->show();
    QApplication::setActiveWindow(window.get());
    QTest::keyPress(window.get(), Qt::Key_Escape);
    box.show();
    QApplication::setActiveWindow(&box);
    QVERIFY(!window->isActiveWindow());
    QTest::keyRelease(window.get(), Qt::Key_Escape);
    QCOMPARE(Shown(control("cmd_Start")), QStringLiteral("PLAY (Esc)"));
}

void TestMainWindow::focusBackFromTheRulesSelectsNothing() {
    pressPlay();
    clickRow("lst_Avail", 0);
    QTest::keyClick(window.get(), Qt::Key_F1);
    // The rules window closed and the window is active again: its list gets the focus back.
    QFocusEvent focusBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(control("lst_Avail"), &focusBack);
    QTest::keyClick(window.get(), Qt::Key_F6);
    QCOMPARE(effects->count("Click a property in one of the lists, first!"), 1);
    QCOMPARE(control<QListWidget>("lst_portfolio")->count(), 0);
    // The same with the keys pressed in the list: F1's release, handled by the window, does
    // not reach the list and select its row again, so F6 buys nothing, as in every front end.
    clickRow("lst_Avail", 0);
    QTest::keyClick(control("lst_Avail"), Qt::Key_F1);
    QTest::keyClick(control("lst_Avail"), Qt::Key_F6);
    QCOMPARE(effects->count("Click a property in one of the lists, first!"), 2);
    QCOMPARE(control<QListWidget>("lst_portfolio")->count(), 0);
    // Tab into it does select what is selected there.
    clickRow("lst_Avail", 0);
    QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(control("lst_Avail"), &tabIn);
    QCOMPARE(Shown(control("cmd_BuySell")), QStringLiteral("Buy (F6)"));
}

void TestMainWindow::keysSelectTheRowInSightAndPausingKeepsTheListsFocus() {
    pressPlay();
    auto* avail = control<QListWidget>("lst_Avail");
    // Alt+P focuses the list and selects the row it marks, so F6 buys it.
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), avail);
    QVERIFY(avail->item(0)->isSelected());
    QTest::keyClick(avail, Qt::Key_F6);
    QCOMPARE(effects->count("Click a property in one of the lists, first!"), 0);
    QCOMPARE(control<QListWidget>("lst_portfolio")->count(), 1);

    // Home on the first row, marked but not selected, selects it.
    avail->clearSelection();
    avail->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(avail, Qt::Key_Home);
    QVERIFY(avail->item(0)->isSelected());
    QCOMPARE(Shown(control("cmd_BuySell")), QStringLiteral("Buy (F6)"));

    // Pausing disables the lists: the focus goes to the button that resumes, not to the
    // first area picture, and comes back to the list when the game goes on.
    QTest::keyClick(avail, Qt::Key_Escape);
    QVERIFY(!avail->isEnabled());
    QCOMPARE(QApplication::focusWidget(), control("cmd_Start"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(avail->isEnabled());
    QCOMPARE(QApplication::focusWidget(), avail);
}

void TestMainWindow::everyFocusableControlShowsTheFocus() {
    pressPlay();
    clickRow("lst_Avail", 1);
    QTest::keyClick(control("lst_Avail"), Qt::Key_F6);  // a row in the portfolio too
    int checked = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible() || !widget->isEnabled())
            continue;
        QVERIFY2(focusmark::MarkedPixels(widget) >= focusmark::kVisibleMark,
                 qPrintable(widget->objectName()));
        ++checked;
    }
    QVERIFY(checked >= 14);  // two lists, six areas, six buttons at least

    // A focused row that is not selected is outlined in the list's own colour on black (it was
    // #00000D on black).
    auto* avail = control<QListWidget>("lst_Avail");
    avail->setFocus(Qt::TabFocusReason);
    avail->clearSelection();
    avail->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    const QImage picture = avail->viewport()->grab().toImage();
    const QRect row = avail->visualItemRect(avail->item(0));
    const QColor mark = picture.pixelColor(row.center().x(), row.top());
    QVERIFY(focusmark::Contrast(mark, Qt::black) >= 3.0);
    QCOMPARE(mark, avail->palette().color(QPalette::Text));
    // An empty list with the focus is outlined whole.
    auto* portfolio = control<QListWidget>("lst_portfolio");
    clickRow("lst_portfolio", 0);
    QTest::keyClick(portfolio, Qt::Key_F6);
    QCOMPARE(portfolio->count(), 0);
    QVERIFY(focusmark::MarkedPixels(portfolio) >= focusmark::kVisibleMark);
}

void TestMainWindow::typedPhraseReachesTheWindowOncePerKey() {
    pressPlay();
    clickRow("lst_Avail", 0);  // the cheat pays only once the player has engaged
    // Typed on a button, each key travels up to the window; a key seen twice would overflow
    // the phrase.
    QTest::keyClicks(control("cmd_Rules"), QStringLiteral("wadofcash"));
    QCOMPARE(Shown(control("pnl_CurrentFund")), QStringLiteral("Current Cash: £1,300,000"));
    QCOMPARE(app->mainform.mq().Text(), std::string("CHEAT SUCCESSFUL - £500,000 IS YOURS! "));
}

void TestMainWindow::enterPressesTheDefaultButton() {
    pressPlay();
    // With the focus on a list, Enter is the e-mail button's (which pauses the game)...
    auto* avail = control("lst_Avail");
    avail->setFocus();
    QTest::keyClick(avail, Qt::Key_Return);
    QCOMPARE(effects->prompts, std::vector<std::string>{"Type in your Name"});
    auto* start = control<QAbstractButton>("cmd_Start");
    QCOMPARE(Shown(start), QStringLiteral("Play (Esc)"));
    // ...while a focused button takes it itself.
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Return);
    QCOMPARE(Shown(start), QStringLiteral("Pause (Esc)"));
    QCOMPARE(effects->prompts.size(), std::size_t{1});
}

void TestMainWindow::areaClickMovesTheRedFrame() {
    QTest::mouseClick(control("img_area3"), Qt::LeftButton, {}, QPoint(45, 27));
    QCOMPARE(control<AreaFrame>("img_Rect3")->colour(), QColor(Qt::red));
    for (const char* other : {"img_Rect1", "img_Rect2", "img_Rect4", "img_Rect5", "img_Rect6"})
        QCOMPARE(control<AreaFrame>(other)->colour(), QColor(Qt::black));
    const QString area = QString::fromStdString(app->mainform.Game().State().Area(3).Name);
    QVERIFY(Shown(control("lbl_TAreas")).startsWith(QStringLiteral("Current Area: ") + area));
    QCOMPARE(app->mainform.Game().State().CurrentArea, 3);
    QCOMPARE(control<QListWidget>("lst_Avail")->item(0)->text(),
             QString::fromStdString(app->mainform.View().Avail.Rows.front().Text));
}

void TestMainWindow::pointerShowsHintsInTheStatusBar() {
    auto enter = [](QWidget* widget) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(widget, &event);
        QCoreApplication::processEvents();
    };
    auto* status = control("st");
    enter(control("img_area2"));
    QCOMPARE(Shown(status), QString::fromStdString(app->mainform.Game().State().Area(2).Name));
    // The ticker's hint shows only in the status bar.
    enter(control("mq"));
    QCOMPARE(Shown(status), QStringLiteral("Check out the news carefully!"));
    QVERIFY(control("mq")->toolTip().isEmpty());
    // A control without a hint shows its parent's.
    enter(control("lbl_time"));
    QCOMPARE(Shown(status), QStringLiteral("The months progress.."));
    enter(control("lbl_info"));
    QCOMPARE(Shown(status), QString());
    QEvent leave(QEvent::Leave);
    enter(control("cmd_Exit"));
    QCOMPARE(Shown(status), QStringLiteral("Press me to give up"));
    // The hint under the pointer changes with the caption of the button clicked there.
    enter(control("cmd_Start"));
    QCOMPARE(Shown(status), QStringLiteral("Press me to start"));
    QTest::mouseClick(control("cmd_Start"), Qt::LeftButton);
    QCOMPARE(Shown(status), QStringLiteral("Press me to Pause"));
    enter(control("cmd_Exit"));
    QApplication::sendEvent(control("cmd_Exit"), &leave);
    QCoreApplication::processEvents();
    QCOMPARE(Shown(status), QString());
}

void TestMainWindow::minimisingPausesAndRestoringResumes() {
    pressPlay();
    window->setWindowState(Qt::WindowMinimized);
    QCOMPARE(Shown(control("cmd_Start")), QStringLiteral("Play (Esc)"));
    QVERIFY(!control("cmd_BuySell")->isEnabled());
    window->setWindowState(Qt::WindowNoState);
    QCOMPARE(Shown(control("cmd_Start")), QStringLiteral("Pause (Esc)"));
    QVERIFY(control("cmd_BuySell")->isEnabled());
}

void TestMainWindow::closingEndsTheProgram() {
    QVERIFY(window->close());
    QCOMPARE(effects->quits, 1);
    QVERIFY(app->Exited());
}

void TestMainWindow::aScreenReaderReadsWhatTheWindowShows() {
    // Every text on screen is the name a screen reader reads, and follows each change.
    const auto readsAsShown = [this] {
        QCOMPARE(ReadName(window.get()), window->windowTitle());
        for (const char* name : {"lbl_time", "lbl_Stage", "lbl_info", "lbl_TAreas", "lbl_trend",
                                 "lbl_TAvail", "pnl_CurrentFund", "pnl_Currportfolio",
                                 "pnl_CurrDebt", "cmd_Start", "cmd_BuySell", "st"}) {
            const QString shown = Shown(control(name)).remove(QLatin1Char('&'));
            QVERIFY2(!shown.isEmpty(), name);
            QCOMPARE(ReadName(control(name)), shown);
        }
    };
    readsAsShown();
    QCOMPARE(ReadName(control("lbl_TAvail")), QStringLiteral("Properties for Sale"));

    pressPlay();
    clickRow("lst_Avail", 0);
    QTest::mouseClick(control<QAbstractButton>("cmd_BuySell"), Qt::LeftButton);
    for (int month = 0; month < 3; ++month) app->mainform.TimerFired();
    window->sync();
    QCOMPARE(window->windowTitle(), QStringLiteral("Realtopia - April, 2000"));
    QCOMPARE(Shown(control("lbl_time")), QStringLiteral("April"));
    QVERIFY(Shown(control("st")).startsWith(QStringLiteral("Net Worth: ")));
    readsAsShown();

    // Each row reads as its whole text.
    auto* list = control<QListWidget>("lst_portfolio");
    QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(list);
    QVERIFY(rows != nullptr && rows->childCount() >= 1);
    QCOMPARE(rows->child(0)->text(QAccessible::Name), list->item(0)->text());
    // Only the focused list has a focused row; the keyboard's row comes back with the focus.
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QVERIFY(rows->child(0)->state().focused);
    control("cmd_BuySell")->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), control("cmd_BuySell"));
    QVERIFY(!rows->child(0)->state().focused);
    list->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(rows->child(0)->state().focused);

    // The ticker reads as the text it shows; the gauge is a progress bar with its value.
    QAccessibleInterface* ticker = QAccessible::queryAccessibleInterface(control("mq"));
    QString headline;
    for (const TSegment& segment : app->mainform.mq().Segments())
        headline += QString::fromStdString(segment.Text);
    QVERIFY(!headline.simplified().isEmpty());
    QCOMPARE(ticker->text(QAccessible::Name), headline.simplified());
    QCOMPARE(ticker->role(), QAccessible::StaticText);
    // A new headline becomes the ticker's name (Qt announces the name change).
    app->mainform.mq().SetText("Headline of the test ");
    window->sync();
    QCOMPARE(ticker->text(QAccessible::Name), QStringLiteral("Headline of the test"));
    QAccessibleInterface* progress = QAccessible::queryAccessibleInterface(control("progress"));
    QCOMPARE(progress->role(), QAccessible::ProgressBar);
    QCOMPARE(progress->text(QAccessible::Name), QStringLiteral("Game Progress"));
    // A read-only bar with its value.
    QVERIFY(progress->state().readOnly);
    QVERIFY(progress->valueInterface() != nullptr);
    QCOMPARE(progress->valueInterface()->currentValue().toInt(),
             control<BarGauge>("progress")->percent());
    QCOMPARE(progress->text(QAccessible::Value), control<BarGauge>("progress")->text());
    QCOMPARE(progress->text(QAccessible::Description), control<BarGauge>("progress")->text());
    QVERIFY(progress->text(QAccessible::Description).endsWith(QLatin1Char('%')));
}

void TestMainWindow::theAreasAreControlsForKeysAndScreenReaders() {
    pressPlay();
    auto* first = control("img_area1");
    QAccessibleInterface* london = QAccessible::queryAccessibleInterface(first);
    QCOMPARE(london->role(), QAccessible::RadioButton);
    QCOMPARE(london->text(QAccessible::Name), QStringLiteral("London"));
    QVERIFY(london->state().checked);
    QVERIFY(london->state().focusable);
    QVERIFY(!QAccessible::queryAccessibleInterface(control("img_area2"))->state().checked);
    // The red frames only repeat what the pictures say.
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(control("pnl_Areas"));
    for (int i = 0; i < panel->childCount(); ++i)
        QVERIFY(!panel->child(i)->object()->objectName().startsWith(QStringLiteral("img_Rect")));

    // Arrow keys step to the next area and choose it; Enter on a focused picture chooses it;
    // Ctrl+number chooses from anywhere; a screen reader's press action does too.
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Right);
    QCOMPARE(app->mainform.Game().State().CurrentArea, 2);
    QCOMPARE(QApplication::focusWidget(), control("img_area2"));
    QTest::keyClick(control("img_area2"), Qt::Key_Left);
    QTest::keyClick(control("img_area1"), Qt::Key_Left);
    QCOMPARE(app->mainform.Game().State().CurrentArea, 6);
    control("img_area4")->setFocus();
    QTest::keyClick(control("img_area4"), Qt::Key_Return);
    QCOMPARE(app->mainform.Game().State().CurrentArea, 4);
    QVERIFY(QAccessible::queryAccessibleInterface(control("img_area4"))->state().checked);
    QTest::keyClick(control("lst_Avail"), Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(app->mainform.Game().State().CurrentArea, 3);
    QAccessibleInterface* five = QAccessible::queryAccessibleInterface(control("img_area5"));
    five->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(app->mainform.Game().State().CurrentArea, 5);
    QVERIFY(effects->messages.empty());
}

void TestMainWindow::listRowsKeepTheirPriceWhole() {
    auto* list = control<QListWidget>("lst_Avail");
    // Twenty rows of 16 pixels fit the layout's height: no scroll bar in either direction.
    QCOMPARE(list->count(), 20);
    QVERIFY(list->viewport()->height() >= 20 * 16);
    QVERIFY(!list->verticalScrollBar()->isVisible());
    QVERIFY(!list->horizontalScrollBar()->isVisible());

    // A row too wide for the list: the name is shortened, the price stays whole, and the
    // whole row is the tooltip.
    const QFontMetrics metrics(list->font());
    int shortened = 0;
    for (int r = 0; r < list->count(); ++r) {
        const QString row = list->item(r)->text();
        QCOMPARE(list->item(r)->toolTip(), row);
        const QString price = row.mid(row.lastIndexOf(QStringLiteral(" (")));
        const int width = list->viewport()->width() - 6;
        const QString drawn = PropertyList::shownText(
            row, static_cast<int>(row.size() - price.size()), metrics, width);
        QVERIFY2(drawn.endsWith(price), qPrintable(drawn));
        QVERIFY(metrics.horizontalAdvance(drawn) <= width);
        if (drawn != row) {
            ++shortened;
            QVERIFY(drawn.contains(QChar(0x2026)));
        }
    }
    QVERIFY2(shortened > 0, "London has names too long for the list");
    // The view's text stays whole: it is how the window logic finds the row's property.
    QCOMPARE(list->item(0)->text().toStdString(), app->mainform.View().Avail.Rows[0].Text);

    // Disabled before PLAY: the list's own colour dimmed, far from white.
    QVERIFY(!list->isEnabled());
    const QColor disabled = list->palette().color(QPalette::Disabled, QPalette::Text);
    QCOMPARE(disabled.red(), 0);
    QVERIFY(disabled.green() > 100 && disabled.green() < 200);
    QCOMPARE(disabled.green(), disabled.blue());
}

void TestMainWindow::optionsAreKeptInTheSettingsFile() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
    effects->deviceWorks = true;
    // The program as main() starts it, with the settings file under the configuration
    // directory.
    auto start = [this] {
        window.reset();
        app.reset();
        app = std::make_unique<TRealtopia>(*effects, platform, nullptr,
                                           std::make_shared<QtSettingsStore>());
        window = std::make_unique<MainWindow>(app->mainform);
    };
    start();
    const QString file = QtSettingsStore().FileName();
    QCOMPARE(file, dir.filePath("config/realtopia/realtopia.conf"));
    QVERIFY(control<QAction>("mnu_OptionsSound")->isChecked());
    control<QAction>("Fast1")->trigger();
    control<QAction>("mnu_OptionsSound")->trigger();
    QVERIFY(QFile::exists(file));

    start();  // quit and started again
    QVERIFY(control<QAction>("Fast1")->isChecked());
    QCOMPARE(app->mainform.mq().Speed(), tsFast);
    QVERIFY(!control<QAction>("mnu_OptionsSound")->isChecked());
    QVERIFY(!app->mainform.Game().State().SoundOn);

    // A damaged file: the defaults, and not a word about it.
    for (const QByteArray& damaged :
         {QByteArray("\xFF\xFE[options\ntickerSpeed=@Variant(\x01\x02)\nsound=@ByteArray(off)"),
          QByteArray("[options]\ntickerSpeed=fast, slow\nsound=\"off\\0\"\n"),
          QByteArray(4096, '\0')}) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(damaged);
        out.close();
        start();
        QVERIFY(control<QAction>("Mediuim1")->isChecked());
        QVERIFY(control<QAction>("mnu_OptionsSound")->isChecked());
        QVERIFY(effects->messages.empty());
    }
}

// The rows are shortened when they are set and when the list's width changes, not at every
// paint: a list made narrower paints as a new list of that width does.
void TestMainWindow::listRowsAreShortenedAgainForANewWidth() {
    auto* shown = control<PropertyList>("lst_Avail");
    std::vector<PropertyRow> rows;
    for (int r = 0; r < shown->count(); ++r) {
        const QString text = shown->item(r)->text();
        rows.push_back({text, static_cast<int>(text.lastIndexOf(QStringLiteral(" ("))), r == 2});
    }
    auto paintedAt = [&](PropertyList& list, int width) {
        list.resize(width, 20 * 16);
        return list.grab().toImage();
    };
    PropertyList list(16, nullptr);
    list.setFont(shown->font());
    list.resize(300, 20 * 16);
    list.setRows(rows);
    for (int width : {300, 150, 90, 220}) {
        const QImage kept = paintedAt(list, width);
        PropertyList fresh(16, nullptr);
        fresh.setFont(shown->font());
        fresh.resize(width, 20 * 16);
        fresh.setRows(rows);
        QCOMPARE(kept, paintedAt(fresh, width));
    }
}

QTEST_MAIN(TestMainWindow)
// A recorded game watched in the window: the Game menu offers stopping and the speeds, the
// main timer keeps the watching pace, and a firing of it plays the record's next month.
void TestMainWindow::watchingAGameTakesTheMenuAndTheMainTimer() {
    TPlatform replaying = platform;
    TGame played(replaying);
    played.InitWorld();
    played.Apply(TMove::Of(TMoveKind::Start));
    for (int i = 0; i < 4; ++i) played.Apply(TMove::Of(TMoveKind::Tick));
    QVERIFY(control<QAction>("mnu_GameWatch")->isEnabled());
    QVERIFY(!control<QAction>("mnu_GameStopWatching")->isEnabled());

    QVERIFY(app->mainform.WatchRecord(played.Record()));
    control<QAction>("mnu_GameWatchFast")->trigger();
    QVERIFY(control<QAction>("mnu_GameWatchFast")->isChecked());
    QVERIFY(!control<QAction>("mnu_GameWatch")->isEnabled());
    QVERIFY(control<QAction>("mnu_GameStopWatching")->isEnabled());
    window->applyMainTimer();  // as the effects do when the window logic re-times it
    auto* timer = window->findChild<QTimer*>(QStringLiteral("tmr_main"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), WatchInterval(TWatchSpeed::Fast, app->mainform.Clock().Interval()));

    // Each firing a month, up to the record's end, where the timer stops.
    for (int i = 0; i < 10 && timer->isActive(); ++i) QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(app->mainform.Game().State().MonthsPlayed, played.State().MonthsPlayed);
    QVERIFY(!timer->isActive());
    QCOMPARE(Shown(control("st")), QString::fromUtf8(kWatchEnded));

    control<QAction>("mnu_GameStopWatching")->trigger();
    QVERIFY(!app->mainform.Watching());
    QVERIFY(control<QAction>("mnu_GameWatch")->isEnabled());
}

#include "tst_mainwindow.moc"
