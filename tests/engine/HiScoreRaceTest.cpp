// Games that end at the same moment, each in its own program, enter the same hi-score table:
// every entry must survive.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/Game.h"
#include "engine/Hisc.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"
#include "support/TempPlatform.h"

namespace {

// Answers the game's questions, with names for the prompts. The first prompt is where a
// program waits until every program has read the table: it reports on `ready` and goes on
// when `go` is closed.
void AnswerAsPlayer(TGame& game, int player, int ready, int go) {
    while (const TQuestion* question = game.OpenQuestion()) {
        std::string name = "Racer";
        if (question->Text == "Enter your first name") {
            char byte = 0;
            if (write(ready, "r", 1) != 1 || read(go, &byte, 1) != 0) _exit(2);
            name = "Player" + std::to_string(player);
        }
        if (!game.Apply(TMove::Answering(true, name))) _exit(3);
    }
}

}  // namespace

TEST(HiScoreRaceTest, TenGamesEndingAtOnceKeepAllTenEntries) {
    TempPlatform temp;
    const std::string table = temp.UserDataDirectory() + "/REALTOPI.DAT";
    constexpr int kPlayers = 10;
    int ready[2], go[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(go), 0);

    std::vector<pid_t> children;
    for (int player = 0; player < kPlayers; ++player) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            close(go[1]);
            TGame game(temp.Platform());
            game.InitWorld();
            Edit(game).Engaged = true;
            Edit(game).Cash = Money::Pounds(1001 + player);
            game.RecordHiScore();
            AnswerAsPlayer(game, player, ready[1], go[0]);
            _exit(0);
        }
        children.push_back(child);
    }
    close(ready[1]);
    close(go[0]);
    // Every program has read the table and waits at its name prompt; then all go on at once.
    char byte = 0;
    for (int player = 0; player < kPlayers; ++player) ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(go[1]);
    close(ready[0]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    THiScoreTable entered;
    ASSERT_TRUE(entered.Load(table, TempPlatform::kToday));
    for (int position = 1; position <= kPlayers; ++position) {
        const int player = kPlayers - position;  // the best score first
        EXPECT_EQ(entered.Score(position), static_cast<std::uint32_t>(1001 + player)) << position;
        EXPECT_EQ(entered.FullName(position), "Player" + std::to_string(player) + " Racer");
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp.UserDataDirectory()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"REALTOPI.DAT", "REALTOPI.DAT.lock"}));
}
