// Moves in, questions out: the one way into the rules, and the agenda on which a rule that
// asked leaves the rest of its move until the answer comes.

#include <algorithm>

#include "engine/Game.h"
#include "engine/SavedGame.h"

void TGame::Ask(TQuestion question) {
    TAgendaEntry entry;
    entry.Question = std::move(question);
    Agenda.insert(Agenda.begin() + static_cast<std::ptrdiff_t>(agendaCursor_++), std::move(entry));
}

void TGame::Then(TStep step, int index) {
    TAgendaEntry entry;
    entry.Step = step;
    entry.Index = index;
    Agenda.insert(Agenda.begin() + static_cast<std::ptrdiff_t>(agendaCursor_++), std::move(entry));
}

void TGame::RunAgenda() {
    ++moveDepth_;  // the steps' rules belong to this move: none runs the agenda itself
    while (!Agenda.empty() && !Agenda.front().IsQuestion()) {
        const TAgendaEntry entry = std::move(Agenda.front());
        Agenda.erase(Agenda.begin());
        agendaCursor_ = 0;
        RunStep(entry.Step, entry.Index);
    }
    agendaCursor_ = Agenda.size();
    --moveDepth_;
}

void TGame::RunStep(TStep step, int index) {
    switch (step) {
        case TStep::None:
            return;
        case TStep::TradeDone:
            return FinishTrade();
        case TStep::SellRefused:
            SelectionSide = TSelectionSide::None;
            MortgageMode = TMortgageMode::None;
            return Redisplay();
        case TStep::SellFines:
            return SellFrom(static_cast<std::size_t>(std::max(index, 0)));
        case TStep::SellFined:
            SpendCash(kSellingFine);
            Redisplay();
            return SellFrom(static_cast<std::size_t>(std::max(index, 0)) + 1);
        case TStep::MortgageChosen:
            return MortgageOrRedeemChosen();
        case TStep::MortgageDone:
            return Redisplay();
        case TStep::DamageChosen:
            if (LastAnswer.Yes) Damage();
            return Then(TStep::DamRenResumed);
        case TStep::DamageFined:
            SpendCash(kVandalismFine);
            Redisplay();
            return DamageWithoutFine();
        case TStep::DamRenResumed:
            return ResumePlay();
        case TStep::DamRenDone:
            ClearListSelections();
            SelectionSide = TSelectionSide::None;
            return Redisplay();
        case TStep::RenovateChosen:
            if (LastAnswer.Yes && !Renovate()) Then(TStep::RenovateRefused, index);
            return Then(TStep::DamRenResumed);
        case TStep::RenovateRefused:
            if (!Selection.empty())
                Property(Selection.front()).DoneImprovements = static_cast<std::uint16_t>(index);
            return;
        case TStep::BankBonus:
            AddCash(kBankBonus);
            History.EventHappened(TMarketHistory::TEventKind::BankBonus, Year, Month);
            Redisplay();
            ResumePlay();
            return CheckGuru(PortfolioValue());
        case TStep::CrashAnswered:
            if (LastAnswer.Yes) {
                RedeemAllMortgages();
                CrashMarket();
                Emit(TGameEventKind::ListsChanged);
                Redisplay();
                CrashTicks = 1;
                return ResumePlay();
            }
            Inform(
                "To play with your new country; you'll have to wait for Realtopia II: "
                "Moneyquake. Keep checking the website......");
            return Then(TStep::GuruDeclined);
        case TStep::GuruDeclined:
            return EndGame();
        case TStep::MonthGoesOn:
            return MonthGoesOn();
        case TStep::ReckoningRead:
            return Reckon();
        case TStep::HiScoreAnnounced:
            return AskNames();
        case TStep::FirstNameTyped:
            if (!LastAnswer.Yes) return;
            FirstName = LastAnswer.Text;
            Ask({TQuestionKind::Input, "High Score Table Input", "Enter your last name", LastName});
            return Then(TStep::LastNameTyped);
        case TStep::LastNameTyped:
            if (!LastAnswer.Yes) return;
            LastName = LastAnswer.Text;
            return SaveHiScore();
        case TStep::AnotherGame:
            // The game is over: its record was kept with its hi-score entry, if it made one.
            if (platform_.KeepRecords) RemoveSavedGame(RecordPath());
            Ask({TQuestionKind::YesNo, {}, "Another Game?", {}});
            return Then(TStep::AnotherGameAnswer);
        case TStep::AnotherGameAnswer:
            return AnswerAnotherGame();
        case TStep::NewGameDealt:
            Emit(TGameEventKind::NewGame);
            return;
    }
}

bool TGame::WindowMove(TMoveKind kind) {
    switch (kind) {
        case TMoveKind::SelectRows:
        case TMoveKind::ForgetSelection:
        case TMoveKind::SettleSelection:
        case TMoveKind::Pause:
        case TMoveKind::Resume:
        case TMoveKind::StopClock:
        case TMoveKind::Engage:
        case TMoveKind::Disengage:
        case TMoveKind::ResetPlay:
        case TMoveKind::SoundOn:
            return true;
        default:
            return false;
    }
}

bool TGame::Apply(const TMove& move) {
    // A move belongs to the record of the game it was made in: not one the reckoning had
    // begun in, nor one that dealt a new world (the "Another Game?" answered Yes).
    const bool recording = recordOpen_ && !reckoning_;
    const std::uint64_t deal = deals_;
    const std::int32_t month = RecordMonth(Year, Month);
    if (!ApplyMove(move)) return false;
    if (recording && deal == deals_) RecordMove(move, month);
    return true;
}

void TGame::RecordMove(const TMove& move, std::int32_t month) {
    TRecordedMove recorded;
    recorded.Month = month;
    recorded.Step = !record_.Moves.empty() && record_.Moves.back().Month == month
                        ? record_.Moves.back().Step + 1
                        : 0;
    recorded.Move = move;
    record_.Moves.push_back(std::move(recorded));
    if (reckoning_) {
        // The rest (the hi-score table, another game) depends on the machine, not the market.
        recordOpen_ = false;
        record_.Finished = true;
        record_.State = StateDigest(*this);
    }
    // The window's own moves are kept with the next move of the rules.
    if (platform_.KeepRecords && (!WindowMove(move.Kind) || record_.Finished))
        WriteGameRecord(RecordPath(), record_);
}

bool TGame::DealChallenge(const TChallenge& challenge) {
    const bool own = OwnCustomisation() == challenge.Customisation;
    nextSeed_ = challenge.Seed;
    plainNext_ = !own;
    InitWorld();
    return own;
}

void TGame::AdoptRecord(TGameRecord record, bool open) {
    record_ = std::move(record);
    recordOpen_ = open && !record_.Finished;
    seed_ = record_.Code.Seed;
    customisationDigest_ = record_.Code.Customisation;
}

std::string TGame::RecordPath() const {
    const std::string saved = SavedGamePath();
    return saved.substr(0, saved.size() - 3) + "REC";
}

bool TGame::ApplyMove(const TMove& move) {
    const TQuestion* open = OpenQuestion();
    if (move.Kind == TMoveKind::Answer || move.Kind == TMoveKind::Pick) {
        if (open == nullptr) return false;
        const bool chooser = open->Kind == TQuestionKind::Chooser;
        // The chooser is closed by a pick (its OK) or by No (its Cancel).
        if (move.Kind == TMoveKind::Pick && (!chooser || move.Number < 1 || move.Number > 8))
            return false;
        if (move.Kind == TMoveKind::Answer && chooser && move.Reply.Yes) return false;
        const TMoveScope scope(*this);
        Agenda.erase(Agenda.begin());
        agendaCursor_ = 0;
        ++answerCount_;
        if (move.Kind == TMoveKind::Pick) {
            LastAnswer = {ChooseImprovement(move.Number), {}};
        } else {
            LastAnswer = move.Reply;
            if (chooser) CancelImprovement();
        }
        return true;
    }
    // While a question waits, the window may still stop or start the clock and keep the
    // game's picture of its lists; nothing else moves the game.
    if (open != nullptr && !WindowMove(move.Kind)) return false;

    const TMoveScope scope(*this);
    switch (move.Kind) {
        case TMoveKind::Tick:
            MonthlyTick();
            break;
        case TMoveKind::ChooseArea:
            if (move.Number < 1 || move.Number > kAreaCount) return false;
            ChooseArea(move.Number);
            break;
        case TMoveKind::SelectRows:
            SetSelectedRows(move.List, std::max(move.Number, 0));
            break;
        case TMoveKind::Select:
            for (int p : move.Properties)
                if (p < 1 || p > kPropertyCount) return false;
            Select(move.Side, move.Properties);
            break;
        case TMoveKind::ForgetSelection:
            ForgetSelection();
            break;
        case TMoveKind::SettleSelection:
            SettleSelection();
            break;
        case TMoveKind::BuyOrSell:
            BuyOrSell();
            break;
        case TMoveKind::MortgageOrRedeem:
            MortgageOrRedeem();
            break;
        case TMoveKind::DamageOrRenovate:
            DamageOrRenovate();
            break;
        case TMoveKind::Start:
            StartGame();
            break;
        case TMoveKind::Pause:
            PauseClock();
            break;
        case TMoveKind::Resume:
            ResumeClock();
            break;
        case TMoveKind::StopClock:
            StopClock();
            break;
        case TMoveKind::Engage:
            Engage();
            break;
        case TMoveKind::Disengage:
            Disengage();
            break;
        case TMoveKind::ResetPlay:
            ResetPlay();
            break;
        case TMoveKind::CashPhrase:
            PayCheatBonus();
            break;
        case TMoveKind::SoundOn:
            SetSoundOn(move.Flag);
            break;
        case TMoveKind::QuitAndReplay:
            QuitAndReplay();
            break;
        case TMoveKind::Answer:
        case TMoveKind::Pick:
            break;
    }
    return true;
}
