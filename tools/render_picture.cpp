// render_picture: draws an SVG picture into pictures of given sizes, for pictures the program
// shows at one fixed size and would otherwise draw from the SVG at every start.
//
//   render_picture PICTURE.svg OUT WIDTHxHEIGHT [OUT WIDTHxHEIGHT ...]
//
// An OUT ending in ".argb" is written in the raw form that desktop/RawPicture.h reads
// without any image decoder; any other is written as PNG. Run by the build, so the pictures
// always match the SVG and none are kept in the repository.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>

#include "desktop/RawPicture.h"

namespace {

constexpr int kLargestSide = 4096;

bool ParseSize(const QString& text, QSize& size) {
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) return false;
    bool widthOk = false;
    bool heightOk = false;
    size = QSize(parts[0].toInt(&widthOk), parts[1].toInt(&heightOk));
    return widthOk && heightOk && size.width() >= 1 && size.height() >= 1 &&
           size.width() <= kLargestSide && size.height() <= kLargestSide;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fputs("usage: render_picture PICTURE.svg OUT WIDTHxHEIGHT [OUT WIDTHxHEIGHT ...]\n",
                   stderr);
        return 2;
    }
    // The picture's texts need the fonts, which need an application; no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_picture: %s is not a picture\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; i += 2) {
        QSize size;
        if (!ParseSize(QString::fromLocal8Bit(argv[i + 1]), size)) {
            std::fprintf(stderr,
                         "render_picture: '%s' is not a size such as 396x102 (at most %d)\n",
                         argv[i + 1], kLargestSide);
            return 2;
        }
        // Drawn over the whole image, as the program's picture widgets stretch it.
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        const QString out = QString::fromLocal8Bit(argv[i]);
        const bool saved = out.endsWith(QLatin1String(".argb")) ? raw_picture::Write(image, out)
                                                                : image.save(out, "PNG");
        if (!saved) {
            std::fprintf(stderr, "render_picture: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
