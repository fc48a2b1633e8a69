#pragma once

#include <QListWidget>
#include <vector>

// One row of a property list as the window logic gives it: the whole text, how many of its
// characters are the property's name, and whether it is selected.
struct PropertyRow {
    QString text;
    int nameLength = 0;
    bool selected = false;
};

// One of the two property lists: extended multiple selection, rows of a fixed height. It
// reports a mouse button or key let go and the focus arriving, after the list has updated its
// own selection, so the window can read the rows the player picked.
//
// Only the focused list has a current row: the row the keyboard was on when the focus left
// is current again when it comes back, so a screen reader never hears a row of an unfocused
// list called focused.
//
// A row that is too wide is drawn with its name shortened by an ellipsis; the price after it
// is always whole. The row's text stays whole: it is the row's tooltip and what a screen
// reader reads. The shortened text is made once, when the rows are set or the list's width or
// font changes, not at every paint.
class PropertyList : public QListWidget {
    Q_OBJECT

public:
    PropertyList(int rowHeight, QWidget* parent);

    // Replaces the rows (only when their texts changed, so the scroll position survives a
    // change of selection alone) and selects the given ones, without emitting any signal.
    void setRows(const std::vector<PropertyRow>& rows);
    std::vector<int> selectedRows() const;

    // The text a row is drawn with in `width` pixels of the font `metrics` measure.
    static QString shownText(const QString& text, int nameLength, const QFontMetrics& metrics,
                             int width);

signals:
    void mouseReleased();
    void keyReleased(bool autoRepeat);
    void focusEntered(Qt::FocusReason reason);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Shortens every row's text for the list's present width and font.
    void elideRows();

    int rowHeight_;
    // The row the keyboard was on when the focus left; the list has no current row while it
    // is unfocused (a screen reader reads the current row as focused).
    int leftAtRow_ = -1;
    // The text width and font the rows were last shortened for.
    int elidedWidth_ = -1;
    QFont elidedFont_;
};
