#include "desktop/AreaPicture.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

AreaPicture::AreaPicture(const QString& path, QWidget* parent) : SvgPicture(path, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void AreaPicture::setChosen(bool chosen) {
    if (chosen == chosen_) return;
    chosen_ = chosen;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void AreaPicture::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier)
        return SvgPicture::keyPressEvent(event);
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit clicked();
            return;
        case Qt::Key_Left:
            emit arrowed(TArrow::Left);
            return;
        case Qt::Key_Right:
            emit arrowed(TArrow::Right);
            return;
        case Qt::Key_Up:
            emit arrowed(TArrow::Up);
            return;
        case Qt::Key_Down:
            emit arrowed(TArrow::Down);
            return;
        default:
            SvgPicture::keyPressEvent(event);
    }
}

void AreaPicture::focusInEvent(QFocusEvent* event) {
    SvgPicture::focusInEvent(event);
    update();
}

void AreaPicture::focusOutEvent(QFocusEvent* event) {
    SvgPicture::focusOutEvent(event);
    update();
}

void AreaPicture::paintEvent(QPaintEvent* event) {
    SvgPicture::paintEvent(event);
    if (!hasFocus()) return;
    // The focus shows as a dotted rectangle just inside the picture, as on a button: white
    // dots on a black line, so it stands out on the picture's light and dark parts alike.
    QPainter painter(this);
    const QRect mark = rect().adjusted(1, 1, -2, -2);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(mark);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(mark);
}
