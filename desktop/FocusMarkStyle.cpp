#include "desktop/FocusMarkStyle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyleOption>

QColor FocusMarkStyle::MarkColour(const QStyleOption& option, const QWidget* widget) {
    if (qobject_cast<const QAbstractItemView*>(widget) != nullptr)
        return option.palette.color(QPalette::Text);
    if (qobject_cast<const QAbstractButton*>(widget) != nullptr)
        return option.palette.color(QPalette::ButtonText);
    return option.palette.color(QPalette::WindowText);
}

void FocusMarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameFocusRect || option == nullptr || option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(MarkColour(*option, widget), 1));
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void FocusMarkStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || option == nullptr || !(option->state & State_HasFocus)) return;
    QStyleOptionFocusRect mark;
    mark.QStyleOption::operator=(*option);
    mark.rect = subElementRect(SE_PushButtonFocusRect, option, widget);
    drawPrimitive(PE_FrameFocusRect, &mark, painter, widget);
}

void FocusMarkStyle::Install() {
    if (dynamic_cast<FocusMarkStyle*>(QApplication::style()) != nullptr) return;
    QApplication::setStyle(new FocusMarkStyle(QApplication::style()->name()));
}
