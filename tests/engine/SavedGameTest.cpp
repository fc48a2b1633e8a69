// The saved-game file: its image keeps every field exactly, and nothing damaged, foreign or out
// of range is ever taken in; on disk it is read without blocking and replaced whole.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/Game.h"
#include "engine/SafeReplace.h"
#include "engine/SavedGame.h"
#include "support/Answers.h"
#include "support/Files.h"
#include "support/GameStateAccess.h"
#include "support/TempPlatform.h"

namespace fs = std::filesystem;

namespace {

// A game dealt with a fixed seed and then given an unusual value in every field the file keeps.
class SavedGameFormat : public ::testing::Test {
protected:
    SavedGameFormat() : game_(temp_.Platform()) {
        game_.InitWorld();
        for (int draw = 0; draw < 5; ++draw) game_.Random().Next();
        Edit(game_).Area(4).Name = "Schweiz";
        Edit(game_).Area(6).LowestPrice = Money::FromRaw(2500000001);
        TProperty& mortgaged = Edit(game_).Property(7);
        mortgaged.Flags = Owned | Mortgaged | Renovated;
        mortgaged.MonthlyRepayment = Money::FromRaw(123456789);
        mortgaged.DoneImprovements = 0xA5C3;
        Edit(game_).Property(8).Name = "Caf\u00E9 \u201Cquoted\u201D";
        Edit(game_).Property(8).Description = std::string(TSavedGame::kMaxTextBytes, 'd');
        Edit(game_).Property(9).Flags = Damaged | Halved;
        Edit(game_).Property(9).DamageCount = 3;
        Edit(game_).Property(9).SoldCount = 4;
        Edit(game_).Property(9).BuyPrice = Money::FromRaw(7);
        Edit(game_).News(40).Shown = true;
        Edit(game_).Cash = Money::FromRaw(-2503999999);
        Edit(game_).Debt = Money::FromRaw(99999999999);
        Edit(game_).MonthlyRepaymentTotal = mortgaged.MonthlyRepayment;
        Edit(game_).Stage = 3;
        Edit(game_).CrashTicks = 4;
        Edit(game_).Year = 2007;
        Edit(game_).Month = 11;
        Edit(game_).CurrentArea = 6;
        Edit(game_).Engaged = true;
        Edit(game_).CheatUsed = true;
        Edit(game_).FirstName = "Zo\u00EB";
        Edit(game_).LastName = "";
        Edit(game_).ContactAddress = "x@example.com";
        Edit(game_).SelectionSide = TSelectionSide::Portfolio;
        Edit(game_).MortgageMode = TMortgageMode::CanRedeem;
        Edit(game_).DamRenMode = TDamRenMode::Damage;
        Edit(game_).MonthsPlayed = 94;
        Edit(game_).MarketTrend = Fallen;
        Edit(game_).PendingNews = 40;
        Edit(game_).Property(120).Flags = Owned;
        Edit(game_).Selection = {7, 120};
        Edit(game_).BuyTotal = Money::FromRaw(1);
        Edit(game_).SellTotal = Money();
        Edit(game_).DamRenAmount = Money::FromRaw(31);

        window_shown_.Caption = "Realtopia - November, 2007";
        window_shown_.Status = "Net Worth: -\u00A31";
        window_shown_.CashPanel = "Current Cash: -\u00A3250,400";
        window_shown_.PortfolioPanel = "Portfolio Value: \u00A31";
        window_shown_.DebtPanel = "Owe: \u00A310 (\u00A31.23/m)";
        window_shown_.Info = "A block\r\nof two";
        window_shown_.AreaCaption = "Current Area: New York\r\nAll properties sold";
        window_shown_.TrendText = "Market has fallen";
        window_shown_.TrendPicture = 2;
        window_shown_.StageText = "GURU";
        window_shown_.MonthLabel = "November";
        window_shown_.Clock = 11;
        window_shown_.BuySellCaption = "Sell (F6)";
        window_shown_.DamRenCaption = "Renovate (F5)";
        window_shown_.MortgageCaption = "Redeem (F7)";
        window_shown_.TickerText = "3%red|news ";
        window_shown_.TickerActive = true;
        window_shown_.TickerOnScreen = false;
        window_shown_.TimerInterval = 1500;
        window_shown_.Progress = 94;
        window_shown_.Typed = "wado";
        window_shown_.Avail = {{"A (\u00A31)", false, 1}, {"B (\u00A32)", true, 2}};
        window_shown_.Portfolio = {{"C (\u00A33) [M]", true, 120}};
    }

    TSavedGame Saved() const { return TSavedGame::Capture(game_, window_shown_); }
    std::string Image() const { return Saved().ToBytes(); }

    // Decoding must fail with a reason starting with `reason`, leaving the target untouched.
    void ExpectRefused(const std::string& bytes, const std::string& reason,
                       const std::string& label) {
        TSavedGame target;
        target.State.Cash = Money::FromRaw(42);
        std::string why;
        EXPECT_FALSE(TSavedGame::FromBytes(bytes, target, why)) << label;
        EXPECT_EQ(why.substr(0, reason.size()), reason) << label << ": " << why;
        EXPECT_EQ(target.State.Cash, Money::FromRaw(42)) << label;
    }

    TempPlatform temp_;
    TGame game_;
    TSavedWindow window_shown_;
};

std::uint32_t U32At(const std::string& image, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value =
            (value << 8) | static_cast<unsigned char>(image[offset + static_cast<std::size_t>(i)]);
    return value;
}

// Every name in a directory, sorted.
std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_F(SavedGameFormat, ImageKeepsEveryFieldExactly) {
    const std::string image = Image();
    EXPECT_EQ(image.substr(0, 8), std::string("RTOPSAV\x1A", 8));
    EXPECT_EQ(U32At(image, 8), TSavedGame::kFormatVersion);
    EXPECT_EQ(U32At(image, 12), image.size() - TSavedGame::kHeaderSize);

    // Into a game dealt from another seed, whose own options and used bonus stay.
    TGame other(temp_.Platform(TempPlatform::kSeed + 1));
    other.InitWorld();
    Edit(other).SoundOn = true;
    Edit(other).CheatUsed = true;
    Edit(other).Running = true;
    TSavedGame loaded;
    std::string why;
    ASSERT_TRUE(TSavedGame::FromBytes(image, loaded, why)) << why;
    loaded.ApplyTo(other);

    // The same game again, field for field: captured once more it gives the same image.
    EXPECT_EQ(TSavedGame::Capture(other, loaded.Window).ToBytes(), image);
    EXPECT_EQ(other.State().Cash.Raw(), -2503999999);
    EXPECT_EQ(other.State().Area(6).LowestPrice.Raw(), 2500000001);
    EXPECT_EQ(other.State().Property(8).Name, game_.State().Property(8).Name);
    EXPECT_EQ(other.State().Selection, (std::vector<int>{7, 120}));
    EXPECT_FALSE(other.State().Running);
    EXPECT_TRUE(other.State().Paused);
    EXPECT_TRUE(other.State().SoundOn);
    for (int draw = 0; draw < 100; ++draw) ASSERT_EQ(other.Random().Next(), game_.Random().Next());

    // A bonus already used in this run stays used; the saved game's own counts too.
    TSavedGame unused = Saved();
    unused.State.CheatUsed = false;
    Edit(other).CheatUsed = true;
    unused.ApplyTo(other);
    EXPECT_TRUE(other.State().CheatUsed);
    Edit(other).CheatUsed = false;
    loaded.ApplyTo(other);
    EXPECT_TRUE(other.State().CheatUsed);
}

TEST_F(SavedGameFormat, TruncatedImagesAreRefused) {
    const std::string image = Image();
    for (std::size_t length = 0; length < image.size(); ++length)
        ExpectRefused(image.substr(0, length), length < 8 ? "not a saved game" : "truncated",
                      "length " + std::to_string(length));
    ExpectRefused(image + "x", "bytes after the end", "one byte more");
}

TEST_F(SavedGameFormat, FlippedBitsAreNoticed) {
    const std::string image = Image();
    // Every header byte, then every seventh byte of the payload.
    for (std::size_t offset = 0; offset < image.size();
         offset += offset < TSavedGame::kHeaderSize ? 1 : 7) {
        std::string damaged = image;
        damaged[offset] = static_cast<char>(damaged[offset] ^ (1 << (offset % 8)));
        TSavedGame target;
        std::string why;
        ASSERT_FALSE(TSavedGame::FromBytes(damaged, target, why)) << "offset " << offset;
        if (offset >= TSavedGame::kHeaderSize) {
            ASSERT_EQ(why, "checksum does not match") << "offset " << offset;
        }
    }
}

TEST_F(SavedGameFormat, OtherFormatVersionsAreRefused) {
    for (std::uint32_t version : {0u, TSavedGame::kFormatVersion + 1, 0x01000000u}) {
        std::string image = Image();
        for (int i = 0; i < 4; ++i) image[8 + i] = static_cast<char>((version >> (8 * i)) & 0xFF);
        ExpectRefused(image,
                      "format version " + std::to_string(version) + ", not " +
                          std::to_string(TSavedGame::kFormatVersion),
                      "version " + std::to_string(version));
    }
}

// A file of format 1 lacks the rows selected and the move waiting for an answer (17 bytes of
// format 2 when nothing waits, just before the window's caption): it loads as a game that waits
// for nothing.
TEST_F(SavedGameFormat, FormatOneStillLoads) {
    const TSavedGame saved = Saved();
    ASSERT_TRUE(saved.State.Agenda.empty());
    std::string payload = saved.ToBytes(2).substr(TSavedGame::kHeaderSize);
    std::string caption(4, '\0');
    for (int i = 0; i < 4; ++i)
        caption[static_cast<std::size_t>(i)] =
            static_cast<char>((window_shown_.Caption.size() >> (8 * i)) & 0xFF);
    const std::size_t at = payload.find(std::string(17, '\0') + caption + window_shown_.Caption);
    ASSERT_NE(at, std::string::npos);
    payload.erase(at, 17);
    const std::string image = TSavedGame::Seal(payload, 1);
    EXPECT_EQ(image, saved.ToBytes(1));

    TSavedGame loaded;
    std::string why;
    ASSERT_TRUE(TSavedGame::FromBytes(image, loaded, why)) << why;
    EXPECT_EQ(loaded.State, saved.State);
    // Its rows kept their texts, not the properties they showed.
    TSavedGame expected = saved;
    for (auto* rows : {&expected.Window.Avail, &expected.Window.Portfolio})
        for (TSavedRow& row : *rows) row.Property = 0;
    EXPECT_EQ(loaded.Window, expected.Window);
    // Written again, it is of the current format.
    EXPECT_EQ(loaded.ToBytes(), expected.ToBytes());
}

// A challenge and the friend's figure on it are kept from format 4; a file of format 3 or
// older loads as a game that is not a challenge. Neither changes the digest a game's record
// keeps, which stays that of the format-3 image.
TEST_F(SavedGameFormat, AChallengeIsKeptFromFormatFour) {
    game_.NoteFriendsFigure(1234567);
    ASSERT_TRUE(game_.IsChallenge());
    const TSavedGame saved = Saved();
    TSavedGame loaded;
    std::string why;
    ASSERT_TRUE(TSavedGame::FromBytes(saved.ToBytes(), loaded, why)) << why;
    EXPECT_TRUE(loaded.State.ChallengeGame);
    EXPECT_EQ(loaded.State.FriendsWorth, 1234567);
    TGame resumed(temp_.Platform(TempPlatform::kSeed + 1));
    resumed.InitWorld();
    loaded.ApplyTo(resumed);
    EXPECT_TRUE(resumed.IsChallenge());
    EXPECT_EQ(resumed.FriendsFigure(), std::optional<std::uint32_t>(1234567));

    for (std::uint32_t version = 1; version <= 3; ++version) {
        ASSERT_TRUE(TSavedGame::FromBytes(saved.ToBytes(version), loaded, why)) << why;
        EXPECT_FALSE(loaded.State.ChallengeGame) << version;
        EXPECT_EQ(loaded.State.FriendsWorth, kNoFriendsWorth) << version;
        loaded.ApplyTo(resumed);
        EXPECT_FALSE(resumed.IsChallenge()) << version;
        EXPECT_FALSE(resumed.FriendsFigure()) << version;
    }
    // Format 3 lacks just the two fields; the record's digest is the same with or without them.
    EXPECT_EQ(saved.ToBytes(3).size() + 1 + 8, saved.ToBytes().size());
    const std::uint64_t digest = StateDigest(game_);
    game_.NoteFriendsFigure(std::nullopt);
    EXPECT_EQ(game_.FriendsFigure(), std::nullopt);
    EXPECT_TRUE(game_.IsChallenge());
    EXPECT_EQ(StateDigest(game_), digest);
}

// ---------------------------------------------------------------- the fields' own lines

// Calls act(key, what, field, line) for every saved field: the game's own, and for a table its
// first record's ("properties.buy", "buying price of property 1").
template <class Act>
void ForEachSavedField(TGameState& state, Act&& act) {
    ForEachField(state, [&act, &state](const char* name, auto& field, const TField& f) {
        using Value = std::remove_cvref_t<decltype(field)>;
        if (!(f.Use & kSaved)) return;
        if constexpr (std::is_same_v<Value, decltype(state.Areas)> ||
                      std::is_same_v<Value, decltype(state.Properties)> ||
                      std::is_same_v<Value, decltype(state.NewsItems)>) {
            const std::string of = std::is_same_v<Value, decltype(state.Areas)> ? " of area 1"
                                   : std::is_same_v<Value, decltype(state.Properties)>
                                       ? " of property 1"
                                       : " of headline 1";
            ForEachField(field[0], [&](const char* part, auto& value, const TField& pf) {
                if (pf.Use & kSaved)
                    act(std::string(name) + "." + part, std::string(pf.What) + of, value, pf);
            });
        } else {
            act(std::string(name), std::string(f.What), field, f);
        }
    });
}

template <class T>
struct StoredAs {
    using type = T;
};
template <class T>
requires std::is_enum_v<T>
struct StoredAs<T> {
    using type = std::underlying_type_t<T>;
};

// Puts v into a field: a text of v bytes, a list or pair whose first entry is v. False when
// the field's type cannot hold v at all.
template <class Value>
bool Assign(Value& field, std::int64_t v) {
    if constexpr (std::is_same_v<Value, Money>) {
        field = Money::FromRaw(v);
        return true;
    } else if constexpr (std::is_same_v<Value, std::string>) {
        if (v < 0) return false;
        field.assign(static_cast<std::size_t>(v), 'x');
        return true;
    } else if constexpr (std::is_same_v<Value, bool>) {
        if (v < 0 || v > 1) return false;
        field = v == 1;
        return true;
    } else if constexpr (std::is_enum_v<Value> || std::is_integral_v<Value>) {
        using Raw = typename StoredAs<Value>::type;
        if (v < std::numeric_limits<Raw>::min() || v > std::numeric_limits<Raw>::max())
            return false;
        field = static_cast<Value>(v);
        return true;
    } else if constexpr (requires { field[0] = 0; }) {
        using Raw = std::remove_cvref_t<decltype(field[0])>;
        if (v < std::numeric_limits<Raw>::min() || v > std::numeric_limits<Raw>::max())
            return false;
        if constexpr (requires { field.resize(1); })
            if (field.empty()) field.resize(1);
        field[0] = static_cast<Raw>(v);
        return true;
    } else {
        return false;
    }
}

// What the loader says of a value just outside a field's range.
template <class Value>
std::string Refusal(const std::string& what, std::int64_t v, const TField& f) {
    if constexpr (std::is_same_v<Value, Money>)
        return what + (f.Low == 0 && v < 0 ? " below zero" : " out of range");
    else if constexpr (std::is_same_v<Value, std::string>)
        return what + " longer than " + std::to_string(f.High) + " bytes";
    else
        return what + " is " + std::to_string(v) + " (allowed " + std::to_string(f.Low) + ".." +
               std::to_string(f.High) + ")";
}

// docs/SAVEDGAME.md's words for a value, a type and a range.
template <class Value>
std::string Cell(const Value& value) {
    if constexpr (std::is_same_v<Value, Money>)
        return FormatPounds(value);
    else if constexpr (std::is_same_v<Value, std::string>)
        return "\"" + value + "\"";
    else
        return std::to_string(static_cast<std::int64_t>(value));
}

template <class Value>
constexpr bool kScalar = std::is_same_v<Value, Money> || std::is_same_v<Value, std::string> ||
                         std::is_enum_v<Value> || std::is_integral_v<Value>;

template <class Value>
std::string DefaultCell(const TField& f) {
    if constexpr (kScalar<Value>) {
        if (!(f.Use & kDealt)) return "";
        Value value{};
        SetToDefault(value, f);
        return Cell(value);
    } else {
        return "";
    }
}

template <class Value>
std::string TypeCell() {
    if constexpr (std::is_same_v<Value, Money>) return "`money`";
    if constexpr (std::is_same_v<Value, std::string>) return "`text`";
    if constexpr (std::is_same_v<Value, bool>) return "`bool`";
    if constexpr (std::is_enum_v<Value>) return "`i32`";
    if constexpr (std::is_same_v<Value, std::uint8_t>) return "`u8`";
    if constexpr (std::is_same_v<Value, std::uint16_t>) return "`u16`";
    if constexpr (std::is_same_v<Value, std::int32_t>) return "`i32`";
    if constexpr (std::is_same_v<Value, std::int64_t>) return "`i64`";
    if constexpr (std::is_same_v<Value, std::vector<int>>) return "`list of i32`";
    if constexpr (std::is_same_v<Value, std::array<std::int32_t, 2>>) return "`i32` ×2";
    if constexpr (std::is_same_v<Value, TRandom>) return "`u64` ×4";
    if constexpr (std::is_same_v<Value, TMarketHistory>) return "4 lists";
    if constexpr (std::is_same_v<Value, std::vector<TAgendaEntry>>)
        return "`list of (i32, text, text, text, i32, i32)`";
    if constexpr (std::is_same_v<Value, TAnswer>) return "`bool`, `text`";
    if constexpr (requires { std::tuple_size<Value>::value; })
        return std::to_string(std::tuple_size<Value>::value) + " records";
    return "";
}

template <class Value>
std::string RangeCell(const TField& f) {
    std::string range;
    if (!f.Ranged) {
    } else if constexpr (std::is_same_v<Value, std::string>) {
        range = "UTF-8, at most " + std::to_string(f.High) + " bytes";
    } else if constexpr (std::is_same_v<Value, Money>) {
        range = FormatPounds(Money::FromRaw(f.Low)) + ".." + FormatPounds(Money::FromRaw(f.High));
    } else if constexpr (std::is_same_v<Value, bool>) {
        range = f.Low == f.High ? std::to_string(f.Low) : "0 or 1";
    } else if constexpr (std::is_same_v<Value, bool>) {
        range = "0 or 1";
    } else if constexpr (std::is_enum_v<Value> || std::is_integral_v<Value>) {
        using Raw = typename StoredAs<Value>::type;
        range =
            f.Low == std::numeric_limits<Raw>::min() && f.High == std::numeric_limits<Raw>::max()
                ? "any"
                : std::to_string(f.Low) + ".." + std::to_string(f.High);
    } else if constexpr (std::is_same_v<Value, std::vector<int>>) {
        range = "each " + std::to_string(f.Low) + ".." + std::to_string(f.High) + ", at most " +
                std::to_string(kPropertyCount);
    } else {
        range = "each " + std::to_string(f.Low) + ".." + std::to_string(f.High);
    }
    if (*f.Note == '\0') return range;
    return range.empty() ? f.Note : range + "; " + f.Note;
}

// The table of saved fields, one row a field, as docs/SAVEDGAME.md shows it.
std::string FieldTable() {
    std::string table =
        "| field | type | range checked on load | a new deal sets |\n|---|---|---|---|\n";
    const auto row = [&table](const std::string& name, const auto& value, const TField& f) {
        using Value = std::remove_cvref_t<decltype(value)>;
        std::string key = "`" + name + "`";
        if (f.Since > 1) key += " (format " + std::to_string(f.Since) + ")";
        table += "| " + key + " | " + TypeCell<Value>() + " | " + RangeCell<Value>(f) + " | " +
                 DefaultCell<Value>(f) + " |\n";
    };
    const TGameState state;
    ForEachField(state, [&row](const char* name, const auto& field, const TField& f) {
        using Value = std::remove_cvref_t<decltype(field)>;
        if (!(f.Use & kSaved)) return;
        row(name, field, f);
        if constexpr (std::is_same_v<Value, decltype(state.Areas)> ||
                      std::is_same_v<Value, decltype(state.Properties)> ||
                      std::is_same_v<Value, decltype(state.NewsItems)>)
            ForEachField(field[0], [&](const char* part, const auto& value, const TField& pf) {
                if (pf.Use & kSaved) row(std::string(name) + "." + part, value, pf);
            });
    });
    return table;
}

// Every saved field's range, as its line gives it, is the loader's: a value just outside is
// refused, on reading and on writing, and both bounds are taken.
TEST_F(SavedGameFormat, EachFieldsRangeIsTheLoaders) {
    TSavedGame base = Saved();
    base.State.SelectionSide = TSelectionSide::None;
    base.State.Selection.clear();
    ASSERT_EQ(base.Problem(), "");
    // Bounds that other fields narrow further: the total is the sum of the repayments,
    // property 1 lies in area 1, not every flag is known, a repayment needs a mortgage, and a
    // headline's size and target depend on its kind.
    const std::set<std::string> narrowed = {"monthlyRepaymentTotal",
                                            "properties.area",
                                            "properties.flags",
                                            "properties.monthlyRepayment",
                                            "news.kind",
                                            "news.magnitude",
                                            "news.target"};
    std::vector<std::string> keys;
    ForEachSavedField(base.State,
                      [&keys](const std::string& key, const std::string&, auto&, const TField& f) {
                          if (f.Ranged) keys.push_back(key);
                      });
    int refused = 0;
    int taken = 0;
    for (const std::string& key : keys) {
        for (const int side : {0, 1, 2, 3}) {
            TSavedGame s = base;
            bool assigned = false;
            std::string expected;
            ForEachSavedField(s.State, [&](const std::string& k, const std::string& what,
                                           auto& field, const TField& f) {
                if (k != key) return;
                using Value = std::remove_cvref_t<decltype(field)>;
                const std::int64_t v = std::array{f.Low - 1, f.High + 1, f.Low, f.High}[side];
                assigned = Assign(field, v);
                expected = side < 2 ? Refusal<Value>(what, v, f) : "";
            });
            if (!assigned || (side >= 2 && narrowed.contains(key))) continue;
            EXPECT_EQ(s.Problem(), expected) << key << " side " << side;
            TSavedGame loaded;
            std::string why;
            EXPECT_EQ(TSavedGame::FromBytes(s.ToBytes(), loaded, why), side >= 2)
                << key << " side " << side << ": " << why;
            if (side >= 2) {
                EXPECT_TRUE(loaded.State == s.State) << key;
            }
            ++(side < 2 ? refused : taken);
        }
    }
    EXPECT_GE(refused, 45);
    EXPECT_GE(taken, 60);
}

// A new deal gives every field marked so its line's default, whatever the game before held,
// and the document's table says the same.
TEST_F(SavedGameFormat, ANewDealGivesEachFieldItsDefault) {
    game_.InitWorld();
    std::vector<std::string> dealt;
    ForEachField(game_.State(), [&dealt](const char* name, const auto& field, const TField& f) {
        using Value = std::remove_cvref_t<decltype(field)>;
        if (!(f.Use & kDealt)) return;
        dealt.push_back(name);
        if constexpr (kScalar<Value>) {
            EXPECT_NE(DefaultCell<Value>(f), "") << name;
            EXPECT_EQ(Cell(field), DefaultCell<Value>(f)) << name;
        } else {
            ADD_FAILURE() << name << " is dealt but has no value of its own";
        }
    });
    // Among them at least these, whatever fields are added later.
    for (const char* name : {"cash", "debt", "monthlyRepaymentTotal", "stage", "crashTicks", "year",
                             "month", "currentArea", "running", "paused", "firstName", "lastName",
                             "contactAddress", "selectionSide", "mortgageMode", "damRenMode"})
        EXPECT_NE(std::find(dealt.begin(), dealt.end(), name), dealt.end()) << name;
    EXPECT_EQ(game_.State().Cash, TGame::kStartingCash);
    EXPECT_EQ(game_.State().Year, 2000);
    EXPECT_EQ(game_.State().FirstName, "unknown");
}

// docs/SAVEDGAME.md's table of fields is the field list's, row for row. With
// REALTOPIA_WRITE_DOCS set, the test writes the table there first.
TEST(SavedGameFields, TheDocumentsTableIsTheFieldList) {
    const std::string path = std::string(REALTOPIA_SOURCE_DIR) + "/docs/SAVEDGAME.md";
    std::string doc = ReadAll(path);
    const std::string begin = "<!-- fields: begin -->\n";
    const std::string end = "<!-- fields: end -->";
    std::size_t from = doc.find(begin);
    std::size_t to = doc.find(end);
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    from += begin.size();
    ASSERT_LE(from, to);
    const std::string table = FieldTable();
    if (std::getenv("REALTOPIA_WRITE_DOCS") != nullptr) {
        doc.replace(from, to - from, table);
        WriteAll(path, doc);
        to = from + table.size();
    }
    EXPECT_EQ(doc.substr(from, to - from), table)
        << "docs/SAVEDGAME.md differs from ForEachField: run this test with "
           "REALTOPIA_WRITE_DOCS=1 to write the table";
}

// Values that no game reaches, in an image whose checksum is right: refused on reading, and
// never written either.
TEST_F(SavedGameFormat, ValuesOutOfRangeAreRefused) {
    struct Case {
        const char* reason;
        std::function<void(TSavedGame&)> change;
    };
    const std::vector<Case> cases = {
        {"month is 13 (allowed 1..12)", [](TSavedGame& s) { s.State.Month = 13; }},
        {"year is 2010", [](TSavedGame& s) { s.State.Year = 2010; }},
        {"stage is 0", [](TSavedGame& s) { s.State.Stage = 0; }},
        {"area is 7", [](TSavedGame& s) { s.State.CurrentArea = 7; }},
        {"months played is 120", [](TSavedGame& s) { s.State.MonthsPlayed = 120; }},
        {"market trend is -1", [](TSavedGame& s) { s.State.MarketTrend = -1; }},
        {"pending headline is 41", [](TSavedGame& s) { s.State.PendingNews = 41; }},
        {"selection side is 3",
         [](TSavedGame& s) { s.State.SelectionSide = static_cast<TSelectionSide>(3); }},
        {"mortgage mode is -1",
         [](TSavedGame& s) { s.State.MortgageMode = static_cast<TMortgageMode>(-1); }},
        {"damage/renovate mode is 9",
         [](TSavedGame& s) { s.State.DamRenMode = static_cast<TDamRenMode>(9); }},
        {"crash count is 121", [](TSavedGame& s) { s.State.CrashTicks = 121; }},
        {"selected property is 121",
         [](TSavedGame& s) {
             s.State.Selection = {1, 121};
         }},
        {"a list of 121 entries", [](TSavedGame& s) { s.State.Selection.assign(121, 1); }},
        // A selection that would pay twice for one property, or for one not on its list.
        {"selected property 7 twice",
         [](TSavedGame& s) {
             s.State.Selection = {7, 120, 7};
         }},
        {"selected property 5 is not in the portfolio",
         [](TSavedGame& s) {
             s.State.Selection = {7, 5};
         }},
        {"selected property 120 is not for sale",
         [](TSavedGame& s) {
             s.State.SelectionSide = TSelectionSide::ForSale;
             s.State.Selection = {1, 120};
         }},
        {"area of property 21 is 1 (allowed 2..2)",
         [](TSavedGame& s) { s.State.Properties[20].Area = 1; }},
        {"sale count of property 1 is -1",
         [](TSavedGame& s) { s.State.Properties[0].SoldCount = -1; }},
        {"unknown flags of property 2", [](TSavedGame& s) { s.State.Properties[1].Flags = 0x10; }},
        {"mortgage on an unowned property 7",
         [](TSavedGame& s) { s.State.Properties[6].Flags = Mortgaged; }},
        {"repayment without a mortgage of property 3",
         [](TSavedGame& s) { s.State.Properties[2].MonthlyRepayment = Money::FromRaw(1); }},
        {"repayment total is not the sum",
         [](TSavedGame& s) { s.State.MonthlyRepaymentTotal += Money::FromRaw(1); }},
        {"cash out of range",
         [](TSavedGame& s) { s.State.Cash = TSavedGame::kLargestAmount + Money::FromRaw(1); }},
        {"sale value of property 120 out of range",
         [](TSavedGame& s) {
             s.State.Properties[119].SaleValue = TSavedGame::kLargestAmount + Money::FromRaw(1);
         }},
        // No price or debt below zero: one would pay the player for buying or borrowing.
        {"buying price of property 5 below zero",
         [](TSavedGame& s) { s.State.Properties[4].BuyPrice = Money::Pounds(-100000); }},
        {"sale value of property 5 below zero",
         [](TSavedGame& s) { s.State.Properties[4].SaleValue = Money::FromRaw(-1); }},
        {"debt below zero", [](TSavedGame& s) { s.State.Debt = Money::FromRaw(-1); }},
        {"lowest price of area 2 below zero",
         [](TSavedGame& s) { s.State.Areas[1].LowestPrice = Money::FromRaw(-1); }},
        {"buying total below zero", [](TSavedGame& s) { s.State.BuyTotal = Money::FromRaw(-1); }},
        {"average price of a past month below zero",
         [](TSavedGame& s) {
             std::vector<TMarketHistory::TMonth> months(1);
             months[0].Year = 2000;
             months[0].Month = 1;
             months[0].AveragePrice[3] = Money::FromRaw(-1);
             s.State.History.Restore(std::move(months), {}, {}, {});
         }},
        {"halved price of property 9 out of range",
         [](TSavedGame& s) { s.State.Properties[8].SaleValue = TSavedGame::kLargestAmount; }},
        {"kind of headline 3 is 4", [](TSavedGame& s) { s.State.NewsItems[2].Kind = 4; }},
        {"area of headline 1 is 7", [](TSavedGame& s) { s.State.NewsItems[0].Target = 7; }},
        {"size of headline 31 is 1", [](TSavedGame& s) { s.State.NewsItems[30].Magnitude = 1; }},
        {"first name not UTF-8", [](TSavedGame& s) { s.State.FirstName.assign(1, '\xFF'); }},
        {"a text of 4097 bytes",
         [](TSavedGame& s) { s.State.LastName.assign(TSavedGame::kMaxTextBytes + 1, 'x'); }},
        {"timer interval is 0", [](TSavedGame& s) { s.Window.TimerInterval = 0; }},
        {"progress is 109", [](TSavedGame& s) { s.Window.Progress = 109; }},
        {"clock is 0", [](TSavedGame& s) { s.Window.Clock = 0; }},
        {"trend picture is 3", [](TSavedGame& s) { s.Window.TrendPicture = 3; }},
        {"typed letters longer than 64", [](TSavedGame& s) { s.Window.Typed.assign(65, 'w'); }},
        {"list row not UTF-8", [](TSavedGame& s) { s.Window.Portfolio[0].Text = "\xC3("; }},
        {"property of a list row is 121",
         [](TSavedGame& s) { s.Window.Avail[1].Property = kPropertyCount + 1; }},
    };
    const std::string path = temp_.Root() + "/REALTOPI.SAV";
    for (const Case& c : cases) {
        TSavedGame saved = Saved();
        c.change(saved);
        ExpectRefused(saved.ToBytes(), c.reason, c.reason);
        std::string why;
        EXPECT_FALSE(WriteSavedGame(path, saved, why)) << c.reason;
        EXPECT_FALSE(fs::exists(path)) << c.reason;
    }
    EXPECT_EQ(Saved().Problem(), "");

    // The payload ends with the selection mark of the last portfolio row and its property.
    std::string payload = Image().substr(TSavedGame::kHeaderSize);
    const std::size_t mark = payload.size() - 5;
    ASSERT_EQ(payload[mark], 1);
    payload[mark] = 2;
    ExpectRefused(TSavedGame::Seal(payload), "a truth value of 2", "truth value");

    // The generator's four words, all zero: a state it would never leave.
    payload = Image().substr(TSavedGame::kHeaderSize);
    std::string words;
    for (std::uint64_t word : game_.Random().GetState())
        for (int i = 0; i < 8; ++i) words.push_back(static_cast<char>((word >> (8 * i)) & 0xFF));
    const std::size_t at = payload.find(words);
    ASSERT_NE(at, std::string::npos);
    payload.replace(at, words.size(), std::string(words.size(), '\0'));
    ExpectRefused(TSavedGame::Seal(payload), "random generator state all zero", "zero state");
}

// ---------------------------------------------------------------- on disk

TEST_F(SavedGameFormat, FileIsWrittenWholeReadBackRemovedAndSetAside) {
    const fs::path dir = temp_.Root() + "/new/dir";
    const std::string path = (dir / kSavedGameFileName).string();
    std::string why;
    TSavedGame read;
    EXPECT_EQ(ReadSavedGame(path, read, why), TSavedGameRead::Missing);
    EXPECT_EQ(why, "no such file");

    // The directory is made; a left-over of an interrupted save goes after the next save, a
    // file that merely starts with the name stays.
    ASSERT_TRUE(WriteSavedGame(path, Saved(), why)) << why;
    WriteAll(TemporaryPrefix(path) + "ab12cd34ef", "torn");
    WriteAll(path + ".tmpl", "mine");
    Edit(game_).Cash = Money::FromRaw(5);
    ASSERT_TRUE(WriteSavedGame(path, Saved(), why)) << why;
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{kSavedGameFileName,
                                                      std::string(kSavedGameFileName) + ".tmpl"}));
    fs::remove(path + ".tmpl");
    // It holds the player's names: readable by its owner only.
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadAll(path), Image());
    ASSERT_EQ(ReadSavedGame(path, read, why), TSavedGameRead::Read) << why;
    EXPECT_EQ(read.ToBytes(), Image());

    // A game out of range leaves the file as it was.
    TSavedGame bad = Saved();
    bad.State.Month = 0;
    EXPECT_FALSE(WriteSavedGame(path, bad, why));
    EXPECT_EQ(why, "month is 0 (allowed 1..12)");
    EXPECT_EQ(ReadAll(path), Image());

    ASSERT_TRUE(SetAsideSavedGame(path));
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{std::string(kSavedGameFileName) + ".bad"}));
    EXPECT_EQ(ReadAll(path + ".bad"), Image());
    ASSERT_TRUE(WriteSavedGame(path, Saved(), why)) << why;
    EXPECT_TRUE(RemoveSavedGame(path));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(RemoveSavedGame(path));  // nothing there: nothing to do
}

TEST_F(SavedGameFormat, OnlyRegularFilesOfSensibleSizeAreRead) {
    const std::string path = temp_.Root() + "/REALTOPI.SAV";
    TSavedGame read;
    read.State.Cash = Money::FromRaw(42);
    std::string why;

    fs::create_directory(path);
    EXPECT_EQ(ReadSavedGame(path, read, why), TSavedGameRead::Unreadable);
    EXPECT_EQ(why, "not a regular file");
    EXPECT_FALSE(RemoveSavedGame(path));  // a directory is not removed
    fs::remove(path);

    // A FIFO without a writer: refused at once instead of waiting for one.
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(ReadSavedGame(path, read, why), TSavedGameRead::Unreadable);
    EXPECT_EQ(why, "not a regular file");
    fs::remove(path);

    WriteAll(path, Image() + std::string(TSavedGame::kMaxFileSize, '\0'));
    EXPECT_EQ(ReadSavedGame(path, read, why), TSavedGameRead::Unreadable);
    EXPECT_EQ(why, "larger than 1048576 bytes");
    EXPECT_EQ(read.State.Cash, Money::FromRaw(42));
}

// A program killed while it saves leaves the previous save or the new one, never a torn file;
// the next save clears what the killed ones left behind.
TEST_F(SavedGameFormat, KilledSaveLeavesOldOrNewFile) {
    const std::string path = temp_.Root() + "/REALTOPI.SAV";
    const TSavedGame oldGame = Saved();
    Edit(game_).Cash = Money::Pounds(1);
    Edit(game_).Property(1).Name =
        std::string(3000, 'n');  // a longer file, so kills land mid-write
    const TSavedGame newGame = Saved();
    const std::string oldBytes = oldGame.ToBytes(), newBytes = newGame.ToBytes();
    std::string why;
    ASSERT_TRUE(WriteSavedGame(path, oldGame, why)) << why;

    std::mt19937 random(TempPlatform::kSeed);
    for (int round = 0; round < 40; ++round) {
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the two games in turn, telling the parent after each pair, until killed.
            close(progress[0]);
            std::string ignored;
            for (;;) {
                WriteSavedGame(path, newGame, ignored);
                WriteSavedGame(path, oldGame, ignored);
                if (write(progress[1], "x", 1) != 1) _exit(1);
            }
        }
        close(progress[1]);
        // Killed after a random number of finished pairs, wherever the next one has got to.
        bool heard = true;
        for (int pairs = 1 + static_cast<int>(random() % 2); pairs > 0 && heard; --pairs) {
            char byte;
            heard = read(progress[0], &byte, 1) == 1;
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(progress[0]);
        ASSERT_TRUE(heard) << "round " << round;

        const std::string bytes = ReadAll(path);
        ASSERT_TRUE(bytes == oldBytes || bytes == newBytes) << "torn file in round " << round;
    }
    ASSERT_TRUE(WriteSavedGame(path, oldGame, why)) << why;
    EXPECT_EQ(Entries(temp_.Root()), (std::vector<std::string>{"REALTOPI.SAV", "bin"}));
}

TEST(SavedGamePath, BesideTheHiScoreTable) {
    TempPlatform temp;
    TGame game(temp.Platform());
    game.InitWorld();
    EXPECT_EQ(game.SavedGamePath(), temp.UserDataDirectory() + "/REALTOPI.SAV");

    // A read-only table in the per-user directory sends both to the program's directory.
    fs::create_directories(temp.UserDataDirectory());
    WriteAll(temp.UserDataDirectory() + "/REALTOPI.DAT", "");
    fs::permissions(temp.UserDataDirectory() + "/REALTOPI.DAT", fs::perms::owner_read);
    EXPECT_EQ(game.SavedGamePath(), temp.ProgramDirectory() + "/REALTOPI.SAV");
}

namespace {

// The saved fields of two games are the same: a resumed game takes its clock and sound option
// from the program, which the file leaves out.
void ExpectSameSavedFields(const TGame& a, const TGame& b, const std::string& label) {
    EXPECT_TRUE(TSavedGame::Capture(a, {}).ToBytes() == TSavedGame::Capture(b, {}).ToBytes())
        << label;
}

std::vector<TGameEventKind> KindsTaken(TGame& game) {
    std::vector<TGameEventKind> kinds;
    TGameEvent event;
    while (game.Events().Take(event)) kinds.push_back(event.Kind);
    return kinds;
}

// A game waiting at a question goes on from its saved file exactly as it would have gone on
// from where it stood: the same answer gives the same game and tells the same events, and
// the months after it go the same way.
class SavedQuestion : public ::testing::Test {
protected:
    SavedQuestion() : game_(here_.Platform()) {
        game_.InitWorld();
        game_.Apply(TMove::Of(TMoveKind::Start));
        game_.Apply(TMove::Of(TMoveKind::Engage));
    }

    void ExpectResumesAsIfNeverSaved(TQuestionKind kind, const std::vector<TMove>& answers,
                                     const std::string& label, bool monthsLater = true) {
        ASSERT_EQ(OpenKind(game_), kind) << label;
        game_.Events().Clear();
        TSavedGame saved;
        std::string why;
        TSavedWindow window;
        window.TimerInterval = 1500;
        ASSERT_TRUE(TSavedGame::FromBytes(TSavedGame::Capture(game_, window).ToBytes(), saved, why))
            << label << ": " << why;
        TGame resumed(there_.Platform());
        resumed.InitWorld();
        saved.ApplyTo(resumed);
        resumed.Events().Clear();
        ASSERT_EQ(OpenKind(resumed), kind) << label;
        EXPECT_EQ(resumed.State().Agenda, game_.State().Agenda) << label;

        for (const TMove& answer : answers) {
            ASSERT_TRUE(game_.Apply(answer)) << label;
            ASSERT_TRUE(resumed.Apply(answer)) << label;
            EXPECT_EQ(KindsTaken(resumed), KindsTaken(game_)) << label;
        }
        ExpectSameSavedFields(game_, resumed, label);
        if (!monthsLater) return;
        // Months later, both games still agree.
        for (TGame* g : {&game_, &resumed}) {
            for (int month = 0; month < 14; ++month) {
                g->Apply(TMove::Of(TMoveKind::Resume));
                g->Apply(TMove::Of(TMoveKind::Tick));
                DeclineQuestions(*g);
            }
        }
        ExpectSameSavedFields(game_, resumed, label + ", months later");
    }

    int ForSale() const {
        for (int p = 1; p <= kPropertyCount; ++p)
            if (!game_.State().Property(p).Has(Owned) &&
                game_.State().Property(p).Area == game_.State().CurrentArea)
                return p;
        return 0;
    }
    void SelectOne(int property, bool forSale) {
        TMove rows = TMove::Of(TMoveKind::SelectRows);
        rows.List = forSale ? TList::Avail : TList::Portfolio;
        rows.Number = 1;
        game_.Apply(rows);
        TMove select = TMove::Of(TMoveKind::Select);
        select.Side = forSale ? TSelectionSide::ForSale : TSelectionSide::Portfolio;
        select.Properties = {property};
        game_.Apply(select);
    }

    TempPlatform here_, there_;
    TGame game_;
};

TEST_F(SavedQuestion, EveryKindOfQuestionResumesAsIfNeverSaved) {
    // A message: Buy/Sell with nothing selected.
    game_.Apply(TMove::Of(TMoveKind::BuyOrSell));
    ExpectResumesAsIfNeverSaved(TQuestionKind::Information, {TMove::Answering(true)}, "message");

    // The chooser, answered with a pick.
    SelectOne(ForSale(), true);
    game_.Apply(TMove::Of(TMoveKind::DamageOrRenovate));
    ExpectResumesAsIfNeverSaved(TQuestionKind::Chooser, {TMove::Numbered(TMoveKind::Pick, 3)},
                                "chooser");

    // The police window at a sale of a property sold too often.
    const int sold = ForSale();
    Edit(game_).Property(sold).Flags |= Owned;
    Edit(game_).Property(sold).SoldCount = 3;
    SelectOne(sold, false);
    game_.Apply(TMove::Of(TMoveKind::BuyOrSell));
    ExpectResumesAsIfNeverSaved(TQuestionKind::Police, {TMove::Answering(true)}, "police");

    // The banks' message in the middle of a month, then the rest of the month.
    Edit(game_).Cash = TGame::kMagnateWorth;
    game_.Apply(TMove::Of(TMoveKind::Resume));
    game_.Apply(TMove::Of(TMoveKind::Tick));
    ExpectResumesAsIfNeverSaved(TQuestionKind::Information, {TMove::Answering(true)}, "bank");

    // The Guru's yes/no question: crash the market.
    Edit(game_).Cash = TGame::kGuruWorth;
    game_.CheckStage();
    ASSERT_EQ(OpenKind(game_), TQuestionKind::Information);
    game_.Apply(TMove::Answering(true));
    ExpectResumesAsIfNeverSaved(TQuestionKind::YesNo, {TMove::Answering(true)}, "crash");
    EXPECT_EQ(game_.State().Stage, 3);
}

TEST_F(SavedQuestion, TheEndOfTheGameResumesAsIfNeverSaved) {
    // The Guru who declines the crash: the yes/no question, then the end of the game, its
    // hi-score names and the question of another game.
    Edit(game_).Stage = 2;
    Edit(game_).Cash = TGame::kGuruWorth;
    game_.CheckStage();
    ASSERT_EQ(OpenKind(game_), TQuestionKind::Information);
    game_.Apply(TMove::Answering(true));
    ExpectResumesAsIfNeverSaved(TQuestionKind::YesNo, {TMove::Answering(false)}, "Guru");
    EXPECT_EQ(game_.OpenQuestion(), nullptr);  // the game ended and was not dealt again

    // An unreadable hi-score table in both places: its error box.
    for (const TempPlatform* temp : {&here_, &there_}) {
        fs::create_directories(temp->UserDataDirectory());
        WriteAll(temp->UserDataDirectory() + "/REALTOPI.DAT", "not a table");
    }
    Edit(game_).Stage = 2;
    Edit(game_).Cash = TGame::kGuruWorth;
    game_.CheckStage();
    game_.Apply(TMove::Answering(true));
    game_.Apply(TMove::Answering(false));  // no crash: the game ends
    game_.Apply(TMove::Answering(true));   // why
    game_.Apply(TMove::Answering(true));   // the reckoning
    ExpectResumesAsIfNeverSaved(TQuestionKind::Error, {TMove::Answering(true)}, "table error",
                                false);

    // The names for the table, each typed, then the table and "Another Game?": Yes deals anew.
    ASSERT_EQ(OpenKind(game_), TQuestionKind::Information);  // on the table
    game_.Apply(TMove::Answering(true));
    ExpectResumesAsIfNeverSaved(TQuestionKind::Input,
                                {TMove::Answering(true, "Ann"), TMove::Answering(true, "Lee")},
                                "names", false);
    EXPECT_EQ(game_.State().LastName, "Lee");
    while (OpenKind(game_) == TQuestionKind::Information) game_.Apply(TMove::Answering(true));
    ASSERT_EQ(game_.State().Agenda.front().Question.Text, "Another Game?");
    ExpectResumesAsIfNeverSaved(TQuestionKind::YesNo, {TMove::Answering(true)}, "another game",
                                false);
    EXPECT_EQ(game_.OpenQuestion(), nullptr);
    EXPECT_EQ(game_.State().Cash, TGame::kStartingCash);
}

}  // namespace
