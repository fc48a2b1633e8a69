// Engine speed, with a window that draws nothing: the engine's month against its floor (the
// same month written by hand, bench/FloorMonth.h) and the window logic's month against the
// engine's, each in alternating rounds of one run; months and whole games per second in CPU
// time. Prints each figure against its target, with its range over the run's blocks.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchRounds.h"
#include "BenchSummary.h"
#include "FloorMonth.h"
#include "engine/Game.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"
#include "support/QuietEffects.h"
#include "windows/TRealtopia.h"

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

// A rate judged on CPU time: `perItemNs` is the CPU time of one month or game, with its range
// over the blocks (a higher time is a lower rate).
void Report(const char* what, TRanged perItemNs, double target, const char* unit) {
    const double value = 1e9 / perItemNs.Value;
    const bool met = value >= target;
    std::printf("%-28s %14.0f %-10s (blocks %.0f-%.0f, CPU time)  target %12.0f  %s\n", what, value,
                unit, 1e9 / perItemNs.High, 1e9 / perItemNs.Low, target, met ? "met" : "NOT MET");
    char text[64];
    std::snprintf(text, sizeof text, "figure / target (>= %.0f %s, CPU)", target, unit);
    SummaryLine(what, value / target, 1e9 / perItemNs.High / target, 1e9 / perItemNs.Low / target,
                text, met);
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
    SummaryLine("engine month against its floor", ratio, ratios.front(), ratios.back(),
                "<= 2.00 (floor: same month by hand)", met);
    return 0;
}

// The month as the front ends run it (the rule, then its events applied to the window logic's
// view: panels, status bar, lists, ticker) against the engine's month alone, in the same
// market, one game of each in turn; the figure is the median of the games' ratios.
constexpr double kWindowMonthTarget = 3.0;

int WindowMonthAgainstEngine(TGame& engine, const std::vector<std::uint64_t>& seeds) {
    QuietEffects effects(false);
    TRealtopia app(effects, BenchPlatform());
    Tmainform& form = app.mainform;
    form.WindowCreated();
    TGame& shown = form.Rules();
    std::vector<std::vector<double>> blocks;
    std::size_t next = 0;
    for (int block = 0; block < kBlocks; ++block) {
        std::vector<double> ratios;
        Clock::duration spent{};
        while (spent < std::chrono::milliseconds(250)) {
            const std::uint64_t seed = seeds[next++ % seeds.size()];
            StartGame(shown, seed);
            form.RefillLists();
            form.RefreshDisplay();
            StartGame(engine, seed);
            // The window's lists tell the game how many of their rows are selected (none).
            Edit(engine).RowsSelected = shown.State().RowsSelected;
            const auto t0 = Clock::now();
            for (int m = 0; m < kMonths; ++m) {
                shown.MonthlyTick();
                form.ApplyGameEvents();
            }
            const auto t1 = Clock::now();
            for (int m = 0; m < kMonths; ++m) Month(engine);
            const auto t2 = Clock::now();
            if (!(shown.State() == engine.State())) {
                std::printf("the window's month ended unlike the engine's (seed %llu)\n",
                            static_cast<unsigned long long>(seed));
                return 1;
            }
            spent += t2 - t0;
            ratios.push_back(Seconds(t1 - t0) / Seconds(t2 - t1));
        }
        blocks.push_back(std::move(ratios));
    }
    const TRanged ratio = Ranged(blocks);
    const bool met = ratio.Value <= kWindowMonthTarget;
    std::printf("%-28s ratio %5.2f (blocks %.2f-%.2f)  target <= %.1f  %s\n",
                "window month / engine month", ratio.Value, ratio.Low, ratio.High,
                kWindowMonthTarget, met ? "met" : "NOT MET");
    SummaryLine("window-logic month against the engine's", ratio.Value, ratio.Low, ratio.High,
                "<= 3.00 (median of paired games)", met);
    return 0;
}

// CPU time of `play` (one month or game each call, `items` of them), in blocks of 250 ms.
template <typename Play>
TRanged CpuPerItem(int items, Play play) {
    std::vector<std::vector<double>> blocks;
    for (int block = 0; block < kBlocks; ++block) {
        std::vector<double> times;
        double spent = 0;
        while (spent < 250e6) {
            const double t = play();
            spent += t;
            times.push_back(t / items);
        }
        blocks.push_back(std::move(times));
    }
    return Ranged(blocks);
}

}  // namespace

int main() {
    TGame game(BenchPlatform());

    const std::vector<std::uint64_t> seeds = Markets(game);
    if (MonthAgainstFloor(game, seeds) != 0) return 1;
    if (WindowMonthAgainstEngine(game, seeds) != 0) return 1;

    // Months per second: the 107 months again and again, the CPU time of each game's.
    std::size_t next = 0;
    Report("monthly ticks per second",
           CpuPerItem(kMonths,
                      [&] {
                          StartGame(game, seeds[next++ % seeds.size()]);
                          const double t0 = ThreadCpuNs();
                          for (int m = 0; m < kMonths; ++m) Month(game);
                          return ThreadCpuNs() - t0;
                      }),
           2000000, "months/s");

    // Whole games: InitWorld, PLAY and 120 ticks to the end of the game, as a player who
    // watches without clicking plays it.
    auto wholeGame = [&](bool engaged) {
        const double t0 = ThreadCpuNs();
        game.InitWorld();
        game.StartGame();
        if (engaged) game.Engage();
        Edit(game).MonthsPlayed = 0;
        for (int m = 0; m < 120; ++m) Month(game);
        return ThreadCpuNs() - t0;
    };
    Report("whole games per second", CpuPerItem(1, [&] { return wholeGame(false); }), 20000,
           "games/s");
    // The same with the player engaged: the end of each game then settles the accounts and
    // runs the hi-score step, which reads the hi-score file.
    const TRanged engaged = CpuPerItem(1, [&] { return wholeGame(true); });
    std::printf("%-28s %14.0f %-10s (no target)\n", "engaged games per second", 1e9 / engaged.Value,
                "games/s");
    return 0;
}
