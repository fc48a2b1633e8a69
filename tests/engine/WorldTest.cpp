#include <gtest/gtest.h>

#include <set>

#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace {

using WorldTest = RealtopiaFixture;

TEST_F(WorldTest, InitWorldFillsTheStateAndTheFixedTables) {
    TGame& g = Game();
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));
    EXPECT_EQ(g.State().Debt, Money());
    EXPECT_EQ(g.State().Stage, 1);
    EXPECT_EQ(g.State().Year, 2000);
    EXPECT_EQ(g.State().Month, 1);
    EXPECT_EQ(g.State().CurrentArea, 1);
    EXPECT_FALSE(g.State().Engaged);
    EXPECT_EQ(g.State().FirstName, "unknown");
    EXPECT_EQ(g.State().LastName, "unknown");
    EXPECT_TRUE(g.State().SoundOn);
    EXPECT_EQ(g.UserDataDir(), temp_.UserDataDirectory() + "/");
    EXPECT_EQ(g.ProgramDirectory(), temp_.ProgramDirectory() + "/");

    const char* areas[] = {"London", "France", "Ireland", "Switzerland", "Scotland", "New York"};
    for (int a = 1; a <= 6; ++a) EXPECT_EQ(g.State().Area(a).Name, areas[a - 1]);
    EXPECT_EQ(g.State().Area(1).LowestPrice, Money::Pounds(112000));
    EXPECT_EQ(g.State().Area(4).LowestPrice, Money::FromRaw(3000000001));
    EXPECT_EQ(g.State().Area(6).LowestPrice, Money::FromRaw(2500000001));

    // Names spelled exactly, blanks and typographic apostrophes included.
    EXPECT_EQ(g.State().Property(1).Name, "Dundefraggin");
    EXPECT_EQ(g.State().Property(20).Name, "NewWindoze31");
    EXPECT_EQ(g.State().Property(21).Name, "Caf\u00E9 Renee");
    EXPECT_EQ(g.State().Property(40).Name, "T'other-place-is-also-a Castle");
    EXPECT_EQ(g.State().Property(74).Name, "L\u2019Hotel Geneve");
    EXPECT_EQ(g.State().Property(77).Name, "St Bernard\u2019s Rom Drive");
    EXPECT_EQ(g.State().Property(92).Name, "'Ocheye' the New Castle");
    EXPECT_EQ(g.State().Property(114).Name, "57th Precinct ");
    EXPECT_EQ(g.State().Property(117).Name, "Rocky 5 Road ");
    EXPECT_EQ(g.State().Property(120).Name, "Prairie Gables");
    EXPECT_EQ(g.State().Property(1).Description, "Disorganised basement - next to Scandisk Manor");
    EXPECT_EQ(g.State().Property(16).Description, "SELECT this_house FROM the_street WHERE it_is;");
    EXPECT_EQ(g.State().Property(20).Description, "Just a facade covering DOS House");
    EXPECT_EQ(g.State().Property(29).Description, "Price fluctates");
    EXPECT_EQ(g.State().Property(40).Description, "Only Porcke 911 owners need apply");
    EXPECT_EQ(g.State().Property(113).Description, "Expensive and heading higher");
    std::set<std::string> names;
    for (int p = 1; p <= 120; ++p) {
        EXPECT_FALSE(g.State().Property(p).Description.empty()) << p;
        EXPECT_EQ(g.State().Property(p).Area, (p - 1) / 20 + 1) << p;
        names.insert(g.State().Property(p).Name);
    }
    EXPECT_EQ(names.size(), 120u);

    EXPECT_EQ(g.MonthName(1), "January");
    EXPECT_EQ(g.MonthName(12), "December");
}

TEST_F(WorldTest, NewsTableHasFortyItemsWithKindMagnitudeAndTarget) {
    struct Row {
        int k;
        std::uint8_t kind, magnitude;
        int target;
    };
    for (Row r :
         {Row{1, Boom, 5, 1}, Row{2, Slump, 4, 2}, Row{3, Slump, 3, 4}, Row{6, Boom, 5, 6},
          Row{7, Slump, 4, 0}, Row{12, Boom, 7, 6}, Row{14, NoEffect, 0, 0}, Row{16, Boom, 3, 0},
          Row{18, Boom, 8, 4}, Row{22, Slump, 7, 6}, Row{26, Boom, 7, 0}, Row{30, Slump, 4, 3},
          Row{31, Windfall, 0, 500000}, Row{33, Windfall, 0, -350000},
          Row{36, Windfall, 0, -300000}, Row{40, Windfall, 0, -100000}}) {
        const TNewsItem& item = Game().State().News(r.k);
        EXPECT_EQ(item.Kind, r.kind) << r.k;
        EXPECT_EQ(item.Magnitude, r.magnitude) << r.k;
        EXPECT_EQ(item.Target, r.target) << r.k;
        EXPECT_FALSE(item.Shown) << r.k;
    }
    int noEffect = 0, windfalls = 0, windfallSum = 0;
    for (int k = 1; k <= 40; ++k) {
        const TNewsItem& item = Game().State().News(k);
        noEffect += item.Kind == NoEffect;
        if (item.Kind == Windfall) ++windfalls, windfallSum += item.Target;
        if (item.Kind == Slump) {
            EXPECT_LE(item.Magnitude, 7) << k;
        }
    }
    EXPECT_EQ(noEffect, 4);
    EXPECT_EQ(windfalls, 10);
    EXPECT_EQ(windfallSum, 1200000);
    EXPECT_EQ(Game().State().News(1).Headline,
              "New London mayor elected - promises to abolish Council Tax");
    EXPECT_EQ(Game().State().News(31).Headline, "Great Uncle Quentin leaves you \u00A3500,000");
    EXPECT_EQ(Game().State().News(40).Headline,
              "Travellers occupy all your UK property -\"bailiffs\" cost you \u00A3100,000 "
              "contribution to Parachute Regiment \"charity\"");
}

TEST_F(WorldTest, GeneratedPricesStayInTheirRanges) {
    TGame& g = Game();
    for (std::uint64_t seed : {1u, 2u, 77u, 4242u}) {
        g.Random().Seed(seed);
        for (int a = 1; a <= 6; ++a)
            Edit(g).Area(a).LowestPrice = Money::FromRaw(
                std::array<std::int64_t, 6>{1120000000, 400000000, 350000000, 3000000001, 750000000,
                                            2500000001}[static_cast<std::size_t>(a - 1)]);
        g.GenerateProperties();
        for (int a = 1; a <= 6; ++a) {
            const Money low = g.State().Area(a).LowestPrice;
            std::set<std::int64_t> distinct;
            for (int p = (a - 1) * 20 + 1; p <= a * 20; ++p) {
                const TProperty& prop = g.State().Property(p);
                const Money up = prop.BuyPrice - low;
                const Money down = prop.BuyPrice - prop.SaleValue;
                EXPECT_GE(up, Money()) << p;
                EXPECT_LT(up, low.MulDiv(1, 4)) << p;
                EXPECT_EQ(up.Raw() % Money::kScale, 0) << p;  // whole pounds added
                EXPECT_GE(down, Money()) << p;
                EXPECT_LT(down, low.MulDiv(1, 10)) << p;
                EXPECT_EQ(down.Raw() % Money::kScale, 0) << p;
                EXPECT_EQ(prop.Flags, 0) << p;
                distinct.insert(prop.BuyPrice.Raw());
            }
            EXPECT_GT(distinct.size(), 10u) << "area " << a;
        }
        // London: £112,000 to £139,999, sale no more than £11,199 below.
        for (int p = 1; p <= 20; ++p) {
            EXPECT_LE(g.State().Property(p).BuyPrice, Money::Pounds(139999));
            EXPECT_GE(g.State().Property(p).SaleValue,
                      g.State().Property(p).BuyPrice - Money::Pounds(11199));
        }
        // The odd ten-thousandth of Switzerland and New York is carried into every price.
        for (int p : {61, 70, 80, 101, 120}) {
            EXPECT_EQ(g.State().Property(p).BuyPrice.Raw() % Money::kScale, 1) << p;
            EXPECT_EQ(g.State().Property(p).SaleValue.Raw() % Money::kScale, 1) << p;
        }
    }
}

TEST_F(WorldTest, UpdateLowestPriceCountsOwnedPropertiesAndCapsAtAMillion) {
    TGame& g = Game();
    for (int p = 21; p <= 40; ++p) Edit(g).Property(p).SaleValue = Money::Pounds(1000000 + p);
    g.UpdateLowestPrice(2);
    EXPECT_EQ(g.State().Area(2).LowestPrice, Money::Pounds(1000000));
    Edit(g).Property(33).SaleValue = Money::FromRaw(55);
    Edit(g).Property(33).Flags |= Owned;
    g.UpdateLowestPrice(2);
    EXPECT_EQ(g.State().Area(2).LowestPrice, Money::FromRaw(55));
    EXPECT_EQ(g.State().Area(3).LowestPrice, Money::Pounds(35000));  // other areas untouched
}

TEST_F(WorldTest, CashMovesOnlyOnceEngagedAndIsPaidInFull) {
    TGame& g = Game();
    Edit(g).Property(3).Flags |= Owned;
    Edit(g).Debt = Money::Pounds(1000);
    g.AddCash(Money::Pounds(5));
    Form().ApplyGameEvents();
    g.SpendCash(Money::Pounds(5));
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, Money::Pounds(800000));
    EXPECT_EQ(g.PortfolioValue(), Money());
    EXPECT_EQ(g.NetWorth(), Money::Pounds(799000));  // cash minus debt

    Edit(g).Engaged = true;
    EXPECT_EQ(g.PortfolioValue(), g.State().Property(3).SaleValue);
    g.AddCash(Money::FromRaw(12345));
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, Money::FromRaw(8000012345));
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A3800,001");
    // More than the cash: the whole amount, into negative cash.
    g.SpendCash(Money::Pounds(900000));
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, Money::FromRaw(8000012345) - Money::Pounds(900000));
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A3-99,999");
    EXPECT_FALSE(g.CanAfford(Money()));
    Edit(g).Cash = Money::Pounds(5);
    EXPECT_TRUE(g.CanAfford(Money::Pounds(5)));
    EXPECT_FALSE(g.CanAfford(Money::FromRaw(50001)));

    // Below zero already (a negative windfall): a payment lowers the balance further.
    Edit(g).Cash = Money::Pounds(-250937);
    g.SpendCash(Money::Pounds(937));
    Form().ApplyGameEvents();
    EXPECT_EQ(g.State().Cash, Money::Pounds(-251874));
    EXPECT_EQ(View().CashPanel, "Current Cash: \u00A3-251,874");
}

TEST_F(WorldTest, MonthsLeftAndInstalment) {
    TGame& g = Game();
    EXPECT_EQ(g.MonthsLeft(), 119);
    Edit(g).Year = 2009;
    Edit(g).Month = 12;
    EXPECT_EQ(g.MonthsLeft(), 99);
    Edit(g).Property(5).SaleValue = Money::Pounds(99);
    EXPECT_EQ(g.Instalment(5), Money::Pounds(1));
    Edit(g).Property(5).SaleValue = Money::FromRaw(1485);  // 15.0 -> 15; 1435/99 = 14.49 -> 14
    EXPECT_EQ(g.Instalment(5), Money::FromRaw(15));
    Edit(g).Property(5).SaleValue = Money::FromRaw(1435);
    EXPECT_EQ(g.Instalment(5), Money::FromRaw(14));
}

}  // namespace
