// The three committed sound files: the sound service plays them as complete in-memory WAVE
// images, so their headers must be exact.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct ExpectedSound {
    const char* name;
    std::uint32_t rate;
    std::uint32_t samples;
    std::size_t fileSize;
};

std::vector<std::uint8_t> readSoundFile(const std::string& name) {
    std::ifstream file(std::string(REALTOPIA_SOURCE_DIR) + "/resources/WAVEFILE/" + name + ".wav",
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes.at(at + i);
    return value;
}

std::string tagAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at),
            bytes.begin() + static_cast<std::ptrdiff_t>(at + 4)};
}

}  // namespace

TEST(SoundFiles, AreMonoEightBitPcmWavesOfTheExactSizes) {
    const ExpectedSound sounds[] = {
        {"CLICK", 8000, 372, 416},
        {"MEEPMEEP", 11025, 5091, 5136},
        {"GAMEOVER", 11025, 23315, 23360},
    };
    for (const ExpectedSound& sound : sounds) {
        SCOPED_TRACE(sound.name);
        const std::vector<std::uint8_t> bytes = readSoundFile(sound.name);
        ASSERT_EQ(bytes.size(), sound.fileSize);

        EXPECT_EQ(tagAt(bytes, 0), "RIFF");
        EXPECT_EQ(littleEndian(bytes, 4, 4), sound.fileSize - 8);  // RIFF size counts the pad
        EXPECT_EQ(tagAt(bytes, 8), "WAVE");

        EXPECT_EQ(tagAt(bytes, 12), "fmt ");
        EXPECT_EQ(littleEndian(bytes, 16, 4), 16u);
        EXPECT_EQ(littleEndian(bytes, 20, 2), 1u);  // PCM
        EXPECT_EQ(littleEndian(bytes, 22, 2), 1u);  // channels
        EXPECT_EQ(littleEndian(bytes, 24, 4), sound.rate);
        EXPECT_EQ(littleEndian(bytes, 28, 4), sound.rate);  // bytes per second
        EXPECT_EQ(littleEndian(bytes, 32, 2), 1u);          // block align
        EXPECT_EQ(littleEndian(bytes, 34, 2), 8u);          // bits per sample

        EXPECT_EQ(tagAt(bytes, 36), "data");
        EXPECT_EQ(littleEndian(bytes, 40, 4), sound.samples);  // data size excludes the pad
        const std::size_t dataEnd = 44 + sound.samples;
        if (sound.samples % 2 != 0) {
            ASSERT_EQ(bytes.size(), dataEnd + 1);
            EXPECT_EQ(bytes.back(), 0u);
        } else {
            EXPECT_EQ(bytes.size(), dataEnd);
        }
    }
}

TEST(SoundFiles, StartAndEndSilentWithoutClipping) {
    for (const char* name : {"CLICK", "MEEPMEEP", "GAMEOVER"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = readSoundFile(name);
        ASSERT_GT(bytes.size(), 44u);
        const std::size_t samples = littleEndian(bytes, 40, 4);
        ASSERT_LE(44 + samples, bytes.size());
        const auto first = bytes.begin() + 44;
        const auto last = first + static_cast<std::ptrdiff_t>(samples);

        // 8-bit PCM is unsigned: silence is 128. A jump from or to silence would click.
        EXPECT_NEAR(*first, 128, 4);
        EXPECT_NEAR(*(last - 1), 128, 4);
        const auto [low, high] = std::minmax_element(first, last);
        EXPECT_LT(*low, 128 - 30) << "too quiet to hear";
        EXPECT_GT(*high, 128 + 30) << "too quiet to hear";
        EXPECT_GT(*low, 0) << "clipped";
        EXPECT_LT(*high, 255) << "clipped";
    }
}
