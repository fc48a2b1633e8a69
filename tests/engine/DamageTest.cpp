#include <gtest/gtest.h>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

class DamageTest : public RealtopiaFixture {
protected:
    // An engaged Magnate (no bonus in the sums) in London, whose lowest sale value is
    // property 1's `lowest`.
    void StartWithLowest(Money lowest) {
        StartEngagedGame();
        Edit(Game()).Stage = 2;
        for (int p = 2; p <= 20; ++p)
            Edit(Game()).Property(p).SaleValue =
                std::max(Game().State().Property(p).SaleValue, lowest + Money::Pounds(20000));
        SetPrices(1, lowest + Money::Pounds(10000), lowest);
    }
    // Opens the chooser for property `p` (a for-sale row, or a portfolio row when owned),
    // records its items and chooses `item` (0: Cancel).
    std::vector<std::string> Choose(int p, int item) {
        std::vector<std::string> items;
        effects_.OnModal[IEffects::Modal::DamRen] = [&, item] {
            TDamRenForm& chooser = App().DamRenForm;
            items = chooser.Items();
            items.insert(items.begin(), chooser.GroupCaption());
            EXPECT_FALSE(chooser.OkEnabled());
            EXPECT_FALSE(Game().State().Running);  // the clock stops while the player chooses
            EXPECT_FALSE(View().TimerEnabled);
            if (item == 0) {
                chooser.cmd_CancelClick();
                return;
            }
            chooser.cmd_CloseClick();  // OK does nothing before an item is clicked
            EXPECT_FALSE(chooser.Closed());
            chooser.optgroupClick(item);
            chooser.cmd_CloseClick();
        };
        if (Game().State().Property(p).Has(Owned))
            ClickPortfolio({PortfolioRow(p)});
        else
            ClickAvail({AvailRow(p)});
        Form().Invoke(TCommand::KeyF5);
        EXPECT_TRUE(Game().State().Running);
        return items;
    }
};

TEST_F(DamageTest, ChooserOffersTenthsOfTheLowestPriceAndEachItemOnce) {
    TGame& g = Game();
    StartWithLowest(Money::Pounds(100000));
    EXPECT_EQ(App().DamRenForm.GroupCaption(), "Damage/Renovate");
    EXPECT_EQ(
        Choose(1, 0),
        (std::vector<std::string>{
            "Damage Dundefraggin", "Broken Windows (-\u00A310,000)",
            "Weedkiller on the lawn (-\u00A320,000)", "Poisoned Fish Pond (-\u00A330,000)",
            "Daleks as neighbours (-\u00A340,000)", "Nuclear waste in the garden (-\u00A350,000)",
            "Cut off water supply (-\u00A360,000)", "Garage burned down (-\u00A370,000)",
            "House burned down (-\u00A380,000)"}));
    EXPECT_EQ(g.State().Property(1).DamageCount, 0);  // cancelled
    EXPECT_EQ(g.State().SelectionSide, TSelectionSide::None);

    // Renovating an owned property of the area: Decking adds £30,000 to both prices.
    Edit(g).Property(2).Flags |= Owned;
    Form().RefillLists();
    const TProperty before = g.State().Property(2);
    const Money cash = g.State().Cash;
    EXPECT_EQ(Choose(2, 3),
              (std::vector<std::string>{"Renovate " + before.Name, "Lick of Paint (+\u00A310,000)",
                                        "Conservatory (+\u00A320,000)", "Decking (+\u00A330,000)",
                                        "Jacuzzi (+\u00A340,000)", "Swimming Pool (+\u00A350,000)",
                                        "Stables (+\u00A360,000)", "Tennis court (+\u00A370,000)",
                                        "Heli-pad (+\u00A380,000)"}));
    EXPECT_EQ(g.State().Property(2).BuyPrice, before.BuyPrice + Money::Pounds(30000));
    EXPECT_EQ(g.State().Property(2).SaleValue, before.SaleValue + Money::Pounds(30000));
    EXPECT_EQ(g.State().Cash, cash - Money::Pounds(30000));
    EXPECT_TRUE(g.State().Property(2).Has(Renovated));
    EXPECT_EQ(g.State().Property(2).DoneImprovements, 0x0004);

    // The same item again: marked as done and disabled, so it cannot be chosen.
    effects_.ClearCalls();
    const std::vector<std::string> again = Choose(2, 3);
    ASSERT_EQ(again.size(), 9u);
    EXPECT_EQ(again[3], "Decking (Already Done)");
    EXPECT_FALSE(App().DamRenForm.ItemEnabled(3));
    EXPECT_TRUE(App().DamRenForm.ItemEnabled(2));
    EXPECT_FALSE(App().DamRenForm.ItemEnabled(9));
    // The arrow keys skip it, and go round the ends.
    EXPECT_EQ(App().DamRenForm.NextEnabledItem(2, 1), 4);
    EXPECT_EQ(App().DamRenForm.NextEnabledItem(4, -1), 2);
    EXPECT_EQ(App().DamRenForm.NextEnabledItem(8, 1), 1);
    EXPECT_EQ(App().DamRenForm.NextEnabledItem(0, -1), 8);
    EXPECT_EQ(App().DamRenForm.ItemIndex(), 0);
    EXPECT_FALSE(App().DamRenForm.OkEnabled());
    EXPECT_TRUE(effects_.CallsStartingWith("info: ").empty());
    EXPECT_EQ(g.State().Property(2).SaleValue, before.SaleValue + Money::Pounds(30000));
    EXPECT_EQ(g.State().Cash, cash - Money::Pounds(30000));

    // Another property keeps its own record of what was done.
    Edit(g).Property(3).Flags |= Owned;
    Form().RefillLists();
    Choose(3, 3);
    EXPECT_EQ(g.State().Property(3).DoneImprovements, 0x0004);
    EXPECT_EQ(g.State().Cash, cash - Money::Pounds(60000));

    // A renovation dearer than the cash is refused like a purchase and changes nothing: the
    // item stays to be chosen when the cash covers it.
    const TProperty three = g.State().Property(3);
    for (const Money short_of : {Money::Pounds(79999), Money::Pounds(1000), Money::Pounds(-5)}) {
        Edit(g).Cash = short_of;
        effects_.ClearCalls();
        Choose(3, 8);
        EXPECT_EQ(effects_.CallsStartingWith("info: "),
                  std::vector<std::string>{"info: You can't afford it!"});
        EXPECT_EQ(g.State().Cash, short_of);
        EXPECT_EQ(g.State().Property(3).DoneImprovements, 0x0004);
        EXPECT_EQ(g.State().Property(3).SaleValue, three.SaleValue);
        EXPECT_EQ(g.State().Property(3).BuyPrice, three.BuyPrice);
    }
    // Equal cash is enough.
    Edit(g).Cash = Money::Pounds(80000);
    Choose(3, 8);
    EXPECT_EQ(g.State().Cash, Money());
    EXPECT_EQ(g.State().Property(3).DoneImprovements, 0x0084);
    EXPECT_EQ(g.State().Property(3).SaleValue, three.SaleValue + Money::Pounds(80000));

    // Below zero nothing is renovated, not even for nothing (an area worth nothing).
    Edit(g).Cash = Money::Pounds(-1);
    Edit(g).DamRenAmount = Money();
    ClickPortfolio({PortfolioRow(3)});
    effects_.ClearCalls();
    EXPECT_FALSE(g.Renovate());
    Form().ApplyGameEvents();
    EXPECT_TRUE(effects_.Contains("info: You can't afford it!"));
    EXPECT_EQ(g.State().Property(3).SaleValue, three.SaleValue + Money::Pounds(80000));
    EXPECT_EQ(g.State().Cash, Money::Pounds(-1));
}

TEST_F(DamageTest, DamageCreditsWholePoundsAndLowersTheNextOffers) {
    TGame& g = Game();
    StartWithLowest(Money::FromRaw(1234567890));  // 10 % is £12,345.6789
    const TProperty before = g.State().Property(1);
    const Money cash = g.State().Cash;
    Choose(1, 1);
    EXPECT_EQ(g.State().Property(1).BuyPrice, before.BuyPrice - Money::FromRaw(123456789));
    EXPECT_EQ(g.State().Property(1).SaleValue, before.SaleValue - Money::FromRaw(123456789));
    EXPECT_EQ(g.State().Cash, cash + Money::Pounds(12345));
    EXPECT_TRUE(g.State().Property(1).Has(Damaged));
    EXPECT_EQ(g.State().Property(1).DoneImprovements, 0x0100);
    // The cheapest property fell, so every amount offered falls with it.
    const std::vector<std::string> items = Choose(1, 0);
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[1], "Broken Windows (Already Done)");
    EXPECT_EQ(items[2], "Weedkiller on the lawn (-" +
                            FormatPounds(g.State().Property(1).SaleValue.MulDiv(20, 100)) + ")");
    EXPECT_EQ(items[2], "Weedkiller on the lawn (-\u00A322,222)");
}

TEST_F(DamageTest, TheFourthDamageBringsThePoliceBeforeThePriceFalls) {
    TGame& g = Game();
    StartWithLowest(Money::Pounds(100000));
    for (int item = 1; item <= 3; ++item) Choose(1, item);
    EXPECT_FALSE(effects_.Contains("modal: Police"));
    EXPECT_EQ(g.State().Property(1).DamageCount, 3);

    const Money cash = g.State().Cash;
    const Money sale = g.State().Property(1).SaleValue;
    Money cashAtWindow, saleAtWindow;
    effects_.OnModal[IEffects::Modal::Police] = [&] {
        cashAtWindow = g.State().Cash;
        saleAtWindow = g.State().Property(1).SaleValue;
    };
    effects_.ClearCalls();
    Choose(1, 4);
    EXPECT_EQ(effects_.Count("modal: Police"), 1);
    EXPECT_EQ(App().policeform.lbl_message,
              "You have been caught vandalising this house.\r"
              "The fine for this offence is \u00A3200,000");
    EXPECT_EQ(cashAtWindow, cash);
    EXPECT_EQ(saleAtWindow, sale);
    const Money amount = g.State().DamRenAmount;
    EXPECT_EQ(amount, sale.MulDiv(40, 100));
    EXPECT_EQ(g.State().Property(1).SaleValue, sale - amount);
    EXPECT_EQ(g.State().Cash, cash - Money::Pounds(200000) + amount.TruncatedToPounds());
    EXPECT_EQ(g.State().Property(1).DamageCount, 4);

    // With less cash than the fine, the whole fine is paid, into negative cash, and the
    // damage's credit comes after it, whole.
    Edit(g).Cash = Money::Pounds(49802);
    Choose(1, 5);
    EXPECT_EQ(cashAtWindow, Money::Pounds(49802));
    EXPECT_EQ(g.State().Cash, Money::Pounds(-150198) + g.State().DamRenAmount.TruncatedToPounds());
    EXPECT_GT(g.State().DamRenAmount, Money());
    EXPECT_EQ(View().CashPanel, "Current Cash: " + FormatPounds(g.State().Cash));
    EXPECT_EQ(View().CashPanel.substr(0, 17), "Current Cash: \u00A3-");
}

TEST_F(DamageTest, SelectionMistakesAndAWorthlessAreaAreHandled) {
    TGame& g = Game();
    StartWithLowest(Money::Pounds(100000));
    ClickAvail({0, 1});
    Form().Invoke(TCommand::KeyF5);
    Edit(g).Property(2).Flags |= Owned;
    Edit(g).Property(3).Flags |= Owned;
    Form().RefillLists();
    ClickPortfolio({0, 1});
    Form().Invoke(TCommand::KeyF5);
    ClickAvail({0});
    Form().ListMouseUp(TList::Avail, {});  // e.g. Ctrl+click on the row
    Form().Invoke(TCommand::KeyF5);
    Form().Invoke(TCommand::KeyF5);  // selection side 0: no message at all
    EXPECT_EQ(
        effects_.CallsStartingWith("info: "),
        (std::vector<std::string>{"info: Sorry, you can only damage one property at a time!",
                                  "info: Sorry, you can only renovate one property at a time!",
                                  "info: Click a property in the left-hand list, first!"}));
    EXPECT_FALSE(effects_.Contains("modal: DamRen"));

    // An area whose lowest price is not positive offers nothing and records nothing.
    SetPrices(1, Money::Pounds(5), Money());
    const Money cash = g.State().Cash;
    const std::vector<std::string> items = Choose(1, 2);
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[2], "Weedkiller on the lawn (-\u00A30)");
    EXPECT_EQ(g.State().DamRenAmount, Money());
    EXPECT_EQ(g.State().Property(1).DoneImprovements, 0);
    EXPECT_EQ(g.State().Property(1).DamageCount, 1);
    EXPECT_EQ(g.State().Property(1).SaleValue, Money());
    EXPECT_EQ(g.State().Cash, cash);
}

}  // namespace
