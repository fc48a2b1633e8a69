#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QFrame>
#include <QPixmap>
#include <QStaticText>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/TMarquee.h"

// The news ticker on screen. The scrolling itself lives in TMarquee; this widget runs its
// timer, measures text in its font and shows the strip each step describes. Every step is
// drawn into an off-screen pixmap that paintEvent copies in one piece, so nothing flickers.
// A step costs only what changed: a strip that did not move (the hold) is not drawn again,
// one that moved has its pixels shifted and only the uncovered band drawn, only the part
// where text was or is now goes to the screen, and the step is painted at once, so the
// ticker wakes the program once a step and no more.
class MarqueeWidget : public QFrame, public IMarqueeHost {
    Q_OBJECT

public:
    explicit MarqueeWidget(QWidget* parent = nullptr);
    explicit MarqueeWidget(TMarquee& marquee, QWidget* parent = nullptr);
    ~MarqueeWidget() override;

    // Binds the widget to a ticker owned elsewhere (nullptr unbinds).
    void setMarquee(TMarquee* marquee);
    TMarquee* marquee() const { return marquee_; }

    // One tick of the scroll timer.
    void step();
    bool timerActive() const { return timer_.isActive(); }
    // A test that steps by hand gives the time the ticker reads (nullptr: the real clock).
    void setClock(const std::int64_t* now) { fixedNow_ = now; }
    int timerInterval() const { return interval_; }

    // IMarqueeHost
    int TextWidth(const std::string& text) override;
    void TimerChanged(bool enabled, int intervalMs) override;
    void StripChanged() override;
    void ProcessMessages() override;
    void MarqueeDestroyed() override;
    std::int64_t Now() override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct CachedText {
        std::string source;
        QStaticText text;
    };

    void syncLook();
    void renderStrip();
    // Draws the texts of the strip that fall in `band` (drawing-area coordinates).
    void drawStripBand(const QRect& band);
    // Whether a text of `texts` covers a column of `band` (drawing-area coordinates).
    bool anyTextMeets(const std::vector<TDrawnText>& texts, const QRect& band);
    void renderOverlay();
    const QStaticText& staticText(std::size_t index, const std::string& text);

    TMarquee* marquee_ = nullptr;
    QBasicTimer timer_;
    QElapsedTimer clock_;  // the time the ticker reads while a held text sleeps
    const std::int64_t* fixedNow_ = nullptr;
    int interval_ = 0;
    QPixmap strip_;                  // the drawing area as last drawn
    qreal dpr_ = 0;                  // device pixels a pixel; 0 until asked (asking costs)
    std::vector<TDrawnText> drawn_;  // what strip_ shows
    std::uint32_t drawnColor_ = 0;   // on this background
    bool stepping_ = false;          // a step is running: it paints the strip itself
    QRect stepChanged_;              // what the running step changed, in widget coordinates
    QPixmap overlay_;                // texts drawn over the whole control (only when nothing moves)
    std::vector<CachedText> texts_;
    std::unordered_map<std::string, int> widths_;
    std::uint32_t background_ = 0xFFFFFFFF;  // not a colour: the first sync always applies
};
