// render_splash: draws the splash window without its buttons, as a screen of the given device
// pixels a pixel shows it, and writes the labels' places, for the program to show at its start
// without opening a font for the labels (desktop/SplashWindow.h).
//
//   render_splash OUT.argb RATIO [OUT.places]
//
// RATIO is 1 or 2; the picture is in the raw form of desktop/RawPicture.h. Run by the build
// from the same sources as the program, so the picture is always the program's splash.

#include <QApplication>
#include <QByteArray>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "desktop/RawPicture.h"
#include "desktop/SplashWindow.h"
#include "support/QuietEffects.h"
#include "windows/TRealtopia.h"

namespace {

void DropNotes(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "render_splash: %s\n", qPrintable(text));
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc != 3 && argc != 4) ||
        (std::strcmp(argv[2], "1") != 0 && std::strcmp(argv[2], "2") != 0)) {
        std::fputs("usage: render_splash OUT.argb RATIO [OUT.places]   (RATIO 1 or 2)\n", stderr);
        return 2;
    }
    // Off the screen, with the fonts the program finds, at the ratio's scale: the window is
    // laid out and drawn as on such a screen (its logo at that ratio, its texts hinted so).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", argv[2]);
    qInstallMessageHandler(DropNotes);
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(realtopia_resources);

    QTemporaryDir dir;
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.FirstArgument = "noini";
    platform.UserDataDirectory = dir.path().toStdString();
    QuietEffects effects;
    TRealtopia app(effects, platform);
    // No picture to start from: the labels are measured and drawn as they are without one.
    SplashWindow splash(app, nullptr, QString());

    const QString picture = QString::fromLocal8Bit(argv[1]);
    if (!raw_picture::Write(splash.drawPicture(argv[2][0] == '2' ? 2.0 : 1.0), picture)) {
        std::fprintf(stderr, "render_splash: cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 4) {
        QSaveFile places(QString::fromLocal8Bit(argv[3]));
        const QByteArray text = splash.labelPlaces();
        if (!places.open(QIODevice::WriteOnly) || places.write(text) != text.size() ||
            !places.commit()) {
            std::fprintf(stderr, "render_splash: cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
