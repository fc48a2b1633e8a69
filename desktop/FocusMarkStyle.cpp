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

void FocusMarkStyle::Install() {
    if (qobject_cast<FocusMarkStyle*>(QApplication::style()) != nullptr) return;
    QApplication::setStyle(new FocusMarkStyle(QApplication::style()->name()));
}
