// The player's career (Developer, Magnate, Guru) and the end of the game.

#include "engine/Game.h"
#include "engine/SavedGame.h"

void TGame::CheckStage() {
    CheckStage(PortfolioValue());
}

void TGame::CheckStage(Money portfolio) {
    if (!Engaged || Stage > 2) return;

    if (Stage == 1 && portfolio + Cash - Debt >= kMagnateWorth) {
        Stage = 2;
        PausePlay();
        window_.ShowInformation(
            "The Major banks all have increased confidence in you, Here's \u00A33,400,000");
        AddCash(kBankBonus);
        History.EventHappened(TMarketHistory::TEventKind::BankBonus, Year, Month);
        Redisplay();
        ResumePlay();
        // The player may have traded while the message was up.
        portfolio = PortfolioValue();
    }

    if (Stage == 2 && portfolio + Cash - Debt >= kGuruWorth) {
        PausePlay();
        Stage = 3;
        window_.ShowInformation(
            "Now you are so influential that you can either liquidate your investments and "
            "crash the market... or you can buy a small south-American country....");
        if (window_.AskYesNo("Liquidate and crash the Market?")) {
            RedeemAllMortgages();
            CrashMarket();
            Emit(TGameEventKind::ListsChanged);
            Redisplay();
            CrashTicks = 1;
            ResumePlay();
        } else {
            window_.ShowInformation(
                "To play with your new country; you'll have to wait for Realtopia II: "
                "Moneyquake. Keep checking the website......");
            EndGame();
        }
    }
}

void TGame::EndGame() {
    ++endCount_;
    // A game that has ended is not offered again. Only its own file goes: one that another
    // copy of the program saved meanwhile stays.
    reckoning_ = true;
    if (!ResumedFrom.empty()) RemoveSavedGame(ResumedFrom);
    ResumedFrom.clear();
    Emit(TGameEventKind::ProgressFull);
    Emit(TGameEventKind::ClockStopped);
    NewTickerText({"End of the game "});
    Running = false;

    RedeemAllMortgages();
    PausePlay();
    PlaySound(TSound::GameOver);

    const Money portfolio = PortfolioValue();
    const Money total = portfolio + Cash;
    const std::string reckoning = "You ended up with " + FormatPounds(Cash) +
                                  " in cash, and a Portfolio of " + FormatPounds(portfolio) +
                                  "\rMaking you worth a total of " + FormatPounds(total);
    if (Engaged) {
        window_.ShowInformation(reckoning);
        Cash = total;
        Redisplay();
        RecordHiScore();
    } else {
        window_.ShowInformation(reckoning +
                                "\r\rBut this means diddly squat, because you either did "
                                "nothing, or quit early.");
        Cash = total;
    }

    if (window_.AskYesNo("Another Game?")) {
        InitWorld();
        Emit(TGameEventKind::NewGame);
    } else {
        Emit(TGameEventKind::ProgramEnds);
    }
}

void TGame::QuitAndReplay() {
    Engaged = false;
    EndGame();
}
