// The About box: where its controls are, what they say, and which ways of closing it count as OK.

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "components/LinuxSystemQueries.h"
#include "components/TMAXIM.h"
#include "desktop/AboutBox.h"
#include "desktop/QtSystemHooks.h"

namespace {

TAboutBoxContent SampleContent() {
    TAboutBoxContent content;
    content.Product = "The Realtopia Game";
    content.Version = "20001024.0";
    content.Host = "Linux 6.1.0";
    content.Copyright = "(c) 2000 Brightwork";
    content.Comments = "Feel free to email this game to all your friends";
    return content;
}

QDialog* OpenAboutBox() {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) return modal;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog != nullptr && dialog->isVisible()) return dialog;
    }
    return nullptr;
}

// Runs `inspect` on the box once it is up, then closes it with `close`; the box is closed even
// when a check inside `inspect` fails.
bool ShowAndThen(const std::function<void(QDialog&)>& inspect,
                 const std::function<void(QDialog&)>& close) {
    bool found = false;
    QTimer::singleShot(0, [&] {
        QDialog* box = OpenAboutBox();
        if (box == nullptr) return;
        found = true;
        struct Closer {
            QDialog& box;
            const std::function<void(QDialog&)>& close;
            ~Closer() { close(box); }
        } closer{*box, close};
        inspect(*box);
    });
    const bool result = ShowAboutBox(SampleContent(), nullptr);
    if (!found) qFatal("the About box never appeared");
    return result;
}

void ClickOk(QDialog& box) {
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    if (ok != nullptr) QTest::mouseClick(ok, Qt::LeftButton);
    if (box.isVisible()) box.done(QDialog::Rejected);  // the click did nothing
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QPixmap icon(32, 32);
        icon.fill(Qt::darkGreen);
        QApplication::setWindowIcon(QIcon(icon));
    }

    void layoutAndTexts() {
        const bool result = ShowAndThen(
            [](QDialog& box) {
                QCOMPARE(box.windowTitle(), QStringLiteral("About"));
                QCOMPARE(box.size(), QSize(408, 213));
                QCOMPARE(box.minimumSize(), box.maximumSize());
                QVERIFY(box.isModal());
                const Qt::WindowFlags flags = box.windowFlags();
                QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
                QVERIFY(flags.testFlag(Qt::WindowTitleHint));
                QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
                QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
                QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

                auto* panel = box.findChild<QFrame*>(QStringLiteral("Panel1"));
                QVERIFY(panel != nullptr);
                QCOMPARE(panel->geometry(), QRect(8, 8, 393, 161));

                struct Expected {
                    const char* name;
                    QRect geometry;
                    QString text;
                    Qt::Alignment horizontal;
                };
                const Expected labels[] = {
                    {"lbl_product", {85, 16, 50, 13}, "Product:", Qt::AlignRight},
                    {"lbl_Version", {85, 32, 50, 13}, "Version:", Qt::AlignRight},
                    {"lbl_OS", {85, 48, 50, 13}, "Host:", Qt::AlignRight},
                    {"ProductName", {144, 16, 241, 17}, "The Realtopia Game", Qt::AlignLeft},
                    {"Version", {144, 32, 241, 17}, "20001024.0", Qt::AlignLeft},
                    {"OperatingSystem", {144, 48, 241, 17}, "Linux 6.1.0", Qt::AlignLeft},
                    {"Copyright", {144, 64, 241, 14}, "(c) 2000 Brightwork", Qt::AlignLeft},
                    {"Comments",
                     {8, 80, 377, 57},
                     "Feel free to email this game to all your friends",
                     Qt::AlignHCenter},
                };
                for (const auto& e : labels) {
                    auto* label = box.findChild<QLabel*>(QLatin1String(e.name));
                    QVERIFY2(label != nullptr, e.name);
                    QCOMPARE(label->parentWidget(), panel);
                    QCOMPARE(label->geometry(), e.geometry);
                    QCOMPARE(label->text(), e.text);
                    QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, e.horizontal);
                }
                QVERIFY(box.findChild<QLabel*>(QStringLiteral("Comments"))->wordWrap());

                auto* icon = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
                QVERIFY(icon != nullptr);
                QCOMPARE(icon->geometry(), QRect(8, 8, 73, 65));
                const QPixmap picture = icon->pixmap();
                QVERIFY(!picture.isNull());
                QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(73, 65));

                auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
                QVERIFY(ok != nullptr);
                QCOMPARE(ok->geometry(), QRect(165, 178, 77, 27));
                QCOMPARE(ok->text(), QStringLiteral("OK"));
                QVERIFY(ok->isDefault());
                QCOMPARE(box.focusWidget(), ok);

                // A screen reader finds a dialog named by its caption, and reads every label
                // as its text.
                QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&box);
                QCOMPARE(dialog->role(), QAccessible::Dialog);
                QCOMPARE(dialog->text(QAccessible::Name), QStringLiteral("About"));
                for (const auto& e : labels) {
                    auto* label = box.findChild<QLabel*>(QLatin1String(e.name));
                    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name),
                             e.text);
                }
                for (QWidget* w : box.findChildren<QWidget*>()) {
                    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
                    QVERIFY(iface->text(QAccessible::Name) != QStringLiteral("Panel1"));
                }
                QVERIFY(!QAccessible::queryAccessibleInterface(icon)
                             ->text(QAccessible::Name)
                             .isEmpty());
            },
            ClickOk);
        QVERIFY(result);
    }

    void okButtonAccepts() {
        QVERIFY(ShowAndThen([](QDialog&) {}, ClickOk));
    }

    void returnKeyPressesTheDefaultButton() {
        QVERIFY(ShowAndThen([](QDialog&) {},
                            [](QDialog& box) {
                                QTest::keyClick(&box, Qt::Key_Return);
                                if (box.isVisible()) box.done(QDialog::Rejected);
                            }));
    }

    void escapeRejects() {
        QVERIFY(!ShowAndThen([](QDialog&) {},
                             [](QDialog& box) {
                                 QTest::keyClick(&box, Qt::Key_Escape);
                                 if (box.isVisible()) box.done(QDialog::Accepted);
                             }));
    }

    void closingTheWindowRejects() {
        QVERIFY(!ShowAndThen([](QDialog&) {}, [](QDialog& box) { box.close(); }));
    }

    void theBoxIsDestroyedAfterClosing() {
        ShowAndThen([](QDialog&) {}, ClickOk);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QVERIFY(w->objectName() != QStringLiteral("AboutBox"));
        }
    }

    void hooksReportThePrimaryScreen() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QVERIFY(screen != nullptr);
        auto queries = std::make_shared<LinuxSystemQueries>();
        InstallQtSystemHooks(*queries);
        TMAXIM maxim(queries);
        QCOMPARE(maxim.ScreenWidth(), screen->geometry().width());
        QCOMPARE(maxim.ScreenHeight(), screen->geometry().height());
        const int colours = maxim.NumColours();
        QVERIFY(colours == 32760 || (colours > 0 && colours <= 256));
        QCOMPARE(QString::fromStdString(maxim.ErrorStatus()), QStringLiteral("OK"));
    }
};

QTEST_MAIN(AboutBoxTest)
#include "tst_aboutbox.moc"
