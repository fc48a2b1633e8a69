// Engine speed, with a window that draws nothing: the engine's month against its floor (the
// same month written by hand, bench/FloorMonth.h) in alternating rounds of one run, months
// and whole games per second. Prints each figure against its target.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSummary.h"
#include "FloorMonth.h"
#include "engine/Game.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"

namespace {

using Clock = std::chrono::steady_clock;

TPlatform BenchPlatform() {
    TPlatform platform;
    platform.ProgramPath = "/nonexistent/realtopia-bench";
    platform.Seed = 42;
    platform.Today = [] { return std::string("20000101"); };
    return platform;
}

// A game in play: engaged, some properties owned and mortgaged, headlines flowing.
void StartGame(TGame& game, std::uint64_t seed) {
    game.InitWorld();
    game.Random().Seed(seed);  // a different market every game, the same for the floor
    game.StartGame();
    game.Engage();
    Edit(game).MonthsPlayed = 0;
    game.SetSelectedRows(TList::Portfolio, 1);
    for (int p = 1; p <= 120; p += 7) Edit(game).Property(p).Flags |= Owned;
    for (int p = 1; p <= 120; p += 21) {
        Edit(game).Selection = {p};
        Edit(game).SellTotal = game.State().Property(p).SaleValue;
        game.Mortgage();
    }
    game.Events().Clear();
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void Report(const char* what, double value, double target, const char* unit) {
    const bool met = value >= target;
    std::printf("%-28s %14.0f %-10s target %12.0f  %s\n", what, value, unit, target,
                met ? "met" : "NOT MET");
    char text[64];
    std::snprintf(text, sizeof text, "figure / target (>= %.0f %s)", target, unit);
    SummaryLine(what, value / target, text, met);
}

// The months that carry trends and headlines (107 of a game), played by the engine and by
// its floor from the same start, one game each in turn.
constexpr int kMonths = 107;

// One month, as the window takes it: the rule, then its events taken (and, with no view,
// dropped), so the outbox stays as small as a month's.
void Month(TGame& game) {
    game.MonthlyTick();
    DeclineQuestions(game);
    game.Events().Clear();
}
constexpr int kBlocks = 8;
constexpr double kRatioTarget = 2.0;

// Markets in which the player stays below Guru: a Guru who declines the crash ends the game
// (and reads the hi-score file), which is neither a month's work nor the floor's.
std::vector<std::uint64_t> Markets(TGame& game) {
    std::vector<std::uint64_t> seeds;
    for (std::uint64_t seed = 1; seeds.size() < 64; ++seed) {
        StartGame(game, seed);
        for (int m = 0; m < kMonths && game.State().Stage < 3; ++m) Month(game);
        if (game.State().Stage < 3) seeds.push_back(seed);
    }
    return seeds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Each game's 107 months are timed for the engine and then for the floor; the figures are
// medians over the games, which a shared machine's interruptions (a game that lost the
// processor half-way) do not move.
int MonthAgainstFloor(TGame& game, const std::vector<std::uint64_t>& seeds) {
    std::vector<double> ratios;
    std::vector<double> engineAll, floorAll;
    std::size_t next = 0;
    TFloorMonth floor;
    for (int block = 0; block < kBlocks; ++block) {
        std::vector<double> engine, hand;
        Clock::duration spent{};
        while (spent < std::chrono::milliseconds(250)) {
            const std::uint64_t seed = seeds[next++ % seeds.size()];
            StartGame(game, seed);
            floor.Load(game);
            const auto t0 = Clock::now();
            for (int m = 0; m < kMonths; ++m) Month(game);
            const auto t1 = Clock::now();
            for (int m = 0; m < kMonths; ++m) floor.Month();
            const auto t2 = Clock::now();
            if (!floor.SameAs(game)) {
                std::printf("the floor's month ended unlike the engine's (seed %llu)\n",
                            static_cast<unsigned long long>(seed));
                return 1;
            }
            spent += t1 - t0;
            engine.push_back(Seconds(t1 - t0) * 1e9 / kMonths);
            hand.push_back(Seconds(t2 - t1) * 1e9 / kMonths);
        }
        ratios.push_back(Median(engine) / Median(hand));
        engineAll.insert(engineAll.end(), engine.begin(), engine.end());
        floorAll.insert(floorAll.end(), hand.begin(), hand.end());
    }
    std::sort(ratios.begin(), ratios.end());
    const double engineNs = Median(engineAll);
    const double floorNs = Median(floorAll);
    const double ratio = engineNs / floorNs;
    const bool met = ratio <= kRatioTarget;
    std::printf(
        "%-28s %11.1f ns  floor %6.1f ns  ratio %5.2f (blocks %.2f-%.2f)  target <= %.1f  %s\n",
        "engine month (median)", engineNs, floorNs, ratio, ratios.front(), ratios.back(),
        kRatioTarget, met ? "met" : "NOT MET");
    std::printf("  %zu games of %d months compared, %zu markets\n", engineAll.size(), kMonths,
                seeds.size());
    SummaryLine("engine month against its floor", ratio, "<= 2.00 (floor: same month by hand)",
                met);
    return 0;
}

}  // namespace

int main() {
    TGame game(BenchPlatform());

    const std::vector<std::uint64_t> seeds = Markets(game);
    if (MonthAgainstFloor(game, seeds) != 0) return 1;

    // Months per second: the 107 months again and again, from the median game.
    std::vector<double> perMonth;
    auto elapsed = Clock::duration{};
    std::size_t next = 0;
    while (elapsed < std::chrono::seconds(2)) {
        StartGame(game, seeds[next++ % seeds.size()]);
        const auto t0 = Clock::now();
        for (int m = 0; m < kMonths; ++m) Month(game);
        const auto t1 = Clock::now();
        elapsed += t1 - t0;
        perMonth.push_back(Seconds(t1 - t0) / kMonths);
    }
    Report("monthly ticks per second", 1 / Median(perMonth), 2000000, "months/s");

    // Whole games: InitWorld, PLAY and 120 ticks to the end of the game, as a player who
    // watches without clicking plays it.
    auto wholeGames = [&](bool engaged) {
        long count = 0;
        const auto begin = Clock::now();
        while (Clock::now() - begin < std::chrono::seconds(2)) {
            game.InitWorld();
            game.StartGame();
            if (engaged) game.Engage();
            Edit(game).MonthsPlayed = 0;
            for (int m = 0; m < 120; ++m) Month(game);
            ++count;
        }
        return count / Seconds(Clock::now() - begin);
    };
    Report("whole games per second", wholeGames(false), 20000, "games/s");
    // The same with the player engaged: the end of each game then settles the accounts and
    // runs the hi-score step, which reads the hi-score file.
    std::printf("%-28s %14.0f %-10s (no target)\n", "engaged games per second", wholeGames(true),
                "games/s");
    return 0;
}
