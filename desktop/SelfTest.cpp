#include "desktop/SelfTest.h"

#include <sys/mman.h>

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QSvgRenderer>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>

#include "desktop/AgreementDialog.h"
#include "desktop/DamRenDialog.h"
#include "desktop/DesktopWindows.h"
#include "desktop/MainWindow.h"
#include "desktop/PoliceDialog.h"
#include "desktop/QtEffects.h"
#include "desktop/RulesDialog.h"
#include "desktop/SoundModule.h"
#include "desktop/SvgPicture.h"
#include "windows/TRealtopia.h"

namespace {

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

// The first failing picture or sound resource, if any. The pictures in `loaded` are known to
// load: a window holds each, drawn from it.
std::optional<QString> CheckResources(const QStringList& loaded) {
    QStringList pictures = RequiredPictures();
    // The program's own folders of the resources; Qt's (":/qt-project.org", hundreds of
    // files) are not walked.
    QStringList folders{QStringLiteral(":/")};
    for (const QString& name :
         QDir(QStringLiteral(":/")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (name != QLatin1String("qt-project.org")) folders << QStringLiteral(":/") + name;
    }
    for (int i = 0; i < folders.size(); ++i) {
        const bool top = i == 0;
        QDirIterator it(folders[i], {QStringLiteral("*.svg")}, QDir::Files,
                        top ? QDirIterator::NoIteratorFlags : QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!pictures.contains(path)) pictures << path;
        }
    }
    for (const QString& path : pictures) {
        if (loaded.contains(path)) continue;
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

// A picture to draw the windows into. On Linux its memory is mapped with every page present
// at once: touched page by page, as a fresh allocation is, each of its few hundred pages would
// cost a fault of its own.
class Canvas {
public:
    explicit Canvas(QSize size) {
#if defined(__linux__) && defined(MAP_POPULATE)
        bytes_ = static_cast<std::size_t>(std::max(0, size.width())) *
                 static_cast<std::size_t>(std::max(0, size.height())) * 4;
        if (bytes_ > 0) {
            memory_ = ::mmap(nullptr, bytes_, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
            if (memory_ == MAP_FAILED) memory_ = nullptr;
        }
        if (memory_ != nullptr) {
            image_ = QImage(static_cast<uchar*>(memory_), size.width(), size.height(),
                            size.width() * 4, QImage::Format_ARGB32_Premultiplied);
            return;
        }
#endif
        image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    }
    ~Canvas() {
        image_ = QImage();
#if defined(__linux__) && defined(MAP_POPULATE)
        if (memory_ != nullptr) ::munmap(memory_, bytes_);
#endif
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QImage& image() {
        return image_;
    }

private:
    void* memory_ = nullptr;
    std::size_t bytes_ = 0;
    QImage image_;
};

void QuietMessages(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "self-test: %s\n", qPrintable(text));
        std::abort();
    }
}

}  // namespace

namespace selftest {

void Prepare() {
    // The self-test runs without a screen if need be, and says nothing but a failure: the
    // toolkit's own notes (no audio server, no runtime directory) are not failures.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
}

int Run(TRealtopia& app, QtEffects& effects, DesktopWindows& windows) {
    // The start-up display operations once more, now that every window listens, and every
    // window drawn once off the screen.
    app.mainform.RefreshDisplay();
    app.mainform.RefillLists();
    app.mainform.ShowAreaInfo();
    windows.build();
    windows.main().sync();
    windows.rules().sync();
    windows.chooser().sync();
    windows.police().sync();
    // The pictures the windows loaded are not read again.
    QStringList loaded;
    for (const QWidget* widget : QApplication::allWidgets()) {
        if (const auto* picture = qobject_cast<const SvgPicture*>(widget);
            picture && picture->isLoaded())
            loaded << picture->path();
    }
    if (const std::optional<QString> failure = CheckResources(loaded)) {
        std::fprintf(stderr, "self-test: %s\n", qPrintable(*failure));
        return 1;
    }
    const std::initializer_list<QWidget*> shown{&windows.splash,    &windows.agreement(),
                                                &windows.rules(),   &windows.main(),
                                                &windows.chooser(), &windows.police()};
    // Each drawn whole into one picture, as large as the largest: a picture of its own for
    // each would cost a fresh megabyte or two of memory to clear each time.
    QSize largest;
    for (const QWidget* window : shown) largest = largest.expandedTo(window->size());
    const qreal ratio = windows.splash.devicePixelRatioF();
    Canvas picture(largest * ratio);
    QImage& canvas = picture.image();
    canvas.setDevicePixelRatio(ratio);
    for (QWidget* window : shown) {
        if (window->size().isEmpty() || canvas.isNull()) {
            std::fprintf(stderr, "self-test: window %s does not draw\n",
                         qPrintable(window->objectName()));
            return 1;
        }
        window->render(&canvas);
    }
    // The program's splash is shown from the picture the build made of it.
    if (!windows.splash.drawnFromPicture()) {
        std::fputs("self-test: the splash's picture is missing\n", stderr);
        return 1;
    }
    // The sound module, which a game loads on its first sound, is where the program looks.
    if (!effects.Sound().load()) {
        std::fprintf(stderr, "self-test: the sound module %s does not load\n",
                     qPrintable(effects.Sound().path()));
        return 1;
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

}  // namespace selftest
