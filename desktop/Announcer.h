#pragma once

#include <QString>
#include <QWidget>

// Tells a screen reader a text at once, wherever the focus is (IEffects::Announce): a widget
// that draws nothing and reads as a notification named by the text, shown anew for each
// announcement. Screen readers on AT-SPI speak a notification as it appears; Qt 6.8 and later
// also send their own announcement event.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
    // The last text announced, and how many have been, for the checks.
    const QString& lastText() const { return text_; }
    int count() const { return count_; }

private:
    QString text_;
    int count_ = 0;
};
