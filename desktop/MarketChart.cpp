#include "desktop/MarketChart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "desktop/WidgetHelpers.h"

namespace {

using sidewindows::PixelFont;

// Logical pixels; QPainter scales them to the screen, so the chart stays sharp at any factor.
constexpr int kMargin = 8;
constexpr int kTitleHeight = 18;
constexpr int kLegendRow = 18;
constexpr int kSwatch = 18;
constexpr int kLegendGap = 14;
constexpr int kMarkStrip = 11;   // headline marks under the time axis
constexpr int kYearLabels = 16;  // year labels under the marks
constexpr int kRightMargin = 14;
constexpr qreal kMarkSize = 4.5;

const QColor kGrid{0xE2, 0xE2, 0xE2};
const QColor kAxis{0x80, 0x80, 0x80};
const QColor kLabel{0x40, 0x40, 0x40};
const QColor kCurrent{0x40, 0x50, 0x70};
const QColor kCurrentBand{0xD6, 0xE2, 0xF0};

QColor Colour(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
}

QFont TitleFont() {
    return PixelFont(QStringLiteral("Arial"), 13, true);
}
QFont LabelFont() {
    return PixelFont(QStringLiteral("Arial"), 12);
}

// The middle of the pixel a coordinate falls in.
qreal Crisp(qreal v) {
    return std::floor(v) + 0.5;
}

// Lines of one pixel filled as rectangles on the pixel grid, around the middles given: sharp at
// 100 % and 200 %, and far quicker than stroking.
QRectF HorizontalLine(qreal left, qreal right, qreal middle) {
    return {left, middle - 0.5, right - left, 1};
}
QRectF VerticalLine(qreal middle, qreal top, qreal bottom) {
    return {middle - 0.5, top, 1, bottom - top};
}

// A line two pixels wide through corners joined by level and upright strokes, each stroke
// filled as one rectangle (a run of level strokes at one height as one).
void DrawSteps(QPainter& painter, const std::vector<QPointF>& corners, const QColor& colour) {
    constexpr qreal kHalf = 1;
    std::size_t from = 0;
    while (from + 1 < corners.size()) {
        std::size_t to = from + 1;
        if (corners[to].y() == corners[from].y()) {
            while (to + 1 < corners.size() && corners[to + 1].y() == corners[from].y()) ++to;
        }
        const QPointF a = corners[from];
        const QPointF b = corners[to];
        painter.fillRect(
            QRectF(QPointF(std::min(a.x(), b.x()) - kHalf, std::min(a.y(), b.y()) - kHalf),
                   QPointF(std::max(a.x(), b.x()) + kHalf, std::max(a.y(), b.y()) + kHalf)),
            colour);
        from = to;
    }
}

// A headline's mark: a small triangle pointing up at the time axis, hollow while pending.
void DrawMark(QPainter& painter, QPointF tip, bool pending) {
    const QColor colour = Colour(TMarketReport::kHeadlineColour);
    QPolygonF triangle;
    triangle << tip << QPointF(tip.x() - kMarkSize, tip.y() + 2 * kMarkSize - 1)
             << QPointF(tip.x() + kMarkSize, tip.y() + 2 * kMarkSize - 1);
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(pending ? QBrush(Qt::white) : QBrush(colour));
    painter.drawPolygon(triangle);
}

}  // namespace

MarketChart::MarketChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setFont(LabelFont());
}

void MarketChart::setChart(const TChart& chart) {
    chart_ = chart;
    setAccessibleName(QString::fromStdString(chart_.Title));
    setAccessibleDescription(QString::fromStdString(chart_.Description));
    setToolTip(accessibleDescription());
    const QFontMetrics metrics(LabelFont());
    int widest = 0;
    for (const TAxisMark& mark : chart_.ValueLabels)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(mark.Label)));
    labelWidth_ = kMargin + widest + 8;
    legendBottom_ = legend(nullptr);
    update();
}

void MarketChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    legendBottom_ = legend(nullptr);  // its rows wrap at the width
}

void MarketChart::setPlotLeft(int left) {
    if (left == plotLeft_) return;
    plotLeft_ = left;
    update();
}

QRect MarketChart::plotRect() const {
    const int left = std::max(plotLeft_, labelWidth_);
    const int top = legendBottom_ + 10;
    const int bottom = height() - kMargin - kMarkStrip - kYearLabels;
    return QRect(QPoint(left, top), QPoint(width() - kRightMargin, std::max(top + 1, bottom)));
}

QSize MarketChart::sizeHint() const {
    return {740, chart_.SeriesLegend ? 280 : 190};
}

QSize MarketChart::minimumSizeHint() const {
    return {360, chart_.SeriesLegend ? 200 : 140};
}

int MarketChart::legend(QPainter* painter) const {
    int y = kMargin + kTitleHeight;
    if (!chart_.SeriesLegend && chart_.HeadlineLegend.empty()) return y;
    const QFontMetrics metrics(LabelFont());
    int x = kMargin;
    y += 2;
    // Each entry: a sample (line or mark), then its name; a row that is full wraps.
    auto entry = [&](const std::string& name, auto&& sample) {
        const QString text = QString::fromStdString(name);
        const int width = kSwatch + 5 + metrics.horizontalAdvance(text);
        if (x > kMargin && x + width > this->width() - kMargin) {
            x = kMargin;
            y += kLegendRow;
        }
        if (painter) {
            const qreal middle = y + kLegendRow / 2.0;
            sample(QPointF(x, middle));
            painter->setPen(kLabel);
            painter->drawText(QRect(x + kSwatch + 5, y, width, kLegendRow), Qt::AlignVCenter, text);
        }
        x += width + kLegendGap;
    };
    if (chart_.SeriesLegend) {
        for (const TChartSeries& series : chart_.Series)
            entry(series.Name, [&](QPointF at) {
                painter->setPen(QPen(Colour(series.Colour), 3, Qt::SolidLine, Qt::RoundCap));
                painter->drawLine(at + QPointF(1, 0), at + QPointF(kSwatch - 1, 0));
            });
    }
    if (!chart_.HeadlineLegend.empty()) {
        entry(chart_.HeadlineLegend, [&](QPointF at) {
            DrawMark(*painter, at + QPointF(kSwatch / 2.0, -kMarkSize), false);
        });
        entry(chart_.PendingLegend, [&](QPointF at) {
            DrawMark(*painter, at + QPointF(kSwatch / 2.0, -kMarkSize), true);
        });
    }
    return y + kLegendRow;
}

void MarketChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(LabelFont());

    // Frame, and the focus shown by a wider one in the highlight colour.
    const int edge = hasFocus() ? 2 : 1;
    const QColor frame = hasFocus() ? palette().color(QPalette::Highlight) : kGrid;
    painter.fillRect(0, 0, width(), edge, frame);
    painter.fillRect(0, height() - edge, width(), edge, frame);
    painter.fillRect(0, 0, edge, height(), frame);
    painter.fillRect(width() - edge, 0, edge, height(), frame);

    painter.setFont(TitleFont());
    painter.setPen(Qt::black);
    painter.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, kTitleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(chart_.Title));
    painter.setFont(LabelFont());
    legend(&painter);

    const QRect plot = plotRect();
    auto px = [&](double x) { return plot.left() + x * plot.width(); };
    auto py = [&](double y) { return plot.bottom() + 1 - y * (plot.height()); };
    const QFontMetrics metrics(painter.font());

    // The month in progress: its slot shaded under everything else.
    QRectF band;
    if (chart_.HasCurrent) {
        band = QRectF(QPointF(std::round(px(chart_.CurrentFrom)), plot.top()),
                      QPointF(std::round(px(chart_.CurrentTo)), plot.bottom() + 1));
        painter.fillRect(band, kCurrentBand);
    }

    // Grid: amounts across, years down. An amount too close to the one below it is not named.
    qreal lastNamed = plot.bottom() + 100;
    for (const TAxisMark& mark : chart_.ValueLabels) {
        const qreal y = Crisp(py(mark.Position));
        painter.fillRect(HorizontalLine(plot.left(), plot.right() + 1, y), kGrid);
        if (lastNamed - y < metrics.height()) continue;
        lastNamed = y;
        painter.setPen(kLabel);
        painter.drawText(QRectF(0, y - 9, plot.left() - 8, 18), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(mark.Label));
    }
    for (double start : chart_.YearStarts) {
        const qreal x = Crisp(px(start));
        painter.fillRect(VerticalLine(x, plot.top(), plot.bottom() + 1), kGrid);
        painter.fillRect(VerticalLine(x, plot.bottom() + 1, plot.bottom() + 5), kAxis);
    }
    painter.setPen(kLabel);
    const int labelTop = plot.bottom() + 1 + kMarkStrip;
    for (const TAxisMark& year : chart_.YearLabels)
        painter.drawText(QRectF(px(year.Position) - 40, labelTop, 80, kYearLabels),
                         Qt::AlignHCenter | Qt::AlignVCenter, QString::fromStdString(year.Label));

    // The axes.
    const qreal axisX = Crisp(plot.left());
    const qreal axisY = Crisp(plot.bottom() + 1);
    painter.fillRect(VerticalLine(axisX, plot.top(), axisY + 0.5), kAxis);
    painter.fillRect(HorizontalLine(axisX, plot.right() + 1, axisY), kAxis);

    // Levels, each named at the end away from the month in progress and its name. Straight
    // lines need no smoothing, and drawing them without it keeps them sharp and quick.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const Qt::Alignment levelSide =
        chart_.HasCurrent && chart_.CurrentFrom > 0.5 ? Qt::AlignLeft : Qt::AlignRight;
    for (const TChartLevel& level : chart_.Levels) {
        const qreal y = std::floor(py(level.Y));
        const QColor colour = Colour(level.Colour);
        painter.setPen(QPen(colour, 2, Qt::DashLine, Qt::FlatCap));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right() + 1, y));
        painter.setPen(colour);
        painter.drawText(QRectF(plot.left() + 6, y - 17, plot.width() - 12, 16),
                         levelSide | Qt::AlignBottom, QString::fromStdString(level.Label));
    }

    // The month in progress, named beside its shaded slot at the height the window logic
    // found free of lines.
    if (chart_.HasCurrent) {
        const QString label = QString::fromStdString(chart_.CurrentLabel);
        const int width = metrics.horizontalAdvance(label) + 4;
        const bool leftSide = band.right() + 4 + width > plot.right();
        const qreal top = std::clamp(py(chart_.CurrentLabelY) - 8, qreal(plot.top() + 1),
                                     qreal(plot.bottom() - 16));
        const QRectF box(leftSide ? band.left() - 4 - width : band.right() + 4, top, width, 16);
        painter.setPen(kCurrent);
        painter.drawText(box, Qt::AlignCenter, label);
    }

    // The series: step lines, level and upright only, so each stroke is a filled rectangle
    // on the pixel grid, sharp at any whole scale.
    bool anyPoint = false;
    painter.save();
    painter.setClipRect(plot.adjusted(-2, -2, 3, 3));
    for (const TChartSeries& series : chart_.Series) {
        if (series.Points.empty()) continue;
        anyPoint = true;
        std::vector<QPointF> corners;
        corners.reserve(series.Points.size());
        for (const TChartPoint& point : series.Points)
            corners.emplace_back(std::round(px(point.X)), std::round(py(point.Y)));
        DrawSteps(painter, corners, Colour(series.Colour));
    }
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing);

    for (const TTimeMark& mark : chart_.Headlines)
        DrawMark(painter, QPointF(px(mark.X), plot.bottom() + 2.5), mark.Pending);

    if (!anyPoint) {
        painter.setPen(kLabel);
        QFont italic = painter.font();
        italic.setItalic(true);
        painter.setFont(italic);
        painter.drawText(plot, Qt::AlignCenter, QString::fromStdString(chart_.EmptyText));
    }
}
