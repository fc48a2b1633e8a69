#pragma once

#include <compare>
#include <cstdint>
#include <string>

// An amount of money in ten-thousandths of a pound. Sums are exact; products and
// quotients with fractions round to the nearest ten-thousandth, halves to even.
class Money {
public:
    static constexpr std::int64_t kScale = 10000;  // ten-thousandths per pound

    constexpr Money() = default;
    static constexpr Money FromRaw(std::int64_t tenThousandths) { return Money(tenThousandths); }
    static constexpr Money Pounds(std::int64_t pounds) { return Money(pounds * kScale); }

    constexpr std::int64_t Raw() const { return raw_; }

    // Whole pounds, the fraction dropped (towards zero).
    constexpr std::int64_t TruncatedPounds() const { return raw_ / kScale; }
    constexpr Money TruncatedToPounds() const { return Money(raw_ / kScale * kScale); }

    // this × num ÷ den, rounded to the nearest ten-thousandth, halves to even.
    Money MulDiv(std::int64_t num, std::int64_t den) const;

    constexpr Money operator+(Money o) const { return Money(raw_ + o.raw_); }
    constexpr Money operator-(Money o) const { return Money(raw_ - o.raw_); }
    constexpr Money operator-() const { return Money(-raw_); }
    constexpr Money& operator+=(Money o) {
        raw_ += o.raw_;
        return *this;
    }
    constexpr Money& operator-=(Money o) {
        raw_ -= o.raw_;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(std::int64_t raw) : raw_(raw) {}
    std::int64_t raw_ = 0;
};

// The one place where money becomes text.
// "£1,234,567": whole pounds, halves away from zero, comma thousands separators; a negative
// amount carries its sign after the pound sign ("£-250,000").
std::string FormatPounds(Money m);
// "1,234.57": two decimals, halves away from zero, comma thousands separators (no sign of pound).
std::string FormatTwoDecimals(Money m);
// The same two texts appended to `out`, which keeps its room: no text is made in between.
void AppendPounds(std::string& out, Money m);
void AppendTwoDecimals(std::string& out, Money m);
// Digits with comma separators for a whole number: 1234567 -> "1,234,567".
std::string GroupThousands(std::int64_t value);

// Parses a decimal number of pounds ("250000", "-5", "1.5e3") into Money, to the nearest
// ten-thousandth. Returns false for anything that is not such a number or is out of range.
bool ParseMoney(const std::string& text, Money& out);
