#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <deque>

// Tells a screen reader a text at once, wherever the focus is (IEffects::Announce). Each
// announcement is a notice of its own, a child that draws nothing and reads as a notification
// named by the text; it appears as it is made, and screen readers on AT-SPI speak a
// notification as it appears. A notice keeps its name, so a screen reader that reads it a
// moment later, after the next has come, still reads its own words. Qt 6.8 and later also
// send their own announcement event.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
    // The last text announced, its notice, and how many have been, for the checks.
    const QString& lastText() const { return text_; }
    QWidget* latest() const { return notices_.empty() ? nullptr : notices_.back().data(); }
    int count() const { return count_; }

    // Notices kept after they were shown, hidden: enough for a screen reader to catch up.
    static constexpr std::size_t kKept = 8;

private:
    std::deque<QPointer<QWidget>> notices_;
    QString text_;
    int count_ = 0;
};
