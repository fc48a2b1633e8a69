#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/ScriptedEffects.h"
#include "support/TempPlatform.h"
#include "windows/TRealtopia.h"

// Money in test failures: "£1,235 (12345678)", the raw ten-thousandths in brackets.
inline void PrintTo(const Money& m, std::ostream* os) {
    *os << FormatPounds(m) << " (" << m.Raw() << ")";
}

// The whole program without a toolkit: TRealtopia built on ScriptedEffects (which runs
// InitWorld and ResetWindow), with a fixed seed and temporary directories, plus the
// player's usual moves.
class RealtopiaFixture : public ::testing::Test {
protected:
    RealtopiaFixture() { Create(); }

    // Builds the program afresh, e.g. after changing the effects' device answers; the
    // settings store is kept, as a new run of the program finds it.
    void Create(std::uint64_t seed = TempPlatform::kSeed);

    TRealtopia& App() { return *app_; }
    Tmainform& Form() { return app_->mainform; }
    TGame& Game() { return app_->mainform.Rules(); }
    const TMainWindowView& View() { return app_->mainform.View(); }

    // Through the splash's PLAY! button, agreeing to the user agreement.
    void EnterGame();
    // The PLAY (Esc) button.
    void PressPlay() { Form().Invoke(TCommand::Start); }
    // Into the window and PLAY pressed: the clock runs, nothing clicked yet.
    void StartGame();
    // StartGame, then a mouse click on the first for-sale row so that money moves.
    void StartEngagedGame();

    // The player selects `rows` (positions) and releases the mouse over the list.
    void ClickAvail(const std::vector<int>& rows);
    void ClickPortfolio(const std::vector<int>& rows);
    // Position of the row showing property `p`, or -1.
    int AvailRow(int p);
    int PortfolioRow(int p);
    // Clicks the rows of the given properties (all in the current area) and buys them.
    void Buy(const std::vector<int>& properties);
    // Sells the given owned properties as one block.
    void Sell(const std::vector<int>& properties);

    // `n` events of the main timer.
    void Tick(int n = 1);

    // Sets both prices of property `p` and refills the lists.
    void SetPrices(int p, Money buy, Money sale);

    ScriptedEffects effects_;
    TempPlatform temp_;
    // The program keeps records of its games as the real ones do (set before Create).
    bool keepRecords_ = false;
    std::shared_ptr<TMemorySettingsStore> settings_ = std::make_shared<TMemorySettingsStore>();
    std::unique_ptr<TRealtopia> app_;
};
