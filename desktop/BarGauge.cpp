#include "desktop/BarGauge.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

BarGauge::BarGauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleDescription(text());
}

void BarGauge::setProgress(int percent, const QString& text) {
    percent = std::clamp(percent, 0, 100);
    if (percent == percent_ && text == text_) return;
    percent_ = percent;
    text_ = text;
    setAccessibleDescription(text_);
    update();
}

void BarGauge::paintEvent(QPaintEvent* /*event*/) {
    // Drawn off screen at the screen's pixel density, because the inverted text needs a
    // raster to combine with.
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        const int filled = width() * percent_ / 100;
        painter.fillRect(0, 0, filled, height(), Qt::red);
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
    QPainter(this).drawImage(0, 0, image);
}
