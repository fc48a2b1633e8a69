#include "ui/qt/MarketChart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "windows/qt/WidgetHelpers.h"

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
const QColor kCurrent{0x60, 0x60, 0x60};

QColor Colour(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
}

QFont TitleFont() {
    return PixelFont(QStringLiteral("Arial"), 13, true);
}
QFont LabelFont() {
    return PixelFont(QStringLiteral("Arial"), 12);
}

// A one-pixel line on the pixel grid, so it is crisp at 100 % and 200 %.
qreal Crisp(qreal v) {
    return std::floor(v) + 0.5;
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
    update();
}

int MarketChart::valueLabelWidth() const {
    const QFontMetrics metrics(LabelFont());
    int widest = 0;
    for (const TAxisMark& mark : chart_.ValueLabels)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(mark.Label)));
    return kMargin + widest + 8;
}

void MarketChart::setPlotLeft(int left) {
    if (left == plotLeft_) return;
    plotLeft_ = left;
    update();
}

QRect MarketChart::plotRect() const {
    const int left = std::max(plotLeft_, valueLabelWidth());
    const int top = legend(nullptr) + 10;
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

    // Frame, and the focus shown by a darker one.
    painter.setPen(
        QPen(hasFocus() ? palette().color(QPalette::Highlight) : kGrid, hasFocus() ? 2 : 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));

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

    // Grid: amounts across, years down. An amount too close to the one below it is not named.
    qreal lastNamed = plot.bottom() + 100;
    for (const TAxisMark& mark : chart_.ValueLabels) {
        const qreal y = Crisp(py(mark.Position));
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right() + 1, y));
        if (lastNamed - y < metrics.height()) continue;
        lastNamed = y;
        painter.setPen(kLabel);
        painter.drawText(QRectF(0, y - 9, plot.left() - 8, 18), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(mark.Label));
    }
    for (double start : chart_.YearStarts) {
        const qreal x = Crisp(px(start));
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() + 1));
        painter.setPen(QPen(kAxis, 1));
        painter.drawLine(QPointF(x, plot.bottom() + 1), QPointF(x, plot.bottom() + 5));
    }
    painter.setPen(kLabel);
    const int labelTop = plot.bottom() + 1 + kMarkStrip;
    for (const TAxisMark& year : chart_.YearLabels)
        painter.drawText(QRectF(px(year.Position) - 40, labelTop, 80, kYearLabels),
                         Qt::AlignHCenter | Qt::AlignVCenter, QString::fromStdString(year.Label));

    // The axes.
    painter.setPen(QPen(kAxis, 1));
    const qreal axisX = Crisp(plot.left());
    const qreal axisY = Crisp(plot.bottom() + 1);
    painter.drawLine(QPointF(axisX, plot.top()), QPointF(axisX, axisY));
    painter.drawLine(QPointF(axisX, axisY), QPointF(plot.right() + 1, axisY));

    // Levels, each named at the end away from the month in progress and its name.
    const Qt::Alignment levelSide =
        chart_.HasCurrent && chart_.CurrentX > 0.5 ? Qt::AlignLeft : Qt::AlignRight;
    for (const TChartLevel& level : chart_.Levels) {
        const qreal y = Crisp(py(level.Y));
        const QColor colour = Colour(level.Colour);
        painter.setPen(QPen(colour, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right() + 1, y));
        painter.setPen(colour);
        painter.drawText(QRectF(plot.left() + 6, y - 17, plot.width() - 12, 16),
                         levelSide | Qt::AlignBottom, QString::fromStdString(level.Label));
    }

    // The month in progress: a dotted line, named at the top on whichever side has room.
    if (chart_.HasCurrent) {
        const qreal x = Crisp(px(chart_.CurrentX));
        painter.setPen(QPen(kCurrent, 1, Qt::DotLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() + 1));
        const QString label = QString::fromStdString(chart_.CurrentLabel);
        const int width = metrics.horizontalAdvance(label) + 4;
        const bool leftSide = x + 4 + width > plot.right();
        // At the top, or under a level that would run through it.
        qreal top = plot.top() + 1;
        for (const TChartLevel& level : chart_.Levels) {
            const qreal y = py(level.Y);
            if (y > top - 2 && y < top + 18) top = y + 3;
        }
        const QRectF box(leftSide ? x - 4 - width : x + 4, top, width, 16);
        painter.fillRect(box, QColor(255, 255, 255, 220));
        painter.setPen(kCurrent);
        painter.drawText(box, Qt::AlignCenter, label);
    }

    // The series, clipped to the plot.
    bool anyPoint = false;
    painter.save();
    painter.setClipRect(plot.adjusted(-2, -2, 3, 3));
    for (const TChartSeries& series : chart_.Series) {
        if (series.Points.empty()) continue;
        anyPoint = true;
        const QColor colour = Colour(series.Colour);
        QPolygonF line;
        line.reserve(static_cast<int>(series.Points.size()));
        for (const TChartPoint& point : series.Points) line << QPointF(px(point.X), py(point.Y));
        if (line.size() == 1) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(line.front(), 3.0, 3.0);
        } else {
            painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(line);
        }
    }
    painter.restore();

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
