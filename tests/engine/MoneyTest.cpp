#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/Money.h"

namespace {

Money Raw(std::int64_t raw) {
    return Money::FromRaw(raw);
}

TEST(MoneyTest, MulDivRoundsHalvesToEven) {
    EXPECT_EQ(Raw(5).MulDiv(1, 2), Raw(2));    // 2.5 -> 2
    EXPECT_EQ(Raw(7).MulDiv(1, 2), Raw(4));    // 3.5 -> 4
    EXPECT_EQ(Raw(-5).MulDiv(1, 2), Raw(-2));  // -2.5 -> -2
    EXPECT_EQ(Raw(-7).MulDiv(1, 2), Raw(-4));  // -3.5 -> -4
    EXPECT_EQ(Raw(5).MulDiv(-1, 2), Raw(-2));  // a negative divisor keeps the rule
    EXPECT_EQ(Raw(20).MulDiv(1, 3), Raw(7));   // 6.67 -> 7, not truncated
    EXPECT_EQ(Raw(-20).MulDiv(1, 3), Raw(-7));
    EXPECT_EQ(Raw(10).MulDiv(1, 3), Raw(3));
    // The mortgage example: £1,190,000 over 119 months.
    EXPECT_EQ(Money::Pounds(1190000).MulDiv(1, 119), Money::Pounds(10000));
    // Products beyond 64 bits stay exact.
    EXPECT_EQ(Money::Pounds(900000000000000).MulDiv(8, 10), Money::Pounds(720000000000000));
    // Either side of 64 bits the same rule: a half of the largest amount, its product with
    // 2 (beyond 64 bits) over 4, and its negative.
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(Raw(largest).MulDiv(1, 2), Raw(4611686018427387904));
    EXPECT_EQ(Raw(largest).MulDiv(2, 4), Raw(4611686018427387904));
    EXPECT_EQ(Raw(-largest).MulDiv(1, 2), Raw(-4611686018427387904));
    EXPECT_EQ(Raw(-largest).MulDiv(-2, -4), Raw(-4611686018427387904));
    // A divisor too large to double: just above a half rounds up, just below down.
    EXPECT_EQ(Raw(4611686018427387904).MulDiv(1, largest), Raw(1));
    EXPECT_EQ(Raw(4611686018427387903).MulDiv(1, largest), Raw(0));
    EXPECT_EQ(Raw(-4611686018427387904).MulDiv(1, largest), Raw(-1));
}

TEST(MoneyTest, FormatPoundsRoundsHalvesAwayFromZeroWithSeparators) {
    EXPECT_EQ(FormatPounds(Money()), "\u00A30");
    EXPECT_EQ(FormatPounds(Raw(5000)), "\u00A31");  // £0.50
    EXPECT_EQ(FormatPounds(Raw(4999)), "\u00A30");
    EXPECT_EQ(FormatPounds(Raw(25000)), "\u00A33");   // £2.50: away from zero, not to even
    EXPECT_EQ(FormatPounds(Raw(-5000)), "\u00A3-1");  // the sign after the pound sign
    EXPECT_EQ(FormatPounds(Raw(-4999)), "\u00A30");
    EXPECT_EQ(FormatPounds(Money::Pounds(999)), "\u00A3999");
    EXPECT_EQ(FormatPounds(Money::Pounds(1000)), "\u00A31,000");
    EXPECT_EQ(FormatPounds(Money::Pounds(800000)), "\u00A3800,000");
    EXPECT_EQ(FormatPounds(Money::Pounds(1234567)), "\u00A31,234,567");
    EXPECT_EQ(FormatPounds(Money::Pounds(-250000)), "\u00A3-250,000");
    EXPECT_EQ(FormatPounds(Raw(1234567890)), "\u00A3123,457");  // £123,456.789
    EXPECT_EQ(GroupThousands(-1234567), "-1,234,567");
    EXPECT_EQ(GroupThousands(100000), "100,000");
}

TEST(MoneyTest, FormatTwoDecimals) {
    EXPECT_EQ(FormatTwoDecimals(Money()), "0.00");
    EXPECT_EQ(FormatTwoDecimals(Money::Pounds(10000)), "10,000.00");
    EXPECT_EQ(FormatTwoDecimals(Raw(50)), "0.01");  // half a penny rounds up
    EXPECT_EQ(FormatTwoDecimals(Raw(49)), "0.00");
    EXPECT_EQ(FormatTwoDecimals(Raw(-50)), "-0.01");
    EXPECT_EQ(FormatTwoDecimals(Raw(12345678)), "1,234.57");
    EXPECT_EQ(FormatTwoDecimals(Raw(1234567890123)), "123,456,789.01");
}

TEST(MoneyTest, ParseMoneyAcceptsNumbersOnly) {
    Money m;
    ASSERT_TRUE(ParseMoney("250000", m));
    EXPECT_EQ(m, Money::Pounds(250000));
    ASSERT_TRUE(ParseMoney("-5", m));
    EXPECT_EQ(m, Money::Pounds(-5));
    ASSERT_TRUE(ParseMoney("+7", m));
    EXPECT_EQ(m, Money::Pounds(7));
    ASSERT_TRUE(ParseMoney("1.5e3", m));
    EXPECT_EQ(m, Money::Pounds(1500));
    ASSERT_TRUE(ParseMoney("12345.6789", m));
    EXPECT_EQ(m, Raw(123456789));
    ASSERT_TRUE(ParseMoney("0.25", m));
    EXPECT_EQ(m, Raw(2500));

    const Money untouched = Money::Pounds(42);
    for (const char* bad : {"", "abc", "1,000", "1e400", "1e15", "1e", " 5", "5 ", ".", "-",
                            "12abc", "0x10", "nan", "inf"}) {
        m = untouched;
        EXPECT_FALSE(ParseMoney(bad, m)) << '"' << bad << '"';
        EXPECT_EQ(m, untouched) << '"' << bad << '"';
    }
}

}  // namespace
