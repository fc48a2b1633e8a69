// The desktop program: Qt carries out what the window logic decides.

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "components/LinuxSystemQueries.h"
#include "desktop/AboutBox.h"
#include "desktop/QtSystemHooks.h"
#include "engine/Platform.h"
#include "engine/World.h"
#include "desktop/MainWindow.h"
#include "windows/TRealtopia.h"
#include "windows/Tsplash.h"
#include "desktop/AgreementDialog.h"
#include "desktop/DamRenDialog.h"
#include "desktop/PoliceDialog.h"
#include "desktop/QtEffects.h"
#include "desktop/RulesDialog.h"
#include "desktop/SplashWindow.h"

namespace {

constexpr const char* kUsage =
    "Usage: realtopia [noini] [--self-test] [--help] [--version]\n"
    "\n"
    "A property-trading game.\n"
    "\n"
    "  noini        as the first argument: ignore the property customisation file\n"
    "  --self-test  create every window and load every picture and sound, then exit\n"
    "               (status 0 and no output when all is well)\n"
    "  --help       show this text and exit\n"
    "  --version    show the build and exit\n";

bool HasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0) return true;
    }
    return false;
}

// The pictures every window relies on, besides whatever else the resources hold.
const QStringList& RequiredPictures() {
    static const QStringList pictures = {
        QStringLiteral(":/sponsor.svg"),        QStringLiteral(":/icon/realtopia.svg"),
        QStringLiteral(":/glyphs/play.svg"),    QStringLiteral(":/glyphs/accept.svg"),
        QStringLiteral(":/glyphs/decline.svg"), QStringLiteral(":/glyphs/close.svg"),
        QStringLiteral(":/glyphs/back.svg"),    QStringLiteral(":/trend/steady.svg"),
        QStringLiteral(":/trend/risen.svg"),    QStringLiteral(":/trend/fallen.svg"),
        QStringLiteral(":/areas/area1.svg"),    QStringLiteral(":/areas/area2.svg"),
        QStringLiteral(":/areas/area3.svg"),    QStringLiteral(":/areas/area4.svg"),
        QStringLiteral(":/areas/area5.svg"),    QStringLiteral(":/areas/area6.svg"),
    };
    return pictures;
}

// The first failing picture or sound resource, if any.
std::optional<QString> CheckResources() {
    QStringList pictures = RequiredPictures();
    QDirIterator it(QStringLiteral(":/"), {QStringLiteral("*.svg")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(QStringLiteral(":/qt-project.org")) && !pictures.contains(path))
            pictures << path;
    }
    for (const QString& path : pictures) {
        QSvgRenderer renderer(path);
        if (!renderer.isValid()) return QStringLiteral("picture %1 does not load").arg(path);
    }
    for (const char* name : {"CLICK", "MEEPMEEP", "GAMEOVER"}) {
        QFile sound(QStringLiteral(":/WAVEFILE/%1.wav").arg(QLatin1String(name)));
        if (!sound.open(QIODevice::ReadOnly))
            return QStringLiteral("sound %1 is missing").arg(sound.fileName());
        const QByteArray header = sound.read(16);
        if (!header.startsWith("RIFF") || header.mid(8, 4) != "WAVE")
            return QStringLiteral("sound %1 is not a WAVE file").arg(sound.fileName());
    }
    return std::nullopt;
}

void QuietMessages(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "self-test: %s\n", qPrintable(text));
        std::abort();
    }
}

// The first argument as the game reads it ("noini"); the program's own options do not count.
std::string FirstArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--self-test")) continue;
        return argument.toStdString();
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before any toolkit start-up, so they work without a display.
    if (HasArgument(argc, argv, "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (HasArgument(argc, argv, "--version")) {
        std::printf("%s\n", Tsplash::BuildLabel);
        return 0;
    }
    const bool selfTest = HasArgument(argc, argv, "--self-test");
    if (selfTest) {
        // The self-test runs without a screen if need be, and says nothing but a failure:
        // the toolkit's own notes (no audio server, no runtime directory) are not failures.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietMessages);
    }

    // The title is set once, before any window exists.
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromUtf8(kBuildNumber));
    // Lets the desktop match the windows with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.realtopia.Realtopia"));
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(realtopia_resources);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/realtopia.svg")));

    if (selfTest) {
        if (const std::optional<QString> failure = CheckResources()) {
            std::fprintf(stderr, "self-test: %s\n", qPrintable(*failure));
            return 1;
        }
    }

    TPlatform platform;
    platform.ProgramPath =
        TPlatform::ExecutablePath(QCoreApplication::applicationFilePath().toStdString());
    platform.FirstArgument = FirstArgument(QCoreApplication::arguments());
    platform.UserDataDirectory = TPlatform::DefaultUserDataDirectory();

    auto systemQueries = std::make_shared<LinuxSystemQueries>();
    InstallQtSystemHooks(*systemQueries);

    QtEffects effects;
    effects.SetHeadless(selfTest);

    // Creating the application starts a new world and resets the main window's state.
    TRealtopia app(effects, platform, systemQueries);

    // The windows, in start-up order; the splash, created first, is the main window.
    SplashWindow splash(app);
    AgreementDialog agreement(app);
    RulesDialog rules(app.rulesform);
    MainWindow mainWindow(app.mainform, nullptr);
    DamRenDialog chooser(app.DamRenForm, QString::fromStdString(app.Title()));
    PoliceDialog police(app.policeform);
    effects.SetWindows({&splash, &agreement, &rules, &mainWindow, &chooser, &police});

    app.MAXINI1.SetAboutBoxPresenter([&effects, &mainWindow](const TAboutBoxContent& content) {
        return effects.MayShow("About box") && ShowAboutBox(content, &mainWindow);
    });

    mainWindow.sync();
    mainWindow.applyMainTimer();

    if (selfTest) {
        // The start-up display operations once more, now that every window listens, and
        // every window drawn once off the screen.
        app.mainform.RefreshDisplay();
        app.mainform.RefillLists();
        app.mainform.ShowAreaInfo();
        mainWindow.sync();
        rules.sync();
        chooser.sync();
        police.sync();
        for (QWidget* window : std::initializer_list<QWidget*>{&splash, &agreement, &rules,
                                                               &mainWindow, &chooser, &police}) {
            if (window->grab().isNull()) {
                std::fprintf(stderr, "self-test: window %s does not draw\n",
                             qPrintable(window->objectName()));
                return 1;
            }
        }
        if (!effects.HeadlessRequest().empty()) {
            std::fprintf(stderr, "self-test: start-up asked for a %s\n",
                         effects.HeadlessRequest().c_str());
            return 1;
        }
        if (app.Exited()) {
            std::fputs("self-test: the program ended during start-up\n", stderr);
            return 1;
        }
        return 0;
    }

    splash.show();
    return QApplication::exec();
}
