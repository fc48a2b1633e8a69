#pragma once

#include <QListWidget>
#include <vector>

// One of the two property lists: extended multiple selection, rows of a fixed height. It
// reports a mouse button or key let go and the focus arriving, after the list has updated its
// own selection, so the window can read the rows the player picked.
class PropertyList : public QListWidget {
    Q_OBJECT

public:
    PropertyList(int rowHeight, QWidget* parent);

    // Replaces the rows (only when their texts changed, so the scroll position survives a
    // change of selection alone) and selects the given ones, without emitting any signal.
    void setRows(const std::vector<QString>& texts, const std::vector<bool>& selected);
    std::vector<int> selectedRows() const;

signals:
    void mouseReleased();
    void keyReleased(bool autoRepeat);
    void focusEntered(Qt::FocusReason reason);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int rowHeight_;
};
