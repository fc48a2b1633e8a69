// A random player who speaks only in moves: a thousand games played through TGame::Apply
// alone, with no window at all, every step explained by the accountant.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "logic/Accountant.h"
#include "support/TempPlatform.h"

namespace {

class MovePlayer {
public:
    MovePlayer(TGame& game, std::uint64_t seed) : game_(game), random_(seed) {}

    int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    bool Chance(int n) { return Pick(n) == 0; }

    // The answer to the open question, as a random player would give it.
    TMove Answer(const TQuestion& question) {
        switch (question.Kind) {
            case TQuestionKind::YesNo:
                return TMove::Answering(Chance(2));
            case TQuestionKind::Input:
                if (Chance(4)) return TMove::Answering(false);
                return TMove::Answering(true, "Player" + std::to_string(Pick(100)));
            case TQuestionKind::Chooser:
                if (Chance(5)) return TMove::Answering(false);
                return TMove::Numbered(TMoveKind::Pick, 1 + Pick(8));
            default:
                return TMove::Answering(true);
        }
    }

    // A move of the player's while no question is open: mostly months, then clicks.
    TMove Move() {
        const TGameState& s = game_.State();
        switch (Pick(12)) {
            case 0:
                return TMove::Numbered(TMoveKind::ChooseArea, 1 + Pick(kAreaCount));
            case 1:
            case 2:
                return Selection(true);
            case 3:
                return Selection(false);
            case 4:
                return TMove::Of(TMoveKind::BuyOrSell);
            case 5:
                return TMove::Of(TMoveKind::MortgageOrRedeem);
            case 6:
                return TMove::Of(TMoveKind::DamageOrRenovate);
            case 7:
                return TMove::Of(Chance(20) ? TMoveKind::CashPhrase : TMoveKind::Engage);
            case 8:
                if (Chance(40)) return TMove::Of(TMoveKind::QuitAndReplay);
                return TMove::Of(s.Paused ? TMoveKind::Resume : TMoveKind::Pause);
            default:
                return TMove::Of(s.Paused ? TMoveKind::Resume : TMoveKind::Tick);
        }
    }

private:
    // Rows of one list, as a click selects them: the game hears the rows and the properties.
    TMove Selection(bool forSale) {
        const TGameState& s = game_.State();
        std::vector<int> rows;
        for (int p = 1; p <= kPropertyCount; ++p) {
            const TProperty& property = s.Property(p);
            const bool inList = forSale ? !property.Has(Owned) && property.Area == s.CurrentArea
                                        : property.Has(Owned);
            if (inList && (rows.empty() || Chance(4))) rows.push_back(p);
        }
        if (rows.size() > 1 && Chance(2)) rows = {rows.front()};
        TMove select = TMove::Of(TMoveKind::Select);
        select.Side = forSale ? TSelectionSide::ForSale : TSelectionSide::Portfolio;
        select.Properties = rows;
        TMove count = TMove::Of(TMoveKind::SelectRows);
        count.List = forSale ? TList::Avail : TList::Portfolio;
        count.Number = static_cast<int>(rows.size());
        TMove other = count;
        other.List = forSale ? TList::Portfolio : TList::Avail;
        other.Number = 0;
        game_.Apply(other);
        game_.Apply(count);
        return select;
    }

    TGame& game_;
    std::mt19937_64 random_;
};

TEST(MovesSoakTest, AThousandGamesThroughMovesAloneAreAccountedFor) {
    TempPlatform temp;
    int games = 0, refused = 0, questions = 0;
    for (std::uint64_t seed = 1; seed <= 1000; ++seed) {
        TGame game(temp.Platform(seed));
        game.InitWorld();
        MovePlayer player(game, seed * 7919);
        ASSERT_TRUE(game.Apply(TMove::Of(TMoveKind::Start)));
        Accountant accountant;
        accountant.Open(game);
        const std::uint64_t ended = game.EndCount();
        bool cheatAnnounced = false;
        for (int step = 0; step < 5000; ++step) {
            if (const TQuestion* question = game.OpenQuestion()) {
                ++questions;
                // Nothing but its answer moves the game meanwhile.
                if (player.Chance(10)) {
                    const TMove move = player.Move();
                    if (!TGame::WindowMove(move.Kind)) {
                        EXPECT_FALSE(game.Apply(move));
                    }
                }
                if (question->Kind == TQuestionKind::YesNo && question->Text == "Another Game?") {
                    const std::string unexplained = accountant.ExplainEnd(game);
                    ASSERT_EQ(unexplained, "") << "game " << seed << " at its end";
                    ++games;
                    break;
                }
                const TMove answer = player.Answer(*question);
                ASSERT_TRUE(game.Apply(answer)) << "game " << seed << " step " << step;
            } else {
                const TMove move = player.Move();
                cheatAnnounced = move.Kind == TMoveKind::CashPhrase && game.CheatBonusPayable();
                if (!game.Apply(move)) ++refused;
            }
            game.Events().Clear();
            // A command and the answers it asked for are one step of the books; the end of a
            // game is explained as a whole at "Another Game?".
            if (game.OpenQuestion() != nullptr || game.EndCount() != ended) continue;
            ASSERT_EQ(accountant.Explain(game, cheatAnnounced), "")
                << "game " << seed << " step " << step;
            cheatAnnounced = false;
        }
    }
    EXPECT_EQ(games, 1000);
    EXPECT_GT(questions, 1000);
    EXPECT_EQ(refused, 0);
}

}  // namespace
