#include "desktop/SvgPicture.h"

#include <QMouseEvent>
#include <QPainter>

SvgPicture::SvgPicture(const QString& path, QWidget* parent) : QWidget(parent) {
    setPath(path);
}

void SvgPicture::setPath(const QString& path) {
    if (path == path_) return;
    path_ = path;
    renderer_.load(path);
    renderer_.setAspectRatioMode(Qt::IgnoreAspectRatio);
    update();
}

void SvgPicture::paintEvent(QPaintEvent* /*event*/) {
    if (!renderer_.isValid()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(rect()));
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
