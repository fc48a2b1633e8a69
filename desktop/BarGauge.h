#pragma once

#include <QWidget>

// A horizontal progress bar, red on black, no border, with its whole percentage written in the
// middle ("42%"): black over the bar, white beside it. A screen reader gets a progress bar
// with its value (desktop/Accessibility).
class BarGauge : public QWidget {
    Q_OBJECT

public:
    explicit BarGauge(QWidget* parent);

    // Whole percent, 0 to 100, and the text written over the bar.
    void setProgress(int percent, const QString& text);
    int percent() const { return percent_; }
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
    QString text_ = QStringLiteral("0%");
};
