#include "desktop/GlyphButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/DisplayText.h"

namespace {
constexpr int kSpacing = 4;  // between the caption and the picture
}

GlyphButton::GlyphButton(const QIcon& glyph, QSize glyphSize, QWidget* parent)
    : QPushButton(parent), glyph_(glyph), glyphSize_(glyphSize) {}

void GlyphButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The frame, the pressed look and the focus rectangle come from the style.
    const QString caption = option.text;
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(
        QString::fromStdString(displaytext::PlainCaption(caption.toStdString())));
    const int total = textWidth + kSpacing + glyphSize_.width();
    int left = contents.left() + (contents.width() - total) / 2;
    // A pressed button shifts its contents like the style does.
    if (isDown()) {
        left += style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this);
    }
    const int shiftY =
        isDown() ? style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this) : 0;
    const QRect textRect(left, contents.top() + shiftY, textWidth, contents.height());
    style()->drawItemText(&painter, textRect, Qt::AlignCenter | Qt::TextShowMnemonic,
                          option.palette, isEnabled(), caption, QPalette::ButtonText);

    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QRect glyphRect(textRect.right() + 1 + kSpacing,
                          contents.top() + shiftY + (contents.height() - glyphSize_.height()) / 2,
                          glyphSize_.width(), glyphSize_.height());
    glyph_.paint(&painter, glyphRect, Qt::AlignCenter, mode);
}
