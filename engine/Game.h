#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ChallengeCode.h"
#include "engine/CustomisationFile.h"
#include "engine/GameRecord.h"
#include "engine/GameState.h"
#include "engine/MarketHistory.h"
#include "engine/Money.h"
#include "engine/Move.h"
#include "engine/Platform.h"
#include "engine/Random.h"
#include "engine/World.h"

// One game of Realtopia: every rule, and the game state (TGameState) that only the rules write;
// everything above the engine reads it through State(). The main window owns one for the
// program's lifetime. A rule draws nothing and calls nobody: it appends what happened to its
// outbox (Events()) for the window logic to apply. What the player must answer (or read)
// before the rule can go on is a question in the state (OpenQuestion()): it ends the move, and
// its answer is the next move (Apply), after which the rule goes on where it stopped.
//
// Every pound is accounted for. Obligations (a police fine, the monthly repayment, redeeming,
// the final settlement) are paid in full through SpendCash, even into negative cash. Choices
// (buying, renovating) happen only when CanAfford says the cash covers them, so nothing is
// bought or renovated while the cash is below zero. A fine is paid before the proceeds of the
// act that drew it. The selection's totals follow the prices (RepriceSelection after every
// price movement), so a purchase or sale is made at the price the lists show.
class THiScoreTable;

class TGame : private TGameState {
public:
    // Amounts and thresholds of the rules.
    static constexpr Money kStartingCash = ::kStartingCash;
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
    // A headline every eighth month played, while the progress gauge has months left.
    static constexpr int kMonthsBetweenHeadlines = 8;
    static constexpr const char* kDefaultContactAddress = ::kDefaultContactAddress;
    static constexpr const char* kHiScoreFileName = "REALTOPI.DAT";

    explicit TGame(TPlatform platform);

    // The game as one value, for everything above the rules to read.
    const TGameState& State() const { return *this; }

    // ---- Fixed tables ----
    std::array<std::string, 12> MonthNames;
    std::array<std::string, kImprovementCount> ImprovementNames;

    const std::string& MonthName(int m) const;
    std::string StageName() const;  // "Developer", "Magnate" or "Guru"
    static std::string StageName(int stage);
    // The figures the panels show, as they are now.
    TPanelFigures PanelFigures() const;

    // How many rows of each list are selected, as the window logic last told.
    int SelectedRows(TList list) const { return RowsSelected[list == TList::Avail ? 0 : 1]; }
    void SetSelectedRows(TList list, int count) {
        RowsSelected[list == TList::Avail ? 0 : 1] = count;
    }

    // ---- Moves and questions ----
    // Applies one move, then the rest of the rule up to its next question or its end. False,
    // and nothing changed, for a move that does not fit: with a question open only its answer
    // is taken (for the chooser: a pick, which closes it, or No for Cancel) besides the
    // window's own moves, and an answer needs a question.
    bool Apply(const TMove& move);
    // A move of the window's own (its clock, its lists' rows, the sound option) rather than a
    // rule's: taken while a question waits too.
    static bool WindowMove(TMoveKind kind);
    // The question the game waits for, or null.
    const TQuestion* OpenQuestion() const {
        return Agenda.empty() || !Agenda.front().IsQuestion() ? nullptr : &Agenda.front().Question;
    }
    // How many questions have been answered in this game's lifetime: lets a caller see whether
    // the question it showed was answered.
    std::uint64_t AnswerCount() const { return answerCount_; }
    // Whether the sound device works, asked by the window when a world is about to be dealt:
    // a new world's sound option starts from it.
    void SetSoundDeviceWorks(bool works) { soundDeviceWorks_ = works; }

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
    // The totals and modes follow the selection before anything is shown: with nothing chosen
    // and no row for sale selected there are no totals, and a selection for sale offers no
    // mortgage.
    void SettleSelection();
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
    // The same for the six areas, in one pass.
    void UpdateLowestPrices();
    void AddCash(Money amount);
    void SpendCash(Money amount);
    // A choice of the player's costing `amount` can be paid from the cash.
    bool CanAfford(Money amount) const { return Cash >= amount; }
    Money PortfolioValue() const;
    // Counts the market's moves (every write of a price or of the Owned flag): a figure made
    // from prices and ownership holds while it stays the same.
    std::uint64_t MarketRevision() const { return marketRevision_; }
    Money NetWorth() const;
    int MonthsLeft() const;
    Money Instalment(int property) const;

    // ---- Monthly cycle and market ----
    void MonthlyTick();
    void IdleTick();
    void MonthlyDuties();
    // The same, with the portfolio value as the month found it.
    void MonthlyDuties(Money portfolio);
    void YearlyTrend();
    void NewsEvent();
    void ApplyNews(int item);
    void CrashMarket();
    void RestoreMarket();

    // ---- Buying and selling ----
    void BuyOrSell();
    void Buy();
    void Sell();

    // ---- Mortgages ----
    void MortgageOrRedeem();
    void Mortgage();
    void Redeem();
    void RedeemAllMortgages();

    // ---- Damage and renovation ----
    void DamageOrRenovate();
    void Damage();
    // False when the cash does not cover the renovation, which then changes nothing.
    bool Renovate();
    // The chooser's amount for item k (1..8) of the current mode, from `lowestPrice`.
    static Money ImprovementAmount(int k, Money lowestPrice);
    static std::uint16_t ImprovementBit(int k, TDamRenMode mode);
    // The chooser's item k (1..8) for the first selected property: its amount becomes
    // DamRenAmount and the item is marked done. False when it was done before (the amount is
    // then set but nothing is marked). Where the area's lowest price is nothing, the amount is
    // nothing and no item is marked.
    bool ChooseImprovement(int k);
    // The chooser was cancelled: no amount.
    void CancelImprovement() { DamRenAmount = Money(); }

    // ---- Stages and the end ----
    void CheckStage();
    // The same, with the portfolio value already known.
    void CheckStage(Money portfolio);
    void EndGame();
    void QuitAndReplay();

    // ---- Hi-score table and customisation file ----
    void RecordHiScore();
    std::string HiScorePath() const;
    // The two places of the hi-score file (the user's, then the program's), each with a
    // separator at the end.
    const std::string& UserDataDir() const { return WindowsDir; }
    const std::string& ProgramDirectory() const { return ProgramDir; }
    void ReadCustomisation();
    std::string CustomisationPath() const;

    // ---- Challenges and records ----
    // The code of the world being played: its seed and what the customisation file changed.
    TChallenge Challenge() const { return {seed_, customisationDigest_}; }
    // Deals the challenge's market. With the player's own customisation file when the code
    // names what it changes; otherwise as built in, and false.
    bool DealChallenge(const TChallenge& challenge);
    // The game being played is a challenge (dealt from a code, or its code given to a friend):
    // its end gives the result to send back. Kept with the saved game; a new deal clears it.
    bool IsChallenge() const { return ChallengeGame; }
    void MarkChallenge() { ChallengeGame = true; }
    // The worth a friend ended this game's market with, from the result they sent; noting it
    // marks the game as a challenge.
    std::optional<std::uint32_t> FriendsFigure() const {
        if (FriendsWorth == kNoFriendsWorth) return std::nullopt;
        return static_cast<std::uint32_t>(FriendsWorth);
    }
    void NoteFriendsFigure(std::optional<std::uint32_t> worth) {
        ChallengeGame = true;
        FriendsWorth = worth ? static_cast<std::int64_t>(*worth) : kNoFriendsWorth;
    }
    // The digest of what the player's customisation file changes in a world (0: nothing).
    std::uint16_t OwnCustomisation() const;
    // The question open is the final reckoning ("You ended up with …"), its figures final.
    bool ReckoningOpen() const {
        return OpenQuestion() != nullptr && Agenda.size() > 1 &&
               Agenda[1].Step == TStep::ReckoningRead;
    }
    // The worth as the hi-score table takes it: whole pounds, none below zero, at most what
    // 32 bits hold.
    static std::uint32_t ScoreOf(Money worth);
    // Every move the rules took in this game, from its deal up to its reckoning.
    const TGameRecord& Record() const { return record_; }
    // Moves are still added to the record (the game has not reached its reckoning, and its
    // record began with its deal).
    bool Recording() const { return recordOpen_; }
    // Goes on with `record` for a game resumed from its saved file (`open`: the record holds
    // the game up to now); a record that does not is kept closed.
    void AdoptRecord(TGameRecord record, bool open);
    // REALTOPI.REC beside the saved game: the record of the game in progress.
    std::string RecordPath() const;

    // ---- The saved game ----
    // REALTOPI.SAV, beside the hi-score table.
    std::string SavedGamePath() const;
    // Started with PLAY and not yet at its reckoning: the game that leaving the program keeps.
    bool GameInProgress() const;
    // Another headline will be shown in this game, bringing the effect of the one pending.
    bool HeadlineToCome() const {
        const int next = (MonthsPlayed / kMonthsBetweenHeadlines + 1) * kMonthsBetweenHeadlines;
        return GameInProgress() && next < kProgressMaximum;
    }
    // The saved-game file this game was resumed from, removed when the game ends; empty for a
    // game dealt afresh.
    std::string ResumedFrom;

    // What happened since the window last took the events, in order.
    TGameEvents& Events() { return events_; }
    const TPlatform& Platform() const { return platform_; }
    TRandom& Random() { return Generator; }
    const TRandom& Random() const { return Generator; }
    // Rises every time a game ends; lets a caller notice that the game it was running ended.
    std::uint64_t EndCount() const { return endCount_; }

    // Runs the rest of a move when it leaves the outermost rule it entered: the steps on the
    // agenda, up to its next question. Every rule that may ask opens one.
    class TMoveScope {
    public:
        // A move begins with nothing of its own on the agenda: what it asks goes after
        // anything already there.
        explicit TMoveScope(TGame& game) : game_(game) {
            if (game_.moveDepth_++ == 0) game_.agendaCursor_ = game_.Agenda.size();
        }
        ~TMoveScope() {
            if (--game_.moveDepth_ == 0) game_.RunAgenda();
        }
        TMoveScope(const TMoveScope&) = delete;
        TMoveScope& operator=(const TMoveScope&) = delete;

    private:
        TGame& game_;
    };

private:
    // Tests and benchmarks arrange positions through TGameStateAccess (tests/support), and a
    // saved game is put back through ApplyTo; nothing else writes the state but the rules.
    friend struct TGameStateAccess;
    friend struct TSavedGame;
    friend class TGameDebug;

    std::string Today() const;
    // The rules of one move (Apply adds it to the record).
    bool ApplyMove(const TMove& move);
    // Adds an accepted move to the record, and keeps the record's file when the platform asks.
    void RecordMove(const TMove& move, std::int32_t month);
    // What the customisation file changed, into the world's digest.
    void DigestCustomisation(std::string_view what);
    // ---- The agenda: what a move still has to do once its question is answered ----
    // Questions and steps are put on the agenda in the order a rule reaches them, before what
    // an outer rule puts there after it, so the rest of a move runs as a call would.
    void Ask(TQuestion question);
    void Inform(std::string text) { Ask({TQuestionKind::Information, {}, std::move(text), {}}); }
    void Then(TStep step, int index = 0);
    // Runs the steps at the front of the agenda until a question is there, or nothing is.
    void RunAgenda();
    void RunStep(TStep step, int index);
    // The pieces of the rules that follow a question.
    void FinishTrade();
    void SellFrom(std::size_t index);
    void MortgageOrRedeemChosen();
    void DamageWithoutFine();
    void CheckGuru(Money portfolio);
    void MonthGoesOn();
    void Reckon();
    void AskNames();
    void SaveHiScore();
    // The finished game's record beside the table, named by its entry at `place`; records of
    // entries gone from the table are removed.
    void KeepEntryRecords(const std::string& path, const THiScoreTable& table, int place);
    void AnswerAnotherGame();
    // ---- What the rules tell the window (engine/GameEvent.h) ----
    TGameEvent& Emit(TGameEventKind kind) { return events_.Push(kind); }
    // The selection settled, then the window shows the game as it now is.
    void Redisplay() {
        SettleSelection();
        Emit(TGameEventKind::PanelsChanged).Panels = PanelFigures();
    }
    void TellCash() { Emit(TGameEventKind::CashChanged).Amount = Cash; }
    // The clock stops while the player reads or chooses; trading closes.
    void PausePlay();
    // The clock goes on; trading opens, and the panels show the settled selection.
    void ResumePlay();
    // Neither list has a row selected any more.
    void ClearListSelections();
    // The ticker halts and runs the text made of `parts` from the start. The text is put
    // together in the event itself, whose room the outbox keeps, so a headline costs no
    // allocation.
    void NewTickerText(std::initializer_list<std::string_view> parts);
    void PlaySound(TSound sound) { Emit(TGameEventKind::Sound).Sound = sound; }
    // Settles `amount` of the mortgage debt (no more than is owed) from the cash.
    void PayDebt(Money amount);
    // The month's look at the market (each area's average price, the owned properties' sale
    // value) is kept until a price or an ownership changes, which most months do not: every
    // write of a price or of the Owned flag calls MarketMoved. Debug builds compare the kept
    // figures with a fresh look every month.
    void MarketMoved() {
        marketSurveyed_ = false;
        ++marketRevision_;
    }
    void SurveyMarket();

    // The two places of the hi-score file, each with a separator at the end.
    std::string ProgramDir;
    std::string WindowsDir;

    TGameEvents events_;
    TPlatform platform_;
    std::string programDir_;            // the program's directory, with a separator at the end
    TCustomisationFile customisation_;  // looked at by the first deal
    std::uint64_t endCount_ = 0;
    std::size_t agendaCursor_ = 0;  // where the rule now running puts what it asks
    int moveDepth_ = 0;
    std::uint64_t answerCount_ = 0;
    bool soundDeviceWorks_ = false;
    bool reckoning_ = false;  // EndGame has begun; cleared by the next InitWorld
    std::array<Money, kAreaCount> surveyedAverages_{};
    Money surveyedOwned_;
    std::uint64_t marketRevision_ = 0;
    bool marketSurveyed_ = false;
    // The world's deal: its seed, the digest of its customisation, the next deal's challenge.
    std::uint64_t seed_ = 0;
    std::uint64_t customisationHash_ = 0;
    std::uint16_t customisationDigest_ = 0;
    std::optional<std::uint64_t> nextSeed_;
    bool plainNext_ = false;
    std::uint64_t deals_ = 0;
    TGameRecord record_;
    bool recordOpen_ = false;
};
