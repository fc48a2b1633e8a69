#include "desktop/MarqueeWidget.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>
#include <QtMath>
#include <algorithm>
#include <cstdlib>

namespace {

QColor ToQColor(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u));
}

// Enough for the headline, its segments and a few texts before them.
constexpr std::size_t kMaxCachedWidths = 64;

}  // namespace

MarqueeWidget::MarqueeWidget(QWidget* parent) : QFrame(parent) {
    clock_.start();
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    // paintEvent covers every pixel it is asked for, so Qt neither fills the background first
    // nor paints what lies under the ticker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont f("Arial");
    f.setPixelSize(16);
    f.setBold(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, QColor(0x00, 0xFF, 0x00));
    setPalette(pal);
}

MarqueeWidget::MarqueeWidget(TMarquee& marquee, QWidget* parent) : MarqueeWidget(parent) {
    setMarquee(&marquee);
}

MarqueeWidget::~MarqueeWidget() {
    timer_.stop();
    if (marquee_ != nullptr && marquee_->Host() == this) marquee_->SetHost(nullptr);
}

void MarqueeWidget::setMarquee(TMarquee* marquee) {
    if (marquee_ != nullptr && marquee_->Host() == this) marquee_->SetHost(nullptr);
    timer_.stop();
    marquee_ = marquee;
    shown_ = false;
    shownStrip_ = QRect();
    if (marquee_ == nullptr) {
        line_ = QPixmap();
        lineTexts_.clear();
        overlay_ = QPixmap();
        update();
        return;
    }
    marquee_->SetHost(this);
    marquee_->Resize(width(), height());
    TimerChanged(marquee_->TimerEnabled(), marquee_->TimerWait());
    StripChanged();
}

void MarqueeWidget::step() {
    if (marquee_ == nullptr) return;
    // Painted here rather than at the toolkit's next update request, which would wake the
    // program a second time for every step.
    stepping_ = true;
    stepChanged_ = QRect();
    marquee_->Step();
    stepping_ = false;
    if (!stepChanged_.isEmpty() && !drawStepOnServer(stepChanged_)) repaint(stepChanged_);
}

bool MarqueeWidget::drawStepOnServer(const QRect& changed) {
    // Only the strip's own pixels, on whole device pixels, with nothing over them.
    if (!overlay_.isNull() || dpr_ != qRound(dpr_) || !shownStrip_.contains(changed)) return false;
    QWidget* top = window();
    QWindow* handle = top->windowHandle();
    if (handle == nullptr || !handle->isExposed()) return false;
    if (drawer_ == nullptr || drawer_->Window() != top->internalWinId()) {
        if (noServerDrawing_) return false;
        drawer_ = X11StripDrawer::For(top);
        if (drawer_ == nullptr) {
            noServerDrawing_ = true;  // not X11: the answer does not change
            return false;
        }
        handle->installEventFilter(this);
    }
    if (!(QRegion(changed) - visibleRegion()).isEmpty()) return false;
    const StripPieces pieces = stripPieces(changed);
    if (!pieces.line.isEmpty() && (line_.devicePixelRatio() != dpr_ || !drawer_->KeepLine(line_)))
        return false;

    const int d = qRound(dpr_);
    const QPoint offset = mapTo(top, QPoint(0, 0));
    const auto onWindow = [&](const QRect& r) {
        const QRect moved = r.translated(offset);
        return QRect(moved.x() * d, moved.y() * d, moved.width() * d, moved.height() * d);
    };
    const QRgb background = ToQColor(marquee_->Color()).rgb();
    drawer_->Fill(onWindow(pieces.before), background);
    drawer_->Fill(onWindow(pieces.after), background);
    drawer_->CopyLine(onWindow(pieces.line), pieces.source * d);
    drawer_->Flush();
    // The window's backing store still holds the strip as Qt last painted it.
    drawnOnServer_ |= changed;
    return true;
}

bool MarqueeWidget::eventFilter(QObject* watched, QEvent* event) {
    // Uncovered parts of the window are shown from its backing store: paint there first what
    // the steps drew only on the screen.
    if (event->type() == QEvent::Expose && !drawnOnServer_.isEmpty() &&
        watched == window()->windowHandle()) {
        update(drawnOnServer_);
        drawnOnServer_ = QRect();
    }
    return QFrame::eventFilter(watched, event);
}

int MarqueeWidget::TextWidth(const std::string& text) {
    // The whole headline is measured on every step: keep the answers for the current font.
    const auto found = widths_.find(text);
    if (found != widths_.end()) return found->second;
    if (widths_.size() >= kMaxCachedWidths) widths_.clear();
    const int w = QFontMetrics(font()).horizontalAdvance(QString::fromStdString(text));
    widths_.emplace(text, w);
    return w;
}

void MarqueeWidget::TimerChanged(bool enabled, int intervalMs) {
    interval_ = intervalMs;
    if (enabled) {
        timer_.start(intervalMs, Qt::PreciseTimer, this);
    } else {
        timer_.stop();
    }
}

void MarqueeWidget::StripChanged() {
    if (marquee_ == nullptr) return;
    syncLook();
    renderStrip();
    renderOverlay();
}

void MarqueeWidget::ProcessMessages() {
    // Nothing to do: a step runs inside a timer event and returns straight to Qt's event
    // loop, which serves input and the game's other timers before the next tick. Spinning a
    // nested loop here would only let a second step start inside this one.
}

std::int64_t MarqueeWidget::Now() {
    return fixedNow_ != nullptr ? *fixedNow_ : clock_.elapsed();
}

int MarqueeWidget::FrameMs() {
    if (frameMs_ <= 0) {
        const QScreen* shownOn = screen();
        frameMs_ = TMarquee::FrameMsAt(shownOn != nullptr ? shownOn->refreshRate() : 0);
    }
    return frameMs_;
}

void MarqueeWidget::MarqueeDestroyed() {
    timer_.stop();
    marquee_ = nullptr;
}

void MarqueeWidget::syncLook() {
    // The frame and background mirror the ticker's panel settings.
    int style = QFrame::NoFrame;
    if (marquee_->BevelOuter() == bvLowered) style = QFrame::Panel | QFrame::Sunken;
    if (marquee_->BevelOuter() == bvRaised) style = QFrame::Panel | QFrame::Raised;
    if (frameStyle() != style) setFrameStyle(style);
    if (lineWidth() != marquee_->BevelWidth()) setLineWidth(marquee_->BevelWidth());

    if (background_ != marquee_->Color()) {
        background_ = marquee_->Color();
        QPalette pal = palette();
        pal.setColor(QPalette::Window, ToQColor(background_));
        setPalette(pal);
    }
}

const QStaticText& MarqueeWidget::staticText(std::size_t index, const std::string& text) {
    // A step draws the same segments as the one before: lay each one out only once.
    if (texts_.size() <= index) texts_.resize(index + 1);
    CachedText& cached = texts_[index];
    if (cached.source != text) {
        cached.source = text;
        cached.text.setText(QString::fromStdString(text));
        cached.text.setTextFormat(Qt::PlainText);
        cached.text.prepare(QTransform(), font());
    }
    return cached.text;
}

namespace {

// Room beside the texts in the line picture for glyphs that reach past their advance.
constexpr int kLineMargin = 4;
// The widest line picture, in device pixels (a text longer than this is cut).
constexpr int kMaxLinePixels = 32000;

// Whether `now` is `line` moved as a whole (the same texts, colours and spacing).
bool SameLine(const std::vector<TDrawnText>& line, const std::vector<TDrawnText>& now) {
    if (now.size() != line.size() || now.empty()) return false;
    const int origin = now.front().X;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i].X - origin != line[i].X || now[i].Color != line[i].Color ||
            now[i].Text != line[i].Text)
            return false;
    }
    return true;
}

}  // namespace

void MarqueeWidget::drawLine(const std::vector<TDrawnText>& texts, int height) {
    // The texts side by side on the background, as the strip shows them, once: every step
    // then only places this picture.
    const int origin = texts.front().X;
    lineTexts_ = texts;
    int right = 0;
    for (TDrawnText& t : lineTexts_) {
        t.X -= origin;
        right = std::max(right, t.X + TextWidth(t.Text));
    }
    const qreal dpr = dpr_;
    lineWidth_ = std::min(right + 2 * kLineMargin, qFloor(kMaxLinePixels / dpr));
    line_ = QPixmap(qCeil(lineWidth_ * dpr), qCeil(height * dpr));
    line_.setDevicePixelRatio(dpr);
    lineColor_ = marquee_->Color();
    line_.fill(ToQColor(lineColor_));
    QPainter p(&line_);
    p.setFont(font());
    for (std::size_t i = 0; i < lineTexts_.size(); ++i) {
        const TDrawnText& t = lineTexts_[i];
        if (t.X + kLineMargin >= lineWidth_) break;
        p.setPen(ToQColor(t.Color));
        p.drawStaticText(t.X + kLineMargin, 0, staticText(i, t.Text));
    }
    p.end();

    // The part that is not background: only there does a move change pixels (a line of
    // capitals leaves a third of the rows alone).
    const QImage image = line_.toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb back = image.pixel(0, 0);
    int top = image.height(), bottom = -1, left = image.width(), rightmost = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == back) continue;
            top = std::min(top, y);
            bottom = y;
            left = std::min(left, x);
            rightmost = std::max(rightmost, x);
        }
    }
    ink_ = bottom < 0 ? QRect()
                      : QRect(qFloor(left / dpr), qFloor(top / dpr),
                              qCeil((rightmost + 1) / dpr) - qFloor(left / dpr),
                              qCeil((bottom + 1) / dpr) - qFloor(top / dpr));
}

QRect MarqueeWidget::lineRect() const {
    // Where the line picture stands, in widget coordinates, cut to the strip.
    if (!shown_) return {};
    return QRect(shownStrip_.left() + shownX_ - kLineMargin, shownStrip_.top(), lineWidth_,
                 shownStrip_.height()) &
           shownStrip_;
}

QRect MarqueeWidget::inkRect() const {
    if (!shown_) return {};
    return ink_.translated(shownStrip_.left() + shownX_ - kLineMargin, shownStrip_.top()) &
           shownStrip_;
}

void MarqueeWidget::renderStrip() {
    const TMarqueeRect area = marquee_->DrawingArea();
    const QRect strip(area.Left, area.Top, std::max(0, area.Width), std::max(0, area.Height));
    if (dpr_ <= 0) dpr_ = devicePixelRatioF();
    const std::vector<TDrawnText>& texts = marquee_->Strip();
    const bool show = !texts.empty() && !strip.isEmpty();
    const QRect before = inkRect();
    QRect changed;
    if (strip != shownStrip_ || shownColor_ != marquee_->Color()) {
        changed = strip | shownStrip_;  // a new place or a new background: all of it
        shownColor_ = marquee_->Color();
    }
    bool redrawn = false;
    if (show &&
        (!SameLine(lineTexts_, texts) || lineColor_ != marquee_->Color() ||
         line_.devicePixelRatio() != dpr_ || line_.height() != qCeil(strip.height() * dpr_))) {
        drawLine(texts, strip.height());
        redrawn = true;
    }
    shownStrip_ = strip;
    shown_ = show;
    if (show) shownX_ = texts.front().X;
    const QRect after = inkRect();
    if (!redrawn && changed.isEmpty() && before == after) return;  // nothing moved
    // Only where the picture was or is now changes on the screen.
    changed |= before | after;
    if (changed.isEmpty()) return;
    if (stepping_)
        stepChanged_ |= changed;
    else
        update(changed);
}

void MarqueeWidget::renderOverlay() {
    const std::vector<TDrawnText>& texts = marquee_->Overlay();
    if (texts.empty()) {
        if (!overlay_.isNull()) {
            overlay_ = QPixmap();
            update();
        }
        return;
    }
    const qreal dpr = devicePixelRatioF();
    overlay_ = QPixmap(qCeil(width() * dpr), qCeil(height() * dpr));
    overlay_.setDevicePixelRatio(dpr);
    overlay_.fill(Qt::transparent);
    QPainter p(&overlay_);
    p.setFont(font());
    for (const TDrawnText& t : texts) {
        p.setPen(ToQColor(t.Color));
        p.drawText(QPoint(t.X, QFontMetrics(font()).ascent()), QString::fromStdString(t.Text));
    }
    p.end();
    update();
}

MarqueeWidget::StripPieces MarqueeWidget::stripPieces(const QRect& asked) const {
    // The background beside the line picture, and the part of the picture the strip shows.
    StripPieces pieces;
    const QRect inStrip = asked & (marquee_ != nullptr ? shownStrip_ : QRect());
    if (inStrip.isEmpty()) return pieces;
    const QRect line = lineRect() & inStrip;
    if (line.isEmpty()) {
        pieces.before = inStrip;
        return pieces;
    }
    if (line.left() > inStrip.left())
        pieces.before =
            QRect(inStrip.left(), inStrip.top(), line.left() - inStrip.left(), inStrip.height());
    if (line.right() < inStrip.right())
        pieces.after = QRect(line.right() + 1, inStrip.top(), inStrip.right() - line.right(),
                             inStrip.height());
    pieces.line = line;
    pieces.source =
        line.topLeft() - QPoint(shownStrip_.left() + shownX_ - kLineMargin, shownStrip_.top());
    return pieces;
}

void MarqueeWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect stripRect = marquee_ != nullptr ? shownStrip_ : QRect();
    const QRect asked = event->rect();
    // A step repaints inside the strip only; the frame and the margin around the strip are
    // drawn when something outside it is to be painted.
    if (!stripRect.contains(asked)) {
        for (const QRect& r : event->region() - stripRect) p.fillRect(r, palette().window());
        drawFrame(&p);
    }
    const StripPieces pieces = stripPieces(asked);
    if (!pieces.before.isEmpty() || !pieces.after.isEmpty() || !pieces.line.isEmpty()) {
        const QColor background = ToQColor(marquee_->Color());
        p.fillRect(pieces.before, background);
        p.fillRect(pieces.after, background);
        const qreal dpr = line_.devicePixelRatio();
        const QRectF source(pieces.source.x() * dpr, pieces.source.y() * dpr,
                            pieces.line.width() * dpr, pieces.line.height() * dpr);
        if (!pieces.line.isEmpty()) p.drawPixmap(QRectF(pieces.line), line_, source);
    }
    if (!overlay_.isNull()) p.drawPixmap(0, 0, overlay_);
}

bool MarqueeWidget::event(QEvent* event) {
    // Another screen may need another number of device pixels and show another number of
    // pictures a second: both asked again when next needed.
    if (event->type() == QEvent::ScreenChangeInternal) {
        dpr_ = 0;
        frameMs_ = 0;
    }
    return QFrame::event(event);
}

void MarqueeWidget::showEvent(QShowEvent* event) {
    dpr_ = 0;  // the screen may have changed while hidden
    frameMs_ = 0;
    QFrame::showEvent(event);
}

void MarqueeWidget::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (marquee_ != nullptr) marquee_->Resize(width(), height());
}

void MarqueeWidget::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId()) {
        step();
    } else {
        QFrame::timerEvent(event);
    }
}

void MarqueeWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        widths_.clear();
        texts_.clear();
        lineTexts_.clear();  // drawn in the old font: the next step draws it again
    }
    QFrame::changeEvent(event);
}
