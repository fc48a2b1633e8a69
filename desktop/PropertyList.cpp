#include "desktop/PropertyList.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>
#include <iterator>

namespace {

constexpr int kNameLengthRole = Qt::UserRole + 1;
// The row's text as drawn, and the width it was shortened for.
constexpr int kShownTextRole = Qt::UserRole + 2;
constexpr int kShownWidthRole = Qt::UserRole + 3;

// The width a row's text has in a list `width` pixels wide: the style keeps a margin on
// each side of an item's text.
int TextWidth(const QWidget* list, int width) {
    const QStyle* style = list != nullptr ? list->style() : nullptr;
    const int margin =
        (style != nullptr ? style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) : 0) +
        1;
    return width - 2 * margin;
}

// Draws each row as it fits: the name shortened, the price whole. The shortened text is
// made when the rows are set or the list changes width (PropertyList::elideRows); a row of
// another width is shortened here.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->rect.width() <= 0) return;
        const int width = TextWidth(option->widget, option->rect.width());
        const QVariant shown = index.data(kShownTextRole);
        if (shown.isValid() && index.data(kShownWidthRole).toInt() == width) {
            option->text = shown.toString();
            return;
        }
        option->text = PropertyList::shownText(option->text, index.data(kNameLengthRole).toInt(),
                                               option->fontMetrics, width);
    }
};

}  // namespace

PropertyList::PropertyList(int rowHeight, QWidget* parent)
    : QListWidget(parent), rowHeight_(rowHeight) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The delegate shortens the name itself, so the style never cuts the price.
    setTextElideMode(Qt::ElideNone);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // No frame: the list's whole height holds rows, twenty of them in the layout's 321 pixels.
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(new RowDelegate(this));
}

QString PropertyList::shownText(const QString& text, int nameLength, const QFontMetrics& metrics,
                                int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    nameLength = std::clamp(nameLength, 0, static_cast<int>(text.size()));
    const QString tail = text.mid(nameLength);
    const QString name = metrics.elidedText(text.left(nameLength), Qt::ElideRight,
                                            std::max(0, width - metrics.horizontalAdvance(tail)));
    return name + tail;
}

void PropertyList::setRows(const std::vector<PropertyRow>& rows) {
    const QSignalBlocker blocker(this);
    bool same = count() == static_cast<int>(rows.size());
    for (int r = 0; same && r < count(); ++r)
        same = item(r)->text() == rows[static_cast<std::size_t>(r)].text;
    if (!same) {
        clear();
        for (const PropertyRow& row : rows) {
            auto* item = new QListWidgetItem(row.text, this);
            item->setSizeHint(QSize(1, rowHeight_));
            item->setData(kNameLengthRole, row.nameLength);
            item->setToolTip(row.text);
            item->setData(Qt::AccessibleTextRole, row.text);
        }
        elideRows();
    }
    for (int r = 0; r < count(); ++r) {
        const auto index = static_cast<std::size_t>(r);
        const bool on = index < rows.size() && rows[index].selected;
        if (item(r)->isSelected() != on) item(r)->setSelected(on);
    }
}

void PropertyList::elideRows() {
    const int width = TextWidth(this, viewport()->width());
    elidedWidth_ = width;
    elidedFont_ = font();
    if (width <= 0) return;
    const QFontMetrics metrics(font());
    for (int r = 0; r < count(); ++r) {
        QListWidgetItem* row = item(r);
        row->setData(kShownTextRole,
                     shownText(row->text(), row->data(kNameLengthRole).toInt(), metrics, width));
        row->setData(kShownWidthRole, width);
    }
}

// The rows' room changes with the viewport: the list's own size, or a scroll bar coming or
// going.
bool PropertyList::viewportEvent(QEvent* event) {
    const bool handled = QListWidget::viewportEvent(event);
    if (event->type() == QEvent::Resize && TextWidth(this, viewport()->width()) != elidedWidth_)
        elideRows();
    return handled;
}

void PropertyList::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && font() != elidedFont_) elideRows();
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

void PropertyList::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    // Qt selects with a moving key only when the current row changes: Home on the first row,
    // which the focus marks without selecting it, selected nothing. A plain moving key selects
    // the row it lands on, as it does everywhere else in the list.
    static constexpr int kMoving[] = {Qt::Key_Home, Qt::Key_End,    Qt::Key_Up,
                                      Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
    const bool moving =
        std::find(std::begin(kMoving), std::end(kMoving), event->key()) != std::end(kMoving);
    const int row = currentRow();
    if (moving && event->modifiers() == Qt::NoModifier && row >= 0 && row == before &&
        !item(row)->isSelected())
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void PropertyList::keyReleaseEvent(QKeyEvent* event) {
    QListWidget::keyReleaseEvent(event);
    emit keyReleased(event->isAutoRepeat());
}

void PropertyList::focusInEvent(QFocusEvent* event) {
    if (leftAtRow_ >= 0 && leftAtRow_ < count() && !currentIndex().isValid())
        setCurrentRow(leftAtRow_, QItemSelectionModel::NoUpdate);
    leftAtRow_ = -1;
    QListWidget::focusInEvent(event);
    emit focusEntered(event->reason());
}

void PropertyList::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    // A list with rows marks its current row (FocusMarkStyle); an empty one has none, so the
    // focus is shown round the whole list, in its text colour.
    if (!hasFocus() || count() > 0) return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Text), 1));
    painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
}

void PropertyList::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    leftAtRow_ = currentRow();
    const QSignalBlocker blocker(this);
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}
