#include "desktop/MarqueeWidget.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QTimerEvent>
#include <QtMath>

namespace {

QColor ToQColor(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u));
}

// Enough for the headline, its segments and a few texts before them.
constexpr std::size_t kMaxCachedWidths = 64;

}  // namespace

MarqueeWidget::MarqueeWidget(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
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
    if (marquee_ == nullptr) {
        strip_ = QPixmap();
        overlay_ = QPixmap();
        update();
        return;
    }
    marquee_->SetHost(this);
    marquee_->Resize(width(), height());
    TimerChanged(marquee_->TimerEnabled(), marquee_->TimerInterval());
    StripChanged();
}

void MarqueeWidget::step() {
    if (marquee_ != nullptr) marquee_->Step();
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

void MarqueeWidget::renderStrip() {
    const TMarqueeRect area = marquee_->DrawingArea();
    if (area.Width <= 0 || area.Height <= 0) {
        strip_ = QPixmap();
        return;
    }
    // Sized in device pixels so the text stays crisp on a scaled screen; reused while the
    // size and scale stay the same.
    const qreal dpr = devicePixelRatioF();
    const QSize pixels(qCeil(area.Width * dpr), qCeil(area.Height * dpr));
    if (strip_.size() != pixels || strip_.devicePixelRatio() != dpr) {
        strip_ = QPixmap(pixels);
        strip_.setDevicePixelRatio(dpr);
    }

    QPainter p(&strip_);
    p.fillRect(QRect(0, 0, area.Width, area.Height), ToQColor(marquee_->Color()));
    p.setFont(font());
    const std::vector<TDrawnText>& texts = marquee_->Strip();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TDrawnText& t = texts[i];
        if (t.X >= area.Width || t.X + TextWidth(t.Text) <= 0) continue;  // out of sight
        p.setPen(ToQColor(t.Color));
        p.drawStaticText(t.X, 0, staticText(i, t.Text));
    }
    p.end();
    update(area.Left, area.Top, area.Width, area.Height);
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
    QFrame::paintEvent(event);
    if (marquee_ == nullptr) return;
    QPainter p(this);
    if (!strip_.isNull()) {
        const TMarqueeRect area = marquee_->DrawingArea();
        p.drawPixmap(area.Left, area.Top, strip_);
    }
    if (!overlay_.isNull()) p.drawPixmap(0, 0, overlay_);
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
    }
    QFrame::changeEvent(event);
}
