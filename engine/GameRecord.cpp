// Game records: their text, their files, and playing one again.

#include "engine/GameRecord.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <sstream>

#include "engine/Game.h"
#include "engine/Hisc.h"
#include "engine/RegularFile.h"
#include "engine/SafeReplace.h"
#include "engine/SavedGame.h"

namespace {

constexpr const char* kFirstLine = "Realtopia game record";

// By TMoveKind's order; a record names kinds, so the enum may grow at its end only.
constexpr std::array<const char*, 21> kKindNames = {"Tick",
                                                    "ChooseArea",
                                                    "SelectRows",
                                                    "Select",
                                                    "ForgetSelection",
                                                    "SettleSelection",
                                                    "BuyOrSell",
                                                    "MortgageOrRedeem",
                                                    "DamageOrRenovate",
                                                    "Pick",
                                                    "Start",
                                                    "Pause",
                                                    "Resume",
                                                    "StopClock",
                                                    "Engage",
                                                    "Disengage",
                                                    "ResetPlay",
                                                    "CashPhrase",
                                                    "SoundOn",
                                                    "QuitAndReplay",
                                                    "Answer"};
static_assert(static_cast<std::size_t>(TMoveKind::Answer) + 1 == kKindNames.size());

std::uint64_t Fnv(std::string_view bytes, std::uint64_t hash = 0xCBF29CE484222325ULL) {
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001B3ULL;
    return hash;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out + '"';
}

// The quoted text at the start of `rest`; false for one not closed.
bool Unquoted(std::string_view rest, std::string& text) {
    if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"') return false;
    text.clear();
    for (std::size_t i = 1; i + 1 < rest.size(); ++i) {
        char c = rest[i];
        if (c == '"') return false;
        if (c == '\\') {
            if (++i + 1 >= rest.size()) return false;
            c = rest[i] == 'n' ? '\n' : rest[i] == 'r' ? '\r' : rest[i];
        }
        text += c;
    }
    return true;
}

std::string MoveLine(const TRecordedMove& recorded) {
    const TMove& m = recorded.Move;
    // Appended piece by piece: GCC 12 at -O3 takes `"text" + string` for an overlapping copy
    // (-Wrestrict) that cannot happen.
    std::string line = std::to_string(recorded.Month);
    line += ' ';
    line += std::to_string(recorded.Step);
    line += ' ';
    line += kKindNames[static_cast<std::size_t>(m.Kind)];
    if (m.Number != 0) {
        line += " n=";
        line += std::to_string(m.Number);
    }
    if (m.List != TList::Avail) line += " list=1";
    if (m.Side != TSelectionSide::None) {
        line += " side=";
        line += std::to_string(static_cast<int>(m.Side));
    }
    if (m.Flag) line += " flag=1";
    if (!m.Properties.empty()) {
        line += " p=";
        for (std::size_t i = 0; i < m.Properties.size(); ++i) {
            if (i != 0) line += ',';
            line += std::to_string(m.Properties[i]);
        }
    }
    if (m.Reply.Yes) line += " yes=1";
    if (!m.Reply.Text.empty()) {
        line += " text=";
        line += Quoted(m.Reply.Text);
    }
    return line;
}

bool ReadInt(const std::string& word, long long low, long long high, long long& value) {
    if (word.empty() || word.size() > 20) return false;
    std::size_t used = 0;
    try {
        value = std::stoll(word, &used);
    } catch (...) {
        return false;
    }
    return used == word.size() && value >= low && value <= high;
}

bool ParseMove(const std::string& line, TRecordedMove& out) {
    std::istringstream in(line);
    std::string month, step, kind;
    in >> month >> step >> kind;
    long long value = 0;
    TRecordedMove read;
    if (!ReadInt(month, 0, 100000, value)) return false;
    read.Month = static_cast<std::int32_t>(value);
    if (!ReadInt(step, 0, 100000000, value)) return false;
    read.Step = static_cast<std::int32_t>(value);
    std::size_t k = 0;
    while (k < kKindNames.size() && kind != kKindNames[k]) ++k;
    if (k == kKindNames.size()) return false;
    read.Move.Kind = static_cast<TMoveKind>(k);
    std::string word;
    while (in >> word) {
        const std::size_t eq = word.find('=');
        if (eq == std::string::npos) return false;
        const std::string key = word.substr(0, eq);
        const std::string val = word.substr(eq + 1);
        if (key == "text") {
            // The text runs to the end of the line.
            std::string rest;
            std::getline(in, rest);
            if (!Unquoted(val + rest, read.Move.Reply.Text)) return false;
            break;
        }
        if (key == "p") {
            std::istringstream list(val);
            std::string item;
            while (std::getline(list, item, ',')) {
                if (!ReadInt(item, -1000000, 1000000, value)) return false;
                read.Move.Properties.push_back(static_cast<int>(value));
            }
            continue;
        }
        if (!ReadInt(val, -1000000000, 1000000000, value)) return false;
        if (key == "n") {
            read.Move.Number = static_cast<std::int32_t>(value);
        } else if (key == "list" && (value == 0 || value == 1)) {
            read.Move.List = static_cast<TList>(value);
        } else if (key == "side" && value >= 0 && value <= 2) {
            read.Move.Side = static_cast<TSelectionSide>(value);
        } else if (key == "flag" && (value == 0 || value == 1)) {
            read.Move.Flag = value == 1;
        } else if (key == "yes" && (value == 0 || value == 1)) {
            read.Move.Reply.Yes = value == 1;
        } else {
            return false;
        }
    }
    out = std::move(read);
    return true;
}

std::string KindName(TMoveKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

}  // namespace

std::string TGameRecord::ToText() const {
    std::string text = std::string(kFirstLine) + "\nversion " + std::to_string(kFormatVersion) +
                       "\ncode " + EncodeChallenge(Code) + "\nsound " + (Sound ? "1" : "0") +
                       "\nmoves " + std::to_string(Moves.size()) + "\n";
    for (const TRecordedMove& move : Moves) text += MoveLine(move) + "\n";
    if (Finished) {
        char digest[32];
        std::snprintf(digest, sizeof digest, "%016" PRIx64, State);
        text += std::string("state ") + digest + "\n";
    }
    return text;
}

bool TGameRecord::FromText(const std::string& text, TGameRecord& record, std::string& why) {
    std::istringstream in(text);
    std::string line;
    auto next = [&](const char* what) {
        if (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        why = std::string("it ends before its ") + what;
        return false;
    };
    auto field = [&](const std::string& name, std::string& value) {
        if (line.rfind(name + " ", 0) != 0) {
            why = "its line \"" + name + "\" is missing";
            return false;
        }
        value = line.substr(name.size() + 1);
        return true;
    };
    std::string value;
    if (!next("first line")) return false;
    if (line != kFirstLine) {
        why = "it is not a Realtopia game record";
        return false;
    }
    TGameRecord read;
    if (!next("version") || !field("version", value)) return false;
    if (value != std::to_string(kFormatVersion)) {
        why = "it is of format version " + value + ", not " + std::to_string(kFormatVersion);
        return false;
    }
    if (!next("code") || !field("code", value)) return false;
    if (!DecodeChallenge(value, read.Code)) {
        why = std::string("its code: ") + kNotAChallengeCode;
        return false;
    }
    if (!next("sound option") || !field("sound", value)) return false;
    if (value != "0" && value != "1") {
        why = "its sound option is neither 0 nor 1";
        return false;
    }
    read.Sound = value == "1";
    if (!next("count of moves") || !field("moves", value)) return false;
    long long count = 0;
    if (!ReadInt(value, 0, 10000000, count)) {
        why = "its count of moves is not a number";
        return false;
    }
    for (long long i = 1; i <= count; ++i) {
        if (!next("moves")) return false;
        TRecordedMove move;
        if (!ParseMove(line, move)) {
            why = "move " + std::to_string(i) + " cannot be read";
            return false;
        }
        read.Moves.push_back(std::move(move));
    }
    if (std::getline(in, line) && !line.empty()) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        unsigned long long digest = 0;
        char extra = 0;
        if (std::sscanf(line.c_str(), "state %16llx%c", &digest, &extra) != 1) {
            why = "its last line is not the state of the game";
            return false;
        }
        read.Finished = true;
        read.State = digest;
    }
    record = std::move(read);
    return true;
}

std::uint64_t StateDigest(const TGame& game) {
    const TGameState& state = game.State();
    std::uint64_t hash = Fnv(TSavedGame::Capture(game, {}).ToBytes(kDigestedFormat));
    const char flags[3] = {static_cast<char>(state.Running), static_cast<char>(state.Paused),
                           static_cast<char>(state.SoundOn)};
    return Fnv(std::string_view(flags, sizeof flags), hash);
}

bool ReadGameRecord(const std::string& path, TGameRecord& record, std::string& why) {
    std::string bytes;
    if (ReadRegularFile(path, TGameRecord::kMaxFileSize, bytes) != TReadResult::Read) {
        why = "it cannot be read";
        return false;
    }
    return TGameRecord::FromText(bytes, record, why);
}

bool WriteGameRecord(const std::string& path, const TGameRecord& record) {
    // The data directory is made by the first game that needs it.
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return SafeReplace(path, record.ToText(), TFileAccess::OwnerOnly);
}

std::string EntryRecordPath(const std::string& tablePath, const THiRecord& entry) {
    std::uint64_t hash = Fnv(std::to_string(entry.Score));
    for (const std::string* text :
         {&entry.FirstName, &entry.MiddleName, &entry.LastName, &entry.Date}) {
        hash = Fnv("\x1F", hash);
        hash = Fnv(*text, hash);
    }
    char name[32];
    std::snprintf(name, sizeof name, ".%016" PRIx64 ".REC", hash);
    return tablePath + name;
}

std::string TReplayResult::Text() const {
    switch (Verdict) {
        case TReplayVerdict::Replayed:
            return "verified";
        case TReplayVerdict::CustomisedMarket:
            return "customised market";
        case TReplayVerdict::DoesNotReplay:
            break;
    }
    if (MoveNumber == 0) return "does not replay: " + Why;
    return "does not replay: move " + std::to_string(MoveNumber) + " " + Why;
}

bool TReplay::Deal(TGame& game) {
    result_ = TReplayResult();
    next_ = 0;
    game.SetSoundDeviceWorks(record_.Sound);
    if (!game.DealChallenge(record_.Code) && record_.Code.Customisation != 0) {
        result_.Verdict = TReplayVerdict::CustomisedMarket;
        result_.Why = "its market was customised by another file";
        return false;
    }
    return true;
}

bool TReplay::Step(TGame& game) {
    if (AtEnd()) return false;
    const TRecordedMove& recorded = record_.Moves[next_++];
    result_.MoveNumber = static_cast<int>(next_);
    std::string what = "(";
    what += KindName(recorded.Move.Kind);
    what += ") ";
    if (game.Record().Finished) {
        result_.Why = what + "comes after the game's reckoning";
        return false;
    }
    const TGameState& state = game.State();
    const int month = RecordMonth(state.Year, state.Month);
    if (month != recorded.Month) {
        result_.Why = what + "was made in month " + std::to_string(recorded.Month) +
                      " but the game is in month " + std::to_string(month);
        return false;
    }
    const TQuestion* open = game.OpenQuestion();
    const bool answer =
        recorded.Move.Kind == TMoveKind::Answer || recorded.Move.Kind == TMoveKind::Pick;
    const std::string asked = open == nullptr ? std::string() : open->Text;
    if (!game.Apply(recorded.Move)) {
        if (answer && open == nullptr)
            result_.Why = what + "answers a question the game did not ask";
        else if (open != nullptr && !answer)
            result_.Why = what + "comes while the game waits for an answer to \"" + asked + "\"";
        else
            result_.Why = what + "is refused by the rules";
        return false;
    }
    return true;
}

const TReplayResult& TReplay::Finish(const TGame& game) {
    if (record_.Finished && (!game.Record().Finished || StateDigest(game) != record_.State)) {
        result_.MoveNumber = static_cast<int>(next_);
        result_.Why = "(the last) leaves a game other than the one recorded";
        return result_;
    }
    result_.Verdict = TReplayVerdict::Replayed;
    result_.MoveNumber = 0;
    result_.Why.clear();
    return result_;
}

TReplayResult ReplayRecord(const TGameRecord& record, TGame& game) {
    TReplay replay(record);
    if (!replay.Deal(game)) return replay.Result();
    game.Events().Clear();
    while (!replay.AtEnd()) {
        if (!replay.Step(game)) return replay.Result();
        game.Events().Clear();
    }
    return replay.Finish(game);
}

bool ResumeRecord(const TGameRecord& record, TGame& game) {
    TPlatform platform = game.Platform();
    platform.KeepRecords = false;
    TGame replay(platform);
    if (ReplayRecord(record, replay).Verdict == TReplayVerdict::Replayed && replay.Recording()) {
        replay.Apply(TMove::Of(TMoveKind::Pause));
        TMove sound = TMove::Of(TMoveKind::SoundOn);
        sound.Flag = game.State().SoundOn;
        replay.Apply(sound);
        // Whether the game is a challenge is the player's, not the moves'.
        if (game.IsChallenge()) replay.NoteFriendsFigure(game.FriendsFigure());
        if (replay.State() == game.State()) {
            game.AdoptRecord(replay.Record(), true);
            return true;
        }
    }
    game.AdoptRecord(record, false);
    return false;
}

TReplayResult VerifyEntry(const std::string& tablePath, const THiRecord& entry,
                          const TPlatform& platform) {
    TReplayResult result;
    const std::string path = EntryRecordPath(tablePath, entry);
    TGameRecord record;
    if (!FileExists(path)) {
        result.Why = "no record";
        return result;
    }
    if (!ReadGameRecord(path, record, result.Why)) return result;
    TPlatform replaying = platform;
    replaying.KeepRecords = false;
    TGame game(replaying);
    result = ReplayRecord(record, game);
    if (result.Verdict != TReplayVerdict::Replayed) return result;
    const std::int64_t worth = (game.PortfolioValue() + game.State().Cash).TruncatedPounds();
    const bool scores = worth >= 0 && worth <= std::numeric_limits<std::uint32_t>::max() &&
                        static_cast<std::uint32_t>(worth) == entry.Score;
    if (!record.Finished || !game.State().Engaged || !scores) {
        result.Verdict = TReplayVerdict::DoesNotReplay;
        result.Why = "its game does not score " + std::to_string(entry.Score);
    }
    return result;
}
