#include "engine/Money.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
__extension__ typedef __int128 Int128;  // exact intermediate products
}  // namespace

Money Money::MulDiv(std::int64_t num, std::int64_t den) const {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    if (den == 0) return Money(0);
    // Most products fit in 64 bits, where the division is several times cheaper.
    std::int64_t n64 = 0;
    if (!__builtin_mul_overflow(raw_, num, &n64)) {
        std::int64_t q = n64 / den;
        const std::int64_t r = n64 % den;
        const std::int64_t rest = r < 0 ? -r : r;  // below den, so den - rest cannot overflow
        if (rest > den - rest || (rest == den - rest && q % 2 != 0)) q += (n64 < 0) ? -1 : 1;
        return Money(q);
    }
    Int128 n = static_cast<Int128>(raw_) * num;
    Int128 q = n / den;
    Int128 r = n % den;
    // Round to nearest, halves to even.
    Int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > den || (twice == den && (q % 2 != 0))) q += (n < 0) ? -1 : 1;
    return Money(static_cast<std::int64_t>(q));
}

namespace {

// Writes the magnitude's digits with comma separators backwards from `end`, with a minus sign
// before them when `negative`; returns where the text begins. 27 characters always suffice.
// Three digits at a time: one division a group rather than one a digit.
char* GroupedBackwards(char* end, unsigned long long magnitude, bool negative) {
    char* at = end;
    while (magnitude >= 1000) {
        const auto group = static_cast<unsigned>(magnitude % 1000);
        magnitude /= 1000;
        *--at = static_cast<char>('0' + group % 10);
        *--at = static_cast<char>('0' + group / 10 % 10);
        *--at = static_cast<char>('0' + group / 100);
        *--at = ',';
    }
    auto lead = static_cast<unsigned>(magnitude);
    do {
        *--at = static_cast<char>('0' + lead % 10);
        lead /= 10;
    } while (lead != 0);
    if (negative) *--at = '-';
    return at;
}

unsigned long long Magnitude(std::int64_t value) {
    return value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

}  // namespace

std::string GroupThousands(std::int64_t value) {
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* begin = GroupedBackwards(end, Magnitude(value), value < 0);
    return std::string(begin, end);
}

namespace {

// Rounds raw ten-thousandths to a multiple of `unit`, halves away from zero, in units.
std::int64_t RoundAway(std::int64_t raw, std::int64_t unit) {
    std::int64_t q = raw / unit;
    std::int64_t r = raw % unit;
    if (r < 0) r = -r;
    if (r * 2 >= unit) q += (raw < 0) ? -1 : 1;
    return q;
}

}  // namespace

void AppendPounds(std::string& out, Money m) {
    std::int64_t pounds = RoundAway(m.Raw(), Money::kScale);
    // The sign follows the pound sign, as the format "£%.0n" writes it: "£-250,000".
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* begin = GroupedBackwards(end, Magnitude(pounds), pounds < 0);
    *--begin = '\xA3';
    *--begin = '\xC2';
    out.append(begin, end);
}

std::string FormatPounds(Money m) {
    std::string text;
    AppendPounds(text, m);
    return text;
}

void AppendTwoDecimals(std::string& out, Money m) {
    const std::int64_t pence = RoundAway(m.Raw(), 100);
    char buffer[32];
    char* end = buffer + sizeof buffer;
    const unsigned long long magnitude = Magnitude(pence);
    *--end = static_cast<char>('0' + magnitude % 10);
    *--end = static_cast<char>('0' + magnitude / 10 % 10);
    *--end = '.';
    char* begin = GroupedBackwards(end, magnitude / 100, pence < 0);
    out.append(begin, buffer + sizeof buffer);
}

std::string FormatTwoDecimals(Money m) {
    std::string text;
    AppendTwoDecimals(text, m);
    return text;
}

bool ParseMoney(const std::string& text, Money& out) {
    // Accept: optional sign, digits, optional fraction, optional exponent; nothing else.
    std::size_t i = 0, n = text.size();
    auto digit = [&](std::size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (digit(i)) ++i, ++mantissaDigits;
    if (i < n && text[i] == '.') {
        ++i;
        while (digit(i)) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (!digit(i)) return false;
        while (digit(i)) ++i;
    }
    if (i != n) return false;
    errno = 0;
    long double value = std::strtold(text.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(value)) return false;
    long double scaled = std::nearbyintl(value * Money::kScale);  // halves to even
    if (!std::isfinite(scaled) ||
        std::fabs(scaled) >= static_cast<long double>(std::numeric_limits<std::int64_t>::max()) / 2)
        return false;
    out = Money::FromRaw(static_cast<std::int64_t>(scaled));
    return true;
}
