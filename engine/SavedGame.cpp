// The saved game's contents, its file image and the checks a loaded file must pass.

#include "engine/SavedGame.h"

#include <algorithm>
#include <cstring>

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
class Writer {
public:
    std::string bytes;

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

private:
    void Item(int n) { Field(static_cast<std::int32_t>(n)); }
    void Item(const TSavedRow& row) {
        Field(row.Text);
        Field(row.Selected);
    }
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

private:
    void Item(int& n) {
        std::int32_t value = 0;
        Field(value);
        n = value;
    }
    void Item(TSavedRow& row) {
        Field(row.Text);
        Field(row.Selected);
    }
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

// The payload, field by field, in file order (docs/SAVEDGAME.md lists the same order).
template <class Io, class Saved>
void Transfer(Io& io, Saved& s) {
    for (auto& area : s.Areas) {
        io.Field(area.Name);
        io.Field(area.LowestPrice);
    }
    for (auto& p : s.Properties) {
        io.Field(p.Name);
        io.Field(p.Description);
        io.Field(p.DamageCount);
        io.Field(p.SoldCount);
        io.Field(p.Area);
        io.Field(p.BuyPrice);
        io.Field(p.SaleValue);
        io.Field(p.MonthlyRepayment);
        io.Field(p.Flags);
        io.Field(p.DoneImprovements);
    }
    for (auto& item : s.NewsItems) {
        io.Field(item.Headline);
        io.Field(item.Kind);
        io.Field(item.Magnitude);
        io.Field(item.Target);
        io.Field(item.Shown);
    }
    io.Field(s.Cash);
    io.Field(s.Debt);
    io.Field(s.MonthlyRepaymentTotal);
    io.Field(s.Stage);
    io.Field(s.CrashTicks);
    io.Field(s.Year);
    io.Field(s.Month);
    io.Field(s.CurrentArea);
    io.Field(s.Engaged);
    io.Field(s.CheatUsed);
    io.Field(s.FirstName);
    io.Field(s.LastName);
    io.Field(s.ContactAddress);
    io.Field(s.SelectionSide);
    io.Field(s.MortgageMode);
    io.Field(s.DamRenMode);
    io.Field(s.MonthsPlayed);
    io.Field(s.MarketTrend);
    io.Field(s.PendingNews);
    io.List(s.Selection);
    io.Field(s.BuyTotal);
    io.Field(s.SellTotal);
    io.Field(s.DamRenAmount);
    for (auto& word : s.Random) io.Field(word);
    io.List(s.Months);
    io.List(s.Headlines);
    io.List(s.Trends);
    io.List(s.Events);

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

std::string BadAmount(const std::string& what, Money amount) {
    if (amount >= -TSavedGame::kLargestAmount && amount <= TSavedGame::kLargestAmount) return {};
    return what + " out of range";
}

// A price or a debt: the game never takes one below zero, and one below zero would pay the
// player for buying or borrowing.
std::string BadPrice(const std::string& what, Money amount) {
    if (amount < Money()) return what + " below zero";
    return BadAmount(what, amount);
}

std::string PropertyProblem(int n, const TProperty& p) {
    const std::string of = " of property " + std::to_string(n);
    constexpr std::uint16_t kKnownFlags = Owned | Damaged | Renovated | Mortgaged | Halved;
    for (const std::string& problem :
         {BadText("name" + of, p.Name), BadText("description" + of, p.Description),
          Outside("area" + of, p.Area, (n - 1) / kPropertiesPerArea + 1,
                  (n - 1) / kPropertiesPerArea + 1),
          Outside("damage count" + of, p.DamageCount, 0, TSavedGame::kLargestCount),
          Outside("sale count" + of, p.SoldCount, 0, TSavedGame::kLargestCount),
          BadPrice("buying price" + of, p.BuyPrice), BadPrice("sale value" + of, p.SaleValue),
          BadPrice("monthly repayment" + of, p.MonthlyRepayment)})
        if (!problem.empty()) return problem;
    if ((p.Flags & ~kKnownFlags) != 0) return "unknown flags" + of;
    // The market's recovery doubles a halved price: it must stay in range then too.
    const Money halvedLimit = TSavedGame::kLargestAmount.MulDiv(1, 2);
    if (p.Has(Halved) && (p.BuyPrice > halvedLimit || p.BuyPrice < -halvedLimit ||
                          p.SaleValue > halvedLimit || p.SaleValue < -halvedLimit))
        return "halved price" + of + " out of range";
    if (p.Has(Mortgaged) && !p.Has(Owned))
        return "mortgage on an unowned property " + std::to_string(n);
    if (!p.Has(Mortgaged) && p.MonthlyRepayment != Money())
        return "repayment without a mortgage" + of;
    return {};
}

std::string NewsProblem(int k, const TNewsItem& item) {
    const std::string of = " of headline " + std::to_string(k);
    if (std::string problem = BadText("text" + of, item.Headline); !problem.empty()) return problem;
    switch (item.Kind) {
        case Boom:
        case Slump:
            if (std::string problem = Outside("size" + of, item.Magnitude, 0, 10); !problem.empty())
                return problem;
            return Outside("area" + of, item.Target, 0, kAreaCount);
        case Windfall:
            return Outside("size" + of, item.Magnitude, 0, 0);
        case NoEffect:
            if (std::string problem = Outside("size" + of, item.Magnitude, 0, 0); !problem.empty())
                return problem;
            return Outside("target" + of, item.Target, 0, 0);
        default:
            return Outside("kind" + of, item.Kind, NoEffect, Windfall);
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
            if (std::string problem = BadText("list row", row.Text); !problem.empty())
                return problem;
    }
    return {};
}

}  // namespace

TSavedGame TSavedGame::Capture(const TGame& game, TSavedWindow window) {
    TSavedGame s;
    s.Areas = game.Areas;
    s.Properties = game.Properties;
    s.NewsItems = game.NewsItems;
    s.Cash = game.Cash;
    s.Debt = game.Debt;
    s.MonthlyRepaymentTotal = game.MonthlyRepaymentTotal;
    s.Stage = game.Stage;
    s.CrashTicks = game.CrashTicks;
    s.Year = game.Year;
    s.Month = game.Month;
    s.CurrentArea = game.CurrentArea;
    s.Engaged = game.Engaged;
    s.CheatUsed = game.CheatUsed;
    s.FirstName = game.FirstName;
    s.LastName = game.LastName;
    s.ContactAddress = game.ContactAddress;
    s.SelectionSide = static_cast<int>(game.SelectionSide);
    s.MortgageMode = static_cast<int>(game.MortgageMode);
    s.DamRenMode = static_cast<int>(game.DamRenMode);
    s.MonthsPlayed = game.MonthsPlayed;
    s.MarketTrend = game.MarketTrend;
    s.PendingNews = game.PendingNews;
    s.Selection = game.Selection;
    s.BuyTotal = game.BuyTotal;
    s.SellTotal = game.SellTotal;
    s.DamRenAmount = game.DamRenAmount;
    s.Random = game.Random().GetState();
    s.Months = game.History.Months();
    s.Headlines = game.History.Headlines();
    s.Trends = game.History.Trends();
    s.Events = game.History.Events();
    s.Window = std::move(window);
    return s;
}

void TSavedGame::ApplyTo(TGame& game) const {
    game.Areas = Areas;
    game.Properties = Properties;
    game.NewsItems = NewsItems;
    game.Cash = Cash;
    game.Debt = Debt;
    game.MonthlyRepaymentTotal = MonthlyRepaymentTotal;
    game.Stage = Stage;
    game.CrashTicks = CrashTicks;
    game.Year = Year;
    game.Month = Month;
    game.CurrentArea = CurrentArea;
    game.Running = false;
    game.Paused = true;
    game.Engaged = Engaged;
    game.CheatUsed = game.CheatUsed || CheatUsed;  // the bonus works once per run
    game.FirstName = FirstName;
    game.LastName = LastName;
    game.ContactAddress = ContactAddress;
    game.SelectionSide = static_cast<decltype(game.SelectionSide)>(SelectionSide);
    game.MortgageMode = static_cast<decltype(game.MortgageMode)>(MortgageMode);
    game.DamRenMode = static_cast<decltype(game.DamRenMode)>(DamRenMode);
    game.MonthsPlayed = MonthsPlayed;
    game.MarketTrend = MarketTrend;
    game.PendingNews = PendingNews;
    game.Selection = Selection;
    game.BuyTotal = BuyTotal;
    game.SellTotal = SellTotal;
    game.DamRenAmount = DamRenAmount;
    game.Random().SetState(Random);
    game.History.Restore(Months, Headlines, Trends, Events);
}

Money TSavedGame::NetWorth(const TGame& like) const {
    TGame copy(like);
    ApplyTo(copy);
    return copy.NetWorth();
}

static std::string HistoryProblem(const TSavedGame& s);

std::string TSavedGame::Problem() const {
    for (int a = 1; a <= kAreaCount; ++a) {
        const TArea& area = Areas[static_cast<std::size_t>(a - 1)];
        const std::string of = " of area " + std::to_string(a);
        if (std::string problem = BadText("name" + of, area.Name); !problem.empty()) return problem;
        if (std::string problem = BadPrice("lowest price" + of, area.LowestPrice); !problem.empty())
            return problem;
    }
    Money repayments;
    for (int n = 1; n <= kPropertyCount; ++n) {
        const TProperty& p = Properties[static_cast<std::size_t>(n - 1)];
        if (std::string problem = PropertyProblem(n, p); !problem.empty()) return problem;
        repayments += p.MonthlyRepayment;
    }
    for (int k = 1; k <= kNewsCount; ++k)
        if (std::string problem = NewsProblem(k, NewsItems[static_cast<std::size_t>(k - 1)]);
            !problem.empty())
            return problem;

    for (const std::string& problem : {BadAmount("cash", Cash),
                                       BadPrice("debt", Debt),
                                       BadPrice("repayment total", MonthlyRepaymentTotal),
                                       BadPrice("buying total", BuyTotal),
                                       BadPrice("selling total", SellTotal),
                                       BadPrice("damage or renovation", DamRenAmount),
                                       Outside("stage", Stage, 1, 3),
                                       Outside("crash count", CrashTicks, 0, kMonthsInGame),
                                       Outside("year", Year, 2000, 2009),
                                       Outside("month", Month, 1, 12),
                                       Outside("area", CurrentArea, 1, kAreaCount),
                                       Outside("months played", MonthsPlayed, 0, kMonthsInGame - 1),
                                       Outside("market trend", MarketTrend, Steady, Fallen),
                                       Outside("pending headline", PendingNews, 0, kNewsCount),
                                       Outside("selection side", SelectionSide, 0, 2),
                                       Outside("mortgage mode", MortgageMode, 0, 2),
                                       Outside("damage/renovate mode", DamRenMode, 0, 2),
                                       BadText("first name", FirstName),
                                       BadText("last name", LastName),
                                       BadText("contact address", ContactAddress)})
        if (!problem.empty()) return problem;
    if (repayments != MonthlyRepaymentTotal)
        return "repayment total is not the sum of the repayments";
    if (Selection.size() > kPropertyCount)
        return "a list of " + std::to_string(Selection.size()) + " entries";
    for (int n : Selection)
        if (std::string problem = Outside("selected property", n, 1, kPropertyCount);
            !problem.empty())
            return problem;
    if (Random == TRandom::State{}) return "random generator state all zero";
    if (std::string problem = HistoryProblem(*this); !problem.empty()) return problem;
    return WindowProblem(Window);
}

static std::string HistoryProblem(const TSavedGame& s) {
    for (const auto& month : s.Months) {
        for (const std::string& problem : {Outside("year of a past month", month.Year, 2000, 2009),
                                           Outside("a past month", month.Month, 1, 12),
                                           BadAmount("net worth of a past month", month.NetWorth)})
            if (!problem.empty()) return problem;
        for (Money price : month.AveragePrice)
            if (std::string problem = BadPrice("average price of a past month", price);
                !problem.empty())
                return problem;
    }
    for (const auto& headline : s.Headlines)
        for (const std::string& problem : {Outside("headline shown", headline.Item, 1, kNewsCount),
                                           Outside("year of a headline", headline.Year, 2000, 2009),
                                           Outside("month of a headline", headline.Month, 1, 12)})
            if (!problem.empty()) return problem;
    for (const auto& trend : s.Trends)
        for (const std::string& problem :
             {Outside("year of a trend", trend.Year, 2000, 2009),
              Outside("area of a trend", trend.Area, 1, kAreaCount),
              Outside("result of a trend", trend.Result, Steady, Fallen)})
            if (!problem.empty()) return problem;
    for (const auto& event : s.Events)
        for (const std::string& problem : {Outside("year of an event", event.Year, 2000, 2009),
                                           Outside("month of an event", event.Month, 1, 12)})
            if (!problem.empty()) return problem;
    return {};
}

std::string TSavedGame::ToBytes() const {
    Writer payload;
    Transfer(payload, *this);
    return Seal(payload.bytes);
}

std::string TSavedGame::Seal(const std::string& payload) {
    std::string image(kMagic, sizeof kMagic);
    PutLittleEndian(image, kFormatVersion, 4);
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
    if (version != kFormatVersion) {
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
    Reader reader(payload);
    Transfer(reader, loaded);
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
