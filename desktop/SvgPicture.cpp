#include "desktop/SvgPicture.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "desktop/RawPicture.h"

SvgPicture::SvgPicture(const QString& path, QWidget* parent) : QWidget(parent) {
    setPath(path);
}

void SvgPicture::setPath(const QString& path) {
    if (path == path_) return;
    path_ = path;
    renderer_.load(path);
    renderer_.setAspectRatioMode(Qt::IgnoreAspectRatio);
    picture_ = QPixmap();
    readyOneX_.clear();
    readyTwoX_.clear();
    update();
}

void SvgPicture::setReadyPictures(const QString& oneX, const QString& twoX) {
    readyOneX_ = oneX;
    readyTwoX_ = twoX;
    picture_ = QPixmap();
    update();
}

// Drawn as the build draws a ready picture (tools/render_picture), so both look the same.
QPixmap SvgPicture::draw(QSize pixels, qreal ratio) {
    const QString& ready = ratio == 1.0 ? readyOneX_ : ratio == 2.0 ? readyTwoX_ : QString();
    if (!ready.isEmpty()) {
        QImage image = raw_picture::Read(ready);
        if (image.size() == pixels) {
            image.setDevicePixelRatio(ratio);
            return QPixmap::fromImage(std::move(image));
        }
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer_.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    ++renderCount_;
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(image));
}

const QPixmap& SvgPicture::picture(qreal ratio) {
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)),
                       static_cast<int>(std::ceil(height() * ratio)));
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = renderer_.isValid() && !pixels.isEmpty() ? draw(pixels, ratio) : QPixmap();
    }
    return picture_;
}

void SvgPicture::paintEvent(QPaintEvent* /*event*/) {
    if (!renderer_.isValid()) return;
    const QPixmap& shown = picture(devicePixelRatioF());
    if (shown.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown);
}

void SvgPicture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

// Like a button: the click counts when the button is let go over the picture.
void SvgPicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}
