#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameWindow.h"
#include "engine/Money.h"
#include "engine/Platform.h"
#include "engine/Random.h"
#include "engine/World.h"

// One game of Realtopia: the world tables, the game state and every rule that changes them.
// The main window owns one for the program's lifetime; it draws nothing itself and reaches
// the window only through IGameWindow.
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
    std::int8_t SelectionSide = 0;  // 0 none, 1 for-sale list, 2 portfolio
    std::int8_t MortgageMode = 0;   // 0 none, 1 can mortgage, 2 can redeem
    std::int8_t DamRenMode = 0;     // 1 damage, 2 renovate
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

    // ---- Game world ----
    void InitWorld();
    void GenerateProperties();
    void UpdateLowestPrice(int area);
    void AddCash(Money amount);
    void SpendCash(Money amount);
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
    void Renovate();
    // The chooser's amount for item k (1..8) of the current mode, from `lowestPrice`.
    static Money ImprovementAmount(int k, Money lowestPrice);
    static std::uint16_t ImprovementBit(int k, int damRenMode);

    // ---- Stages and the end ----
    void CheckStage();
    void EndGame();
    void QuitAndReplay();

    // ---- Hi-score table and customisation file ----
    void RecordHiScore();
    std::string HiScorePath() const;
    void ReadCustomisation();
    std::string CustomisationPath() const;

    IGameWindow& Window() { return window_; }
    const TPlatform& Platform() const { return platform_; }
    TRandom& Random() { return random_; }
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
};
