#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "engine/Game.h"
#include "engine/GameRecord.h"
#include "support/Files.h"
#include "support/TempPlatform.h"

namespace {

// A random player of the rules alone: any move, any answer, the clock mostly.
class RandomPlayer {
public:
    explicit RandomPlayer(std::uint64_t seed) : random_(seed) {}

    TMove Next(const TGame& game) {
        const TQuestion* open = game.OpenQuestion();
        if (open != nullptr && Chance(20) == 0)
            return WindowMove();  // the window stops its clock or keeps its rows meanwhile
        if (open != nullptr) {
            if (open->Kind == TQuestionKind::Chooser && Chance(3) != 0)
                return TMove::Numbered(TMoveKind::Pick, static_cast<int>(Chance(8)) + 1);
            std::string text = open->Kind == TQuestionKind::Input
                                   ? "Player \"" + std::to_string(Chance(100)) + "\"\\\n"
                                   : std::string();
            return TMove::Answering(open->Kind != TQuestionKind::Chooser && Chance(3) != 0, text);
        }
        switch (Chance(24)) {
            case 0:
                return TMove::Numbered(TMoveKind::ChooseArea, static_cast<int>(Chance(6)) + 1);
            case 1:
            case 2: {
                TMove move = TMove::Of(TMoveKind::Select);
                const bool mine = Chance(2) == 0;
                move.Side = mine ? TSelectionSide::Portfolio : TSelectionSide::ForSale;
                const int area = game.State().CurrentArea;
                for (int p = 1; p <= kPropertyCount; ++p) {
                    const TProperty& property = game.State().Property(p);
                    const bool fits =
                        mine ? property.Has(Owned) : property.Area == area && !property.Has(Owned);
                    if (fits && Chance(4) == 0) move.Properties.push_back(p);
                }
                return move;
            }
            case 3:
            case 4:
                return TMove::Of(TMoveKind::BuyOrSell);
            case 5:
                return TMove::Of(TMoveKind::MortgageOrRedeem);
            case 6:
                return TMove::Of(TMoveKind::DamageOrRenovate);
            case 7:
                return WindowMove();
            case 8:
                return TMove::Of(Chance(50) == 0 ? TMoveKind::QuitAndReplay
                                                 : TMoveKind::CashPhrase);
            case 9:
                return TMove::Of(TMoveKind::SettleSelection);
            default:
                return TMove::Of(TMoveKind::Tick);
        }
    }

private:
    TMove WindowMove() {
        switch (Chance(6)) {
            case 0: {
                TMove rows = TMove::Numbered(TMoveKind::SelectRows, static_cast<int>(Chance(4)));
                rows.List = Chance(2) == 0 ? TList::Avail : TList::Portfolio;
                return rows;
            }
            case 1:
                return TMove::Of(TMoveKind::Pause);
            case 2:
                return TMove::Of(TMoveKind::Resume);
            case 3: {
                TMove sound = TMove::Of(TMoveKind::SoundOn);
                sound.Flag = Chance(2) == 0;
                return sound;
            }
            case 4:
                return TMove::Of(TMoveKind::ForgetSelection);
            default:
                return TMove::Of(TMoveKind::StopClock);
        }
    }
    unsigned Chance(unsigned n) { return static_cast<unsigned>(random_() % n); }
    std::mt19937_64 random_;
};

// Plays one game from its deal to its reckoning (or a few hundred moves).
void PlayRandomGame(TGame& game, std::uint64_t seed) {
    RandomPlayer player(seed);
    game.SetSoundDeviceWorks(seed % 2 == 0);
    game.InitWorld();
    game.Apply(TMove::Of(TMoveKind::Start));
    game.Apply(TMove::Of(TMoveKind::Engage));
    for (int i = 0; i < 600 && game.Recording(); ++i) {
        game.Apply(player.Next(game));
        game.Events().Clear();
    }
}

}  // namespace

TEST(GameRecordTest, AThousandRandomGamesReplayToTheSameStateFieldForField) {
    TempPlatform temp;
    int finished = 0, questions = 0;
    for (std::uint64_t g = 1; g <= 1000; ++g) {
        TGame game(temp.Platform(g * 7919));
        PlayRandomGame(game, g);
        finished += game.Record().Finished ? 1 : 0;
        for (const TRecordedMove& m : game.Record().Moves)
            questions += m.Move.Kind == TMoveKind::Answer ? 1 : 0;

        // Through its text, as the file keeps it.
        TGameRecord read;
        std::string why;
        ASSERT_TRUE(TGameRecord::FromText(game.Record().ToText(), read, why)) << why;
        ASSERT_EQ(read, game.Record());

        TPlatform other = temp.Platform(1);
        TGame replay(other);
        const TReplayResult result = ReplayRecord(read, replay);
        ASSERT_EQ(result.Verdict, TReplayVerdict::Replayed)
            << "game " << g << ": " << result.Text();
        ASSERT_TRUE(replay.State() == game.State()) << "game " << g;
        ASSERT_EQ(replay.Record(), game.Record()) << "game " << g;
    }
    // The games went everywhere: most to their reckoning, through many questions.
    EXPECT_GT(finished, 500);
    EXPECT_GT(questions, 5000);
}

TEST(GameRecordTest, AFlippedMoveDoesNotReplayAndIsNamedByItsNumber) {
    TempPlatform temp;
    TGame game(temp.Platform(31));
    PlayRandomGame(game, 31);
    ASSERT_GT(game.Record().Moves.size(), 50U);
    for (std::size_t at :
         {std::size_t{3}, game.Record().Moves.size() / 2, game.Record().Moves.size() - 1}) {
        // Whether the game waited for an answer there.
        TGame probe(temp.Platform(1));
        TGameRecord prefix = game.Record();
        prefix.Moves.resize(at);
        prefix.Finished = false;
        ASSERT_EQ(ReplayRecord(prefix, probe).Verdict, TReplayVerdict::Replayed);
        const bool waiting = probe.OpenQuestion() != nullptr;

        // A month where an answer is awaited, an answer where none is: neither fits.
        TGameRecord flipped = game.Record();
        flipped.Moves[at].Move = waiting ? TMove::Of(TMoveKind::Tick) : TMove::Answering(true);
        TGame replay(temp.Platform(1));
        const TReplayResult result = ReplayRecord(flipped, replay);
        EXPECT_EQ(result.Verdict, TReplayVerdict::DoesNotReplay);
        EXPECT_EQ(result.MoveNumber, static_cast<int>(at) + 1) << result.Text();
        EXPECT_EQ(result.Text().rfind("does not replay: move " + std::to_string(at + 1) + " ", 0),
                  0U)
            << result.Text();
    }
    // A month too many is caught by the month of the moves after it.
    TGameRecord extra = game.Record();
    extra.Moves.insert(extra.Moves.begin() + 2, {0, 0, TMove::Of(TMoveKind::Tick)});
    TGame replay(temp.Platform(1));
    EXPECT_EQ(ReplayRecord(extra, replay).Verdict, TReplayVerdict::DoesNotReplay);
    // A record whose moves all fit but whose game ended otherwise is caught by its state.
    ASSERT_TRUE(game.Record().Finished);
    TGameRecord other = game.Record();
    other.State ^= 1;
    TGame again(temp.Platform(1));
    const TReplayResult result = ReplayRecord(other, again);
    EXPECT_EQ(result.Verdict, TReplayVerdict::DoesNotReplay);
    EXPECT_EQ(result.MoveNumber, static_cast<int>(other.Moves.size()));
}

TEST(GameRecordTest, ARecordThatIsNotOneIsRefusedWithWhy) {
    TGameRecord record;
    record.Code = {12345, 0};
    record.Moves.push_back({0, 0, TMove::Numbered(TMoveKind::ChooseArea, 3)});
    std::string text = record.ToText();
    EXPECT_EQ(text, "Realtopia game record\nversion 1\ncode " + EncodeChallenge(record.Code) +
                        "\nsound 0\nmoves 1\n0 0 ChooseArea n=3\n");
    TGameRecord read;
    std::string why;
    EXPECT_FALSE(TGameRecord::FromText("hello", read, why));
    EXPECT_EQ(why, "it is not a Realtopia game record");
    // Changed in place, without std::string::replace, whose inlined copy GCC 12 at -O3 takes for
    // an overlapping one (-Wrestrict).
    std::string badCode = text;
    badCode[badCode.find("code ") + 5] = 'U';
    EXPECT_FALSE(TGameRecord::FromText(badCode, read, why));
    EXPECT_EQ(why, "its code: That is not a Realtopia challenge code.");
    const std::size_t kind = text.find("ChooseArea");
    std::string badMove = text.substr(0, kind);
    badMove += "Jump";
    badMove += text.substr(kind + 10);
    EXPECT_FALSE(TGameRecord::FromText(badMove, read, why));
    EXPECT_EQ(why, "move 1 cannot be read");
    EXPECT_FALSE(TGameRecord::FromText(text.substr(0, text.find("0 0 ")), read, why));
    EXPECT_EQ(why, "it ends before its moves");
    ASSERT_TRUE(TGameRecord::FromText(text, read, why)) << why;
    EXPECT_EQ(read, record);
}

TEST(GameRecordTest, TheGameInProgressIsRecordedBesideItsSaveAndKeptWithItsHiScore) {
    TempPlatform temp;
    TPlatform platform = temp.Platform(77);
    platform.KeepRecords = true;
    TGame game(platform);
    game.InitWorld();
    game.Apply(TMove::Of(TMoveKind::Start));
    game.Apply(TMove::Of(TMoveKind::Engage));
    game.Apply(TMove::Of(TMoveKind::Tick));
    TGameRecord live;
    std::string why;
    ASSERT_TRUE(ReadGameRecord(game.RecordPath(), live, why)) << why;
    EXPECT_EQ(live, game.Record());
    EXPECT_EQ(game.RecordPath(), temp.UserDataDirectory() + "/REALTOPI.REC");

    // The months go by to the reckoning, then the hi-score names and "Another Game?".
    game.Apply(TMove::Of(TMoveKind::CashPhrase));
    std::string table;
    while (true) {
        const TQuestion* open = game.OpenQuestion();
        if (open != nullptr && open->Text.starts_with("PERSONAL HI SCORE TABLE"))
            table = open->Text;
        if (open == nullptr) {
            ASSERT_TRUE(game.Apply(TMove::Of(TMoveKind::Tick)));
        } else if (open->Text == "Another Game?") {
            break;
        } else {
            game.Apply(TMove::Answering(open->Kind != TQuestionKind::YesNo,
                                        open->Kind == TQuestionKind::Input ? "Ann" : ""));
        }
        game.Events().Clear();
    }
    ASSERT_TRUE(game.Record().Finished);
    EXPECT_FALSE(std::filesystem::exists(game.RecordPath()));
    int kept = 0;
    for (const auto& item : std::filesystem::directory_iterator(temp.UserDataDirectory())) {
        const std::string name = item.path().filename().string();
        if (name.rfind("REALTOPI.DAT.", 0) != 0 || !name.ends_with(".REC")) continue;
        ++kept;
        TGameRecord entry;
        ASSERT_TRUE(ReadGameRecord(item.path().string(), entry, why)) << why;
        EXPECT_EQ(entry, game.Record());
    }
    EXPECT_EQ(kept, 1);
    // The table shown marks the score whose game replays from its record, and only that one.
    EXPECT_NE(table.find("1)\t Ann Ann \u2713\t\t\u00A3"), std::string::npos) << table;
    EXPECT_EQ(table.find("\u2713"), table.rfind("\u2713"));
}
