#include "desktop/AreaFrame.h"

#include <QPainter>

namespace {
constexpr int kPenWidth = 2;
}

AreaFrame::AreaFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AreaFrame::setColour(const QColor& colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

void AreaFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // Inside the widget's rectangle, as a pen of this width draws a shape of this size.
    const QRect outer = rect();
    painter.fillRect(outer.x(), outer.y(), outer.width(), kPenWidth, colour_);
    painter.fillRect(outer.x(), outer.bottom() - kPenWidth + 1, outer.width(), kPenWidth, colour_);
    painter.fillRect(outer.x(), outer.y(), kPenWidth, outer.height(), colour_);
    painter.fillRect(outer.right() - kPenWidth + 1, outer.y(), kPenWidth, outer.height(), colour_);
}
