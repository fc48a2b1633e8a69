// The game world: initialisation, generated prices and the small money operations.

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>

#include "engine/Game.h"

namespace {

std::string DirectoryWithSeparator(const std::string& dir) {
    if (dir.empty() || dir.back() == '/') return dir;
    return dir + "/";
}

}  // namespace

TGame::TGame(TPlatform platform)
    : platform_(std::move(platform)),
      programDir_(DirectoryWithSeparator(
          std::filesystem::path(platform_.ProgramPath).parent_path().string())),
      customisation_(
          std::filesystem::path(platform_.ProgramPath).replace_extension(".INI").string()) {}

const std::string& TGame::MonthName(int m) const {
    static const std::string none;
    if (m < 1 || m > 12) return none;
    return MonthNames[static_cast<std::size_t>(m - 1)];
}

std::string TGame::StageName() const {
    return StageName(Stage);
}

std::string TGame::StageName(int stage) {
    if (stage < 1 || stage > 3) return {};
    return std::string(world::kStageNames[static_cast<std::size_t>(stage - 1)]);
}

std::string TGame::Today() const {
    return platform_.Today ? platform_.Today() : TPlatform::SystemToday();
}

void TGame::InitWorld() {
    const TMoveScope move(*this);
    // A new world asks nothing more of the old one.
    Agenda.clear();
    agendaCursor_ = 0;
    LastAnswer = TAnswer();
    // 1. A new seed for every game: a challenge's, the platform's, or from the clock (40 bits,
    // so that its challenge code stays short).
    if (nextSeed_) {
        seed_ = *nextSeed_;
    } else if (platform_.Seed) {
        seed_ = *platform_.Seed;
    } else {
        seed_ = static_cast<std::uint64_t>(
                    std::chrono::high_resolution_clock::now().time_since_epoch().count()) &
                ((std::uint64_t{1} << 40) - 1);
    }
    nextSeed_.reset();
    Generator.Seed(seed_);
    // 2-7. The cash, the names, the modes, the date, the debt, the stage and the clock: each
    // field's default is on its line in ForEachField.
    DealDefaults(*this);
    SoundOn = soundDeviceWorks_;
    reckoning_ = false;
    ResumedFrom.clear();
    History.Clear();
    // 8. Areas and their base prices.
    for (int a = 1; a <= kAreaCount; ++a) {
        Area(a).Name = world::kAreas[static_cast<std::size_t>(a - 1)].Name;
        Area(a).LowestPrice =
            Money::FromRaw(world::kAreas[static_cast<std::size_t>(a - 1)].StartingLowestPriceRaw);
    }
    // 9.
    for (std::size_t m = 0; m < MonthNames.size(); ++m) MonthNames[m] = world::kMonthNames[m];
    // 10.
    GenerateProperties();
    // 11.
    for (auto& item : NewsItems) item.Shown = false;
    // 12.
    for (std::size_t i = 0; i < ImprovementNames.size(); ++i)
        ImprovementNames[i] = world::kImprovementNames[i];
    // 13.
    for (std::size_t p = 0; p < Properties.size(); ++p) {
        Properties[p].Name = world::kPropertyNames[p];
        Properties[p].Description = world::kPropertyDescriptions[p];
    }
    // 14.
    for (std::size_t k = 0; k < NewsItems.size(); ++k) {
        NewsItems[k].Headline = world::kNews[k].Headline;
        NewsItems[k].Kind = world::kNews[k].Kind;
        NewsItems[k].Magnitude = world::kNews[k].Magnitude;
        NewsItems[k].Target = world::kNews[k].Target;
    }
    // 15. The two places of the hi-score file.
    ProgramDir = programDir_;
    WindowsDir = DirectoryWithSeparator(platform_.UserDataDirectory);
    // 16.
    customisationHash_ = 0;
    customisationDigest_ = 0;
    if (!plainNext_) ReadCustomisation();
    plainNext_ = false;
    // The record of the new game begins with its deal; what the customisation asked is
    // answered by its first moves.
    ++deals_;
    record_ = TGameRecord();
    record_.Code = Challenge();
    record_.Sound = soundDeviceWorks_;
    recordOpen_ = true;
}

void TGame::GenerateProperties() {
    for (int a = 1; a <= kAreaCount; ++a) {
        const Money lowest = Area(a).LowestPrice;
        const double lowestPounds = static_cast<double>(lowest.Raw()) / Money::kScale;
        for (int j = 1; j <= kPropertiesPerArea; ++j) {
            TProperty& p = Property((a - 1) * kPropertiesPerArea + j);
            p.Area = a;
            p.DamageCount = 0;
            p.SoldCount = 0;
            p.Flags = 0;
            p.DoneImprovements = 0;
            p.MonthlyRepayment = Money();
            const double u = Generator.Real();
            const auto up = static_cast<std::int64_t>(u * 0.25 * lowestPounds);
            p.BuyPrice = lowest + Money::Pounds(up);
            const double v = Generator.Real();
            const auto down = static_cast<std::int64_t>(v * 0.1 * lowestPounds);
            p.SaleValue = p.BuyPrice - Money::Pounds(down);
        }
    }
    MarketMoved();
}

void TGame::UpdateLowestPrice(int area) {
    if (area < 1 || area > kAreaCount) return;
    // Whether a price is the lowest so far follows no pattern: chosen without a branch, on
    // plain numbers the compiler keeps in registers.
    std::int64_t lowest = kLowestPriceCap.Raw();
    for (const TProperty& p : Properties) {
        const std::int64_t price = p.Area == area ? p.SaleValue.Raw() : lowest;
        lowest = price < lowest ? price : lowest;
    }
    Area(area).LowestPrice = Money::FromRaw(lowest);
}

void TGame::UpdateLowestPrices() {
    // One pass for the six areas: the properties lie in area order, twenty an area, so each
    // area's lowest price is kept in a register while its block is read; a property found
    // outside its block counts for its own area all the same.
    std::array<std::int64_t, kAreaCount> lowest;
    lowest.fill(kLowestPriceCap.Raw());
    for (std::size_t block = 0; block < kAreaCount; ++block) {
        const int area = static_cast<int>(block) + 1;
        std::int64_t low = kLowestPriceCap.Raw();
        for (std::size_t i = block * kPropertiesPerArea; i < (block + 1) * kPropertiesPerArea;
             ++i) {
            const TProperty& p = Properties[i];
            const std::int64_t price = p.SaleValue.Raw();
            if (p.Area == area) {
                low = price < low ? price : low;
            } else if (p.Area >= 1 && p.Area <= kAreaCount) {
                std::int64_t& other = lowest[static_cast<std::size_t>(p.Area - 1)];
                other = std::min(other, price);
            }
        }
        lowest[block] = std::min(lowest[block], low);
    }
    for (std::size_t a = 0; a < kAreaCount; ++a) Areas[a].LowestPrice = Money::FromRaw(lowest[a]);
}

void TGame::AddCash(Money amount) {
    if (!Engaged) return;
    Cash += amount;
    TellCash();
}

void TGame::SpendCash(Money amount) {
    if (!Engaged) return;
    // Paid in full, even into negative cash: a choice has asked CanAfford first, and an
    // obligation stopped at zero would be money the player never paid.
    Cash -= amount;
    TellCash();
}

Money TGame::PortfolioValue() const {
    if (!Engaged) return Money();
    Money total;
    for (const TProperty& p : Properties)
        if (p.Has(Owned)) total += p.SaleValue;
    return total;
}

Money TGame::NetWorth() const {
    return PortfolioValue() + Cash - Debt;
}

int TGame::MonthsLeft() const {
    return 120 - ((Year - 2000) + Month);
}

Money TGame::Instalment(int property) const {
    const int left = MonthsLeft();
    // The calendar keeps the divisor between 99 and 119; a date outside the game's ten years
    // (only reachable by a debugging command) pays the loan back in one month.
    if (left <= 0) return Property(property).SaleValue;
    return Property(property).SaleValue.MulDiv(1, left);
}

// ---------------------------------------------------------------- clock states and selection

void TGame::StartGame() {
    Running = true;
    Paused = false;
    PendingNews = 0;
    Engaged = false;
}

void TGame::PauseClock() {
    Running = false;
    Paused = true;
}

void TGame::ResumeClock() {
    Running = true;
    Paused = false;
}

TPanelFigures TGame::PanelFigures() const {
    return {Cash, Debt, MonthlyRepaymentTotal, SelectionSide, MortgageMode, MarketTrend, Stage};
}

void TGame::PausePlay() {
    PauseClock();
    Emit(TGameEventKind::Paused);
}

void TGame::ResumePlay() {
    ResumeClock();
    SettleSelection();
    Emit(TGameEventKind::Resumed).Panels = PanelFigures();
}

void TGame::ClearListSelections() {
    RowsSelected = {};
    Emit(TGameEventKind::SelectionsCleared);
}

void TGame::NewTickerText(std::initializer_list<std::string_view> parts) {
    Emit(TGameEventKind::TickerStopped);
    std::string& text = Emit(TGameEventKind::TickerText).Text;
    for (std::string_view part : parts) text.append(part);
    Emit(TGameEventKind::TickerActive).Flag = true;
}

void TGame::ResetPlay() {
    SelectionSide = TSelectionSide::None;
    MortgageMode = TMortgageMode::None;
    MonthsPlayed = 0;
    MarketTrend = Steady;
}

void TGame::RepriceSelection() {
    BuyTotal = Money();
    SellTotal = Money();
    for (int n : Selection) {
        BuyTotal += Property(n).BuyPrice;
        SellTotal += Property(n).SaleValue;
    }
}

void TGame::ClearSelectionTotals() {
    MortgageMode = TMortgageMode::None;
    BuyTotal = Money();
    SellTotal = Money();
}

void TGame::SettleSelection() {
    switch (SelectionSide) {
        case TSelectionSide::None:
            if (SelectedRows(TList::Avail) == 0) ClearSelectionTotals();
            break;
        case TSelectionSide::ForSale:
            MortgageMode = TMortgageMode::None;
            break;
        case TSelectionSide::Portfolio:
            break;
    }
}

void TGame::Select(TSelectionSide side, std::vector<int> properties) {
    Selection = std::move(properties);
    RepriceSelection();
    SelectionSide = side;
    if (side == TSelectionSide::ForSale || Selection.size() != 1)
        MortgageMode = TMortgageMode::None;
    else
        MortgageMode = Property(Selection.front()).Has(Mortgaged) ? TMortgageMode::CanRedeem
                                                                  : TMortgageMode::CanMortgage;
}
