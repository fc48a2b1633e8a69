#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameState.h"
#include "engine/MarketHistory.h"
#include "engine/Money.h"
#include "engine/Random.h"
#include "engine/World.h"

class TGame;

// A game in progress kept between runs of the program, in the file described in
// docs/SAVEDGAME.md.

inline constexpr const char* kSavedGameFileName = "REALTOPI.SAV";

struct TSavedRow {
    std::string Text;
    bool Selected = false;
    // The property the row showed (1..120); 0 in a file of format 2 or older, which kept only
    // the text.
    std::int32_t Property = 0;

    bool operator==(const TSavedRow&) const = default;
};

// What the main window showed that cannot be worked out from the game itself. The engine keeps
// it for the window logic and checks only that it is of sensible size.
struct TSavedWindow {
    std::string Caption;
    std::string Status;
    std::string CashPanel;
    std::string PortfolioPanel;
    std::string DebtPanel;
    std::string Info;
    std::string AreaCaption;
    std::string TrendText;
    std::int32_t TrendPicture = 0;  // steady, risen, fallen
    std::string StageText;
    std::string MonthLabel;
    std::int32_t Clock = 1;
    std::string BuySellCaption;
    std::string DamRenCaption;
    std::string MortgageCaption;
    std::string TickerText;
    bool TickerActive = false;
    bool TickerOnScreen = false;
    std::int32_t TimerInterval = 0;  // of the main timer, in milliseconds
    std::int32_t TimerLeft = 0;      // of the month in progress, in milliseconds
    std::int32_t Progress = 0;
    std::string Typed;  // the letters of the cash-bonus phrase typed so far
    std::vector<TSavedRow> Avail;
    std::vector<TSavedRow> Portfolio;

    bool operator==(const TSavedWindow&) const = default;
};

// Everything that makes a game and decides how it goes on. The world's fixed tables (month and
// improvement names) and the player's options (sound, ticker speed) are not part of it.
struct TSavedGame {
    static constexpr char kMagic[8] = {'R', 'T', 'O', 'P', 'S', 'A', 'V', '\x1A'};
    // Every older version still loads, without the fields added since (a field's SavedFrom in
    // ForEachField). Format 2 added the rows selected and the move waiting for an answer,
    // format 3 the property each list row showed, format 4 whether the game is a challenge and
    // the friend's worth on it.
    static constexpr std::uint32_t kFormatVersion = 4;
    static constexpr std::size_t kHeaderSize = 20;
    static constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;
    static constexpr std::size_t kMaxTextBytes = kLongestText;
    static constexpr std::size_t kMaxTypedBytes = 64;
    static constexpr Money kLargestAmount = kLargestSavedAmount;

    // The game, less what a resumed game takes from the program (the clock stands paused, the
    // sound option is the program's): ForEachField's saved fields.
    TGameState State;
    TSavedWindow Window;

    static TSavedGame Capture(const TGame& game, TSavedWindow window);
    // Puts the saved game into `game`, paused. The sound option stays as the program has it,
    // and a cash bonus used in this run stays used.
    void ApplyTo(TGame& game) const;
    // The net worth of the saved game under the rules of `like`, which is not changed.
    Money NetWorth(const TGame& like) const;

    // Empty when every value lies in its range; otherwise the first that does not.
    std::string Problem() const;

    // The file image in the current format, or as an older version wrote it (without the
    // fields added since).
    std::string ToBytes(std::uint32_t version = kFormatVersion) const;
    // The file image around a payload: magic word, format version, length and checksum.
    static std::string Seal(const std::string& payload, std::uint32_t version = kFormatVersion);
    // Decodes and checks a file image. False, with `why` and `saved` untouched, for anything
    // truncated, corrupt, of a newer format version or out of range. The fields an older
    // version lacks take their defaults for a new deal.
    static bool FromBytes(const std::string& bytes, TSavedGame& saved, std::string& why);
};

enum class TSavedGameRead { Read, Missing, Unreadable };

// Reads and checks the saved game at `path` (a regular file only, never blocking).
// Unreadable: `why` says what is wrong and `saved` is untouched.
TSavedGameRead ReadSavedGame(const std::string& path, TSavedGame& saved, std::string& why);
// Writes the game whole and safely; a game out of range is not written. False, with `why`, on
// failure, leaving any older file as it was.
bool WriteSavedGame(const std::string& path, const TSavedGame& saved, std::string& why);
// Removes the file at `path` (not a directory); true when nothing is left there.
bool RemoveSavedGame(const std::string& path);
// Renames an unreadable file to `path` + ".bad", replacing an older one, so that it is never
// read again but nothing is lost.
bool SetAsideSavedGame(const std::string& path);
