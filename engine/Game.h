#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameWindow.h"
#include "engine/MarketHistory.h"
#include "engine/Money.h"
#include "engine/Platform.h"
#include "engine/Random.h"
#include "engine/World.h"

// One game of Realtopia: the world tables, the game state and every rule that changes them.
// The main window owns one for the program's lifetime; it draws nothing itself and reaches
// the window only through IGameWindow.
//
// Every pound is accounted for. Obligations (a police fine, the monthly repayment, redeeming,
// the final settlement) are paid in full through SpendCash, even into negative cash. Choices
// (buying, renovating) happen only when CanAfford says the cash covers them, so nothing is
// bought or renovated while the cash is below zero. A fine is paid before the proceeds of the
// act that drew it. The selection's totals follow the prices (RepriceSelection after every
// price movement), so a purchase or sale is made at the price the lists show.
class TGame {
public:
    // Amounts and thresholds of the rules.
    static constexpr Money kStartingCash = Money::Pounds(800000);
    static constexpr Money kSellingFine = Money::Pounds(100000);
    static constexpr Money kVandalismFine = Money::Pounds(200000);
    static constexpr Money kMagnateWorth = Money::Pounds(1600000);
    static constexpr Money kBankBonus = Money::Pounds(3400000);
    static constexpr Money kGuruWorth = Money::Pounds(10000000);
    static constexpr Money kLowestPriceCap = Money::Pounds(1000000);
    static constexpr Money kCheatBonus = Money::Pounds(500000);
    // The largest price or cash, either way of zero, that a customisation file or a debugging
    // command may set: sums of all 120 prices and the cash then stay far inside Money's range.
    static constexpr Money kLargestAmount = Money::Pounds(1'000'000'000'000);
    static constexpr int kSuspicionThreshold = 3;
    static constexpr int kVandalismThreshold = 3;
    static constexpr int kProgressMaximum = 108;
    static constexpr const char* kDefaultContactAddress = "realtopia@example.com";
    static constexpr const char* kHiScoreFileName = "REALTOPI.DAT";

    TGame(IGameWindow& window, TPlatform platform);

    // ---- World tables (1-based accessors) ----
    std::array<TArea, kAreaCount> Areas;
    std::array<TProperty, kPropertyCount> Properties;
    std::array<TNewsItem, kNewsCount> NewsItems;
    std::array<std::string, 12> MonthNames;
    std::array<std::string, kImprovementCount> ImprovementNames;

    TArea& Area(int a) { return Areas[static_cast<std::size_t>(a - 1)]; }
    const TArea& Area(int a) const { return Areas[static_cast<std::size_t>(a - 1)]; }
    TProperty& Property(int p) { return Properties[static_cast<std::size_t>(p - 1)]; }
    const TProperty& Property(int p) const { return Properties[static_cast<std::size_t>(p - 1)]; }
    TNewsItem& News(int k) { return NewsItems[static_cast<std::size_t>(k - 1)]; }
    const std::string& MonthName(int m) const;
    std::string StageName() const;  // "Developer", "Magnate" or "Guru"

    // ---- Game state ----
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
    std::string FirstName;
    std::string LastName;
    std::string ContactAddress;
    TSelectionSide SelectionSide = TSelectionSide::None;
    TMortgageMode MortgageMode = TMortgageMode::None;
    TDamRenMode DamRenMode = TDamRenMode::None;
    std::string ProgramDir;
    std::string WindowsDir;
    bool Engaged = false;
    std::int32_t MonthsPlayed = 0;
    std::int32_t MarketTrend = Steady;
    std::int32_t PendingNews = 0;
    std::vector<int> Selection;
    Money BuyTotal;
    Money SellTotal;
    Money DamRenAmount;
    bool CheatUsed = false;
    // What the market did this game, for the Market Report; emptied by InitWorld.
    TMarketHistory History;

    // How many rows of each list are selected, as the window logic last told.
    int SelectedRows(IGameWindow::List list) const {
        return selectedRows_[list == IGameWindow::List::Avail ? 0 : 1];
    }
    void SetSelectedRows(IGameWindow::List list, int count) {
        selectedRows_[list == IGameWindow::List::Avail ? 0 : 1] = count;
    }

    // ---- The clock states and the player's first click ----
    // A new game begins: no headline is pending and the player has not clicked yet.
    void StartGame();
    void PauseClock();
    void ResumeClock();
    // The clock does not run (the window is shown, or reset for a new world).
    void StopClock() { Running = false; }
    void Engage() { Engaged = true; }
    void Disengage() { Engaged = false; }
    // Back to the start of play: no selection, no month played, a steady market.
    void ResetPlay();
    void ChooseArea(int area) { CurrentArea = area; }
    void ForgetSelection() { SelectionSide = TSelectionSide::None; }
    // The totals and modes of an empty selection.
    void ClearSelectionTotals();
    // The selection's totals worked out again from the current prices.
    void RepriceSelection();
    // A selection made in one list: the properties, their totals and the list it came from.
    void Select(TSelectionSide side, std::vector<int> properties);
    void SetSoundOn(bool on) { SoundOn = on; }
    // The cheat pays once per run of the program, and only in a game the player has engaged
    // in: before that no money moves, and a phrase that paid nothing stays unused.
    bool CheatBonusPayable() const { return Engaged && !CheatUsed; }
    void PayCheatBonus() {
        if (!CheatBonusPayable()) return;
        AddCash(kCheatBonus);
        CheatUsed = true;
    }

    // ---- Game world ----
    void InitWorld();
    void GenerateProperties();
    void UpdateLowestPrice(int area);
    void AddCash(Money amount);
    void SpendCash(Money amount);
    // A choice of the player's costing `amount` can be paid from the cash.
    bool CanAfford(Money amount) const { return Cash >= amount; }
    Money PortfolioValue() const;
    Money NetWorth() const;
    int MonthsLeft() const;
    Money Instalment(int property) const;

    // ---- Monthly cycle and market ----
    void MonthlyTick();
    void IdleTick();
    void MonthlyDuties();
    void YearlyTrend();
    void NewsEvent();
    void ApplyNews(int item);
    void CrashMarket();
    void RestoreMarket();

    // ---- Buying and selling ----
    void cmd_BuySellClick();
    void Buy();
    void Sell();

    // ---- Mortgages ----
    void cmd_MortgageClick();
    void Mortgage();
    void Redeem();
    void RedeemAllMortgages();

    // ---- Damage and renovation ----
    void cmd_DamRenClick();
    void Damage();
    // False when the cash does not cover the renovation, which then changes nothing.
    bool Renovate();
    // The chooser's amount for item k (1..8) of the current mode, from `lowestPrice`.
    static Money ImprovementAmount(int k, Money lowestPrice);
    static std::uint16_t ImprovementBit(int k, TDamRenMode mode);

    // ---- Stages and the end ----
    void CheckStage();
    void EndGame();
    void QuitAndReplay();

    // ---- Hi-score table and customisation file ----
    void RecordHiScore();
    std::string HiScorePath() const;
    void ReadCustomisation();
    std::string CustomisationPath() const;

    // ---- The saved game ----
    // REALTOPI.SAV, beside the hi-score table.
    std::string SavedGamePath() const;
    // Started with PLAY and not yet at its reckoning: the game that leaving the program keeps.
    bool GameInProgress() const;
    // The saved-game file this game was resumed from, removed when the game ends; empty for a
    // game dealt afresh.
    std::string ResumedFrom;

    IGameWindow& Window() { return window_; }
    const TPlatform& Platform() const { return platform_; }
    TRandom& Random() { return random_; }
    const TRandom& Random() const { return random_; }
    // Rises every time a game ends; lets a caller notice that the game it was running ended.
    std::uint64_t EndCount() const { return endCount_; }

private:
    std::string Today() const;
    // Why a customised name cannot be given to `property`, or nothing when it can.
    std::string NameProblem(int property, const std::string& name) const;
    // Settles `amount` of the mortgage debt (no more than is owed) from the cash.
    void PayDebt(Money amount);

    IGameWindow& window_;
    TPlatform platform_;
    TRandom random_;
    std::string programDir_;  // the program's directory, with a separator at the end
    std::string customisationPath_;
    std::uint64_t endCount_ = 0;
    std::array<int, 2> selectedRows_{};
    bool reckoning_ = false;  // EndGame has begun; cleared by the next InitWorld
};
