#include "desktop/NewsLogDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "ui/MarketReport.h"

namespace {

constexpr int kPadding = 4;
constexpr int kGap = 10;

const QColor kPendingNote{0xA0, 0x10, 0x10};
const QColor kLandedNote{0x60, 0x60, 0x60};

// The month's colour tells the kinds of row apart: headlines, trends, events of the game.
QColor MonthColour(int kind) {
    switch (static_cast<TLogRow::Kind>(kind)) {
        case TLogRow::Kind::Headline:
            return QColor(0x00, 0x00, 0x80);
        case TLogRow::Kind::Trend:
            return QColor(0x00, 0x70, 0x00);
        case TLogRow::Kind::Event:
            break;
    }
    return QColor(0x80, 0x00, 0x00);
}

QFont Italic(QFont font) {
    font.setItalic(true);
    return font;
}

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

}  // namespace

int NewsLogDelegate::textWidth(const QStyleOptionViewItem& option) const {
    int width = option.rect.width();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        width = view->viewport()->width();
    return std::max(80, width - monthWidth_ - kGap - 2 * kPadding);
}

QSize NewsLogDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QString text = index.data(TextRole).toString();
    if (text.isEmpty()) return QStyledItemDelegate::sizeHint(option, index);
    const int width = textWidth(option);
    const QFontMetrics metrics(option.font);
    int height = metrics.boundingRect(0, 0, width, 10000, Qt::TextWordWrap, text).height();
    const QString note = index.data(NoteRole).toString();
    if (!note.isEmpty())
        height += QFontMetrics(Italic(option.font))
                      .boundingRect(0, 0, width, 10000, Qt::TextWordWrap, note)
                      .height();
    return {width + monthWidth_ + kGap + 2 * kPadding, height + 2 * kPadding};
}

void NewsLogDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const QString text = index.data(TextRole).toString();
    if (text.isEmpty()) {  // a row of plain text, such as the empty log's
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);  // background, focus

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor textColour =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);

    const QRect area = option.rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    painter->save();
    painter->setFont(Bold(option.font));
    painter->setPen(selected ? textColour : MonthColour(index.data(KindRole).toInt()));
    painter->drawText(QRect(area.left(), area.top(), monthWidth_, area.height()),
                      Qt::AlignLeft | Qt::AlignTop, index.data(MonthRole).toString());

    const int left = area.left() + monthWidth_ + kGap;
    const int width = textWidth(option);
    painter->setFont(option.font);
    painter->setPen(textColour);
    QRect used;
    painter->drawText(QRect(left, area.top(), width, area.height()),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
    const QString note = index.data(NoteRole).toString();
    if (!note.isEmpty()) {
        painter->setFont(Italic(option.font));
        const bool pending = index.data(PendingRole).toBool();
        painter->setPen(selected ? textColour : pending ? kPendingNote : kLandedNote);
        painter->drawText(QRect(left, used.bottom() + 1, width, area.bottom() - used.bottom()),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note);
    }
    painter->restore();
}
