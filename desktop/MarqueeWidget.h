#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QFrame>
#include <QPixmap>
#include <QStaticText>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "desktop/X11StripDrawer.h"
#include "ui/TMarquee.h"

// The news ticker on screen. The scrolling itself lives in TMarquee; this widget runs its
// timer, measures text in its font and shows the strip each step describes. The strip's
// texts are drawn once, off the screen, into a line picture that paintEvent copies in one
// piece, so nothing flickers. A step costs only what changed: a strip that did not move (the
// hold) is not painted again, one that moved only places the picture anew, only the rows and
// columns where text was or is now go to the screen, and the step is painted at once, so the
// ticker wakes the program once a step and no more. On X11 a step is not painted at all: the
// display server copies it from the line picture it keeps (X11StripDrawer).
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
    // Whether steps are shown by copying within the X display server (see X11StripDrawer).
    bool drawsStepsOnServer() const { return drawer_ != nullptr; }

    // IMarqueeHost
    int TextWidth(const std::string& text) override;
    void TimerChanged(bool enabled, int intervalMs) override;
    void StripChanged() override;
    void ProcessMessages() override;
    void MarqueeDestroyed() override;
    std::int64_t Now() override;
    int FrameMs() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
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

    // What a paint of `asked` (widget coordinates) shows of the strip: the background before
    // and after the line picture, and the part of the picture at `source` in it.
    struct StripPieces {
        QRect before;
        QRect after;
        QRect line;
        QPoint source;
    };

    void syncLook();
    StripPieces stripPieces(const QRect& asked) const;
    // Shows a step by copying within the X display server; false where it cannot.
    bool drawStepOnServer(const QRect& changed);
    void renderStrip();
    void drawLine(const std::vector<TDrawnText>& texts, int height);
    QRect lineRect() const;
    QRect inkRect() const;
    void renderOverlay();
    const QStaticText& staticText(std::size_t index, const std::string& text);

    TMarquee* marquee_ = nullptr;
    QBasicTimer timer_;
    QElapsedTimer clock_;  // the time the ticker reads while a held text sleeps
    const std::int64_t* fixedNow_ = nullptr;
    int frameMs_ = 0;  // the screen's frame, asked again after a show or a screen change
    int interval_ = 0;
    qreal dpr_ = 0;  // device pixels a pixel; 0 until asked (asking costs)
    // The strip's texts drawn once on the background (line_), with the texts it shows at X
    // from the first one; the strip shows it with the first text at shownX_ in the drawing
    // area shownStrip_ (widget coordinates), or only the background.
    QPixmap line_;
    std::vector<TDrawnText> lineTexts_;
    std::uint32_t lineColor_ = 0;
    int lineWidth_ = 0;
    QRect ink_;  // where line_ is not background
    bool shown_ = false;
    int shownX_ = 0;
    QRect shownStrip_;
    std::uint32_t shownColor_ = 0xFFFFFFFF;  // the strip's background (not a colour at first)
    bool stepping_ = false;                  // a step is running: it paints the strip itself
    QRect stepChanged_;                      // what the running step changed, in widget coordinates
    std::unique_ptr<X11StripDrawer> drawer_;  // on X11, once the first step has asked for it
    bool noServerDrawing_ = false;            // not X11: steps are painted through Qt
    QRect drawnOnServer_;  // drawn by the steps on the screen but not in the backing store
    QPixmap overlay_;      // texts drawn over the whole control (only when nothing moves)
    std::vector<CachedText> texts_;
    std::unordered_map<std::string, int> widths_;
    std::uint32_t background_ = 0xFFFFFFFF;  // not a colour: the first sync always applies
};
