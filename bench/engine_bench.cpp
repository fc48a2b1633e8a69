// Engine speed: monthly ticks per second and whole games per second, with a window that
// draws nothing. Prints each figure against its target.

#include <chrono>
#include <cstdio>
#include <string>

#include "engine/Game.h"
#include "support/NullGameWindow.h"

namespace {

TPlatform BenchPlatform() {
    TPlatform platform;
    platform.ProgramPath = "/nonexistent/realtopia-bench";
    platform.Seed = 42;
    platform.Today = [] { return std::string("20000101"); };
    return platform;
}

// A game in play: engaged, some properties owned and mortgaged, headlines flowing.
void StartGame(TGame& game) {
    game.InitWorld();
    game.StartGame();
    game.Engage();
    game.MonthsPlayed = 0;
    game.SetSelectedRows(IGameWindow::List::Portfolio, 1);
    for (int p = 1; p <= 120; p += 7) game.Property(p).Flags |= Owned;
    for (int p = 1; p <= 120; p += 21) {
        game.Selection = {p};
        game.SellTotal = game.Property(p).SaleValue;
        game.Mortgage();
    }
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void Report(const char* what, double value, double target, const char* unit) {
    std::printf("%-28s %14.0f %-10s target %12.0f  %s\n", what, value, unit, target,
                value >= target ? "met" : "NOT MET");
}

}  // namespace

int main() {
    NullGameWindow window;
    TGame game(window, BenchPlatform());

    // Months: play the 107 months that carry trends and headlines again and again.
    long months = 0;
    auto elapsed = std::chrono::steady_clock::duration{};
    while (elapsed < std::chrono::seconds(2)) {
        StartGame(game);
        const auto t0 = std::chrono::steady_clock::now();
        for (int m = 0; m < 107; ++m) game.MonthlyTick();
        elapsed += std::chrono::steady_clock::now() - t0;
        months += 107;
    }
    Report("monthly ticks per second", months / Seconds(elapsed), 2000000, "months/s");

    // Whole games: InitWorld, PLAY and 120 ticks to the end of the game, as a player who
    // watches without clicking plays it.
    auto wholeGames = [&](bool engaged) {
        long count = 0;
        const auto begin = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - begin < std::chrono::seconds(2)) {
            game.InitWorld();
            game.StartGame();
            if (engaged) game.Engage();
            game.MonthsPlayed = 0;
            for (int m = 0; m < 120; ++m) game.MonthlyTick();
            ++count;
        }
        return count / Seconds(std::chrono::steady_clock::now() - begin);
    };
    Report("whole games per second", wholeGames(false), 20000, "games/s");
    // The same with the player engaged: the end of each game then settles the accounts and
    // runs the hi-score step, which reads the hi-score file.
    std::printf("%-28s %14.0f %-10s (no target)\n", "engaged games per second", wholeGames(true),
                "games/s");
    return 0;
}
