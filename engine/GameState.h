#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/MarketHistory.h"
#include "engine/Money.h"
#include "engine/Move.h"
#include "engine/Random.h"
#include "engine/World.h"

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

    TArea& Area(int a) { return Areas[static_cast<std::size_t>(a - 1)]; }
    TProperty& Property(int p) { return Properties[static_cast<std::size_t>(p - 1)]; }
    TNewsItem& News(int k) { return NewsItems[static_cast<std::size_t>(k - 1)]; }
    const TArea& Area(int a) const { return Areas[static_cast<std::size_t>(a - 1)]; }
    const TProperty& Property(int p) const { return Properties[static_cast<std::size_t>(p - 1)]; }
    const TNewsItem& News(int k) const { return NewsItems[static_cast<std::size_t>(k - 1)]; }

    bool operator==(const TGameState&) const = default;
};

// Where a field goes: into the saved game, into the state the text front end prints, or both.
// kSince2 marks a field that saved games carry from format version 2 on.
enum TFieldUse : unsigned {
    kSaved = 1,
    kShown = 2,
    kSavedAndShown = kSaved | kShown,
    kSince2 = 4,
};

// Calls visit(name, field, use) for every field, in the saved game's file order
// (docs/SAVEDGAME.md). Names are those of the text front end's state answer. Areas,
// properties and headlines are visited as arrays; their own fields follow below.
template <class State, class Visit>
requires std::same_as<std::remove_const_t<State>, TGameState>
void ForEachField(State& s, Visit&& visit) {
    visit("areas", s.Areas, kSavedAndShown);
    visit("properties", s.Properties, kSavedAndShown);
    visit("news", s.NewsItems, kSavedAndShown);
    visit("cash", s.Cash, kSavedAndShown);
    visit("debt", s.Debt, kSavedAndShown);
    visit("monthlyRepaymentTotal", s.MonthlyRepaymentTotal, kSavedAndShown);
    visit("stage", s.Stage, kSavedAndShown);
    visit("crashTicks", s.CrashTicks, kSavedAndShown);
    visit("year", s.Year, kSavedAndShown);
    visit("month", s.Month, kSavedAndShown);
    visit("currentArea", s.CurrentArea, kSavedAndShown);
    // A resumed game starts paused, with the program's own sound option.
    visit("running", s.Running, kShown);
    visit("paused", s.Paused, kShown);
    visit("soundOn", s.SoundOn, kShown);
    visit("engaged", s.Engaged, kSavedAndShown);
    visit("cheatUsed", s.CheatUsed, kSavedAndShown);
    visit("firstName", s.FirstName, kSavedAndShown);
    visit("lastName", s.LastName, kSavedAndShown);
    visit("contactAddress", s.ContactAddress, kSavedAndShown);
    visit("selectionSide", s.SelectionSide, kSavedAndShown);
    visit("mortgageMode", s.MortgageMode, kSavedAndShown);
    visit("damRenMode", s.DamRenMode, kSaved);
    visit("monthsPlayed", s.MonthsPlayed, kSavedAndShown);
    visit("marketTrend", s.MarketTrend, kSavedAndShown);
    visit("pendingNews", s.PendingNews, kSavedAndShown);
    visit("selection", s.Selection, kSavedAndShown);
    visit("buyTotal", s.BuyTotal, kSavedAndShown);
    visit("sellTotal", s.SellTotal, kSavedAndShown);
    visit("damRenAmount", s.DamRenAmount, kSaved);
    visit("random", s.Generator, kSaved);
    visit("history", s.History, kSaved);
    visit("rowsSelected", s.RowsSelected, kSaved | kSince2);
    visit("agenda", s.Agenda, kSaved | kSince2);
    visit("answer", s.LastAnswer, kSaved | kSince2);
}

template <class Area, class Visit>
requires std::same_as<std::remove_const_t<Area>, TArea>
void ForEachField(Area& a, Visit&& visit) {
    visit("name", a.Name, kSavedAndShown);
    visit("lowestPrice", a.LowestPrice, kSavedAndShown);
}

template <class Property, class Visit>
requires std::same_as<std::remove_const_t<Property>, TProperty>
void ForEachField(Property& p, Visit&& visit) {
    visit("name", p.Name, kSavedAndShown);
    visit("description", p.Description, kSavedAndShown);
    visit("damageCount", p.DamageCount, kSavedAndShown);
    visit("soldCount", p.SoldCount, kSavedAndShown);
    visit("area", p.Area, kSavedAndShown);
    visit("buy", p.BuyPrice, kSavedAndShown);
    visit("sale", p.SaleValue, kSavedAndShown);
    visit("monthlyRepayment", p.MonthlyRepayment, kSavedAndShown);
    visit("flags", p.Flags, kSavedAndShown);
    visit("done", p.DoneImprovements, kSavedAndShown);
}

template <class News, class Visit>
requires std::same_as<std::remove_const_t<News>, TNewsItem>
void ForEachField(News& item, Visit&& visit) {
    visit("headline", item.Headline, kSaved);
    visit("kind", item.Kind, kSaved);
    visit("magnitude", item.Magnitude, kSaved);
    visit("target", item.Target, kSaved);
    visit("shown", item.Shown, kSavedAndShown);
}
