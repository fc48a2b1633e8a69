#include "desktop/MarqueeWidget.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QTimerEvent>
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
    drawn_.clear();
    if (marquee_ == nullptr) {
        strip_ = QPixmap();
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
    if (!stepChanged_.isEmpty()) repaint(stepChanged_);
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

bool SameText(const TDrawnText& a, const TDrawnText& b, int shift) {
    return a.X == b.X + shift && a.Color == b.Color && a.Text == b.Text;
}

// How far every text of `now` lies from where `before` had it, if all moved alike.
bool ShiftBetween(const std::vector<TDrawnText>& before, const std::vector<TDrawnText>& now,
                  int& shift) {
    if (now.size() != before.size() || now.empty()) return false;
    shift = now.front().X - before.front().X;
    for (std::size_t i = 0; i < now.size(); ++i)
        if (!SameText(now[i], before[i], shift)) return false;
    return true;
}

}  // namespace

bool MarqueeWidget::anyTextMeets(const std::vector<TDrawnText>& texts, const QRect& band) {
    for (const TDrawnText& t : texts)
        if (t.X < band.right() + 1 && t.X + TextWidth(t.Text) > band.left()) return true;
    return false;
}

void MarqueeWidget::drawStripBand(const QRect& band) {
    QPainter p(&strip_);
    p.setClipRect(band);
    p.fillRect(band, ToQColor(marquee_->Color()));
    p.setFont(font());
    const std::vector<TDrawnText>& texts = marquee_->Strip();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TDrawnText& t = texts[i];
        // Out of the band, so out of sight too.
        if (t.X >= band.right() + 1 || t.X + TextWidth(t.Text) <= band.left()) continue;
        p.setPen(ToQColor(t.Color));
        p.drawStaticText(t.X, 0, staticText(i, t.Text));
    }
}

void MarqueeWidget::renderStrip() {
    const TMarqueeRect area = marquee_->DrawingArea();
    if (area.Width <= 0 || area.Height <= 0) {
        strip_ = QPixmap();
        drawn_.clear();
        return;
    }
    // Sized in device pixels so the text stays crisp on a scaled screen; reused while the
    // size and scale stay the same.
    if (dpr_ <= 0) dpr_ = devicePixelRatioF();
    const qreal dpr = dpr_;
    const QSize pixels(qCeil(area.Width * dpr), qCeil(area.Height * dpr));
    const std::vector<TDrawnText>& texts = marquee_->Strip();
    const bool kept = strip_.size() == pixels && strip_.devicePixelRatio() == dpr &&
                      drawnColor_ == marquee_->Color();
    int shift = 0;
    if (kept && texts.empty() && drawn_.empty()) return;                   // still the empty strip
    if (kept && ShiftBetween(drawn_, texts, shift) && shift == 0) return;  // nothing moved
    const QRect whole(0, 0, area.Width, area.Height);
    QRect changed = whole;
    if (kept && shift != 0 && std::abs(shift) < area.Width && dpr == qFloor(dpr)) {
        // Moved by whole pixels: the same picture as drawing it afresh, for the cost of a
        // copy and the band that came into view. On the screen only the columns where a
        // text was or is now change.
        const int deviceShift = shift * static_cast<int>(dpr);
        strip_.scroll(deviceShift, 0, strip_.rect());
        changed = QRect();
        for (const TDrawnText& t : texts) {
            const int left = std::min(t.X, t.X - shift);
            const int right = std::max(t.X, t.X - shift) + TextWidth(t.Text);
            changed |= QRect(left, 0, right - left, area.Height);
        }
        changed &= whole;
        const QRect band = shift < 0 ? QRect(area.Width + shift, 0, -shift, area.Height)
                                     : QRect(0, 0, shift, area.Height);
        // The shift leaves the band's old pixels in place: plain background already unless
        // a text was there or is there now.
        const bool bandHasText = anyTextMeets(drawn_, band) || anyTextMeets(texts, band);
        drawn_ = texts;
        if (bandHasText) drawStripBand(band);
    } else {
        if (strip_.size() != pixels || strip_.devicePixelRatio() != dpr) {
            strip_ = QPixmap(pixels);
            strip_.setDevicePixelRatio(dpr);
        }
        drawnColor_ = marquee_->Color();
        drawn_ = texts;
        drawStripBand(whole);
    }
    changed.translate(area.Left, area.Top);
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

void MarqueeWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    QRect stripRect;
    if (marquee_ != nullptr && !strip_.isNull()) {
        const TMarqueeRect area = marquee_->DrawingArea();
        stripRect = QRect(area.Left, area.Top, area.Width, area.Height);
    }
    // A step repaints inside the strip only; the frame and the margin around the strip are
    // drawn when something outside it is to be painted.
    if (!stripRect.contains(event->rect())) {
        for (const QRect& r : event->region() - stripRect) p.fillRect(r, palette().window());
        drawFrame(&p);
    }
    if (!stripRect.isEmpty()) p.drawPixmap(stripRect.topLeft(), strip_);
    if (!overlay_.isNull()) p.drawPixmap(0, 0, overlay_);
}

bool MarqueeWidget::event(QEvent* event) {
    // On another screen the strip may need another number of device pixels: asked again at
    // the next drawing.
    if (event->type() == QEvent::ScreenChangeInternal) dpr_ = 0;
    return QFrame::event(event);
}

void MarqueeWidget::showEvent(QShowEvent* event) {
    dpr_ = 0;  // the screen may have changed while hidden
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
        drawn_.clear();
        strip_ = QPixmap();  // drawn in the old font: the next step draws it all again
    }
    QFrame::changeEvent(event);
}
