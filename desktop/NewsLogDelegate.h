#pragma once

#include <QStyledItemDelegate>

// Paints a row of the Market Report's news log: the month in a column of its own, the text
// wrapped beside it, and the note under the text (in red while the headline is pending). The
// item's display text stays the whole sentence, which is what a screen reader reads.
class NewsLogDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Item data beside the display text.
    enum Role { MonthRole = Qt::UserRole + 1, TextRole, NoteRole, PendingRole, KindRole };

    using QStyledItemDelegate::QStyledItemDelegate;

    void setMonthWidth(int width) { monthWidth_ = width; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int textWidth(const QStyleOptionViewItem& option) const;

    int monthWidth_ = 110;
};
