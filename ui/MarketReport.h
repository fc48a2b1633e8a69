#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Money.h"
#include "engine/World.h"

class TGame;

// The Market Report without its toolkit: every text the window shows and both charts already
// scaled, so a front end only paints. Built afresh from the game whenever the window opens.
//
// Chart positions are fractions of the plot area: X from the left edge (0) to the right (1),
// Y from the bottom (0) to the top (1). Colours are 0xRRGGBB.

struct TChartPoint {
    double X = 0;
    double Y = 0;
};

struct TChartSeries {
    std::string Name;  // the legend's text
    std::uint32_t Colour = 0;
    // The corners of a step line, oldest first: two a month, its amount held from the left
    // edge of its slot on the time axis to the right edge.
    std::vector<TChartPoint> Points;
};

struct TAxisMark {
    double Position = 0;  // X for the time axis, Y for the value axis
    std::string Label;
};

// A level drawn across the plot, such as a stage's threshold.
struct TChartLevel {
    double Y = 0;
    std::string Label;
    std::uint32_t Colour = 0;
};

// A headline's month on the time axis.
struct TTimeMark {
    double X = 0;
    bool Pending = false;
};

struct TChart {
    std::string Title;
    std::string Description;  // what a screen reader says about the chart
    std::vector<TChartSeries> Series;
    std::vector<double> YearStarts;      // vertical grid lines, at each January
    std::vector<TAxisMark> YearLabels;   // the years, centred on their twelve months
    std::vector<TAxisMark> ValueLabels;  // horizontal grid lines with their amounts
    std::vector<TChartLevel> Levels;
    std::vector<TTimeMark> Headlines;
    bool HasCurrent = false;  // the month in progress is marked: its slot and its name
    double CurrentFrom = 0;
    double CurrentTo = 0;
    std::string CurrentLabel;
    // The height of the name's middle: the middle of the widest gap the series and levels
    // leave over the last CurrentLabelSpan of the time axis, so the name covers no line.
    double CurrentLabelY = 1;
    static constexpr double CurrentLabelSpan = 0.3;
    std::string EmptyText;  // shown over the plot while no month has been played
    // The legend: the series' names, and the headline marks' meaning when not empty.
    bool SeriesLegend = false;
    std::string HeadlineLegend;
    std::string PendingLegend;
};

// One row of the news log: a headline, a December trend or an event of the game.
struct TLogRow {
    enum class Kind { Headline, Trend, Event };
    Kind RowKind = Kind::Headline;
    std::string Month;  // "September 2000"
    std::string Text;
    std::string Note;  // for a headline, when its effect landed or that it is still to come
    bool Pending = false;

    bool operator==(const TLogRow&) const = default;
    // The whole row as one sentence, for a screen reader.
    std::string AccessibleText() const;
};

// One month of the series, as the console prints it.
struct TReportMonth {
    std::uint16_t Year = 0;
    std::int32_t Month = 0;
    std::array<Money, kAreaCount> AveragePrice{};
    Money NetWorth;
    bool Current = false;  // the month in progress, taken from the game as it stands
};

class TMarketReport {
public:
    static constexpr const char* Caption = "Market Report";
    static constexpr const char* LogTitle = "&News and events";
    static constexpr const char* EmptyLog = "No headline yet";
    static constexpr const char* CloseCaption = "Close";
    static constexpr const char* PendingNote = "lands with the next headline";
    // The game's last headline: the game ends before another comes to bring its effect.
    static constexpr const char* NeverLandsNote = "the game ends before it lands";

    // Series colours, one per area in area order, and the net worth's.
    static constexpr std::array<std::uint32_t, kAreaCount> kAreaColours = {
        0xD55E00, 0x0072B2, 0x009E73, 0xCC79A7, 0xE69F00, 0x56B4E9};
    static constexpr std::uint32_t kWorthColour = 0x202020;
    static constexpr std::uint32_t kMagnateColour = 0x8C6D00;
    static constexpr std::uint32_t kGuruColour = 0xA01010;
    static constexpr std::uint32_t kHeadlineColour = 0x000080;

    explicit TMarketReport(const TGame& game);

    const std::vector<TReportMonth>& Months() const { return months_; }
    const std::vector<std::string>& AreaNames() const { return areaNames_; }
    const TChart& Prices() const { return prices_; }
    const TChart& Worth() const { return worth_; }
    const std::vector<TLogRow>& Log() const { return log_; }

    // "September 2000".
    static std::string MonthLabel(const TGame& game, std::uint16_t year, std::int32_t month);

private:
    void BuildMonths(const TGame& game);
    void BuildLog(const TGame& game);
    void BuildCharts(const TGame& game);

    std::vector<TReportMonth> months_;
    std::vector<std::string> areaNames_;
    TChart prices_;
    TChart worth_;
    std::vector<TLogRow> log_;
};
