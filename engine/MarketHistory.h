#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/Money.h"
#include "engine/World.h"

// What the market did in one game, kept for the Market Report: the prices and the player's
// net worth month by month, and every headline, December trend and stage event with its date.
// It remembers only what the player was shown: a headline is kept by its number and whether
// its effect has landed, never by its amount.
class TMarketHistory {
public:
    // One month as it closed: the average buying price of each area's twenty properties
    // (owned or not), in area order, and the net worth.
    struct TMonth {
        std::uint16_t Year = 0;
        std::int32_t Month = 0;
        std::array<Money, kAreaCount> AveragePrice{};
        Money NetWorth;
        bool operator==(const TMonth&) const = default;
    };
    struct THeadline {
        int Item = 0;  // news item 1..40
        std::uint16_t Year = 0;
        std::int32_t Month = 0;
        bool Landed = false;  // the next headline has been shown, so its effect came
        bool operator==(const THeadline&) const = default;
    };
    struct TTrend {
        std::uint16_t Year = 0;
        int Area = 0;                  // the area shown that December
        std::int32_t Result = Steady;  // Steady, Risen or Fallen
        bool operator==(const TTrend&) const = default;
    };
    enum class TEventKind { BankBonus, Crash, Restore };
    struct TEvent {
        TEventKind Kind = TEventKind::BankBonus;
        std::uint16_t Year = 0;
        std::int32_t Month = 0;
        bool operator==(const TEvent&) const = default;
    };

    bool operator==(const TMarketHistory&) const = default;

    void Clear();
    // The history as a saved game kept it.
    void Restore(std::vector<TMonth> months, std::vector<THeadline> headlines,
                 std::vector<TTrend> trends, std::vector<TEvent> events);

    // The market as a month closes, from one pass over the properties: writes each area's
    // average buying price (owned properties included, to the nearest ten-thousandth of a
    // pound) and returns the sale value of the properties owned.
    static Money Survey(const std::array<TProperty, kPropertyCount>& properties,
                        std::array<Money, kAreaCount>& averagePrices);

    // The month `year`/`month` has run its course with these average prices: its record,
    // the net worth left for the caller to fill in, in place, where the report reads it.
    TMonth& CloseMonth(std::uint16_t year, std::int32_t month,
                       const std::array<Money, kAreaCount>& averagePrices) {
        TMonth& closing = months_.emplace_back();
        closing.Year = year;
        closing.Month = month;
        closing.AveragePrice = averagePrices;
        return closing;
    }
    // A headline appears: the one shown before it lands now.
    void HeadlineShown(int item, std::uint16_t year, std::int32_t month);
    void TrendDrawn(std::uint16_t year, int area, std::int32_t result);
    void EventHappened(TEventKind kind, std::uint16_t year, std::int32_t month);

    const std::vector<TMonth>& Months() const { return months_; }
    const std::vector<THeadline>& Headlines() const { return headlines_; }
    const std::vector<TTrend>& Trends() const { return trends_; }
    const std::vector<TEvent>& Events() const { return events_; }

    // Average buying price of each area, owned properties included, to the nearest
    // ten-thousandth of a pound.
    static std::array<Money, kAreaCount> AveragePrices(
        const std::array<TProperty, kPropertyCount>& properties) {
        std::array<Money, kAreaCount> averages;
        Survey(properties, averages);
        return averages;
    }

private:
    std::vector<TMonth> months_;
    std::vector<THeadline> headlines_;
    std::vector<TTrend> trends_;
    std::vector<TEvent> events_;
};
