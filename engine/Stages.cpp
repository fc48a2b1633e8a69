// The player's career (Developer, Magnate, Guru) and the end of the game.

#include "engine/Game.h"
#include "engine/SavedGame.h"

void TGame::CheckStage() {
    CheckStage(PortfolioValue());
}

void TGame::CheckStage(Money portfolio) {
    const TMoveScope move(*this);
    if (!Engaged || Stage > 2) return;

    if (Stage == 1 && portfolio + Cash - Debt >= kMagnateWorth) {
        Stage = 2;
        PausePlay();
        Inform("The Major banks all have increased confidence in you, Here's \u00A33,400,000");
        Then(TStep::BankBonus);
        return;
    }
    CheckGuru(portfolio);
}

void TGame::CheckGuru(Money portfolio) {
    if (Stage == 2 && portfolio + Cash - Debt >= kGuruWorth) {
        PausePlay();
        Stage = 3;
        Inform(
            "Now you are so influential that you can either liquidate your investments and "
            "crash the market... or you can buy a small south-American country....");
        Ask({TQuestionKind::YesNo, {}, "Liquidate and crash the Market?", {}});
        Then(TStep::CrashAnswered);
    }
}

void TGame::EndGame() {
    const TMoveScope move(*this);
    // Whatever the move that ended the game still had to do belongs to a game that is over.
    Agenda.clear();
    agendaCursor_ = 0;
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
    if (Engaged)
        Inform(reckoning);
    else
        Inform(reckoning +
               "\r\rBut this means diddly squat, because you either did nothing, or quit early.");
    Then(TStep::ReckoningRead);
}

// The reckoning has been read: the cash becomes the whole worth, and a game the player took
// part in goes to the hi-score table.
void TGame::Reckon() {
    Cash = PortfolioValue() + Cash;
    if (Engaged) {
        Redisplay();
        RecordHiScore();
    }
    Then(TStep::AnotherGame);
}

void TGame::AnswerAnotherGame() {
    if (LastAnswer.Yes) {
        InitWorld();
        Then(TStep::NewGameDealt);
    } else {
        Emit(TGameEventKind::ProgramEnds);
    }
}

void TGame::QuitAndReplay() {
    const TMoveScope move(*this);
    Engaged = false;
    EndGame();
}
