// The side windows and the way into the game: the splash, the agreement, the rules window,
// the damage/renovate chooser, the police message and the message and input boxes.

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <memory>

#include "desktop/AgreementDialog.h"
#include "desktop/Announcer.h"
#include "desktop/CopyBox.h"
#include "desktop/DamRenDialog.h"
#include "desktop/DesktopWindows.h"
#include "desktop/MainWindow.h"
#include "desktop/MarqueeWidget.h"
#include "desktop/PanelWidget.h"
#include "desktop/PoliceDialog.h"
#include "desktop/QtEffects.h"
#include "desktop/RawPicture.h"
#include "desktop/RulesDialog.h"
#include "desktop/SplashWindow.h"
#include "engine/Game.h"
#include "qt/FocusMark.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"
#include "windows/TRealtopia.h"

namespace {

TPlatform TestPlatform(const QTemporaryDir& dir) {
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.FirstArgument = "noini";
    platform.UserDataDirectory = dir.path().toStdString();
    platform.Seed = 7;
    return platform;
}

// The whole desktop program as main() builds it, without its event loop.
struct Program {
    QTemporaryDir dir;
    QtEffects effects;
    TRealtopia app{effects, TestPlatform(dir)};
    SplashWindow splash{app};
    AgreementDialog agreement{app};
    RulesDialog rules{app.rulesform};
    MainWindow mainWindow{app.mainform, nullptr};
    DamRenDialog chooser{app.DamRenForm, QStringLiteral("Realtopia")};
    PoliceDialog police{app.policeform};

    Program() {
        effects.SetWindows({&splash, &agreement, &rules, &mainWindow, &chooser, &police});
        Edit(app.mainform.Rules()).SoundOn = false;
        splash.show();
    }
    ~Program() { mainWindow.hide(); }
};

// Acts on the modal window called `name` once it is up, inside its own event loop. Gives up
// (leaving `acted` false) if it never appears, so a missing window fails instead of hanging.
void WhenModal(const QString& name, std::function<void(QWidget*)> action, int tries = 500) {
    QTimer::singleShot(0, [name, action, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && modal->objectName() == name) {
            QPointer<QWidget> window(modal);
            action(modal);
            // A failed check leaves the action early: close the window so the test goes on.
            QWidget* still = window.data();
            if (still != nullptr && still->isVisible() && QTest::currentTestFailed())
                still->close();
        } else if (tries > 0) {
            WhenModal(name, action, tries - 1);
        } else if (modal) {
            modal->close();
        }
    });
}

template <typename T>
T* Child(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
}

// What a screen reader reads as the widget's name, through Qt's accessibility interface.
QString ReadName(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

// The names of every showing node of a window's accessibility tree, as a screen reader
// walks it.
void CollectShowing(QAccessibleInterface* node, QStringList& names) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr || child->state().invisible) continue;
        names << child->text(QAccessible::Name);
        CollectShowing(child, names);
    }
}

QStringList ShowingNames(QWidget* window) {
    QStringList names;
    CollectShowing(QAccessible::queryAccessibleInterface(window), names);
    return names;
}

// Every control carries its name; a screen reader finds each window as a window or dialog
// named by its title, every text as it is shown, and no internal name.
void VerifyNamed(QWidget* window) {
    QVERIFY(!window->objectName().isEmpty());
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window);
    QVERIFY(iface->role() == QAccessible::Window || iface->role() == QAccessible::Dialog);
    // The chooser, whose title is the program's, and the police box are named by what they
    // are about.
    const auto* about = window->findChild<QGroupBox*>(QStringLiteral("optgroup"));
    const bool police = window->objectName() == QLatin1String("policeform");
    QCOMPARE(iface->text(QAccessible::Name), about    ? about->title()
                                             : police ? QStringLiteral("Police")
                                                      : window->windowTitle());
    for (QWidget* child : window->findChildren<QWidget*>()) {
        QVERIFY2(!child->objectName().isEmpty(), child->metaObject()->className());
        if (auto* label = qobject_cast<QLabel*>(child); label && label->pixmap().isNull())
            QCOMPARE(ReadName(label), label->text());
        if (auto* button = qobject_cast<QPushButton*>(child))
            QCOMPARE(ReadName(button), QString(button->text()).remove(QLatin1Char('&')));
    }
    const QStringList names = ShowingNames(window);
    for (const QString& name : names) {
        QVERIFY2(
            !name.startsWith(QStringLiteral("Panel")) && !name.startsWith(QStringLiteral("pnl_")),
            qPrintable(name));
    }
}

// Every control of the window that the keyboard reaches shows a mark of 3:1 or more when it
// has the focus.
void VerifyFocusMarks(QWidget* window) {
    QApplication::setActiveWindow(window);  // the test's screen activates no window itself
    QVERIFY(QTest::qWaitForWindowActive(window));
    int checked = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible() || !widget->isEnabled())
            continue;
        QVERIFY2(focusmark::MarkedPixels(widget) >= focusmark::kVisibleMark,
                 qPrintable(window->objectName() + QLatin1Char('/') + widget->objectName()));
        ++checked;
    }
    QVERIFY(checked > 0);
}

}  // namespace

// Stands in for the browser: remembers the addresses the program asks to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestSideWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void splashShowsTitleBuildAndLinks();
    void splashFromItsKeptPictureLooksAndReadsTheSame();
    void windowsAreBuiltOnceTheSplashIsDrawnAndWaitUntilShown();
    void everyControlIsNamed();
    void decliningEndsTheProgram_data();
    void decliningEndsTheProgram();
    void newUserNeedsTheRulesClosedByClose_data();
    void newUserNeedsTheRulesClosedByClose();
    void rulesKeepTheirTopicBetweenShowings();
    void chooserOkWaitsForAClick();
    void policeShowsTheMessageOnLines();
    void everyFocusableControlShowsTheFocus();
    void everyWindowFitsANetbookScreen();
    void announcementsAppearAsNotifications();
    void inputBoxTakesAtMost255Characters();
    void messageBoxesUseTheirCaptionsAndLineBreaks();
    void challengeCodeIsCopiedByItsButton();
};

void TestSideWindows::initTestCase() {
    Q_INIT_RESOURCE(realtopia_resources);
}

// The splash is drawn before the other windows exist; they are built as soon as it has been
// drawn. Behind the splash the main window's clock and ticker stand still: they start when the
// player enters the game and the window is shown.
void TestSideWindows::windowsAreBuiltOnceTheSplashIsDrawnAndWaitUntilShown() {
    QTemporaryDir dir;
    QtEffects effects;
    TRealtopia app(effects, TestPlatform(dir));
    Edit(app.mainform.Rules()).SoundOn = false;
    DesktopWindows windows(app, effects);
    windows.buildLater();
    QVERIFY(!windows.built());
    windows.splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.splash));
    QTRY_VERIFY(windows.built());

    MainWindow& main = windows.main();
    auto* clock = main.findChild<QTimer*>(QStringLiteral("tmr_main"));
    QVERIFY(clock != nullptr);
    QVERIFY(!main.isVisible());
    QVERIFY(!clock->isActive());
    QVERIFY(!main.ticker()->timerActive());

    WhenModal(QStringLiteral("EULA"),
              [](QWidget* eula) { Child<QPushButton>(eula, "cmd_ACCEPT")->click(); });
    QTest::keyClick(&windows.splash, Qt::Key_Return);
    QVERIFY(main.isVisible());
    QVERIFY(!windows.splash.isVisible());
    QVERIFY(clock->isActive());
    QCOMPARE(clock->interval(), 3000);
    QVERIFY(main.ticker()->timerActive());

    // The finished splash and agreement leave the accessibility tree; the main window is in it.
    auto topLevelNodes = [] {
        QList<QObject*> nodes;
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(qApp);
        for (int i = 0; i < root->childCount(); ++i) nodes << root->child(i)->object();
        return nodes;
    };
    QTRY_VERIFY(!topLevelNodes().contains(&windows.splash));
    QVERIFY(!topLevelNodes().contains(&windows.agreement()));
    QVERIFY(topLevelNodes().contains(&main));
    main.hide();
}

void TestSideWindows::splashShowsTitleBuildAndLinks() {
    Program program;
    SplashWindow& splash = program.splash;
    QCOMPARE(splash.size(), QSize(477, 358));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);

    auto* title = Child<QLabel>(&splash, "lbl_title");
    auto* shadow = Child<QLabel>(&splash, "lbl_TitleShadow");
    QVERIFY(title && shadow);
    QCOMPARE(title->text(), QStringLiteral("Realtopia"));
    QCOMPARE(shadow->text(), title->text());
    QCOMPARE(title->toolTip(), QStringLiteral("Welcome to Realtopia"));
    QCOMPARE(title->geometry(), QRect(68, 160, 390, 55));
    QCOMPARE(shadow->pos() - title->pos(), QPoint(2, 2));
    // The teal title is drawn over its black shadow.
    QVERIFY(shadow->parentWidget()->children().indexOf(shadow) <
            title->parentWidget()->children().indexOf(title));
    // A screen reader finds the splash as a window and reads the title once, not its shadow.
    QCOMPARE(QAccessible::queryAccessibleInterface(&splash)->role(), QAccessible::Window);
    QCOMPARE(ShowingNames(&splash).count(QStringLiteral("Realtopia")), 1);
    QVERIFY(ShowingNames(&splash).contains(QStringLiteral("Build: 20001024.0")));

    QCOMPARE(Child<QLabel>(&splash, "lbl_version")->text(), QStringLiteral("Build: 20001024.0"));
    QCOMPARE(Child<QLabel>(&splash, "Image1")->geometry(), QRect(10, 10, 396, 102));
    QVERIFY(!Child<QLabel>(&splash, "Image1")->pixmap().isNull());
    auto* play = Child<QPushButton>(&splash, "cmd_play");
    QCOMPARE(play->text(), QStringLiteral("PLAY!"));
    QCOMPARE(play->geometry(), QRect(183, 239, 122, 66));
    QCOMPARE(play->font().pixelSize(), 21);
    QVERIFY(play->font().italic() && play->font().bold());

    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    QTest::mouseClick(Child<QLabel>(&splash, "lbl_brightwork"), Qt::LeftButton);
    QTest::mouseClick(Child<QLabel>(&splash, "Image1"), Qt::LeftButton);
    QTest::mouseClick(Child<QLabel>(&splash, "lbllink_Careerly"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(browser.opened, (QList<QUrl>{QUrl(QStringLiteral("https://maker.example.com/")),
                                          QUrl(QStringLiteral("https://www.example.com/")),
                                          QUrl(QStringLiteral("https://www.example.com/"))}));
    QVERIFY(splash.isVisible());
    QVERIFY(!program.app.Exited());
}

// The build keeps a picture of the splash without its buttons and the labels' places; a splash
// given them draws exactly what one drawn afresh does, at one and two device pixels a pixel,
// with the same labels for the screen reader and its buttons drawn as they are now. Places
// that are not this splash's are not used.
void TestSideWindows::splashFromItsKeptPictureLooksAndReadsTheSame() {
    QTemporaryDir dir;
    QtEffects effects;
    TRealtopia app(effects, TestPlatform(dir));
    SplashWindow live(app, nullptr, QString());
    QVERIFY(!live.placedFromPicture());
    const QString prefix = dir.filePath(QStringLiteral("splash"));
    QVERIFY(raw_picture::Write(live.drawPicture(1.0), prefix + QStringLiteral(".argb")));
    QVERIFY(raw_picture::Write(live.drawPicture(2.0), prefix + QStringLiteral("@2x.argb")));
    const auto writePlaces = [&prefix](const QByteArray& text) {
        QFile file(prefix + QStringLiteral(".places"));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(text) == text.size();
    };
    const QByteArray places = live.labelPlaces();
    QCOMPARE(places.count('\n'), 9);
    QVERIFY(writePlaces(places));

    SplashWindow kept(app, nullptr, prefix);
    QVERIFY(kept.placedFromPicture());
    const auto drawn = [](QWidget& window, qreal ratio) {
        QImage image(window.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        window.render(&image);
        return image;
    };
    for (const qreal ratio : {1.0, 2.0}) {
        QCOMPARE(drawn(kept, ratio), drawn(live, ratio));
        QVERIFY(kept.drawnFromPicture());
    }
    // The buttons are drawn over the picture as they are: here NEW USER holding the focus.
    Child<QPushButton>(&kept, "cmd_NewUser")->setFocus();
    Child<QPushButton>(&live, "cmd_NewUser")->setFocus();
    QCOMPARE(drawn(kept, 1.0), drawn(live, 1.0));
    for (const QLabel* label : live.findChildren<QLabel*>()) {
        const auto* twin = kept.findChild<QLabel*>(label->objectName());
        QVERIFY(twin != nullptr);
        QCOMPARE(twin->geometry(), label->geometry());
        QCOMPARE(twin->text(), label->text());
        QVERIFY(twin->isVisible() == label->isVisible());
    }
    QCOMPARE(ShowingNames(&kept), ShowingNames(&live));

    // A label missing from the places: the texts are measured and drawn afresh.
    QVERIFY(writePlaces(places.left(places.lastIndexOf('\n', places.size() - 2) + 1)));
    SplashWindow unplaced(app, nullptr, prefix);
    QVERIFY(!unplaced.placedFromPicture());
    QCOMPARE(drawn(unplaced, 1.0), drawn(live, 1.0));
    QVERIFY(!unplaced.drawnFromPicture());
}

void TestSideWindows::everyControlIsNamed() {
    Program program;
    for (QWidget* window :
         std::initializer_list<QWidget*>{&program.splash, &program.agreement, &program.rules,
                                         &program.chooser, &program.police}) {
        VerifyNamed(window);
        if (QTest::currentTestFailed()) return;
    }
}

void TestSideWindows::decliningEndsTheProgram_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("PLAY!, I DISAGREE") << QStringLiteral("cmd_play") << false;
    QTest::newRow("New User, I DISAGREE") << QStringLiteral("cmd_NewUser") << false;
    QTest::newRow("Enter, Esc") << QStringLiteral("Return") << true;
    QTest::newRow("Esc, Esc") << QStringLiteral("Escape") << true;
}

void TestSideWindows::decliningEndsTheProgram() {
    QFETCH(QString, start);
    QFETCH(bool, byEscape);
    Program program;
    bool declined = false;
    QString agreementText;
    WhenModal(QStringLiteral("EULA"), [&](QWidget* eula) {
        agreementText = Child<QLabel>(eula, "lbl_AgreementText")->text();
        // The agreement reads as its text.
        QVERIFY(ShowingNames(eula).contains(agreementText));
        if (byEscape) {
            QTest::keyClick(eula, Qt::Key_Escape);
        } else {
            Child<QPushButton>(eula, "cmd_DECLINE")->click();
        }
        declined = !eula->isVisible();
    });
    if (start == QLatin1String("Return")) {
        QTest::keyClick(&program.splash, Qt::Key_Return);
    } else if (start == QLatin1String("Escape")) {
        QTest::keyClick(&program.splash, Qt::Key_Escape);
    } else {
        program.splash.findChild<QPushButton*>(start)->click();
    }
    QVERIFY(declined);
    QVERIFY(agreementText.startsWith(QStringLiteral("Welcome to Realtopia. ")));
    QVERIFY(!agreementText.contains(QLatin1Char('\r')));
    QVERIFY(program.app.Exited());
    QVERIFY(!program.splash.isVisible());
    QVERIFY(!program.mainWindow.isVisible());
    QVERIFY(!program.rules.isVisible());
}

void TestSideWindows::newUserNeedsTheRulesClosedByClose_data() {
    QTest::addColumn<bool>("byClose");
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("closed by CLOSE") << true << false;
    QTest::newRow("closed by Esc, as CLOSE") << true << true;
    QTest::newRow("closed otherwise") << false << false;
}

void TestSideWindows::newUserNeedsTheRulesClosedByClose() {
    QFETCH(bool, byClose);
    QFETCH(bool, byEscape);
    Program program;
    bool rulesSeen = false;
    WhenModal(QStringLiteral("EULA"), [&](QWidget* eula) {
        WhenModal(QStringLiteral("rulesform"), [&](QWidget* rules) {
            rulesSeen = true;
            if (byEscape) {
                QTest::keyClick(rules, Qt::Key_Escape);
            } else if (byClose) {
                Child<QPushButton>(rules, "cmd_rules")->click();
            } else {
                rules->close();
            }
        });
        QTest::keyClick(eula, Qt::Key_Return);  // I AGREE is the default button
    });
    Child<QPushButton>(&program.splash, "cmd_NewUser")->click();

    QVERIFY(rulesSeen);
    QCOMPARE(program.app.Exited(), !byClose);
    QVERIFY(!program.splash.isVisible());
    QCOMPARE(program.mainWindow.isVisible(), byClose);
}

void TestSideWindows::rulesKeepTheirTopicBetweenShowings() {
    Program program;
    auto titleOf = [](QWidget* rules) { return Child<PanelWidget>(rules, "pnl_title")->caption(); };
    bool firstDone = false;
    WhenModal(QStringLiteral("rulesform"), [&](QWidget* rules) {
        QCOMPARE(titleOf(rules), QStringLiteral("RULES"));
        QCOMPARE(rules->windowTitle(), QStringLiteral("Rules"));
        QCOMPARE(QAccessible::queryAccessibleInterface(rules)->text(QAccessible::Name),
                 QStringLiteral("Rules"));
        QVERIFY(!Child<QLabel>(rules, "lbl_text")->isVisible());
        QTest::mouseClick(Child<QPushButton>(rules, "sp_Strategy"), Qt::LeftButton);
        QCOMPARE(titleOf(rules), QStringLiteral("RULES - STRATEGY"));
        auto* text = Child<QLabel>(rules, "lbl_text");
        QVERIFY(text->isVisible());
        QVERIFY(text->text().contains(QStringLiteral("cash flow\n3) Damage before buying")));
        QVERIFY(Child<QPushButton>(rules, "cmd_back")->isVisible());
        // The text covers the menu: a second topic cannot be chosen.
        QVERIFY(!Child<QPushButton>(rules, "sp_OverView")->isEnabled());
        // A screen reader reads the topic's text and the title; the menu's buttons, covered
        // by the text, are not showing.
        const QStringList showing = ShowingNames(rules);
        QVERIFY(showing.contains(text->text()));
        QVERIFY(showing.contains(QStringLiteral("RULES - STRATEGY")));
        QVERIFY(!showing.contains(QStringLiteral("OVERVIEW")));
        Child<QPushButton>(rules, "cmd_rules")->click();
        firstDone = true;
    });
    program.app.mainform.Invoke(TCommand::MenuRules);
    QVERIFY(firstDone);

    bool secondDone = false;
    WhenModal(QStringLiteral("rulesform"), [&](QWidget* rules) {
        QCOMPARE(titleOf(rules), QStringLiteral("RULES - STRATEGY"));
        QVERIFY(Child<QLabel>(rules, "lbl_text")->isVisible());
        Child<QPushButton>(rules, "cmd_back")->click();
        QCOMPARE(titleOf(rules), QStringLiteral("RULES"));
        QVERIFY(!Child<QLabel>(rules, "lbl_text")->isVisible());
        QVERIFY(Child<QPushButton>(rules, "sp_OverView")->isEnabled());
        // Enter on a focused button presses it, as Space does: a topic opens, and the focus
        // goes straight to Back, through none of the covered buttons.
        auto* buying = Child<QPushButton>(rules, "sp_Buying");
        auto* back = Child<QPushButton>(rules, "cmd_back");
        buying->setFocus(Qt::TabFocusReason);
        QList<QWidget*> focusPath;
        const auto watch = connect(qApp, &QApplication::focusChanged, rules,
                                   [&](QWidget*, QWidget* now) { focusPath << now; });
        QTest::keyClick(buying, Qt::Key_Return);
        QCOMPARE(titleOf(rules), QStringLiteral("RULES - BUYING and SELLING"));
        QVERIFY(rules->isVisible());
        QVERIFY(Child<QLabel>(rules, "lbl_text")->isVisible());
        QCOMPARE(focusPath, QList<QWidget*>{back});
        // Enter on Back goes back (it used to close the window), to the topic's own button.
        QTest::keyClick(back, Qt::Key_Return);
        disconnect(watch);
        QVERIFY(rules->isVisible());
        QCOMPARE(titleOf(rules), QStringLiteral("RULES"));
        QCOMPARE(rules->focusWidget(), buying);
        QTest::keyClick(buying, Qt::Key_Space);
        QCOMPARE(titleOf(rules), QStringLiteral("RULES - BUYING and SELLING"));
        QTest::keyClick(back, Qt::Key_Space);
        QCOMPARE(titleOf(rules), QStringLiteral("RULES"));
        QTest::keyClick(buying, Qt::Key_Return);
        // Enter on CLOSE closes.
        auto* close = Child<QPushButton>(rules, "cmd_rules");
        close->setFocus(Qt::TabFocusReason);
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(!rules->isVisible());
        secondDone = true;
    });
    program.app.mainform.Invoke(TCommand::MenuRules);
    QVERIFY(secondDone);
    QCOMPARE(program.app.rulesform.Title(), std::string("RULES - BUYING and SELLING"));
    QVERIFY(!program.app.Exited());
}

void TestSideWindows::chooserOkWaitsForAClick() {
    Program program;
    TGame& game = program.app.mainform.Rules();
    // The game opens the chooser for one property for sale, and waits for it.
    auto openChooser = [&game] {
        Edit(game).Selection = {1};
        Edit(game).SelectionSide = TSelectionSide::ForSale;
        game.SetSelectedRows(TList::Avail, 1);
        QVERIFY(game.Apply(TMove::Of(TMoveKind::DamageOrRenovate)));
        const TQuestion* open = game.OpenQuestion();
        QVERIFY(open != nullptr && open->Kind == TQuestionKind::Chooser);
    };
    openChooser();
    const int area = game.State().Property(1).Area;

    bool chose = false;
    WhenModal(QStringLiteral("DamRenForm"), [&](QWidget* chooser) {
        auto* ok = Child<QPushButton>(chooser, "cmd_Close");
        QVERIFY(!ok->isEnabled());
        const auto radios = chooser->findChildren<QRadioButton*>();
        QCOMPARE(radios.size(), 8);
        for (QRadioButton* radio : radios) QVERIFY(!radio->isChecked());
        QVERIFY(
            Child<QGroupBox>(chooser, "optgroup")->title().startsWith(QStringLiteral("Damage ")));
        QTest::mouseClick(radios.at(2), Qt::LeftButton);
        QVERIFY(ok->isEnabled());
        ok->click();
        chose = true;
    });
    bool closed = false;
    program.app.ShowDamRenChooser([&closed] { closed = true; });
    QVERIFY(closed && program.app.DamRenForm.ChoiceMade());
    QVERIFY(chose);
    QVERIFY(game.OpenQuestion() == nullptr);  // the pick closed it
    const Money lowest = game.State().Area(area).LowestPrice;
    QVERIFY(lowest > Money());
    QCOMPARE(game.State().DamRenAmount, TGame::ImprovementAmount(3, lowest));
    QVERIFY(game.State().Property(1).DoneImprovements &
            TGame::ImprovementBit(3, TDamRenMode::Damage));

    // The next showing starts afresh: the items rebuilt, none chosen, OK disabled again.
    bool cancelled = false;
    WhenModal(QStringLiteral("DamRenForm"), [&](QWidget* chooser) {
        QVERIFY(!Child<QPushButton>(chooser, "cmd_Close")->isEnabled());
        const auto radios = chooser->findChildren<QRadioButton*>();
        QCOMPARE(radios.size(), 8);
        QVERIFY(radios.at(2)->text().endsWith(QStringLiteral(" (Already Done)")));
        QVERIFY(!radios.at(2)->isEnabled());  // done: shown disabled, never chosen
        QCOMPARE(QAccessible::queryAccessibleInterface(chooser)->text(QAccessible::Name),
                 Child<QGroupBox>(chooser, "optgroup")->title());
        for (QRadioButton* radio : radios) QVERIFY(!radio->isChecked());
        // The first item has the focus as the window opens; the arrow keys choose as they move
        // (OK ready at once), the first one too, and skip the done item.
        QCOMPARE(QApplication::focusWidget(), radios.at(0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(radios.at(1)->isChecked());
        QVERIFY(Child<QPushButton>(chooser, "cmd_Close")->isEnabled());
        QTest::keyClick(radios.at(1), Qt::Key_Down);
        QVERIFY(radios.at(3)->isChecked());
        QCOMPARE(program.app.DamRenForm.ItemIndex(), 4);
        QTest::keyClick(chooser, Qt::Key_Escape);
        cancelled = !chooser->isVisible();
    });
    openChooser();
    closed = false;
    program.app.ShowDamRenChooser([&closed] { closed = true; });
    QVERIFY(closed && !program.app.DamRenForm.ChoiceMade());
    QVERIFY(cancelled);
    QCOMPARE(game.State().DamRenAmount, Money());
}

void TestSideWindows::policeShowsTheMessageOnLines() {
    Program program;
    QString shown;
    WhenModal(QStringLiteral("policeform"), [&](QWidget* police) {
        shown = Child<QLabel>(police, "lbl_message")->text();
        QCOMPARE(police->windowTitle(), QStringLiteral("POLICE MESSAGE"));
        QCOMPARE(police->size(), QSize(323, 146));
        Child<QPushButton>(police, "cmd_close")->click();
    });
    program.app.ShowPoliceMessage("You have been caught.\rThe fine is big.", {});
    QCOMPARE(shown, QStringLiteral("You have been caught.\nThe fine is big."));
}

void TestSideWindows::everyFocusableControlShowsTheFocus() {
    Program program;
    // The rules' topic buttons are flat: they showed no focus mark at all.
    int windows = 0;
    WhenModal(QStringLiteral("rulesform"), [&](QWidget* rules) {
        VerifyFocusMarks(rules);
        ++windows;
        Child<QPushButton>(rules, "cmd_rules")->click();
    });
    program.app.mainform.Invoke(TCommand::MenuRules);

    TGame& game = program.app.mainform.Rules();
    Edit(game).Selection = {1};
    Edit(game).SelectionSide = TSelectionSide::ForSale;
    game.SetSelectedRows(TList::Avail, 1);
    QVERIFY(game.Apply(TMove::Of(TMoveKind::DamageOrRenovate)));
    WhenModal(QStringLiteral("DamRenForm"), [&](QWidget* chooser) {
        VerifyFocusMarks(chooser);
        ++windows;
        // Enter on the focused Cancel cancels, as Space does (it pressed OK's place before).
        QTest::mouseClick(chooser->findChildren<QRadioButton*>().at(1), Qt::LeftButton);
        auto* cancel = Child<QPushButton>(chooser, "cmd_Cancel");
        cancel->setFocus(Qt::TabFocusReason);
        QTest::keyClick(cancel, Qt::Key_Return);
    });
    program.app.ShowDamRenChooser({});
    QVERIFY(!program.app.DamRenForm.ChoiceMade());
    QCOMPARE(game.State().DamRenAmount, Money());

    WhenModal(QStringLiteral("policeform"), [&](QWidget* police) {
        VerifyFocusMarks(police);
        ++windows;
        Child<QPushButton>(police, "cmd_close")->click();
    });
    program.app.ShowPoliceMessage("You have been caught.", {});

    program.agreement.show();
    QApplication::setActiveWindow(&program.agreement);
    QVERIFY(QTest::qWaitForWindowActive(&program.agreement));
    VerifyFocusMarks(&program.agreement);
    program.agreement.hide();
    QCOMPARE(windows, 3);
}

// A 1024 x 600 screen (and 2048 x 1200 at twice the scale) holds every window whole, with
// room for a title bar; the Market Report, which would be taller, fits itself
// (tst_marketreport).
void TestSideWindows::everyWindowFitsANetbookScreen() {
    Program program;
    const QSize room(1024 - 16, 600 - 40);
    program.mainWindow.show();
    for (QWidget* window :
         std::initializer_list<QWidget*>{&program.splash, &program.agreement, &program.rules,
                                         &program.mainWindow, &program.chooser, &program.police}) {
        const QSize size = window->frameGeometry().size().expandedTo(window->size());
        QVERIFY2(size.width() <= room.width() && size.height() <= room.height(),
                 qPrintable(window->objectName()));
    }
}

void TestSideWindows::announcementsAppearAsNotifications() {
    Program program;
    program.mainWindow.show();
    const Announcer* announcer = program.mainWindow.announcer();
    // What the window logic announces (a fine, as its window opens) appears as a notification
    // named by the text: what a screen reader on AT-SPI speaks, wherever the focus is.
    const int before = announcer->count();
    QString named;
    bool showing = false;
    QAccessible::Role role = QAccessible::NoRole;
    WhenModal(QStringLiteral("policeform"), [&](QWidget* police) {
        QAccessibleInterface* notice = QAccessible::queryAccessibleInterface(announcer->latest());
        QVERIFY(notice);
        named = notice->text(QAccessible::Name);
        showing = !notice->state().invisible;
        role = notice->role();
        Child<QPushButton>(police, "cmd_close")->click();
    });
    // A sale of a property sold too often: the game waits at the police window.
    TGame& game = program.app.mainform.Rules();
    const std::string fine = SellTooOften(game);
    QCOMPARE(OpenKind(game), TQuestionKind::Police);
    program.app.mainform.ApplyGameEvents();
    QCOMPARE(named, QString::fromStdString(fine));
    QCOMPARE(role, QAccessible::Notification);
    QVERIFY(showing);
    QCOMPARE(announcer->count(), before + 1);
    // The next one is a notice of its own: the first keeps its words for a screen reader
    // still reading it, and the same words again appear again.
    QWidget* first = announcer->latest();
    program.effects.Announce(named.toStdString());
    QCOMPARE(announcer->count(), before + 2);
    QVERIFY(announcer->latest() != first);
    QCOMPARE(ReadName(first), named);
    QCOMPARE(ReadName(announcer->latest()), named);
    // Only a few are kept; none takes the focus or a click.
    for (int i = 0; i < 20; ++i) program.effects.Announce("news " + std::to_string(i));
    QCOMPARE(announcer->findChildren<QWidget*>().size(), static_cast<qsizetype>(Announcer::kKept));
    QCOMPARE(ReadName(announcer->latest()), QStringLiteral("news 19"));
    QCOMPARE(announcer->latest()->focusPolicy(), Qt::NoFocus);
    QVERIFY(announcer->latest()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestSideWindows::inputBoxTakesAtMost255Characters() {
    Program program;
    int limit = 0;
    WhenModal(QStringLiteral("InputBox"), [&](QWidget* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Email to a friend"));
        auto* edit = box->findChild<QLineEdit*>();
        QCOMPARE(edit->text(), QStringLiteral("Type your name here"));
        limit = edit->maxLength();
        edit->selectAll();
        QTest::keyClicks(edit, QString(300, QLatin1Char('x')));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    std::string answer = "Type your name here";
    QVERIFY(program.app.mainform.Boxes().Input("Email to a friend", "Type in your Name", answer,
                                               IEffects::kInputMaxLength));
    QCOMPARE(limit, 255);
    QCOMPARE(answer, std::string(255, 'x'));

    WhenModal(QStringLiteral("InputBox"), [](QWidget* box) {
        QTest::keyClicks(box->findChild<QLineEdit*>(), QStringLiteral("typed"));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    answer = "Type your name here";
    QVERIFY(!program.app.mainform.Boxes().Input("Email to a friend", "Type in your Name", answer,
                                                IEffects::kInputMaxLength));
    QCOMPARE(answer, std::string("Type your name here"));
}

void TestSideWindows::messageBoxesUseTheirCaptionsAndLineBreaks() {
    Program program;
    QString title, text;
    WhenModal(QStringLiteral("MessageBox"), [&](QWidget* box) {
        title = box->windowTitle();
        text = static_cast<QMessageBox*>(box)->text();
        static_cast<QMessageBox*>(box)->accept();
    });
    program.effects.Information("first line\rsecond line\r\nthird line");
    QCOMPARE(title, QStringLiteral("Realtopia"));
    QCOMPARE(text, QStringLiteral("first line\nsecond line\nthird line"));

    WhenModal(QStringLiteral("MessageBox"), [&](QWidget* box) {
        title = box->windowTitle();
        static_cast<QMessageBox*>(box)->accept();
    });
    program.effects.Error("VODE32", "Could not find this Resource");
    QCOMPARE(title, QStringLiteral("VODE32"));

    for (const bool yes : {true, false}) {
        WhenModal(QStringLiteral("MessageBox"), [yes](QWidget* box) {
            auto* message = static_cast<QMessageBox*>(box);
            message->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QCOMPARE(program.effects.YesNo("Another Game?"), yes);
    }

    // A table in tabs (the hi-score table) lines up in columns, whatever the names' widths:
    // every row's score starts where the header's "Score" does.
    QString shown;
    QFont font;
    WhenModal(QStringLiteral("MessageBox"), [&](QWidget* box) {
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        shown = label->text();
        font = label->font();
        QVERIFY(label->textFormat() == Qt::RichText);
        static_cast<QMessageBox*>(box)->accept();
    });
    program.effects.Information(
        "PERSONAL HI SCORE TABLE\r\rPlace\tName\t\t\tScore\r1)\t Wolfgang Amadeus "
        "Mozart-Bartholdy\t\t\u00A3123456\r2)\t Al Li\t\t\u00A399\r");
    QTextDocument document;
    document.setDefaultFont(font);
    document.setHtml(shown);
    document.adjustSize();
    const auto leftOf = [&document](const QString& wanted) {
        const QTextCursor found = document.find(wanted, 0, QTextDocument::FindCaseSensitively);
        const QTextBlock block = found.block();
        const QTextLine line =
            block.layout()->lineForTextPosition(found.selectionStart() - block.position());
        return document.documentLayout()->blockBoundingRect(block).left() +
               line.cursorToX(found.selectionStart() - block.position());
    };
    QVERIFY(document.toPlainText().contains(QStringLiteral("Al Li")));
    QCOMPARE(leftOf(QStringLiteral("\u00A3123456")), leftOf(QStringLiteral("Score")));
    QCOMPARE(leftOf(QStringLiteral("\u00A399")), leftOf(QStringLiteral("Score")));
    QCOMPARE(leftOf(QStringLiteral("Al Li")), leftOf(QStringLiteral("Name")));
}

QTEST_MAIN(TestSideWindows)
// Game > Challenge a Friend…: the code in a box whose Copy button puts it on the clipboard
// and leaves the box open; OK closes it.
void TestSideWindows::challengeCodeIsCopiedByItsButton() {
    Program program;
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    const QString code =
        QString::fromStdString(EncodeChallenge(program.app.mainform.Game().Challenge()));
    QString title, shown, copied;
    bool openAfterCopy = false;
    WhenModal(QStringLiteral("CopyBox"), [&](QWidget* widget) {
        auto* box = static_cast<CopyBox*>(widget);
        title = box->windowTitle();
        shown = box->Line()->text();
        QCOMPARE(box->CopyButton()->text(), QStringLiteral("Copy"));
        QTest::mouseClick(box->CopyButton(), Qt::LeftButton);
        copied = QGuiApplication::clipboard()->text();
        openAfterCopy = box->isVisible();
        box->accept();
    });
    QVERIFY(program.app.mainform.Invoke(TCommand::MenuChallengeFriend));
    QCOMPARE(title, QStringLiteral("Challenge a Friend"));
    QCOMPARE(shown, code);
    QCOMPARE(copied, code);
    QVERIFY(openAfterCopy);
}

#include "tst_sidewindows.moc"
