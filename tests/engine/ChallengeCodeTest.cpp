#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>

#include "engine/ChallengeCode.h"
#include "engine/Game.h"
#include "support/Files.h"
#include "support/TempPlatform.h"

TEST(ChallengeCodeTest, ACodeReadsBackInAnyCaseWithOrWithoutItsDashes) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        TChallenge challenge;
        challenge.Seed = i < 3 ? std::uint64_t{0} - static_cast<std::uint64_t>(i) : random();
        if (i % 2 == 0) challenge.Seed &= (std::uint64_t{1} << 40) - 1;
        challenge.Customisation = static_cast<std::uint16_t>(random() & kCustomisationMask);
        const std::string code = EncodeChallenge(challenge);
        for (char c : code) ASSERT_TRUE(c == '-' || std::isdigit(c) || std::isupper(c)) << code;
        // Lower case, no dashes, a space after the third character (built by appending: GCC 12
        // at -O3 takes an insertion for an overlapping copy, -Wrestrict).
        std::string loose;
        for (char c : code) {
            if (c == '-') continue;
            if (loose.size() == 3) loose += ' ';
            loose += static_cast<char>(std::tolower(c));
        }
        TChallenge read;
        ASSERT_TRUE(DecodeChallenge(code, read)) << code;
        EXPECT_EQ(read, challenge) << code;
        ASSERT_TRUE(DecodeChallenge(loose, read)) << loose;
        EXPECT_EQ(read, challenge) << loose;
    }
    // A seed of forty bits or less makes twelve characters in three groups.
    EXPECT_EQ(EncodeChallenge({(std::uint64_t{1} << 40) - 1, 5}).size(), 14U);
}

TEST(ChallengeCodeTest, EveryMistypedCharacterAndMostSwapsAreCaught) {
    const std::string alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    const std::string code = EncodeChallenge({0x9A3F12C4D5ULL, 1234});
    int swapsCaught = 0, swaps = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == '-') continue;
        for (char c : alphabet) {
            if (c == code[i]) continue;
            std::string typo = code;
            typo[i] = c;
            TChallenge read;
            EXPECT_FALSE(DecodeChallenge(typo, read)) << typo;
        }
        std::string swapped = code;
        const std::size_t j = i + 1 < code.size() && code[i + 1] == '-' ? i + 2 : i + 1;
        if (j >= code.size() || code[i] == code[j]) continue;
        std::swap(swapped[i], swapped[j]);
        TChallenge read;
        ++swaps;
        swapsCaught += DecodeChallenge(swapped, read) ? 0 : 1;
    }
    EXPECT_GE(swapsCaught * 10, swaps * 9);
}

TEST(ChallengeCodeTest, ForeignTextIsNoCodeAndChangesNothing) {
    TChallenge read{42, 7};
    for (const char* text : {"", "RT7-K4MQ-9XZD", "hello world!", "0000-0000-000",
                             "ZZZZ-ZZZZ-ZZZZ-ZZZZ-Z", "1234-5678-9ABC-DEFG-HJKM", "U000-0000-0000"})
        EXPECT_FALSE(DecodeChallenge(text, read)) << text;
    EXPECT_EQ(read, (TChallenge{42, 7}));
    EXPECT_STREQ(kNotAChallengeCode, "That is not a Realtopia challenge code.");
}

TEST(ChallengeCodeTest, TheSameCodeDealsTheSameMarketAndDraws) {
    TempPlatform temp;
    TPlatform clock = temp.Platform();
    clock.Seed.reset();
    TGame first(clock);
    first.InitWorld();
    const TChallenge code = first.Challenge();
    EXPECT_EQ(code.Customisation, 0);
    EXPECT_LT(code.Seed, std::uint64_t{1} << 40);

    TGame friendly(temp.Platform(99));
    EXPECT_TRUE(friendly.DealChallenge(code));
    EXPECT_TRUE(friendly.State() == first.State());
    EXPECT_EQ(friendly.Challenge(), code);
    // The next deal is the friend's own again.
    friendly.InitWorld();
    EXPECT_EQ(friendly.Challenge().Seed, 99U);
}

TEST(ChallengeCodeTest, TheCustomisationIsInTheCodeAndAnotherFilesChallengeIsPlayedAsBuiltIn) {
    TempPlatform temp;
    WriteAll(temp.ProgramDirectory() + "/realtopia.INI",
             "[ProgramInfo]\nEXE=realtopia\n[Properties]\nNAME01=Buckingham\nVALUE01=1000\n");
    TGame mine(temp.Platform(5));
    mine.InitWorld();
    const TChallenge customised = mine.Challenge();
    EXPECT_NE(customised.Customisation, 0);
    EXPECT_EQ(mine.OwnCustomisation(), customised.Customisation);
    EXPECT_EQ(mine.State().Property(1).Name, "Buckingham");

    // A friend with another file plays the market of the code as built in, and is told so.
    TempPlatform other;
    WriteAll(other.ProgramDirectory() + "/realtopia.INI",
             "[ProgramInfo]\nEXE=realtopia\n[Properties]\nNAME01=Windsor\n");
    TGame friendly(other.Platform(6));
    EXPECT_FALSE(friendly.DealChallenge(customised));
    EXPECT_EQ(friendly.Challenge().Seed, customised.Seed);
    EXPECT_EQ(friendly.Challenge().Customisation, 0);
    EXPECT_NE(friendly.State().Property(1).Name, "Windsor");
    EXPECT_EQ(friendly.State().Property(21).BuyPrice, mine.State().Property(21).BuyPrice);

    // The same file gives the same code and the same world.
    TGame same(temp.Platform(8));
    EXPECT_TRUE(same.DealChallenge(customised));
    EXPECT_TRUE(same.State() == mine.State());
}

TEST(ChallengeCodeTest, AResultReadsBackAndAMistypedFigureOrCodeIsCaught) {
    std::mt19937_64 random(31);
    for (int i = 0; i < 500; ++i) {
        TChallengeResult result;
        result.Code = {random() & ((std::uint64_t{1} << 40) - 1),
                       static_cast<std::uint16_t>(i % 3 == 0 ? 0 : random() & kCustomisationMask)};
        result.Worth = i == 0 ? 0U : i == 1 ? 4294967295U : static_cast<std::uint32_t>(random());
        const std::string text = EncodeChallengeResult(result);
        ASSERT_EQ(
            text.rfind(EncodeChallenge(result.Code) + "/" + std::to_string(result.Worth) + "-", 0),
            0U)
            << text;
        TChallengeResult read;
        ASSERT_TRUE(DecodeChallengeResult(text, read)) << text;
        EXPECT_EQ(read, result);
        // Any case, spaces, a pound sign and thousands commas in the figure.
        std::string loose;
        for (char c : text) loose += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const std::size_t slash = loose.find('/');
        loose.replace(slash, 1, " / \u00A3");
        if (loose.size() - slash > 8) loose.insert(slash + 6, 1, ',');
        ASSERT_TRUE(DecodeChallengeResult(loose, read)) << loose;
        EXPECT_EQ(read, result);
        // Every single mistyped digit of the figure, and of the check, is caught.
        const std::size_t figure = text.find('/') + 1;
        for (std::size_t at = figure; at < text.size(); ++at) {
            if (text[at] == '-') continue;
            for (char c : std::string("0123456789ABCDEFGHJKMNPQRSTVWXYZ")) {
                if (c == text[at] || (at + 1 < text.size() && !std::isdigit(c))) continue;
                std::string typo = text;
                typo[at] = c;
                TChallengeResult untouched{{1, 2}, 3};
                EXPECT_FALSE(DecodeChallengeResult(typo, untouched)) << typo;
                EXPECT_EQ(untouched, (TChallengeResult{{1, 2}, 3}));
            }
        }
    }
    // A code alone, a code with a figure but no check, a figure too large: no result.
    const std::string code = EncodeChallenge({12345, 0});
    TChallengeResult read;
    for (const std::string& text : {code, code + "/100", code + "/100-", code + "/-K",
                                    code + "/4294967296-0", code + "/0100-0"})
        EXPECT_FALSE(DecodeChallengeResult(text, read)) << text;
}
