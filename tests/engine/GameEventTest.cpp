#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Game.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"
#include "support/TempPlatform.h"

namespace {

using Kind = TGameEventKind;

std::vector<TGameEvent> TakeAll(TGame& game) {
    std::vector<TGameEvent> events;
    TGameEvent event;
    while (game.Events().Take(event)) events.push_back(event);
    return events;
}

std::vector<Kind> KindsOf(const std::vector<TGameEvent>& events) {
    std::vector<Kind> kinds;
    for (const TGameEvent& event : events) kinds.push_back(event.Kind);
    return kinds;
}

// A purchase of one affordable row is a move in and events out: the rules ask the window
// nothing, and the events carry the figures of their moment.
TEST(GameEventTest, APurchaseAsksNothingAndTellsWhatHappenedInOrder) {
    TempPlatform temp;
    TGame game(temp.Platform());
    game.InitWorld();
    game.StartGame();
    game.Engage();
    int property = 0;
    for (int p = 1; p <= kPropertyCount && property == 0; ++p)
        if (game.State().Property(p).Area == game.State().CurrentArea) property = p;
    game.Select(TSelectionSide::ForSale, {property});
    game.SetSelectedRows(TList::Avail, 1);
    game.Events().Clear();
    const Money cash = game.State().Cash;
    const Money price = game.State().Property(property).BuyPrice;

    ASSERT_TRUE(game.Apply(TMove::Of(TMoveKind::BuyOrSell)));

    EXPECT_EQ(game.OpenQuestion(), nullptr);
    const std::vector<TGameEvent> events = TakeAll(game);
    EXPECT_EQ(KindsOf(events), (std::vector<Kind>{Kind::Sound, Kind::CashChanged,
                                                  Kind::ListsChanged, Kind::PanelsChanged,
                                                  Kind::SelectionsCleared, Kind::PanelsChanged}));
    EXPECT_EQ(events[0].Sound, TSound::Click);
    EXPECT_FALSE(events[0].Flag);  // the click does not hold the game up
    EXPECT_EQ(events[1].Amount, cash - price);
    EXPECT_EQ(events[3].Panels.Side, TSelectionSide::ForSale);
    EXPECT_EQ(events[5].Panels.Side, TSelectionSide::None);
    EXPECT_EQ(events[5].Panels.Cash, cash - price);
    EXPECT_TRUE(game.State().Property(property).Has(Owned));
    // The rules know at once that no row is selected any more.
    EXPECT_EQ(game.SelectedRows(TList::Avail), 0);
    EXPECT_TRUE(game.Events().Empty());
}

// A month hands its net worth and date over as values: a box shown later in the same move
// finds the figures of their moment behind it, not later ones.
TEST(GameEventTest, AMonthCarriesItsFiguresAndAPauseIsTheRulesAtOnce) {
    TempPlatform temp;
    TGame game(temp.Platform());
    game.InitWorld();
    game.StartGame();
    game.Events().Clear();
    game.MonthlyTick();
    const std::vector<TGameEvent> events = TakeAll(game);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[0].Kind, Kind::NetWorth);
    EXPECT_EQ(events[1].Kind, Kind::DateChanged);
    EXPECT_EQ(events[1].Number, 2);
    EXPECT_EQ(events[1].Year, 2000);
    EXPECT_EQ(events[2].Kind, Kind::Progress);
    EXPECT_EQ(events[2].Number, 1);

    // Pausing for a box is the rules' state before the window hears of it; the box ends the
    // move, and nothing of what follows it happens before its answer.
    game.Engage();
    Edit(game).Stage = 1;
    Edit(game).Cash = TGame::kMagnateWorth;
    game.CheckStage();
    EXPECT_EQ(OpenKind(game), TQuestionKind::Information);  // the banks' message
    EXPECT_EQ(KindsOf(TakeAll(game)), std::vector<Kind>{Kind::Paused});
    EXPECT_FALSE(game.State().Running);
    EXPECT_EQ(game.State().Cash, TGame::kMagnateWorth);
    // Nothing but the answer and the window's own moves is taken meanwhile.
    EXPECT_FALSE(game.Apply(TMove::Of(TMoveKind::Tick)));
    EXPECT_FALSE(game.Apply(TMove::Numbered(TMoveKind::Pick, 1)));
    EXPECT_EQ(DeclineQuestions(game), 1);
    const std::vector<Kind> kinds = KindsOf(TakeAll(game));
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.back(), Kind::Resumed);
    EXPECT_TRUE(game.State().Running);
    EXPECT_EQ(game.State().Stage, 2);
    EXPECT_EQ(game.State().Cash, TGame::kMagnateWorth + TGame::kBankBonus);
    EXPECT_FALSE(game.Apply(TMove::Answering(true)));  // no question is open
}

// The outbox reuses its slots: an event starts without the payload of the one that used
// its slot before, and events pushed while others are taken follow them in order.
TEST(GameEventTest, TheOutboxStartsEachEventCleanAndKeepsOrder) {
    TGameEvents outbox;
    TGameEvent& active = outbox.Push(Kind::TickerActive);
    active.Flag = true;
    active.Text = "a text";
    active.Amount = Money::Pounds(5);
    TGameEvent taken;
    ASSERT_TRUE(outbox.Take(taken));
    EXPECT_TRUE(taken.Flag);
    EXPECT_TRUE(outbox.Empty());

    const TGameEvent& sound = outbox.Push(Kind::Sound);
    EXPECT_FALSE(sound.Flag);
    EXPECT_TRUE(sound.Text.empty());
    EXPECT_EQ(sound.Amount, Money());
    outbox.Push(Kind::ListsChanged);
    ASSERT_TRUE(outbox.Take(taken));
    EXPECT_EQ(taken.Kind, Kind::Sound);
    outbox.Push(Kind::PlayEnabled);  // while the list's event is still to be taken
    EXPECT_EQ(outbox.Size(), 2u);
    ASSERT_TRUE(outbox.Take(taken));
    EXPECT_EQ(taken.Kind, Kind::ListsChanged);
    ASSERT_TRUE(outbox.Take(taken));
    EXPECT_EQ(taken.Kind, Kind::PlayEnabled);
    EXPECT_FALSE(outbox.Take(taken));
}

// Events taken in place stay as they were while they are applied, even when applying one
// takes the rest (a box's moves handled meanwhile) and appends more: the slots are reused
// only once the first taker has finished, and then from the start.
TEST(GameEventTest, EventsTakenInPlaceStayUntilEveryTakerHasFinished) {
    TGameEvents outbox;
    outbox.Push(Kind::TickerText).Text = "first";
    outbox.Push(Kind::Progress).Number = 2;

    outbox.BeginTaking();
    const TGameEvent* first = outbox.Next();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Text, "first");
    // While `first` is applied, a nested taker applies the rest and finds the outbox empty.
    outbox.BeginTaking();
    const TGameEvent* second = outbox.Next();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Number, 2);
    EXPECT_EQ(outbox.Next(), nullptr);
    outbox.EndTaking();
    // Nothing was reused: a new event goes after both.
    outbox.Push(Kind::StatusText).Text = "later";
    EXPECT_EQ(outbox.Size(), 1u);
    const TGameEvent* later = outbox.Next();
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->Kind, Kind::StatusText);
    EXPECT_EQ(outbox.Next(), nullptr);
    outbox.EndTaking();

    // Every taker done: the outbox starts again from its first slot, clean.
    EXPECT_TRUE(outbox.Empty());
    const TGameEvent& reused = outbox.Push(Kind::Sound);
    EXPECT_TRUE(reused.Text.empty());
    outbox.BeginTaking();
    EXPECT_EQ(outbox.Next(), &reused);
    outbox.EndTaking();
}

using WindowEventTest = RealtopiaFixture;

// Before a question the window applies the events so far, so the screen behind the box is
// the game of that moment; after the move none is left waiting.
TEST_F(WindowEventTest, TheScreenBehindABoxIsTheGameOfThatMoment) {
    TGame& g = Game();
    StartEngagedGame();
    for (int p : {2, 3}) {
        Edit(g).Property(p).Flags |= Owned;
        Edit(g).Property(p).SoldCount = 3;
    }
    Form().RefillLists();
    Edit(g).Cash = Money::Pounds(150000);
    Form().RefreshDisplay();
    std::vector<std::string> cashBehind;
    std::vector<std::size_t> portfolioRows;
    effects_.OnModal[IEffects::Modal::Police] = [&] {
        cashBehind.push_back(View().CashPanel);
        portfolioRows.push_back(View().Portfolio.Rows.size());
    };
    Sell({2, 3});
    EXPECT_EQ(cashBehind, (std::vector<std::string>{"Current Cash: \u00A3150,000",
                                                    "Current Cash: \u00A350,000"}));
    // The sale itself comes after both windows.
    EXPECT_EQ(portfolioRows, (std::vector<std::size_t>{2, 2}));
    EXPECT_TRUE(View().Portfolio.Rows.empty());
    EXPECT_EQ(View().CashPanel, "Current Cash: " + FormatPounds(g.State().Cash));
    EXPECT_TRUE(g.Events().Empty());
}

}  // namespace
