#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Money.h"

// The records of the game world and the fixed tables they are filled from.

inline constexpr const char* kApplicationTitle = "Realtopia";

// The version ("2000.10.24") and the build number shown on the splash, in the About box and
// by --version ("20001024.0"), both given by the build from the project's one version.
inline constexpr const char* kVersion = REALTOPIA_VERSION;
inline constexpr const char* kBuildNumber = REALTOPIA_BUILD;

inline constexpr int kAreaCount = 6;
inline constexpr int kPropertyCount = 120;
inline constexpr int kPropertiesPerArea = 20;
inline constexpr int kNewsCount = 40;
inline constexpr int kImprovementCount = 16;

struct TArea {
    std::string Name;
    Money LowestPrice;
};

// Property flags.
enum : std::uint16_t {
    Owned = 0x01,
    Damaged = 0x02,
    Renovated = 0x04,
    Mortgaged = 0x08,
    Halved = 0x20,
};

struct TProperty {
    std::string Name;
    std::string Description;
    std::int32_t DamageCount = 0;
    std::int32_t SoldCount = 0;
    std::int32_t Area = 0;
    Money BuyPrice;
    Money SaleValue;
    Money MonthlyRepayment;
    std::uint16_t Flags = 0;
    std::uint16_t DoneImprovements = 0;

    bool Has(std::uint16_t flag) const { return (Flags & flag) != 0; }
    // Moves both prices by `delta`. Neither falls below zero: a slump, a falling trend or a
    // damage bigger than a (customised) price leaves it at nothing rather than paying the
    // buyer.
    void MovePrices(Money delta) {
        BuyPrice = std::max(BuyPrice + delta, Money());
        SaleValue = std::max(SaleValue + delta, Money());
    }
};

enum TNewsKind : std::uint8_t { NoEffect = 0, Boom = 1, Slump = 2, Windfall = 3 };

struct TNewsItem {
    std::string Headline;
    std::uint8_t Kind = NoEffect;
    std::uint8_t Magnitude = 0;
    std::int32_t Target = 0;
    bool Shown = false;
};

enum TMarketTrend : std::int32_t { Steady = 0, Risen = 1, Fallen = 2 };

// A trend's name, as the Market Report's log and every front end's data write it.
constexpr const char* TrendName(std::int32_t trend) {
    return trend == Risen ? "risen" : trend == Fallen ? "fallen" : "steady";
}

// Fixed tables, in number order (string views, so a new game copies them without
// measuring them again) (index 0 is number 1).
namespace world {

struct AreaRow {
    std::string_view Name;
    std::int64_t StartingLowestPriceRaw;  // ten-thousandths of a pound
};
struct NewsRow {
    std::string_view Headline;
    TNewsKind Kind;
    std::uint8_t Magnitude;
    std::int32_t Target;
};

extern const std::array<AreaRow, kAreaCount> kAreas;
extern const std::array<std::string_view, kPropertyCount> kPropertyNames;
extern const std::array<std::string_view, kPropertyCount> kPropertyDescriptions;
extern const std::array<NewsRow, kNewsCount> kNews;
extern const std::array<std::string_view, 12> kMonthNames;
extern const std::array<std::string_view, kImprovementCount> kImprovementNames;
extern const std::array<std::string_view, 3> kStageNames;

}  // namespace world
