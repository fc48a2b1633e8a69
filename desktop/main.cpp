// The desktop program: Qt carries out what the window logic decides.

#include <QApplication>
#include <QSessionManager>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "components/LinuxSystemQueries.h"
#include "desktop/DesktopWindows.h"
#include "desktop/EndOfSession.h"
#include "desktop/QtEffects.h"
#include "desktop/QtSettingsStore.h"
#include "desktop/QtSystemHooks.h"
#include "desktop/SelfTest.h"
#include "engine/Platform.h"
#include "engine/World.h"
#include "ui/SavedGameView.h"
#include "windows/TRealtopia.h"
#include "windows/Tsplash.h"

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
    "  --version    show the version and the build and exit\n";

bool HasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0) return true;
    }
    return false;
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

TPlatform DesktopPlatform() {
    TPlatform platform;
    platform.ProgramPath =
        TPlatform::ExecutablePath(QCoreApplication::applicationFilePath().toStdString());
    platform.FirstArgument = FirstArgument(QCoreApplication::arguments());
    platform.UserDataDirectory = TPlatform::DefaultUserDataDirectory();
    platform.KeepRecords = true;
    return platform;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before any toolkit start-up, so they work without a display.
    if (HasArgument(argc, argv, "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (HasArgument(argc, argv, "--version")) {
        std::printf("%s\n", Tsplash::VersionText("realtopia").c_str());
        return 0;
    }
    const bool selfTest = HasArgument(argc, argv, "--self-test");
    if (selfTest) selftest::Prepare();

    // The title is set once, before any window exists.
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromUtf8(kBuildNumber));
    // Lets the desktop match the windows with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.realtopia.Realtopia"));
    // On X11 the windows' pixels go through the connection rather than shared memory: the
    // windows are small, and a shared-memory image's completion event would wake the X
    // thread and then the main thread at every step of the ticker.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(realtopia_resources);

    auto systemQueries = std::make_shared<LinuxSystemQueries>();
    InstallQtSystemHooks(*systemQueries);
    QtEffects effects;
    effects.SetHeadless(selfTest);

    // Creating the application starts a new world and resets the main window's state; the
    // Options menu's choices of the last run are then applied.
    TRealtopia app(effects, DesktopPlatform(), systemQueries, std::make_shared<QtSettingsStore>());
    DesktopWindows windows(app, effects);
    if (selfTest) return selftest::Run(app, effects, windows);

    // A game left in progress is kept for the next start, however the program ends: Exit
    // Game, the close box, a signal, or the session ending (which may not let it finish).
    app.OfferSavedGames = true;
    EndOfSession endOfSession;
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&app](QSessionManager&) { SaveGameOnExit(app.mainform); });
    // The splash is drawn first; the other windows are built once it is on the screen. For
    // start-up measurements the program can end right after that first drawing instead.
    if (qEnvironmentVariableIsSet("REALTOPIA_QUIT_AFTER_FIRST_PAINT"))
        QObject::connect(&windows.splash, &SplashWindow::firstPainted, &application,
                         &QCoreApplication::quit, Qt::QueuedConnection);
    else
        windows.buildLater();
    windows.splash.show();
    const int status = QApplication::exec();
    SaveGameOnExit(app.mainform);
    return status;
}
