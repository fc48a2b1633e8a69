// render_icon: draws the program's SVG icon as square PNGs for the hicolor icon theme.
//
//   render_icon ICON.svg OUT.png SIZE [OUT.png SIZE ...]
//
// Run by the build, so the PNGs always match the SVG and none are kept in the repository.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

namespace {

constexpr int kLargestSize = 1024;

// The icon centred in a transparent square, keeping its proportions.
QImage Render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSizeF picture = renderer.defaultSize();
    if (picture.isEmpty()) picture = QSizeF(size, size);
    picture.scale(size, size, Qt::KeepAspectRatio);
    const QRectF target((size - picture.width()) / 2.0, (size - picture.height()) / 2.0,
                        picture.width(), picture.height());
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, target);
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fputs("usage: render_icon ICON.svg OUT.png SIZE [OUT.png SIZE ...]\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: %s is not a picture\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; i += 2) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i + 1]).toInt(&ok);
        if (!ok || size < 1 || size > kLargestSize) {
            std::fprintf(stderr, "render_icon: '%s' is not a size from 1 to %d\n", argv[i + 1],
                         kLargestSize);
            return 2;
        }
        if (!Render(renderer, size).save(QString::fromLocal8Bit(argv[i]), "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
