// The artwork and sounds compiled into the program: every picture must load and draw at its
// layout size, and the sounds must be the exact WAVE images the sound service plays.

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/RawPicture.h"
#include "desktop/SvgPicture.h"

namespace {

QImage renderPicture(QSvgRenderer& renderer) {
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

// Which of red, green and blue carries the most colour over the drawn pixels.
char dominantColour(const QImage& image) {
    double red = 0, green = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.redF() * c.alphaF();
            green += c.greenF() * c.alphaF();
            blue += c.blueF() * c.alphaF();
        }
    }
    if (red > green && red > blue) return 'r';
    return green > blue ? 'g' : 'b';
}

}  // namespace

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureDrawsAtItsSize_data();
    void pictureDrawsAtItsSize();
    void arrowsHaveTheirColours_data();
    void arrowsHaveTheirColours();
    void soundIsTheCommittedWave_data();
    void soundIsTheCommittedWave();
    void sponsorPixelsAreTheSvgsDrawing();
    void svgPictureDrawsAgainOnlyForANewSizeOrRatio();
};

void TestResources::initTestCase() {
    Q_INIT_RESOURCE(realtopia_resources);
}

void TestResources::pictureDrawsAtItsSize_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("opaqueTile");
    for (int area = 1; area <= 6; ++area) {
        const QString path = QStringLiteral(":/areas/area%1.svg").arg(area);
        QTest::newRow(qPrintable(path)) << path << QSize(90, 54) << true;
    }
    for (const char* name : {"steady", "risen", "fallen"}) {
        const QString path = QStringLiteral(":/trend/%1.svg").arg(QLatin1String(name));
        QTest::newRow(qPrintable(path)) << path << QSize(40, 40) << false;
    }
    for (const char* name : {"play", "accept", "decline", "close", "back"}) {
        const QString path = QStringLiteral(":/glyphs/%1.svg").arg(QLatin1String(name));
        QTest::newRow(qPrintable(path)) << path << QSize(16, 16) << false;
    }
    QTest::newRow("sponsor") << QStringLiteral(":/sponsor.svg") << QSize(396, 102) << false;
    QTest::newRow("icon") << QStringLiteral(":/icon/realtopia.svg") << QSize(256, 256) << false;
}

void TestResources::pictureDrawsAtItsSize() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, opaqueTile);

    QVERIFY2(QFile::exists(path), qPrintable(path));
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.defaultSize(), size);
    // A view box of the same size keeps the drawing one unit per pixel at its layout size.
    QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(size)));

    const QImage image = renderPicture(renderer);
    const QList<QPoint> corners = {{0, 0},
                                   {size.width() - 1, 0},
                                   {0, size.height() - 1},
                                   {size.width() - 1, size.height() - 1}};
    for (const QPoint& corner : corners) {
        const int alpha = qAlpha(image.pixel(corner));
        // Area pictures are whole tiles; the rest sit on their panel or button face.
        if (opaqueTile) {
            QCOMPARE(alpha, 255);
        } else {
            QCOMPARE(alpha, 0);
        }
    }
    const QPoint centre(size.width() / 2, size.height() / 2);
    QVERIFY2(qAlpha(image.pixel(centre)) > 0, "nothing drawn in the middle");
}

void TestResources::arrowsHaveTheirColours_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<char>("colour");
    QTest::newRow("steady is blue") << QStringLiteral(":/trend/steady.svg") << 'b';
    QTest::newRow("risen is green") << QStringLiteral(":/trend/risen.svg") << 'g';
    QTest::newRow("fallen is red") << QStringLiteral(":/trend/fallen.svg") << 'r';
    QTest::newRow("play is red") << QStringLiteral(":/glyphs/play.svg") << 'r';
    QTest::newRow("accept is green") << QStringLiteral(":/glyphs/accept.svg") << 'g';
    QTest::newRow("decline is red") << QStringLiteral(":/glyphs/decline.svg") << 'r';
}

void TestResources::arrowsHaveTheirColours() {
    QFETCH(QString, path);
    QFETCH(char, colour);
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    QCOMPARE(dominantColour(renderPicture(renderer)), colour);
}

void TestResources::soundIsTheCommittedWave_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size");
    QTest::newRow("CLICK") << QStringLiteral("CLICK") << qint64(416);
    QTest::newRow("MEEPMEEP") << QStringLiteral("MEEPMEEP") << qint64(5136);
    QTest::newRow("GAMEOVER") << QStringLiteral("GAMEOVER") << qint64(23360);
}

void TestResources::soundIsTheCommittedWave() {
    QFETCH(QString, name);
    QFETCH(qint64, size);

    QFile embedded(QStringLiteral(":/WAVEFILE/%1.wav").arg(name));
    QVERIFY2(embedded.open(QIODevice::ReadOnly), qPrintable(embedded.fileName()));
    QCOMPARE(embedded.size(), size);
    const QByteArray bytes = embedded.readAll();
    QVERIFY(bytes.startsWith("RIFF"));
    QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));

    // A program built from an older tree would carry other bytes than the committed file.
    QFile committed(QStringLiteral(REALTOPIA_SOURCE_DIR "/resources/WAVEFILE/%1.wav").arg(name));
    QVERIFY(committed.open(QIODevice::ReadOnly));
    QCOMPARE(bytes, committed.readAll());
}

namespace {

// The SVG drawn afresh over `pixels`, as a picture widget shows it.
QImage Drawn(const QString& path, QSize pixels) {
    QSvgRenderer renderer(path);
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

// The picture's pixels alone (its ratio is compared apart).
QImage Pixels(const QPixmap& pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    return image;
}

}  // namespace

// A picture widget keeps its drawing: it draws the SVG again only for a new size or device
// pixel ratio, and what it shows then is what a fresh drawing shows.
void TestResources::svgPictureDrawsAgainOnlyForANewSizeOrRatio() {
    const QString arrow = QStringLiteral(":/trend/risen.svg");
    SvgPicture picture(arrow, nullptr);
    picture.resize(40, 40);
    QCOMPARE(Pixels(picture.picture(1)), Drawn(arrow, QSize(40, 40)));
    QCOMPARE(Pixels(picture.picture(1)), Drawn(arrow, QSize(40, 40)));
    QCOMPARE(picture.renderCount(), 1);

    picture.resize(60, 30);
    QCOMPARE(Pixels(picture.picture(1)), Drawn(arrow, QSize(60, 30)));
    QCOMPARE(picture.renderCount(), 2);
    QCOMPARE(picture.picture(2).devicePixelRatio(), 2.0);
    QCOMPARE(Pixels(picture.picture(2)), Drawn(arrow, QSize(120, 60)));
    QCOMPARE(picture.renderCount(), 3);

    // Painted, the kept drawing looks as a new widget's first paint does.
    picture.picture(1);
    SvgPicture fresh(arrow, nullptr);
    fresh.resize(60, 30);
    QCOMPARE(picture.grab().toImage(), fresh.grab().toImage());
    const int drawn = picture.renderCount();
    picture.grab();
    QCOMPARE(picture.renderCount(), drawn);

    // The main window's sponsor comes from the build's pictures, never drawn from the SVG at
    // their sizes, and looks the same.
    const QString logo = QStringLiteral(":/sponsor.svg");
    SvgPicture sponsor(logo, nullptr);
    sponsor.setReadyPictures(QStringLiteral(":/sponsor-small.argb"),
                             QStringLiteral(":/sponsor-small@2x.argb"));
    sponsor.resize(140, 36);
    QCOMPARE(Pixels(sponsor.picture(1)), Drawn(logo, QSize(140, 36)));
    QCOMPARE(Pixels(sponsor.picture(2)), Drawn(logo, QSize(280, 72)));
    QCOMPARE(sponsor.renderCount(), 0);
    QCOMPARE(Pixels(sponsor.picture(1.5)), Drawn(logo, QSize(210, 54)));
    QCOMPARE(sponsor.renderCount(), 1);
}

// The splash shows the sponsor's logo from raw pixels made at build time: they must be the
// SVG drawn at 1x and 2x, and a damaged file must give no picture rather than garbage.
void TestResources::sponsorPixelsAreTheSvgsDrawing() {
    QSvgRenderer renderer(QStringLiteral(":/sponsor.svg"));
    for (const auto& [path, size] :
         {std::pair{QStringLiteral(":/sponsor.argb"), QSize(396, 102)},
          std::pair{QStringLiteral(":/sponsor@2x.argb"), QSize(792, 204)},
          std::pair{QStringLiteral(":/sponsor-small.argb"), QSize(140, 36)},
          std::pair{QStringLiteral(":/sponsor-small@2x.argb"), QSize(280, 72)}}) {
        const QImage raw = raw_picture::Read(path);
        QCOMPARE(raw.size(), size);
        QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        QCOMPARE(raw, drawn);
    }

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("picture.argb"));
    QImage picture(3, 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(qRgba(10, 20, 30, 255));
    picture.setPixel(2, 1, qRgba(0, 0, 0, 0));
    QVERIFY(raw_picture::Write(picture, file));
    QCOMPARE(raw_picture::Read(file), picture);
    QCOMPARE(raw_picture::View(file), picture);
    // An opaque picture may be read as one, and is then drawn by copying.
    const QString opaqueFile = dir.filePath(QStringLiteral("opaque.argb"));
    QImage opaque(3, 2, QImage::Format_ARGB32_Premultiplied);
    opaque.fill(qRgba(10, 20, 30, 255));
    QVERIFY(raw_picture::Write(opaque, opaqueFile));
    const QImage opaqueView = raw_picture::View(opaqueFile, true);
    QCOMPARE(opaqueView.format(), QImage::Format_RGB32);
    QCOMPARE(opaqueView, opaque.convertToFormat(QImage::Format_RGB32));
    // Kept uncompressed among the resources, a picture is shown where it lies, not copied;
    // compressed, it is unpacked. The pixels are the same either way.
    const QString kept = QStringLiteral(":/uncompressed/sponsor-small.argb");
    const QImage view = raw_picture::View(kept);
    QCOMPARE(view, raw_picture::Read(kept));
    QCOMPARE(static_cast<const void*>(view.constBits()),
             static_cast<const void*>(QResource(kept).data() + 12));
    QCOMPARE(raw_picture::View(QStringLiteral(":/sponsor-small.argb")), view);
    QFile damaged(file);
    QVERIFY(damaged.open(QIODevice::ReadWrite));
    QVERIFY(damaged.resize(damaged.size() - 1));  // one byte short
    damaged.close();
    QVERIFY(raw_picture::Read(file).isNull());
    QVERIFY(raw_picture::Read(QStringLiteral(":/sponsor.svg")).isNull());  // not raw pixels
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
