#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/ChallengeCode.h"
#include "engine/Move.h"

class TGame;
struct THiRecord;

// One move of a recorded game, with when it was made: the game's month (0 for January 2000,
// counting on) and its place among the moves of that month (0 for the first).
struct TRecordedMove {
    std::int32_t Month = 0;
    std::int32_t Step = 0;
    TMove Move;

    bool operator==(const TRecordedMove&) const = default;
};

// A whole game as the moves that made it: the challenge code its world was dealt from, whether
// the sound option began on, and every move the rules took, up to the reckoning. The text file
// it is kept in is described in docs/RECORDS.md.
struct TGameRecord {
    static constexpr int kFormatVersion = 1;
    static constexpr std::size_t kMaxFileSize = std::size_t{8} << 20;

    TChallenge Code;
    bool Sound = false;
    std::vector<TRecordedMove> Moves;
    // The game reached its reckoning with the last move; State is then the digest of the game
    // as it stood (StateDigest).
    bool Finished = false;
    std::uint64_t State = 0;

    bool operator==(const TGameRecord&) const = default;

    std::string ToText() const;
    // False, with `why` and `record` untouched, for a text that is not a record of this format.
    static bool FromText(const std::string& text, TGameRecord& record, std::string& why);
};

// The record's month of a game date.
inline std::int32_t RecordMonth(int year, int month) {
    return (year - 2000) * 12 + (month - 1);
}

// The saved game's format whose image of the state a record's digest covers. Fixed, so that
// records kept before the saved game gained a field still verify; the fields added since
// (whether the game is a challenge, a friend's figure on it) are the player's, not the market's.
inline constexpr std::uint32_t kDigestedFormat = 3;
// A digest of the game's state (its image in kDigestedFormat, and the running, paused and
// sound flags), for telling two games apart.
std::uint64_t StateDigest(const TGame& game);

// Reads a record file (a regular file, never blocking); false with `why`.
bool ReadGameRecord(const std::string& path, TGameRecord& record, std::string& why);
// Writes it whole and safely (SafeReplace), readable by its owner only.
bool WriteGameRecord(const std::string& path, const TGameRecord& record);

// Where the record of a hi-score entry is kept: beside the table, named by the entry.
std::string EntryRecordPath(const std::string& tablePath, const THiRecord& entry);

enum class TReplayVerdict { Replayed, CustomisedMarket, DoesNotReplay };

struct TReplayResult {
    TReplayVerdict Verdict = TReplayVerdict::DoesNotReplay;
    int MoveNumber = 0;  // of the move refused, from 1; 0 when the deal itself was refused
    std::string Why;

    // "does not replay: move 12 (Answer) ..." and the like, for a person to read.
    std::string Text() const;
};

// A record played one move at a time, in a game made for replaying (a platform that keeps no
// records): ReplayRecord runs it to its end, watching a game in the window steps it.
class TReplay {
public:
    explicit TReplay(TGameRecord record) : record_(std::move(record)) {}

    // Deals the record's challenge in `game`, as ReplayRecord says. False, with Result() saying
    // why, when the market cannot be dealt here.
    bool Deal(TGame& game);
    // Applies the next move. False, with Result() saying why, when the move is refused.
    bool Step(TGame& game);
    bool AtEnd() const { return next_ >= record_.Moves.size(); }
    // Once every move is in: Replayed, or why the game reached is not the one recorded.
    const TReplayResult& Finish(const TGame& game);
    const TReplayResult& Result() const { return result_; }
    const TGameRecord& Record() const { return record_; }
    // The next move's kind; only before the end.
    TMoveKind NextKind() const { return record_.Moves[next_].Move.Kind; }

private:
    TGameRecord record_;
    std::size_t next_ = 0;
    TReplayResult result_;
};

// Plays `record` in `game`: deals its challenge (with the customisation file of the game's
// platform when that is the one the code names, else as built in) and applies its moves one by
// one. `game` must be made for replaying: a platform that keeps no records.
TReplayResult ReplayRecord(const TGameRecord& record, TGame& game);

// Replays the record kept with a hi-score entry of the table at `tablePath`, under the rules of
// `platform` (nothing is written): "verified" only when it replays and its game, engaged, ends
// worth exactly the entry's score. Verdict DoesNotReplay with MoveNumber 0 and Why "no record"
// when there is none.
TReplayResult VerifyEntry(const std::string& tablePath, const THiRecord& entry,
                          const struct TPlatform& platform);

// Goes on with `record` in `game`, just resumed from its saved file: when the record, with the
// resumption (the clock paused, the program's sound option), leads to exactly that game, the
// game keeps recording; otherwise its record is closed and is not kept with a hi-score.
bool ResumeRecord(const TGameRecord& record, TGame& game);
