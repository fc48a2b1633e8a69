// Challenge codes: the seed and the customisation digest in base 32, with a check character.

#include "engine/ChallengeCode.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

namespace {

constexpr std::string_view kAlphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int kBase = 32;
constexpr std::size_t kDigestDigits = 3;  // 15 bits
constexpr std::size_t kLeastSeedDigits = 8;
constexpr std::size_t kMostSeedDigits = 13;  // 64 bits
constexpr std::size_t kGroup = 4;

int DigitOf(char c) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == 'O') return 0;
    if (upper == 'I' || upper == 'L') return 1;
    const std::size_t at = kAlphabet.find(upper);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// Luhn's check over base 32 (every single substitution and most neighbour swaps change it),
// begun from this game's own two letters so that another program's codes do not pass.
int CheckDigit(const std::vector<int>& digits, char second = 'T') {
    int factor = 2;
    int sum = 0;
    const int salt[2] = {DigitOf('R'), DigitOf(second)};
    for (std::size_t i = digits.size() + 2; i-- > 0;) {
        int addend = factor * (i < 2 ? salt[i] : digits[i - 2]);
        factor = factor == 2 ? 1 : 2;
        addend = addend / kBase + addend % kBase;
        sum += addend;
    }
    return (kBase - sum % kBase) % kBase;
}

// A result's check: the code's characters (its own check included), then the worth's decimal
// digits, begun from R and W so that no code passes as a result.
constexpr char kResultSalt = 'W';

std::vector<int> ResultDigits(const std::string& code, std::uint32_t worth) {
    std::vector<int> digits;
    for (char c : code)
        if (c != '-') digits.push_back(DigitOf(c));
    for (char c : std::to_string(worth)) digits.push_back(c - '0');
    return digits;
}

}  // namespace

std::string EncodeChallengeResult(const TChallengeResult& result) {
    const std::string code = EncodeChallenge(result.Code);
    const int check = CheckDigit(ResultDigits(code, result.Worth), kResultSalt);
    return code + "/" + std::to_string(result.Worth) + "-" +
           kAlphabet[static_cast<std::size_t>(check)];
}

bool DecodeChallengeResult(std::string_view text, TChallengeResult& result) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return false;
    TChallengeResult read;
    if (!DecodeChallenge(text.substr(0, slash), read.Code)) return false;
    // The figure: digits, with commas, spaces or a pound sign ("\u00A3", two bytes) among
    // them; then a dash and the check character.
    std::string_view rest = text.substr(slash + 1);
    const std::size_t dash = rest.rfind('-');
    if (dash == std::string_view::npos) return false;
    std::string figure;
    for (char c : rest.substr(0, dash)) {
        if (c >= '0' && c <= '9')
            figure += c;
        else if (c != ',' && c != ' ' && c != '\xC2' && c != '\xA3')
            return false;
    }
    int check = -1;
    for (char c : rest.substr(dash + 1)) {
        if (c == ' ') continue;
        if (check >= 0) return false;
        check = DigitOf(c);
        if (check < 0) return false;
    }
    if (figure.empty() || figure.size() > 10 || check < 0) return false;
    if (figure.size() > 1 && figure.front() == '0') return false;
    const std::uint64_t worth = std::stoull(figure);
    if (worth > std::numeric_limits<std::uint32_t>::max()) return false;
    read.Worth = static_cast<std::uint32_t>(worth);
    if (CheckDigit(ResultDigits(EncodeChallenge(read.Code), read.Worth), kResultSalt) != check)
        return false;
    result = read;
    return true;
}

std::string EncodeChallenge(const TChallenge& challenge) {
    std::vector<int> digits;
    digits.reserve(kMostSeedDigits + kDigestDigits + 1);
    std::uint64_t seed = challenge.Seed;
    while (seed != 0 || digits.size() < kLeastSeedDigits) {
        digits.push_back(static_cast<int>(seed % kBase));
        seed /= kBase;
    }
    std::reverse(digits.begin(), digits.end());
    const unsigned digest = challenge.Customisation & kCustomisationMask;
    for (std::size_t i = kDigestDigits; i-- > 0;)
        digits.push_back(static_cast<int>((digest >> (5 * i)) & (kBase - 1)));
    digits.push_back(CheckDigit(digits));
    std::string code;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && i % kGroup == 0) code += '-';
        code += kAlphabet[static_cast<std::size_t>(digits[i])];
    }
    return code;
}

bool DecodeChallenge(std::string_view text, TChallenge& challenge) {
    std::vector<int> digits;
    for (char c : text) {
        if (c == '-' || c == ' ') continue;
        const int digit = DigitOf(c);
        if (digit < 0) return false;
        digits.push_back(digit);
    }
    const std::size_t least = kLeastSeedDigits + kDigestDigits + 1;
    const std::size_t most = kMostSeedDigits + kDigestDigits + 1;
    if (digits.size() < least || digits.size() > most) return false;
    const int check = digits.back();
    digits.pop_back();
    if (CheckDigit(digits) != check) return false;
    const std::size_t seedDigits = digits.size() - kDigestDigits;
    // Thirteen digits hold 65 bits: the top one holds the seed's top four.
    if (seedDigits == kMostSeedDigits && digits.front() > 15) return false;
    // A longer code than needed is not one this game writes.
    if (seedDigits > kLeastSeedDigits && digits.front() == 0) return false;
    TChallenge read;
    for (std::size_t i = 0; i < seedDigits; ++i)
        read.Seed = read.Seed * kBase + static_cast<std::uint64_t>(digits[i]);
    unsigned digest = 0;
    for (std::size_t i = seedDigits; i < digits.size(); ++i)
        digest = digest * kBase + static_cast<unsigned>(digits[i]);
    read.Customisation = static_cast<std::uint16_t>(digest);
    challenge = read;
    return true;
}
