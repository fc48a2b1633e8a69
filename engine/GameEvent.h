#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Money.h"

// Which list a selection came from, if any.
enum class TSelectionSide : std::int8_t { None, ForSale, Portfolio };
// What the mortgage button offers for the selection.
enum class TMortgageMode : std::int8_t { None, CanMortgage, CanRedeem };
// The program's three sounds.
enum class TSound { Click, MeepMeep, GameOver };

// The resource name of a sound ("CLICK", "MEEPMEEP", "GAMEOVER").
inline const char* SoundResourceName(TSound sound) {
    switch (sound) {
        case TSound::MeepMeep:
            return "MEEPMEEP";
        case TSound::GameOver:
            return "GAMEOVER";
        case TSound::Click:
            break;
    }
    return "CLICK";
}

// What happened in the game that the window shows. A rule appends these to the game's outbox
// in the order they happen; the window logic takes them after each move and applies them to
// its view in that order.
enum class TGameEventKind : std::uint8_t {
    PanelsChanged,      // the panels show the game (Panels: the figures of that moment)
    CashChanged,        // Amount: the cash now
    ListsChanged,       // the lists' rows follow the properties
    AreaChanged,        // the current area's frame, rows and average price
    SelectionsCleared,  // no row of either list is selected
    NewGame,            // a new world was dealt after a game's end: the window starts over
    Paused,             // the clock stops; trading is closed
    Resumed,            // the clock goes on; trading opens (Panels: the figures of that moment)
    StatusText,         // Text: the status bar
    NetWorth,           // Amount: the month's net worth, for the status bar
    DateChanged,        // Number, Year: the month and year now shown
    Progress,           // Number: the months played
    ProgressFull,       // the game is over: the gauge is full
    PlayEnabled,        // the PLAY button may be pressed
    ClockStopped,       // the main timer stops for good
    TickerStopped,      // the ticker halts
    TickerText,         // Text: the ticker's new text
    TickerActive,       // Flag: the ticker runs or stands
    Sound,              // Sound, Flag: wait until it has played
    ProgramEnds,        // the player leaves the program
};

// The figures the panels are drawn from, as they were when the rule asked for a redraw: a
// box shown later in the same move must not find a later value behind it.
struct TPanelFigures {
    Money Cash;
    Money Debt;
    Money Repayment;
    TSelectionSide Side = TSelectionSide::None;
    TMortgageMode Mortgage = TMortgageMode::None;
    int Trend = 0;
    int Stage = 1;
};

struct TGameEvent {
    TGameEventKind Kind = TGameEventKind::PanelsChanged;
    Money Amount;
    int Number = 0;
    int Year = 0;
    bool Flag = false;
    TSound Sound = TSound::Click;
    TPanelFigures Panels;
    std::string Text;
};

// The game's outbox: events in order, taken one by one. Its slots are reused once taken, so a
// month that appends the same events as the last costs no allocation.
class TGameEvents {
public:
    // A new event at the end; the caller fills in its payload.
    TGameEvent& Push(TGameEventKind kind) {
        if (used_ == slots_.size()) slots_.emplace_back();
        TGameEvent& event = slots_[used_++];
        event.Kind = kind;
        event.Amount = Money();
        event.Number = 0;
        event.Year = 0;
        event.Flag = false;
        event.Sound = TSound::Click;
        event.Panels = TPanelFigures();
        event.Text.clear();  // keeps its room for the next text
        return event;
    }
    bool Empty() const { return next_ == used_; }
    std::size_t Size() const { return used_ - next_; }
    // The first event not yet taken, copied into `event`; false when there is none.
    bool Take(TGameEvent& event) {
        if (next_ == used_) {
            Clear();
            return false;
        }
        event = slots_[next_++];
        if (next_ == used_) Clear();
        return true;
    }
    // Taking events in place: between BeginTaking and the matching EndTaking, Next gives the
    // first event not yet taken where it lies, or null when there is none. It holds until the
    // next Push (which may move the slots) and is never overwritten before the outermost
    // EndTaking: the slots are reused only once every taker has finished.
    void BeginTaking() { ++takers_; }
    const TGameEvent* Next() { return next_ == used_ ? nullptr : &slots_[next_++]; }
    void EndTaking() {
        if (--takers_ == 0 && next_ == used_) Clear();
    }
    // Forgets every event not yet taken (a caller with no window to show them).
    void Clear() { used_ = next_ = 0; }

private:
    std::vector<TGameEvent> slots_;
    std::size_t used_ = 0;
    std::size_t next_ = 0;
    int takers_ = 0;
};
