// A random player: thousands of games played through the window logic with random clicks,
// keys, answers and typing, checking the game's invariants after every step, and an
// accountant explaining every change of cash, debt and net worth.
// REALTOPIA_SOAK_GAMES sets the number of games (2,000 by default).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "engine/GameRecord.h"
#include "engine/Hisc.h"
#include "logic/Accountant.h"
#include "windows/TRealtopia.h"

namespace {

class RandomEffects : public IEffects {
public:
    explicit RandomEffects(std::mt19937_64& random) : random_(random) {}
    TRealtopia* app = nullptr;
    Accountant* accountant = nullptr;
    bool quit = false;
    std::string failure;  // an invariant broken inside a modal window
    int refusals = 0;     // "You can't afford it!"

    void Information(const std::string& text) override {
        if (text == "You can't afford it!") ++refusals;
    }
    void Error(const std::string&, const std::string&) override {}
    bool YesNo(const std::string& question) override {
        if (question == "Another Game?") {
            CheckSettled();
            const std::string unexplained = accountant->ExplainEnd(app->mainform.Game());
            if (!unexplained.empty() && failure.empty()) failure = unexplained;
            CheckReplay();
        }
        return Chance(2);
    }
    bool Input(const std::string&, const std::string&, std::string& text, int maxLength) override {
        switch (Pick(5)) {
            case 0:
                return false;
            case 1:
                text = std::string(static_cast<std::size_t>(maxLength), 'x');
                return true;
            case 2:
                text = "Zo\u00EB \u6F22\u5B57 & \"quote\" 'x'";
                return true;
            case 3:
                text.clear();
                return true;
            default:
                text = "Player" + std::to_string(Pick(100));
                return true;
        }
    }
    bool ShowModal(Modal window) override {
        switch (window) {
            case Modal::Agreement:
                return true;
            case Modal::Police:
            case Modal::MarketReport:
                return true;
            case Modal::Rules:
                if (Chance(2)) app->rulesform.NotImplemented(1 + Pick(4));
                if (Chance(2)) app->rulesform.cmd_backClick();
                return Chance(2);
            case Modal::DamRen: {
                TDamRenForm& form = app->DamRenForm;
                if (Chance(4)) {
                    form.cmd_CloseClick();  // OK is disabled before a click: nothing happens
                    if (form.Closed()) failure = "chooser closed by a disabled OK";
                }
                if (Chance(5)) {
                    form.cmd_CancelClick();
                } else {
                    form.optgroupClick(1 + Pick(8));
                    form.cmd_CloseClick();
                }
                return form.ChoiceMade();
            }
        }
        return false;
    }
    void ShowMainWindow() override {}
    void HideSplash() override {}
    void MainTimerChanged() override {}
    SoundResult PlaySound(const std::string&, bool) override { return SoundResult::Played; }
    bool SoundDeviceWorks() override { return true; }
    bool OpenUrl(const std::string&) override { return Chance(2); }
    void ProcessEvents() override {}
    void Quit() override { quit = true; }

    bool Chance(int n) { return Pick(n) == 0; }
    int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }

    int replayed = 0;  // games whose record played again to the very same end

private:
    // Every move the window made went through the rules: the record plays the game again.
    void CheckReplay() {
        const TGame& game = app->mainform.Game();
        if (!game.Record().Finished) return;
        TGame replay(game.Platform());
        const TReplayResult result = ReplayRecord(game.Record(), replay);
        if (result.Verdict == TReplayVerdict::Replayed)
            ++replayed;
        else if (failure.empty())
            failure = "the game's record " + result.Text();
    }
    void CheckSettled() {
        const TGame& game = app->mainform.Game();
        if (game.State().Debt != Money()) failure = "debt left after the settlement";
        for (const TProperty& p : game.State().Properties)
            if (p.Has(Mortgaged)) failure = "mortgage left after the settlement";
    }
    std::mt19937_64& random_;
};

std::string NameOfRow(const std::string& text) {
    const std::size_t paren = text.rfind(" (");
    return paren == std::string::npos ? text : text.substr(0, paren);
}

// The game's invariants; an empty result means all hold.
std::string BrokenInvariant(const TRealtopia& app) {
    const TGame& game = app.mainform.Game();
    if (game.State().Debt < Money()) return "debt below zero";
    Money repayments;
    for (const TProperty& p : game.State().Properties) {
        repayments += p.MonthlyRepayment;
        if (p.Has(Mortgaged) && !p.Has(Owned)) return "mortgaged property not owned: " + p.Name;
        if (!p.Has(Mortgaged) && p.MonthlyRepayment != Money())
            return "repayment on an unmortgaged property: " + p.Name;
    }
    if (repayments != game.State().MonthlyRepaymentTotal) return "repayment total out of step";

    // The lists show exactly the owned properties and the current area's unowned ones.
    const TMainWindowView& view = app.mainform.View();
    std::size_t avail = 0, owned = 0;
    for (int n = 1; n <= kPropertyCount; ++n) {
        const TProperty& p = game.State().Property(n);
        if (p.Has(Owned)) {
            if (owned >= view.Portfolio.Rows.size() ||
                NameOfRow(view.Portfolio.Rows[owned].Text) != p.Name ||
                view.Portfolio.Rows[owned].Property != n)
                return "portfolio list does not match the owned properties";
            ++owned;
        } else if (p.Area == game.State().CurrentArea && !view.Avail.Rows.empty()) {
            if (avail >= view.Avail.Rows.size() ||
                NameOfRow(view.Avail.Rows[avail].Text) != p.Name ||
                view.Avail.Rows[avail].Property != n)
                return "for-sale list does not match the current area";
            ++avail;
        }
    }
    if (owned != view.Portfolio.Rows.size()) return "extra rows in the portfolio list";
    if (!view.Avail.Rows.empty() && avail != view.Avail.Rows.size())
        return "extra rows in the for-sale list";
    return {};
}

// Rows of a list the player selects at random (the event that acts on them is the caller's).
std::vector<int> RandomSelection(RandomEffects& fx, Tmainform& form, TList list, bool trader) {
    const TMainWindowView& view = form.View();
    const auto& rows = list == TList::Avail ? view.Avail.Rows : view.Portfolio.Rows;
    std::vector<int> chosen;
    if (trader && fx.Chance(2)) {
        for (std::size_t i = 0; i < rows.size(); ++i) chosen.push_back(static_cast<int>(i));
    } else if (!rows.empty()) {
        const int count = fx.Chance(4) ? 1 + fx.Pick(4) : 1;
        for (int i = 0; i < count; ++i) chosen.push_back(fx.Pick(static_cast<int>(rows.size())));
    }
    return chosen;
}

// A trader acts several times a month, mostly in London and on whole lists, and seldom
// quits.
void RandomStep(RandomEffects& fx, Tmainform& form, bool trader) {
    using List = TList;
    static const TCommand kKeys[] = {TCommand::KeyEsc, TCommand::KeyF1, TCommand::KeyF2,
                                     TCommand::KeyF5,  TCommand::KeyF6, TCommand::KeyF7,
                                     TCommand::KeyF12};
    switch (fx.Pick(trader ? 18 : 24)) {
        case 0:
            form.ListMouseUp(List::Avail, RandomSelection(fx, form, List::Avail, trader));
            break;
        case 1:
            form.ListMouseUp(List::Portfolio, RandomSelection(fx, form, List::Portfolio, trader));
            break;
        case 2:
            form.ListKeyUp(List::Avail, RandomSelection(fx, form, List::Avail, trader));
            break;
        case 3:
            form.Invoke(TCommand::BuySell);
            break;
        case 4:
            form.Invoke(TCommand::DamRen);
            break;
        case 5:
            form.Invoke(TCommand::Mortgage);
            break;
        case 6:
            form.Invoke(TCommand::Start);
            break;
        case 7:
            form.Invoke(AreaCommand(trader && !fx.Chance(8) ? 1 : 1 + fx.Pick(6)));
            break;
        case 8:
            form.Invoke(kKeys[fx.Pick(7)]);
            break;
        case 9: {
            static const char* kTyping[] = {"wadofcash", "wwadofcash", "x", "cash", "\u00E9"};
            const std::string text = kTyping[fx.Pick(5)];
            for (char c : text) form.KeyPress(TKeyEvent(TKey::Other, std::string(1, c)));
            break;
        }
        case 10:
            if (fx.Chance(trader ? 200 : 8))
                form.Invoke(TCommand::MenuQuitAndReplay);
            else if (fx.Chance(2))
                form.Invoke(TCommand::MenuSound);
            else if (fx.Chance(2))
                form.Invoke(TCommand::MenuFast);
            else
                form.Invoke(TCommand::MenuSlow);
            break;
        case 11:
            form.WindowStateChanged(fx.Chance(2));
            break;
        case 12:
            if (fx.Chance(10)) form.Invoke(TCommand::Email);
            break;
        case 13:
            form.ListMouseUp(List::Portfolio, RandomSelection(fx, form, List::Portfolio, trader));
            form.Invoke(TCommand::KeyF7);
            break;
        default:
            form.TimerFired();
            break;
    }
}

// The row of `property` in the for-sale list, or -1.
int AvailRow(const TGame& game, int property) {
    int row = 0;
    for (int n = 1; n <= kPropertyCount; ++n) {
        const TProperty& p = game.State().Property(n);
        if (p.Area != game.State().CurrentArea || p.Has(Owned)) continue;
        if (n == property) return row;
        ++row;
    }
    return -1;
}

// Selects `row` of a list with the mouse and gives `command`.
void ClickRowThen(Tmainform& form, TList list, int row, TCommand command) {
    if (row < 0) return;
    form.ListMouseUp(list, {row});
    form.Invoke(command);
}

// A spender buys the dearest property the cash covers until little is left, then renovates,
// vandalises London's houses, sells them (at £1) again and again and keeps mortgages: every
// payment that the cash cannot cover, and every choice it cannot afford. False when the game
// is not open for trading.
bool SpenderStep(RandomEffects& fx, Tmainform& form) {
    using List = TList;
    const TGame& game = form.Game();
    const TMainWindowView& view = form.View();
    if (!view.BuySell.Enabled) return false;
    const int portfolioRows = static_cast<int>(view.Portfolio.Rows.size());
    // A portfolio of a modest size keeps its list cheap to redraw after every move.
    if (game.State().Cash > Money::Pounds(60000) && portfolioRows < 16 && fx.Chance(2)) {
        form.Invoke(AreaCommand(2 + fx.Pick(5)));
        int dearest = 0;
        for (int n = 1; n <= kPropertyCount; ++n) {
            const TProperty& p = game.State().Property(n);
            if (p.Area == game.State().CurrentArea && !p.Has(Owned) &&
                p.BuyPrice <= game.State().Cash &&
                (dearest == 0 || p.BuyPrice > game.State().Property(dearest).BuyPrice))
                dearest = n;
        }
        ClickRowThen(form, List::Avail, AvailRow(game, dearest), TCommand::KeyF6);
        return true;
    }
    switch (fx.Pick(5)) {
        case 0:
            if (portfolioRows > 0)
                ClickRowThen(form, List::Portfolio, fx.Pick(portfolioRows), TCommand::KeyF5);
            break;
        case 1:
            form.Invoke(AreaCommand(1));
            ClickRowThen(form, List::Avail, fx.Pick(3), TCommand::KeyF5);
            break;
        case 2: {
            // The portfolio lists owned properties in number order: London's come first.
            const bool ownsLondon = game.State().Property(1 + fx.Pick(3)).Has(Owned);
            if (ownsLondon && portfolioRows > 0) {
                ClickRowThen(form, List::Portfolio, 0, TCommand::KeyF6);
            } else {
                form.Invoke(AreaCommand(1));
                ClickRowThen(form, List::Avail, fx.Pick(3), TCommand::KeyF6);
            }
            break;
        }
        case 3:
            if (portfolioRows > 0)
                ClickRowThen(form, List::Portfolio, fx.Pick(portfolioRows), TCommand::KeyF7);
            break;
        default:
            form.TimerFired();
            break;
    }
    return true;
}

// The customisation file beside the program: cheap London, or none.
void WriteCustomisation(const std::string& path, bool cheapLondon) {
    std::filesystem::remove(path);
    if (!cheapLondon) return;
    std::ofstream ini(path);
    ini << "[ProgramInfo]\nEXE=realtopia\n[Properties]\n";
    for (int i = 1; i <= kPropertiesPerArea; ++i)
        ini << "VALUE" << (i < 10 ? "0" : "") << i << "=1\n";
}

}  // namespace

TEST(SoakTest, RandomPlayersKeepTheInvariants) {
    const char* env = std::getenv("REALTOPIA_SOAK_GAMES");
    const int games = env != nullptr ? std::atoi(env) : 2000;
    char pattern[] = "/tmp/realtopia-soak-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const std::string hiscorePath = dir + "/data/REALTOPI.DAT";

    int ended = 0, recorded = 0, mortgaged = 0, belowZero = 0, refusals = 0, replays = 0;
    Accountant accountant;
    for (int g = 0; g < games; ++g) {
        const std::uint64_t seed = 1000003ULL * static_cast<std::uint64_t>(g) + 17;
        // Every eighth game a trader plays with London customised to £1 a property: buying
        // cheap and selling dear, again and again, meets the fines and the Guru's question.
        // Half of them spend their cash down first and then go on at the edge of it.
        const bool cheapLondon = g % 8 == 7;
        const bool spender = g % 16 == 15;
        WriteCustomisation(dir + "/realtopia.INI", cheapLondon);
        std::mt19937_64 random(seed);
        RandomEffects fx(random);
        TPlatform platform;
        platform.ProgramPath = dir + "/realtopia";
        platform.UserDataDirectory = dir + "/data";
        platform.Seed = seed;
        platform.Today = [] { return std::string("20260101"); };
        TRealtopia app(fx, platform);
        fx.app = &app;
        fx.accountant = &accountant;
        app.cmd_playClick();
        Tmainform& form = app.mainform;
        form.Invoke(TCommand::Start);

        // Until the first "Another Game?" (or at most a few thousand steps).
        const std::uint64_t firstGame = form.Game().EndCount();
        accountant.Open(form.Game());
        for (int step = 0; step < 4000 && !fx.quit && form.Game().EndCount() == firstGame; ++step) {
            const TGame& game = form.Game();
            const std::string tickerBefore = form.mq().Text();
            if (!spender || fx.Chance(2) || !SpenderStep(fx, form))
                RandomStep(fx, form, cheapLondon);
            const bool cheatAnnounced =
                form.mq().Text() != tickerBefore && form.mq().Text().starts_with("CHEAT");
            std::string broken = fx.failure.empty() ? BrokenInvariant(app) : fx.failure;
            // A step that ended the game was explained at "Another Game?".
            if (broken.empty() && !fx.quit && form.Game().EndCount() == firstGame)
                broken = accountant.Explain(game, cheatAnnounced);
            if (game.State().Cash < Money()) ++belowZero;
            ASSERT_TRUE(broken.empty()) << broken << " (game seed " << seed << ", step " << step
                                        << (spender       ? ", spender"
                                            : cheapLondon ? ", cheap London"
                                                          : "")
                                        << ")";
            if (game.State().MonthlyRepaymentTotal > Money()) ++mortgaged;
        }
        refusals += fx.refusals;
        replays += fx.replayed;
        if (form.Game().EndCount() != firstGame || fx.quit) ++ended;
        if (std::filesystem::exists(hiscorePath)) {
            ASSERT_EQ(std::filesystem::file_size(hiscorePath),
                      static_cast<std::uintmax_t>(THiScoreTable::kFileSize))
                << "game seed " << seed;
            THiScoreTable table;
            ASSERT_TRUE(table.Load(hiscorePath, "20260101")) << "game seed " << seed;
            recorded = static_cast<int>(table.Score(1) > 0);
        }
    }
    std::printf(
        "%d games, %d ended, %d steps with mortgages, %d with cash below zero, %d choices "
        "refused for want of cash, a score recorded: %s\n",
        games, ended, mortgaged, belowZero, refusals, recorded ? "yes" : "no");
    // Most games reach their reckoning, and every one of those replays from its record.
    EXPECT_GT(replays, games / 2);
    // The default run meets every kind of change the accountant knows.
    if (games >= 2000) {
        for (const char* kind :
             {"purchase", "sale", "selling fine", "vandalism fine", "damage credit", "renovation",
              "mortgage", "redemption", "monthly repayment", "windfall", "bank bonus",
              "cheat bonus", "liquidation", "market move", "settlement", "end of game",
              "paid into negative cash"})
            EXPECT_GT(accountant.Seen().count(kind), 0u) << kind;
        EXPECT_GT(belowZero, 0);
        EXPECT_GT(refusals, 0);
    }
    std::filesystem::remove_all(dir);
}
