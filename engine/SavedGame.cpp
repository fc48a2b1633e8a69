// The saved game's contents, its file image and the checks a loaded file must pass.

#include "engine/SavedGame.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <type_traits>

#include "engine/Cp1252.h"
#include "engine/Game.h"

namespace {

// CRC-32 as zlib and PNG compute it (reflected polynomial 0xEDB88320).
std::uint32_t Crc32(const char* data, std::size_t size) {
    static const auto kTable = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return table;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = kTable[(crc ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t GetLittleEndian(const char* data, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

// Appends every field to the image. Field() is overloaded by type, so that Transfer below
// lists the fields once for both directions.
// The parts of a question on the agenda, of a list row and of an answer, in the order the
// file holds them: one list for the writer and the reader (`Entry` is const for the writer).
template <class IO, class Entry>
void AgendaEntryFields(IO& io, Entry& entry) {
    io.Field(entry.Question.Kind);
    io.Field(entry.Question.Caption);
    io.Field(entry.Question.Text);
    io.Field(entry.Question.Default);
    io.Field(entry.Step);
    io.Field(entry.Index);
}
template <class IO, class Row>
void SavedRowFields(IO& io, Row& row) {
    io.Field(row.Text);
    io.Field(row.Selected);
    if (io.version >= 3) io.Field(row.Property);
}
template <class IO, class Answer>
void AnswerFields(IO& io, Answer& answer) {
    io.Field(answer.Yes);
    io.Field(answer.Text);
}

class Writer {
public:
    std::string bytes;
    std::uint32_t version = TSavedGame::kFormatVersion;

    void Field(const std::string& text) {
        PutLittleEndian(bytes, text.size(), 4);
        bytes += text;
    }
    void Field(Money amount) { Field(amount.Raw()); }
    void Field(bool flag) { bytes.push_back(flag ? 1 : 0); }
    void Field(std::uint8_t value) { PutLittleEndian(bytes, value, 1); }
    void Field(std::uint16_t value) { PutLittleEndian(bytes, value, 2); }
    void Field(std::int32_t value) { PutLittleEndian(bytes, static_cast<std::uint32_t>(value), 4); }
    void Field(std::int64_t value) { PutLittleEndian(bytes, static_cast<std::uint64_t>(value), 8); }
    void Field(std::uint64_t value) { PutLittleEndian(bytes, value, 8); }
    template <class T>
    void List(const std::vector<T>& items) {
        Field(static_cast<std::int32_t>(items.size()));
        for (const T& item : items) Item(item);
    }
    // The three modes are kept as 32-bit numbers.
    template <class Mode>
    requires std::is_enum_v<Mode>
    void Field(Mode mode) { Field(static_cast<std::int32_t>(mode)); }
    void Field(const TRandom& generator) {
        for (std::uint64_t word : generator.GetState()) Field(word);
    }
    void Field(const TMarketHistory& history) {
        List(history.Months());
        List(history.Headlines());
        List(history.Trends());
        List(history.Events());
    }
    void Field(const TAnswer& answer) { AnswerFields(*this, answer); }

private:
    void Item(int n) { Field(static_cast<std::int32_t>(n)); }
    void Item(const TAgendaEntry& entry) { AgendaEntryFields(*this, entry); }
    void Item(const TSavedRow& row) { SavedRowFields(*this, row); }
    void Item(const TMarketHistory::TMonth& month) {
        Field(month.Year);
        Field(month.Month);
        for (Money price : month.AveragePrice) Field(price);
        Field(month.NetWorth);
    }
    void Item(const TMarketHistory::THeadline& headline) {
        Field(static_cast<std::int32_t>(headline.Item));
        Field(headline.Year);
        Field(headline.Month);
        Field(headline.Landed);
    }
    void Item(const TMarketHistory::TTrend& trend) {
        Field(trend.Year);
        Field(static_cast<std::int32_t>(trend.Area));
        Field(trend.Result);
    }
    void Item(const TMarketHistory::TEvent& event) {
        Field(static_cast<std::int32_t>(event.Kind));
        Field(event.Year);
        Field(event.Month);
    }
};

// Reads the fields back; the first fault stops it and is kept in `why`.
class Reader {
public:
    explicit Reader(const std::string& payload) : bytes_(payload) {}
    std::string why;
    std::uint32_t version = TSavedGame::kFormatVersion;
    bool AtEnd() const { return pos_ == bytes_.size(); }

    void Field(std::string& text) {
        std::int32_t size = 0;
        Field(size);
        if (!why.empty()) return;
        if (size < 0 || static_cast<std::size_t>(size) > TSavedGame::kMaxTextBytes)
            return Fail("a text of " + std::to_string(size) + " bytes");
        if (const char* data = Take(static_cast<std::size_t>(size)))
            text.assign(data, static_cast<std::size_t>(size));
    }
    void Field(Money& amount) {
        std::int64_t raw = 0;
        Field(raw);
        amount = Money::FromRaw(raw);
    }
    void Field(bool& flag) {
        std::uint8_t byte = 0;
        Field(byte);
        if (byte > 1) return Fail("a truth value of " + std::to_string(byte));
        flag = byte == 1;
    }
    void Field(std::uint8_t& value) { value = static_cast<std::uint8_t>(Get(1)); }
    void Field(std::uint16_t& value) { value = static_cast<std::uint16_t>(Get(2)); }
    void Field(std::int32_t& value) { value = static_cast<std::int32_t>(Get(4)); }
    void Field(std::int64_t& value) { value = static_cast<std::int64_t>(Get(8)); }
    void Field(std::uint64_t& value) { value = Get(8); }
    template <class T>
    void List(std::vector<T>& items) {
        std::int32_t count = 0;
        Field(count);
        if (!why.empty()) return;
        if (count < 0 || count > kPropertyCount)
            return Fail("a list of " + std::to_string(count) + " entries");
        items.assign(static_cast<std::size_t>(count), T{});
        for (T& item : items) Item(item);
    }
    // A mode out of its enumeration's range is a fault here; its allowed values are
    // checked with the other ranges.
    template <class Mode>
    requires std::is_enum_v<Mode>
    void Field(Mode& mode) {
        std::int32_t value = 0;
        Field(value);
        using Underlying = std::underlying_type_t<Mode>;
        if (value < std::numeric_limits<Underlying>::min() ||
            value > std::numeric_limits<Underlying>::max())
            return Fail("a mode of " + std::to_string(value));
        mode = static_cast<Mode>(value);
    }
    void Field(TRandom& generator) {
        TRandom::State words{};
        for (std::uint64_t& word : words) Field(word);
        if (!why.empty()) return;
        if (!generator.SetState(words)) Fail("random generator state all zero");
    }
    void Field(TMarketHistory& history) {
        std::vector<TMarketHistory::TMonth> months;
        std::vector<TMarketHistory::THeadline> headlines;
        std::vector<TMarketHistory::TTrend> trends;
        std::vector<TMarketHistory::TEvent> events;
        List(months);
        List(headlines);
        List(trends);
        List(events);
        history.Restore(std::move(months), std::move(headlines), std::move(trends),
                        std::move(events));
    }
    void Field(TAnswer& answer) { AnswerFields(*this, answer); }

private:
    void Item(int& n) {
        std::int32_t value = 0;
        Field(value);
        n = value;
    }
    void Item(TAgendaEntry& entry) { AgendaEntryFields(*this, entry); }
    void Item(TSavedRow& row) { SavedRowFields(*this, row); }
    void Item(TMarketHistory::TMonth& month) {
        Field(month.Year);
        Field(month.Month);
        for (Money& price : month.AveragePrice) Field(price);
        Field(month.NetWorth);
    }
    void Item(TMarketHistory::THeadline& headline) {
        Item(headline.Item);
        Field(headline.Year);
        Field(headline.Month);
        Field(headline.Landed);
    }
    void Item(TMarketHistory::TTrend& trend) {
        Field(trend.Year);
        Item(trend.Area);
        Field(trend.Result);
    }
    void Item(TMarketHistory::TEvent& event) {
        std::int32_t kind = 0;
        Field(kind);
        if (kind < 0 || kind > 2) return Fail("an event of kind " + std::to_string(kind));
        event.Kind = static_cast<TMarketHistory::TEventKind>(kind);
        Field(event.Year);
        Field(event.Month);
    }
    void Fail(const std::string& text) {
        if (why.empty()) why = text;
    }
    const char* Take(std::size_t size) {
        if (!why.empty()) return nullptr;
        if (bytes_.size() - pos_ < size) {
            Fail("truncated");
            return nullptr;
        }
        const char* data = bytes_.data() + pos_;
        pos_ += size;
        return data;
    }
    std::uint64_t Get(int size) {
        const char* data = Take(static_cast<std::size_t>(size));
        return data != nullptr ? GetLittleEndian(data, size) : 0;
    }

    const std::string& bytes_;
    std::size_t pos_ = 0;
};

// One field of the game, or a record's fields in turn, or a table's records in turn.
template <class Io, class Value>
void TransferField(Io& io, Value& value) {
    using Plain = std::remove_const_t<Value>;
    if constexpr (std::is_same_v<Plain, TArea> || std::is_same_v<Plain, TProperty> ||
                  std::is_same_v<Plain, TNewsItem>) {
        ForEachField(value, [&io](const char*, auto& field, const TField& f) {
            if (f.Use & kSaved) TransferField(io, field);
        });
    } else if constexpr (std::is_same_v<Plain, std::vector<int>> ||
                         std::is_same_v<Plain, std::vector<TAgendaEntry>>) {
        io.List(value);
    } else if constexpr (requires {
                             value.size();
                             value[0];
                         } &&
                         !std::is_same_v<Plain, std::string>) {
        for (auto& record : value) TransferField(io, record);
    } else {
        io.Field(value);
    }
}

// The payload, field by field, in file order (docs/SAVEDGAME.md lists the same order): the
// game's saved fields, then the window's. An older file has none of the fields added since.
template <class Io, class Saved>
void Transfer(Io& io, Saved& s, std::uint32_t version = TSavedGame::kFormatVersion) {
    io.version = version;
    ForEachField(s.State, [&io, version](const char*, auto& field, const TField& f) {
        if ((f.Use & kSaved) && version >= f.Since) TransferField(io, field);
    });

    auto& w = s.Window;
    io.Field(w.Caption);
    io.Field(w.Status);
    io.Field(w.CashPanel);
    io.Field(w.PortfolioPanel);
    io.Field(w.DebtPanel);
    io.Field(w.Info);
    io.Field(w.AreaCaption);
    io.Field(w.TrendText);
    io.Field(w.TrendPicture);
    io.Field(w.StageText);
    io.Field(w.MonthLabel);
    io.Field(w.Clock);
    io.Field(w.BuySellCaption);
    io.Field(w.DamRenCaption);
    io.Field(w.MortgageCaption);
    io.Field(w.TickerText);
    io.Field(w.TickerActive);
    io.Field(w.TickerOnScreen);
    io.Field(w.TimerInterval);
    io.Field(w.TimerLeft);
    io.Field(w.Progress);
    io.Field(w.Typed);
    io.List(w.Avail);
    io.List(w.Portfolio);
}

// "month is 13 (allowed 1..12)"
std::string Outside(const std::string& what, std::int64_t value, std::int64_t low,
                    std::int64_t high) {
    if (value >= low && value <= high) return {};
    return what + " is " + std::to_string(value) + " (allowed " + std::to_string(low) + ".." +
           std::to_string(high) + ")";
}

std::string BadText(const std::string& what, const std::string& text,
                    std::size_t limit = TSavedGame::kMaxTextBytes) {
    if (text.size() > limit) return what + " longer than " + std::to_string(limit) + " bytes";
    if (!IsValidUtf8(text)) return what + " not UTF-8";
    return {};
}

// The field's own range, as its line in ForEachField gives it; for a list or a pair, each
// entry's.
template <class Value>
std::string RangeProblem(const std::string& what, const Value& value, const TField& f) {
    if (!f.Ranged) return {};
    if constexpr (std::is_same_v<Value, std::string>) {
        return BadText(what, value, static_cast<std::size_t>(f.High));
    } else if constexpr (std::is_same_v<Value, Money>) {
        if (f.Holds(value.Raw())) return {};
        // A price or a debt below zero would pay the player for buying or borrowing.
        return what + (f.Low == 0 && value < Money() ? " below zero" : " out of range");
    } else if constexpr (std::is_enum_v<Value> || std::is_integral_v<Value>) {
        return Outside(what, static_cast<std::int64_t>(value), f.Low, f.High);
    } else if constexpr (requires { typename Value::value_type; }) {
        if constexpr (std::is_integral_v<typename Value::value_type>) {
            if (value.size() > kPropertyCount)
                return "a list of " + std::to_string(value.size()) + " entries";
            for (auto entry : value)
                if (std::string problem = Outside(what, entry, f.Low, f.High); !problem.empty())
                    return problem;
        }
        return {};
    } else {
        return {};
    }
}

// Each record's fields in its range: "sale count of property 1 is -1 (allowed 0..1000000)".
template <class Table>
std::string TableProblem(const Table& table, const char* record) {
    int n = 0;
    for (const auto& entry : table) {
        const std::string of = std::string(" of ") + record + " " + std::to_string(++n);
        std::string problem;
        ForEachField(entry, [&](const char*, const auto& field, const TField& f) {
            if (problem.empty() && (f.Use & kSaved)) problem = RangeProblem(f.What + of, field, f);
        });
        if (!problem.empty()) return problem;
    }
    return {};
}

// Every saved field in its range, in file order.
std::string FieldsProblem(const TGameState& g) {
    std::string problem;
    ForEachField(g, [&](const char*, const auto& field, const TField& f) {
        using Value = std::decay_t<decltype(field)>;
        if (!problem.empty() || !(f.Use & kSaved)) return;
        if constexpr (std::is_same_v<Value, decltype(g.Areas)>)
            problem = TableProblem(field, "area");
        else if constexpr (std::is_same_v<Value, decltype(g.Properties)>)
            problem = TableProblem(field, "property");
        else if constexpr (std::is_same_v<Value, decltype(g.NewsItems)>)
            problem = TableProblem(field, "headline");
        else
            problem = RangeProblem(f.What, field, f);
    });
    return problem;
}

// What a property's own ranges leave open: its area, its flags and its mortgage.
std::string PropertyProblem(int n, const TProperty& p) {
    const std::string of = " of property " + std::to_string(n);
    constexpr std::uint16_t kKnownFlags = Owned | Damaged | Renovated | Mortgaged | Halved;
    const int area = (n - 1) / kPropertiesPerArea + 1;
    if (std::string problem = Outside("area" + of, p.Area, area, area); !problem.empty())
        return problem;
    if ((p.Flags & ~kKnownFlags) != 0) return "unknown flags" + of;
    // The market's recovery doubles a halved price: it must stay in range then too.
    const Money halvedLimit = kLargestSavedAmount.MulDiv(1, 2);
    if (p.Has(Halved) && (p.BuyPrice > halvedLimit || p.BuyPrice < -halvedLimit ||
                          p.SaleValue > halvedLimit || p.SaleValue < -halvedLimit))
        return "halved price" + of + " out of range";
    if (p.Has(Mortgaged) && !p.Has(Owned))
        return "mortgage on an unowned property " + std::to_string(n);
    if (!p.Has(Mortgaged) && p.MonthlyRepayment != Money())
        return "repayment without a mortgage" + of;
    return {};
}

// What a headline's kind allows of its size and target.
std::string NewsProblem(int k, const TNewsItem& item) {
    const std::string of = " of headline " + std::to_string(k);
    switch (item.Kind) {
        case Boom:
        case Slump:
            return Outside("area" + of, item.Target, 0, kAreaCount);
        case Windfall:
            return Outside("size" + of, item.Magnitude, 0, 0);
        default:
            if (std::string problem = Outside("size" + of, item.Magnitude, 0, 0); !problem.empty())
                return problem;
            return Outside("target" + of, item.Target, 0, 0);
    }
}

std::string WindowProblem(const TSavedWindow& w) {
    for (const std::string& problem :
         {BadText("caption", w.Caption),
          BadText("status text", w.Status),
          BadText("cash panel", w.CashPanel),
          BadText("portfolio panel", w.PortfolioPanel),
          BadText("debt panel", w.DebtPanel),
          BadText("information text", w.Info),
          BadText("area caption", w.AreaCaption),
          BadText("trend text", w.TrendText),
          Outside("trend picture", w.TrendPicture, 0, 2),
          BadText("stage text", w.StageText),
          BadText("month label", w.MonthLabel),
          Outside("clock", w.Clock, 1, 12),
          BadText("Buy/Sell caption", w.BuySellCaption),
          BadText("Damage/Renovate caption", w.DamRenCaption),
          BadText("Mortgage/Redeem caption", w.MortgageCaption),
          BadText("ticker text", w.TickerText),
          BadText("typed letters", w.Typed, TSavedGame::kMaxTypedBytes),
          Outside("timer interval", w.TimerInterval, 1, 60000),
          Outside("time left of the month", w.TimerLeft, 0, w.TimerInterval),
          Outside("progress", w.Progress, 0, TGame::kProgressMaximum)})
        if (!problem.empty()) return problem;
    for (const auto* rows : {&w.Avail, &w.Portfolio}) {
        if (rows->size() > kPropertyCount)
            return "a list of " + std::to_string(rows->size()) + " entries";
        for (const TSavedRow& row : *rows)
            for (const std::string& problem :
                 {BadText("list row", row.Text),
                  Outside("property of a list row", row.Property, 0, kPropertyCount)})
                if (!problem.empty()) return problem;
    }
    return {};
}

}  // namespace

TSavedGame TSavedGame::Capture(const TGame& game, TSavedWindow window) {
    TSavedGame s;
    s.State = game.State();
    s.State.Running = false;
    s.State.Paused = false;
    s.State.SoundOn = false;
    s.Window = std::move(window);
    return s;
}

void TSavedGame::ApplyTo(TGame& game) const {
    TGameState& state = game;
    const bool soundOn = state.SoundOn;
    const bool cheatUsed = state.CheatUsed;
    state = State;
    state.Running = false;
    state.Paused = true;
    state.SoundOn = soundOn;
    state.CheatUsed = cheatUsed || State.CheatUsed;  // the bonus works once per run
    game.MarketMoved();
}

Money TSavedGame::NetWorth(const TGame& like) const {
    TGame copy(like);
    ApplyTo(copy);
    return copy.NetWorth();
}

static std::string HistoryProblem(const TSavedGame& s);

// A move stops only at a question: the agenda is empty or begins with one, and every entry is
// a question or a step, each of a known kind.
static std::string AgendaProblem(const TGameState& g) {
    if (!g.Agenda.empty() && !g.Agenda.front().IsQuestion())
        return "the rest of a move without its question";
    for (const TAgendaEntry& entry : g.Agenda) {
        const TQuestion& q = entry.Question;
        for (const std::string& problem :
             {Outside("question", static_cast<int>(q.Kind), 0,
                      static_cast<int>(TQuestionKind::Chooser)),
              Outside("step", static_cast<int>(entry.Step), 0,
                      static_cast<int>(TStep::NewGameDealt)),
              Outside("step's place", entry.Index, 0, 0xFFFF),
              BadText("question's caption", q.Caption), BadText("question", q.Text),
              BadText("question's default answer", q.Default)})
            if (!problem.empty()) return problem;
        if (entry.IsQuestion() == (entry.Step != TStep::None))
            return "an agenda entry that is both or neither a question and a step";
    }
    return BadText("answer", g.LastAnswer.Text);
}

// Each property once, and of its side's list: the for-sale list shows the properties not
// owned, the portfolio the owned ones. Buying or selling the selection would otherwise pay
// twice for one property, or for one that is not there to take. With no side, the selection
// is what was chosen before the last trade and is not acted on.
static std::string SelectionProblem(const TGameState& g) {
    std::array<bool, kPropertyCount + 1> seen{};
    for (int n : g.Selection) {
        const std::string of = "selected property " + std::to_string(n);
        if (seen[static_cast<std::size_t>(n)]) return of + " twice";
        seen[static_cast<std::size_t>(n)] = true;
        const bool owned = g.Property(n).Has(Owned);
        if (g.SelectionSide == TSelectionSide::ForSale && owned) return of + " is not for sale";
        if (g.SelectionSide == TSelectionSide::Portfolio && !owned)
            return of + " is not in the portfolio";
    }
    return {};
}

std::string TSavedGame::Problem() const {
    const TGameState& g = State;
    if (std::string problem = FieldsProblem(g); !problem.empty()) return problem;
    Money repayments;
    for (int n = 1; n <= kPropertyCount; ++n) {
        const TProperty& p = g.Property(n);
        if (std::string problem = PropertyProblem(n, p); !problem.empty()) return problem;
        repayments += p.MonthlyRepayment;
    }
    for (int k = 1; k <= kNewsCount; ++k)
        if (std::string problem = NewsProblem(k, g.News(k)); !problem.empty()) return problem;
    if (repayments != g.MonthlyRepaymentTotal)
        return "repayment total is not the sum of the repayments";
    if (std::string problem = SelectionProblem(g); !problem.empty()) return problem;
    if (std::string problem = HistoryProblem(*this); !problem.empty()) return problem;
    if (std::string problem = AgendaProblem(g); !problem.empty()) return problem;
    return WindowProblem(Window);
}

static std::string HistoryProblem(const TSavedGame& saved) {
    const TMarketHistory& s = saved.State.History;
    // The history's dates lie in the game's years and months.
    static const TField kYear = FieldNamed("year");
    static const TField kMonth = FieldNamed("month");
    const auto badYear = [](const std::string& what, std::int64_t value) {
        return Outside(what, value, kYear.Low, kYear.High);
    };
    const auto badMonth = [](const std::string& what, std::int64_t value) {
        return Outside(what, value, kMonth.Low, kMonth.High);
    };
    for (const auto& month : s.Months()) {
        for (const std::string& problem :
             {badYear("year of a past month", month.Year), badMonth("a past month", month.Month),
              RangeProblem("net worth of a past month", month.NetWorth, Amount(kSaved, ""))})
            if (!problem.empty()) return problem;
        for (Money price : month.AveragePrice)
            if (std::string problem =
                    RangeProblem("average price of a past month", price, Price(kSaved, ""));
                !problem.empty())
                return problem;
    }
    for (const auto& headline : s.Headlines())
        for (const std::string& problem : {Outside("headline shown", headline.Item, 1, kNewsCount),
                                           badYear("year of a headline", headline.Year),
                                           badMonth("month of a headline", headline.Month)})
            if (!problem.empty()) return problem;
    for (const auto& trend : s.Trends())
        for (const std::string& problem :
             {badYear("year of a trend", trend.Year),
              Outside("area of a trend", trend.Area, 1, kAreaCount),
              Outside("result of a trend", trend.Result, Steady, Fallen)})
            if (!problem.empty()) return problem;
    for (const auto& event : s.Events())
        for (const std::string& problem :
             {badYear("year of an event", event.Year), badMonth("month of an event", event.Month)})
            if (!problem.empty()) return problem;
    return {};
}

std::string TSavedGame::ToBytes(std::uint32_t version) const {
    Writer payload;
    Transfer(payload, *this, version);
    return Seal(payload.bytes, version);
}

std::string TSavedGame::Seal(const std::string& payload, std::uint32_t version) {
    std::string image(kMagic, sizeof kMagic);
    PutLittleEndian(image, version, 4);
    PutLittleEndian(image, payload.size(), 4);
    PutLittleEndian(image, Crc32(payload.data(), payload.size()), 4);
    return image + payload;
}

bool TSavedGame::FromBytes(const std::string& bytes, TSavedGame& saved, std::string& why) {
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        why = "not a saved game";
        return false;
    }
    if (bytes.size() < kHeaderSize) {
        why = "truncated";
        return false;
    }
    const auto version = static_cast<std::uint32_t>(GetLittleEndian(bytes.data() + 8, 4));
    if (version < 1 || version > kFormatVersion) {
        why =
            "format version " + std::to_string(version) + ", not " + std::to_string(kFormatVersion);
        return false;
    }
    const auto size = static_cast<std::size_t>(GetLittleEndian(bytes.data() + 12, 4));
    const std::size_t present = bytes.size() - kHeaderSize;
    if (present != size) {
        why = present < size ? "truncated" : "bytes after the end";
        return false;
    }
    const std::string payload = bytes.substr(kHeaderSize);
    if (Crc32(payload.data(), payload.size()) !=
        static_cast<std::uint32_t>(GetLittleEndian(bytes.data() + 16, 4))) {
        why = "checksum does not match";
        return false;
    }

    TSavedGame loaded;
    DealDefaults(loaded.State);
    Reader reader(payload);
    Transfer(reader, loaded, version);
    if (reader.why.empty() && !reader.AtEnd()) reader.why = "bytes after the end";
    if (!reader.why.empty()) {
        why = reader.why;
        return false;
    }
    why = loaded.Problem();
    if (!why.empty()) return false;
    saved = std::move(loaded);
    return true;
}
