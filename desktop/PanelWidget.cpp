#include "desktop/PanelWidget.h"

#include <QAccessible>
#include <QPainter>

#include "desktop/Accessibility.h"

namespace {

// Fixed 3-D colours, independent of the panel's own colour: a bevel on a
// black panel still shows.
const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kLight(0xD4, 0xD0, 0xC8);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);

// One ring, one pixel wide; the rectangle shrinks by that pixel.
void DrawRing(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
    rect.adjust(1, 1, -1, -1);
}

}  // namespace

PanelWidget::PanelWidget(const Look& look, QWidget* parent) : QWidget(parent), look_(look) {
    accessibility::Install();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelWidget::setCaption(const QString& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    // A screen reader reads the panel as its caption.
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
    update();
}

int PanelWidget::frameWidth() const {
    int width = look_.clientEdge ? 2 : 0;
    if (look_.outer != Bevel::None) ++width;
    if (look_.inner != Bevel::None) ++width;
    return width + look_.borderWidth;
}

void PanelWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), look_.colour);

    QRect ring = rect();
    if (look_.clientEdge) {
        DrawRing(painter, ring, kShadow, kHighlight);
        DrawRing(painter, ring, kDarkShadow, kLight);
    }
    auto bevel = [&](Bevel kind) {
        if (kind == Bevel::Raised) DrawRing(painter, ring, kHighlight, kShadow);
        if (kind == Bevel::Lowered) DrawRing(painter, ring, kShadow, kHighlight);
    };
    bevel(look_.outer);
    ring.adjust(look_.borderWidth, look_.borderWidth, -look_.borderWidth, -look_.borderWidth);
    bevel(look_.inner);

    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter, caption_);
    }
}
