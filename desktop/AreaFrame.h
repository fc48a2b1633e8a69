#pragma once

#include <QColor>
#include <QWidget>

// The outline around an area picture: a two-pixel rectangle, no fill, black or red. It lets
// the mouse through to the picture.
class AreaFrame : public QWidget {
    Q_OBJECT

public:
    explicit AreaFrame(QWidget* parent);

    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_{Qt::black};
};
