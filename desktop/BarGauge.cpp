#include "desktop/BarGauge.h"

#include <QAccessible>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "desktop/Accessibility.h"

BarGauge::BarGauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    accessibility::Install();
}

void BarGauge::setProgress(int percent, const QString& text) {
    percent = std::clamp(percent, 0, 100);
    if (percent == percent_ && text == text_) return;
    percent_ = percent;
    text_ = text;
    QAccessibleValueChangeEvent valueEvent(this, percent_);
    QAccessible::updateAccessibility(&valueEvent);
    QAccessibleEvent descriptionEvent(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&descriptionEvent);
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
        // Black over the red part and white over the black one, so the text reads clearly
        // on both (contrast 5.3:1 and 21:1).
        painter.setFont(font());
        painter.setClipRect(0, 0, filled, height());
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, text());
        painter.setClipRect(filled, 0, width() - filled, height());
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
    QPainter(this).drawImage(0, 0, image);
}
