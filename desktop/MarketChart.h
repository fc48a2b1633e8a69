#pragma once

#include <QWidget>

class QPainter;

#include "ui/MarketReport.h"

// One chart of the Market Report, painted from a TChart that holds every text and position:
// title, legend, grid with the years and amounts, the series, levels, headline marks and the
// month in progress. Takes the keyboard focus so the report's parts can be reached by Tab.
class MarketChart : public QWidget {
    Q_OBJECT

public:
    explicit MarketChart(QWidget* parent = nullptr);

    void setChart(const TChart& chart);
    const TChart& chart() const { return chart_; }

    // Room the amounts need left of the plot; charts stacked above each other share the
    // largest, so their time axes line up.
    int valueLabelWidth() const { return labelWidth_; }
    void setPlotLeft(int left);
    QRect plotRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places the legend's entries in rows under the title, painting them when a painter is
    // given; returns the bottom of the last row.
    int legend(QPainter* painter) const;

    TChart chart_;
    int plotLeft_ = 0;
    int labelWidth_ = 0;    // room of the widest amount
    int legendBottom_ = 0;  // where the legend's rows end, at the present width
};
