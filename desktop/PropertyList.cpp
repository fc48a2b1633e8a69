#include "desktop/PropertyList.h"

#include <QKeyEvent>
#include <QSignalBlocker>

PropertyList::PropertyList(int rowHeight, QWidget* parent)
    : QListWidget(parent), rowHeight_(rowHeight) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);  // long rows are cut off at the edge, not shortened
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void PropertyList::setRows(const std::vector<QString>& texts, const std::vector<bool>& selected) {
    const QSignalBlocker blocker(this);
    bool same = count() == static_cast<int>(texts.size());
    for (int r = 0; same && r < count(); ++r)
        same = item(r)->text() == texts[static_cast<std::size_t>(r)];
    if (!same) {
        clear();
        for (const QString& text : texts) {
            auto* row = new QListWidgetItem(text, this);
            row->setSizeHint(QSize(1, rowHeight_));
        }
    }
    for (int r = 0; r < count(); ++r) {
        const auto index = static_cast<std::size_t>(r);
        const bool on = index < selected.size() && selected[index];
        if (item(r)->isSelected() != on) item(r)->setSelected(on);
    }
}

std::vector<int> PropertyList::selectedRows() const {
    std::vector<int> rows;
    for (int r = 0; r < count(); ++r)
        if (item(r)->isSelected()) rows.push_back(r);
    return rows;
}

void PropertyList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    emit mouseReleased();
}

void PropertyList::keyReleaseEvent(QKeyEvent* event) {
    QListWidget::keyReleaseEvent(event);
    emit keyReleased(event->isAutoRepeat());
}

void PropertyList::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    emit focusEntered(event->reason());
}
