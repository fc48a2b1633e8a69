#pragma once

#include <string>

struct TChart;

// A Market Report chart as the page paints it: every text, colour and position of the chart
// (positions are fractions of the plot area, as in TChart), as one JSON object.
std::string WebChartJson(const TChart& chart);
