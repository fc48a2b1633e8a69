#pragma once

#include <QWidget>

// The month clock: a red-rimmed black disc whose red slice grows clockwise from twelve
// o'clock with the filled share, on a black ground. No text.
class PieClock : public QWidget {
    Q_OBJECT

public:
    explicit PieClock(QWidget* parent);

    // Whole percent, 0 (empty) to 100 (full).
    void setPercent(int percent);
    int percent() const { return percent_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
};
