#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/GameDebug.h"
#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

using GameStateTest = RealtopiaFixture;

// The field list names each field once; a field the saved game leaves out is one the program
// supplies when a game is resumed.
TEST(GameStateFields, EachNamedOnceAndKeptOrShown) {
    TGameState state;
    std::set<std::string> names;
    std::set<std::string> notSaved;
    int fields = 0;
    ForEachField(state, [&](const char* name, auto&, const TField& f) {
        ++fields;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_NE(f.Use & kSavedAndShown, 0u) << name;
        if ((f.Use & kSaved) == 0) notSaved.insert(name);
    });
    EXPECT_EQ(fields, static_cast<int>(names.size()));
    EXPECT_EQ(notSaved, (std::set<std::string>{"paused", "running", "soundOn"}));
}

// Two states compare equal only when every part agrees, the generator's position and the
// market's history included.
TEST_F(GameStateTest, StatesCompareFieldByField) {
    StartEngagedGame();
    const TGameState before = Game().State();
    EXPECT_TRUE(before == Game().State());

    Game().Random().Next();
    EXPECT_FALSE(before == Game().State());
    Edit(Game()).Generator = before.Generator;
    EXPECT_TRUE(before == Game().State());

    Edit(Game()).History.TrendDrawn(2000, 1, Risen);
    EXPECT_FALSE(before == Game().State());
    Edit(Game()).History = before.History;

    Edit(Game()).Property(5).DoneImprovements ^= 1;
    EXPECT_FALSE(before == Game().State());
}

// Each setter changes its one field within the range the saved game keeps to, and nothing at
// all outside it.
TEST_F(GameStateTest, DebugSettersCheckTheirRanges) {
    StartEngagedGame();
    TGameDebug debug(Game());
    const TGameState before = Game().State();
    const Money largest = kLargestSavedAmount;
    const Money tick = Money::FromRaw(1);

    EXPECT_FALSE(debug.SetCash(largest + tick));
    EXPECT_FALSE(debug.SetDebt(-tick));
    EXPECT_FALSE(debug.SetDebt(largest + tick));
    EXPECT_FALSE(debug.SetBuyPrice(0, Money::Pounds(1)));
    EXPECT_FALSE(debug.SetSaleValue(kPropertyCount + 1, Money::Pounds(1)));
    EXPECT_FALSE(debug.SetBuyPrice(3, largest + tick));
    EXPECT_FALSE(debug.SetSaleValue(3, -tick));
    EXPECT_FALSE(debug.SetDate(2005, 13));
    EXPECT_FALSE(debug.SetDate(2005, 0));
    EXPECT_FALSE(debug.SetDate(2010, 1));
    EXPECT_FALSE(debug.SetDate(1999, 12));
    EXPECT_FALSE(debug.SetMonthsPlayed(-1));
    EXPECT_FALSE(debug.SetMonthsPlayed(kMonthsInGame));
    EXPECT_FALSE(debug.SetStage(0));
    EXPECT_FALSE(debug.SetStage(4));
    EXPECT_TRUE(before == Game().State());

    EXPECT_TRUE(debug.SetCash(-largest));
    EXPECT_TRUE(debug.SetDebt(largest));
    EXPECT_TRUE(debug.SetBuyPrice(kPropertyCount, Money::Pounds(9)));
    EXPECT_TRUE(debug.SetSaleValue(1, Money()));
    EXPECT_TRUE(debug.SetDate(2000, 1));
    EXPECT_TRUE(debug.SetDate(2009, 12));
    EXPECT_TRUE(debug.SetMonthsPlayed(kMonthsInGame - 1));
    EXPECT_TRUE(debug.SetStage(3));
    TGameState expected = before;
    expected.Cash = -largest;
    expected.Debt = largest;
    expected.Property(kPropertyCount).BuyPrice = Money::Pounds(9);
    expected.Property(1).SaleValue = Money();
    expected.Year = 2009;
    expected.Month = 12;
    expected.MonthsPlayed = kMonthsInGame - 1;
    expected.Stage = 3;
    EXPECT_TRUE(expected == Game().State());
}

// Before the window shows the game, the rules settle the selection: an empty one has no totals
// and offers no mortgage, and one for sale never offers a mortgage.
TEST_F(GameStateTest, TheSelectionIsSettledByTheRules) {
    StartEngagedGame();
    Game().Select(TSelectionSide::Portfolio, {4});
    Edit(Game()).MortgageMode = TMortgageMode::CanMortgage;
    Game().SetSelectedRows(TList::Avail, 0);
    Game().SetSelectedRows(TList::Portfolio, 1);
    Game().SettleSelection();
    EXPECT_EQ(Game().State().MortgageMode, TMortgageMode::CanMortgage);  // kept

    Edit(Game()).SelectionSide = TSelectionSide::ForSale;
    Game().SettleSelection();
    EXPECT_EQ(Game().State().MortgageMode, TMortgageMode::None);
    EXPECT_GT(Game().State().BuyTotal, Money());

    Game().ForgetSelection();
    Edit(Game()).MortgageMode = TMortgageMode::CanRedeem;
    Game().SetSelectedRows(TList::Avail, 1);  // a row for sale still selected
    Game().SettleSelection();
    EXPECT_GT(Game().State().BuyTotal, Money());
    EXPECT_EQ(Game().State().MortgageMode, TMortgageMode::CanRedeem);

    Game().SetSelectedRows(TList::Avail, 0);
    Game().SettleSelection();
    EXPECT_EQ(Game().State().BuyTotal, Money());
    EXPECT_EQ(Game().State().SellTotal, Money());
    EXPECT_EQ(Game().State().MortgageMode, TMortgageMode::None);
}

}  // namespace
