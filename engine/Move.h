#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameEvent.h"

// What the damage/renovate chooser is open for.
enum class TDamRenMode : std::int8_t { None, Damage, Renovate };

// The two property lists: what is for sale in the current area, and the player's portfolio.
enum class TList : std::int8_t { Avail, Portfolio };

// What a rule asks the player. A question ends the move that asked it; the game waits, with
// the question in its state, until the answer comes as the next move.
enum class TQuestionKind : std::int8_t {
    None,
    Information,  // Text; answered by OK
    Error,        // Caption, Text; answered by OK
    YesNo,        // Text; answered Yes or No
    Input,        // Caption, Text (the prompt), Default; answered by OK with a text, or Cancel
    Police,       // Text: the police window; answered by OK
    Chooser,      // the damage/renovate chooser (TGameState::DamRenMode); picks, then OK/Cancel
};

struct TQuestion {
    TQuestionKind Kind = TQuestionKind::None;
    std::string Caption;
    std::string Text;
    std::string Default;

    bool operator==(const TQuestion&) const = default;
};

// Where a rule that asked goes on once the answer has come: each names the rest of a move.
// Saved games keep them by number: append, never renumber.
enum class TStep : std::int8_t {
    None,
    TradeDone,          // the end of Buy/Sell: the selections cleared, the panels redrawn
    SellRefused,        // a mortgaged property was in the block: nothing sold
    SellFines,          // Index: the first property of the selection still to be looked at
    SellFined,          // Index: the selection's property just fined
    MortgageChosen,     // after the box about the rows selected: mortgage or redeem
    MortgageDone,       // after mortgaging or redeeming: the panels
    DamageChosen,       // the chooser closed on a property for sale
    DamageFined,        // the vandal's fine is paid, then the damage
    DamRenResumed,      // the clock goes on after the chooser
    DamRenDone,         // the end of Damage/Renovate: the selections cleared, the panels
    RenovateChosen,     // the chooser closed on an owned property (Index: the items done before)
    RenovateRefused,    // the renovation was not afforded (Index: the items done before)
    BankBonus,          // the banks' message read: the bonus, then the Guru's check
    CrashAnswered,      // the Guru answered whether to crash the market
    GuruDeclined,       // the Guru who declined has read why: the game ends
    MonthGoesOn,        // the rest of a month after its duties
    ReckoningRead,      // the final reckoning read: the score and the hi-score table
    HiScoreAnnounced,   // the player knows they are on the table: names, if unknown
    FirstNameTyped,     // the first name's box closed
    LastNameTyped,      // the last name's box closed
    AnotherGame,        // ask whether to play again
    AnotherGameAnswer,  // a new world, or the end of the program
    NewGameDealt,       // the new world is dealt and its boxes read: the window starts over
};

// One thing the rest of a move still has to do, in order: ask (Question.Kind is not None) or
// carry on with a step.
struct TAgendaEntry {
    TQuestion Question;
    TStep Step = TStep::None;
    std::int32_t Index = 0;

    bool IsQuestion() const { return Question.Kind != TQuestionKind::None; }
    bool operator==(const TAgendaEntry&) const = default;
};

// The player's answer to the open question: Yes for Yes or OK, and the text typed.
struct TAnswer {
    bool Yes = false;
    std::string Text;

    bool operator==(const TAnswer&) const = default;
};

// Everything that changes a game, as a value. TGame::Apply takes one at a time; its events go
// to the game's outbox, and it leaves at most one question open.
enum class TMoveKind : std::int8_t {
    Tick,              // the game clock's event: a month (or the ticker's invitation)
    ChooseArea,        // Number: the area, 1..6
    SelectRows,        // List, Number: how many rows of the list are selected on screen
    Select,            // Side, Properties: a selection made in one list
    ForgetSelection,   // no list's selection counts any more
    SettleSelection,   // the totals and modes follow the selection (before a redraw)
    BuyOrSell,         // F6
    MortgageOrRedeem,  // F7
    DamageOrRenovate,  // F5: opens the chooser
    Pick,              // Number: the chooser's item, 1..8
    Start,             // PLAY: a new game's clock starts
    Pause,             // the clock stops
    Resume,            // the clock goes on
    StopClock,         // the clock does not run (the window is reset or shown)
    Engage,            // the player's first click on a list
    Disengage,         // back to a game the player has not taken part in
    ResetPlay,         // back to the start of play
    CashPhrase,        // the cash phrase was typed
    SoundOn,           // Flag: the sound option
    QuitAndReplay,     // the menu's Quit and Replay
    Answer,            // Answer: the open question's answer
};

struct TMove {
    TMoveKind Kind = TMoveKind::Tick;
    std::int32_t Number = 0;
    TList List = TList::Avail;
    TSelectionSide Side = TSelectionSide::None;
    bool Flag = false;
    std::vector<int> Properties;
    TAnswer Reply;

    static TMove Of(TMoveKind kind) {
        TMove move;
        move.Kind = kind;
        return move;
    }
    static TMove Numbered(TMoveKind kind, int number) {
        TMove move = Of(kind);
        move.Number = number;
        return move;
    }
    static TMove Answering(bool yes, std::string text = {}) {
        TMove move = Of(TMoveKind::Answer);
        move.Reply = {yes, std::move(text)};
        return move;
    }
    bool operator==(const TMove&) const = default;
};
