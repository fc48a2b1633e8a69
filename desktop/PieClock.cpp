#include "desktop/PieClock.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr int kFullCircle = 360 * 16;  // QPainter angles are in sixteenths of a degree
constexpr int kTwelveOClock = 90 * 16;
}  // namespace

PieClock::PieClock(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PieClock::setPercent(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == percent_) return;
    percent_ = percent;
    setAccessibleDescription(QStringLiteral("%1%").arg(percent_));
    update();
}

void PieClock::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Qt::red, 1));
    painter.setBrush(Qt::black);
    painter.drawEllipse(disc);
    if (percent_ > 0) {
        painter.setBrush(Qt::red);
        // Negative span: clockwise.
        painter.drawPie(disc, kTwelveOClock, -kFullCircle * percent_ / 100);
    }
}
