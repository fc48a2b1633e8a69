#include "web/WebChartJson.h"

#include <cstdio>

#include "frontend/JsonWriter.h"
#include "ui/MarketReport.h"

namespace {

// Fractions of the plot to a hundredth of a pixel on any screen.
std::string Fraction(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.5g", value);
    return text;
}

void Marks(TJsonWriter& json, const char* key, const std::vector<TAxisMark>& marks) {
    json.Open(key, '[');
    for (const TAxisMark& mark : marks) {
        json.Open(nullptr, '{');
        json.Raw("at", Fraction(mark.Position)).String("label", mark.Label);
        json.Close('}');
    }
    json.Close(']');
}

}  // namespace

std::string WebChartJson(const TChart& chart) {
    TJsonWriter json;
    json.Open(nullptr, '{');
    json.String("title", chart.Title).String("description", chart.Description);
    json.Open("series", '[');
    for (const TChartSeries& series : chart.Series) {
        json.Open(nullptr, '{');
        json.String("name", series.Name).Int("colour", series.Colour);
        // Flat pairs: x0, y0, x1, y1, ...
        json.Open("points", '[');
        for (const TChartPoint& point : series.Points)
            json.Raw(nullptr, Fraction(point.X)).Raw(nullptr, Fraction(point.Y));
        json.Close(']');
        json.Close('}');
    }
    json.Close(']');
    json.Open("yearStarts", '[');
    for (double start : chart.YearStarts) json.Raw(nullptr, Fraction(start));
    json.Close(']');
    Marks(json, "yearLabels", chart.YearLabels);
    Marks(json, "valueLabels", chart.ValueLabels);
    json.Open("levels", '[');
    for (const TChartLevel& level : chart.Levels) {
        json.Open(nullptr, '{');
        json.Raw("at", Fraction(level.Y)).String("label", level.Label);
        json.Int("colour", level.Colour);
        json.Close('}');
    }
    json.Close(']');
    json.Open("headlines", '[');
    for (const TTimeMark& mark : chart.Headlines) {
        json.Open(nullptr, '{');
        json.Raw("at", Fraction(mark.X)).Bool("pending", mark.Pending);
        json.Close('}');
    }
    json.Close(']');
    json.Bool("hasCurrent", chart.HasCurrent);
    json.Raw("currentFrom", Fraction(chart.CurrentFrom));
    json.Raw("currentTo", Fraction(chart.CurrentTo));
    json.Raw("currentLabelAt", Fraction(chart.CurrentLabelY));
    json.String("currentLabel", chart.CurrentLabel).String("emptyText", chart.EmptyText);
    json.Bool("seriesLegend", chart.SeriesLegend);
    json.String("headlineLegend", chart.HeadlineLegend);
    json.String("pendingLegend", chart.PendingLegend);
    json.Int("headlineColour", TMarketReport::kHeadlineColour);
    json.Close('}');
    return json.Text();
}
