#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/MarketHistory.h"
#include "engine/Money.h"
#include "engine/Move.h"
#include "engine/Random.h"
#include "engine/World.h"

// TGameState::FriendsWorth when no friend's result is known.
inline constexpr std::int64_t kNoFriendsWorth = -1;

// Everything that makes a game and decides how it goes on, as one value. The rules (TGame)
// write it; everything above the engine reads it. Each field is named here once, and
// ForEachField below lists them once for the saved game, the text front end's state answer
// and any comparison.
struct TGameState {
    std::array<TArea, kAreaCount> Areas;
    std::array<TProperty, kPropertyCount> Properties;
    std::array<TNewsItem, kNewsCount> NewsItems;
    Money Cash;
    Money Debt;
    Money MonthlyRepaymentTotal;
    std::uint16_t Stage = 0;
    std::uint16_t CrashTicks = 0;
    std::uint16_t Year = 0;
    std::int32_t Month = 0;
    std::int32_t CurrentArea = 0;
    bool Running = false;
    bool Paused = false;
    bool SoundOn = false;
    bool Engaged = false;
    bool CheatUsed = false;
    std::string FirstName;
    std::string LastName;
    std::string ContactAddress;
    TSelectionSide SelectionSide = TSelectionSide::None;
    TMortgageMode MortgageMode = TMortgageMode::None;
    TDamRenMode DamRenMode = TDamRenMode::None;
    std::int32_t MonthsPlayed = 0;
    std::int32_t MarketTrend = Steady;
    std::int32_t PendingNews = 0;
    std::vector<int> Selection;
    Money BuyTotal;
    Money SellTotal;
    Money DamRenAmount;
    TRandom Generator;
    // What the market did this game, for the Market Report; emptied by InitWorld.
    TMarketHistory History;
    // How many rows of each list (TList) are selected on screen, as the window last told.
    std::array<std::int32_t, 2> RowsSelected{};
    // The rest of the move in progress: the open question first, then what follows its
    // answer. Empty between moves that asked nothing.
    std::vector<TAgendaEntry> Agenda;
    // The answer to the question last closed, for the step that follows it.
    TAnswer LastAnswer;
    // This game is a challenge: dealt from a code, or its code given to a friend. Its end
    // gives the result to send back.
    bool ChallengeGame = false;
    // The worth a friend ended this challenge with, in whole pounds, from the result they sent;
    // kNoFriendsWorth while none is known.
    std::int64_t FriendsWorth = kNoFriendsWorth;

    TArea& Area(int a) { return Areas[static_cast<std::size_t>(a - 1)]; }
    TProperty& Property(int p) { return Properties[static_cast<std::size_t>(p - 1)]; }
    TNewsItem& News(int k) { return NewsItems[static_cast<std::size_t>(k - 1)]; }
    const TArea& Area(int a) const { return Areas[static_cast<std::size_t>(a - 1)]; }
    const TProperty& Property(int p) const { return Properties[static_cast<std::size_t>(p - 1)]; }
    const TNewsItem& News(int k) const { return NewsItems[static_cast<std::size_t>(k - 1)]; }

    bool operator==(const TGameState&) const = default;
};

// The bounds every saved game keeps to (docs/SAVEDGAME.md). Every amount stays within
// kLargestSavedAmount either way of zero, so that sums over all properties and the cash cannot
// overflow; a text is at most kLongestText bytes of UTF-8.
inline constexpr Money kLargestSavedAmount = Money::Pounds(5'000'000'000'000);
inline constexpr std::int64_t kLongestText = 4096;
inline constexpr std::int32_t kLargestCount = 1'000'000;
inline constexpr std::int32_t kMonthsInGame = 120;
// What a new deal gives the player.
inline constexpr Money kStartingCash = Money::Pounds(800000);
inline constexpr const char* kDefaultContactAddress = "realtopia@example.com";

// Where a field goes: into the saved game, into the state the text front end prints, or both.
// kDealt marks a field that every new deal (InitWorld) sets to its default.
enum TFieldUse : unsigned {
    kSaved = 1,
    kShown = 2,
    kSavedAndShown = kSaved | kShown,
    kDealt = 4,
};

// One field as ForEachField describes it: where it goes, the values the loader and the
// debugging setters accept, what a new deal sets it to and the saved game's first format
// version with it. docs/SAVEDGAME.md's table of fields is written from these.
struct TField {
    unsigned Use = 0;
    // How the loader names the field when it refuses it ("month is 13 (allowed 1..12)").
    const char* What = "";
    // When Ranged: numbers, modes and truth values lie in Low..High; amounts too, in
    // ten-thousandths of a pound; a text's length in bytes; each entry of a list or pair.
    bool Ranged = false;
    std::int64_t Low = 0;
    std::int64_t High = 0;
    // Set by every new deal when Use has kDealt: a number, a mode, an amount in
    // ten-thousandths of a pound, or a text.
    std::int64_t Default = 0;
    const char* DefaultText = "";
    std::uint32_t Since = 1;
    // What else the loader checks, as docs/SAVEDGAME.md says it.
    const char* Note = "";

    constexpr bool Holds(std::int64_t value) const {
        return !Ranged || (value >= Low && value <= High);
    }
    template <class Value>
    constexpr TField Dealt(Value value) const {
        TField f = *this;
        f.Use |= kDealt;
        if constexpr (std::is_same_v<Value, Money>)
            f.Default = value.Raw();
        else if constexpr (std::is_convertible_v<Value, const char*>)
            f.DefaultText = value;
        else
            f.Default = static_cast<std::int64_t>(value);
        return f;
    }
    constexpr TField SavedFrom(std::uint32_t version) const {
        TField f = *this;
        f.Since = version;
        return f;
    }
    constexpr TField Checked(const char* note) const {
        TField f = *this;
        f.Note = note;
        return f;
    }
};

constexpr TField Number(unsigned use, const char* what, std::int64_t low, std::int64_t high) {
    return {.Use = use, .What = what, .Ranged = true, .Low = low, .High = high};
}
constexpr TField Truth(unsigned use, const char* what) {
    return Number(use, what, 0, 1);
}
// An amount either way of zero.
constexpr TField Amount(unsigned use, const char* what) {
    return Number(use, what, -kLargestSavedAmount.Raw(), kLargestSavedAmount.Raw());
}
// A price, a debt or a total: never below zero, since one would pay the player for buying or
// borrowing.
constexpr TField Price(unsigned use, const char* what) {
    return Number(use, what, 0, kLargestSavedAmount.Raw());
}
constexpr TField Text(unsigned use, const char* what, std::int64_t longest = kLongestText) {
    return Number(use, what, 0, longest);
}
// A table, a list of records or the generator: its parts are checked as the note says.
constexpr TField Whole(unsigned use, const char* note) {
    return {.Use = use, .Note = note};
}

// Calls visit(name, field, TField) for every field, in the saved game's file order. Names are
// those of the text front end's state answer. Areas, properties and headlines are visited as
// arrays; their own fields follow below. A saved field is one line here and one row of
// docs/SAVEDGAME.md's table (a test compares them).
template <class State, class Visit>
requires std::same_as<std::remove_const_t<State>, TGameState>
void ForEachField(State& s, Visit&& visit) {
    constexpr unsigned kBoth = kSavedAndShown;
    visit("areas", s.Areas, Whole(kBoth, "6 areas, fields below"));
    visit("properties", s.Properties, Whole(kBoth, "120 properties, fields below"));
    visit("news", s.NewsItems, Whole(kBoth, "40 headlines, fields below"));
    visit("cash", s.Cash, Amount(kBoth, "cash").Dealt(kStartingCash));
    visit("debt", s.Debt, Price(kBoth, "debt").Dealt(Money()));
    visit("monthlyRepaymentTotal", s.MonthlyRepaymentTotal,
          Price(kBoth, "repayment total")
              .Dealt(Money())
              .Checked("the sum of the properties' repayments"));
    visit("stage", s.Stage, Number(kBoth, "stage", 1, 3).Dealt(1));
    visit("crashTicks", s.CrashTicks, Number(kBoth, "crash count", 0, kMonthsInGame).Dealt(0));
    visit("year", s.Year, Number(kBoth, "year", 2000, 2009).Dealt(2000));
    visit("month", s.Month, Number(kBoth, "month", 1, 12).Dealt(1));
    visit("currentArea", s.CurrentArea, Number(kBoth, "area", 1, kAreaCount).Dealt(1));
    // A resumed game starts paused, with the program's own sound option.
    visit("running", s.Running, Truth(kShown, "running").Dealt(false));
    visit("paused", s.Paused, Truth(kShown, "paused").Dealt(false));
    visit("soundOn", s.SoundOn, Truth(kShown, "sound"));
    visit("engaged", s.Engaged, Truth(kBoth, "engaged"));
    visit("cheatUsed", s.CheatUsed, Truth(kBoth, "cash bonus used"));
    visit("firstName", s.FirstName, Text(kBoth, "first name").Dealt("unknown"));
    visit("lastName", s.LastName, Text(kBoth, "last name").Dealt("unknown"));
    visit("contactAddress", s.ContactAddress,
          Text(kBoth, "contact address").Dealt(kDefaultContactAddress));
    visit("selectionSide", s.SelectionSide,
          Number(kBoth, "selection side", 0, 2).Dealt(TSelectionSide::None));
    visit("mortgageMode", s.MortgageMode,
          Number(kBoth, "mortgage mode", 0, 2).Dealt(TMortgageMode::None));
    visit("damRenMode", s.DamRenMode,
          Number(kSaved, "damage/renovate mode", 0, 2).Dealt(TDamRenMode::None));
    visit("monthsPlayed", s.MonthsPlayed, Number(kBoth, "months played", 0, kMonthsInGame - 1));
    visit("marketTrend", s.MarketTrend, Number(kBoth, "market trend", Steady, Fallen));
    visit("pendingNews", s.PendingNews, Number(kBoth, "pending headline", 0, kNewsCount));
    visit("selection", s.Selection,
          Number(kBoth, "selected property", 1, kPropertyCount)
              .Checked("each once; with selectionSide 1 (for sale) none owned, with 2 "
                       "(portfolio) all owned"));
    visit("buyTotal", s.BuyTotal, Price(kBoth, "buying total"));
    visit("sellTotal", s.SellTotal, Price(kBoth, "selling total"));
    visit("damRenAmount", s.DamRenAmount, Price(kSaved, "damage or renovation"));
    visit("random", s.Generator, Whole(kSaved, "not all zero"));
    visit("history", s.History, Whole(kSaved, "the Market Report's lists, below"));
    visit("rowsSelected", s.RowsSelected,
          Number(kSaved, "rows selected", 0, kPropertyCount).SavedFrom(2));
    visit("agenda", s.Agenda,
          Whole(kSaved,
                "question 0..6, step 0..23; empty, or a question first; each entry a "
                "question or a step")
              .SavedFrom(2));
    visit("answer", s.LastAnswer, Whole(kSaved, "yes, then a text").SavedFrom(2));
    visit("challenge", s.ChallengeGame, Truth(kSaved, "challenge").Dealt(false).SavedFrom(4));
    visit("friendsWorth", s.FriendsWorth,
          Number(kSaved, "friend's worth", kNoFriendsWorth, UINT32_MAX)
              .Dealt(kNoFriendsWorth)
              .Checked("-1: none known")
              .SavedFrom(4));
}

template <class Area, class Visit>
requires std::same_as<std::remove_const_t<Area>, TArea>
void ForEachField(Area& a, Visit&& visit) {
    visit("name", a.Name, Text(kSavedAndShown, "name"));
    visit("lowestPrice", a.LowestPrice, Price(kSavedAndShown, "lowest price"));
}

template <class Property, class Visit>
requires std::same_as<std::remove_const_t<Property>, TProperty>
void ForEachField(Property& p, Visit&& visit) {
    constexpr unsigned kBoth = kSavedAndShown;
    visit("name", p.Name, Text(kBoth, "name"));
    visit("description", p.Description, Text(kBoth, "description"));
    visit("damageCount", p.DamageCount, Number(kBoth, "damage count", 0, kLargestCount));
    visit("soldCount", p.SoldCount, Number(kBoth, "sale count", 0, kLargestCount));
    visit("area", p.Area,
          Number(kBoth, "area", 1, kAreaCount).Checked("the area of its number, (n - 1) / 20 + 1"));
    visit("buy", p.BuyPrice, Price(kBoth, "buying price").Checked("halved: within half the range"));
    visit("sale", p.SaleValue, Price(kBoth, "sale value").Checked("halved: within half the range"));
    visit("monthlyRepayment", p.MonthlyRepayment,
          Price(kBoth, "monthly repayment").Checked("none without a mortgage"));
    visit("flags", p.Flags,
          Number(kBoth, "flags", 0, 0x2F)
              .Checked("Owned 1, Damaged 2, Renovated 4, Mortgaged 8, Halved 0x20 only; "
                       "Mortgaged only with Owned"));
    visit("done", p.DoneImprovements, Number(kBoth, "improvements done", 0, 0xFFFF));
}

template <class News, class Visit>
requires std::same_as<std::remove_const_t<News>, TNewsItem>
void ForEachField(News& item, Visit&& visit) {
    visit("headline", item.Headline, Text(kSaved, "text"));
    visit("kind", item.Kind, Number(kSaved, "kind", NoEffect, Windfall));
    visit("magnitude", item.Magnitude,
          Number(kSaved, "size", 0, 10).Checked("0 unless Boom (1) or Slump (2)"));
    visit("target", item.Target,
          Number(kSaved, "target", INT32_MIN, INT32_MAX)
              .Checked("Boom, Slump: area 0..6; Windfall: the pounds won or lost; NoEffect: 0"));
    visit("shown", item.Shown, Truth(kSavedAndShown, "shown"));
}

// Sets a number, a mode, an amount or a text to the default its line gives.
template <class Value>
void SetToDefault(Value& field, const TField& f) {
    if constexpr (std::is_same_v<Value, Money>)
        field = Money::FromRaw(f.Default);
    else if constexpr (std::is_same_v<Value, std::string>)
        field = f.DefaultText;
    else if constexpr (std::is_enum_v<Value> || std::is_integral_v<Value>)
        field = static_cast<Value>(f.Default);
}

// Every field marked kDealt set to its default, as a new deal begins.
inline void DealDefaults(TGameState& state) {
    ForEachField(state, [](const char*, auto& field, const TField& f) {
        if (f.Use & kDealt) SetToDefault(field, f);
    });
}

// The line of the field of that name in Record's list (TGameState's, TProperty's, …); an
// empty one, which holds every value, for none.
template <class Record = TGameState>
TField FieldNamed(std::string_view name) {
    static const Record blank;
    TField found;
    ForEachField(blank, [&found, name](const char* n, const auto&, const TField& f) {
        if (name == n) found = f;
    });
    return found;
}
