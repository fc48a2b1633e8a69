// make_sounds: synthesises the game's three sound effects and writes them as WAVE files.
//
// Usage: make_sounds OUTDIR
//
// Writes OUTDIR/CLICK.wav, OUTDIR/MEEPMEEP.wav and OUTDIR/GAMEOVER.wav: RIFF WAVE, PCM, mono,
// 8-bit unsigned. The program plays them from its resources under :/WAVEFILE/, and their
// rates and lengths are fixed, so the generator checks every length before it writes.
// The output is deterministic: running it again gives the same bytes.
//
// Build: g++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow tools/make_sounds.cpp
//        -o make_sounds && ./make_sounds resources/WAVEFILE

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct SoundFile {
    std::string name;
    std::uint32_t rate;
    std::vector<double> samples;  // -1.0 .. 1.0
};

// Linear ramps at both ends of a sound so it never starts or stops on a jump (audible click).
double edgeFade(std::size_t i, std::size_t length, std::size_t fadeIn, std::size_t fadeOut) {
    double gain = 1.0;
    if (fadeIn > 0 && i < fadeIn) gain = static_cast<double>(i) / static_cast<double>(fadeIn);
    const std::size_t fromEnd = length - 1 - i;
    if (fadeOut > 0 && fromEnd < fadeOut) {
        gain = std::min(gain, static_cast<double>(fromEnd) / static_cast<double>(fadeOut));
    }
    return gain;
}

// A soft tone: the fundamental plus two quieter harmonics, scaled to peak at 1.
double softTone(double phase) {
    return (std::sin(phase) + 0.35 * std::sin(2.0 * phase) + 0.15 * std::sin(3.0 * phase)) / 1.4;
}

// A short knock: a filtered noise burst over a quick, falling sine, both dying within ~25 ms.
std::vector<double> makeClick(std::uint32_t rate, std::size_t count) {
    std::vector<double> out(count, 0.0);
    std::uint32_t noiseState = 0x1234567u;  // fixed seed: the file is reproducible
    double lowPassed = 0.0;
    double phase = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        noiseState ^= noiseState << 13;
        noiseState ^= noiseState >> 17;
        noiseState ^= noiseState << 5;
        const double noise = static_cast<double>(noiseState) / 2147483648.0 - 1.0;
        lowPassed += 0.45 * (noise - lowPassed);
        const double frequency = 900.0 + 1400.0 * std::exp(-t / 0.004);
        phase += kTwoPi * frequency / rate;
        const double body = std::sin(phase) * std::exp(-t / 0.009);
        const double tick = lowPassed * std::exp(-t / 0.003);
        out[i] = 0.7 * (0.7 * body + 0.6 * tick) * edgeFade(i, count, 6, 60);
    }
    return out;
}

// One rising beep starting at `start`: an exponential sweep from `fromHz` to `toHz`.
void addBeep(std::vector<double>& out, std::uint32_t rate, std::size_t start, std::size_t length,
             double fromHz, double toHz, double volume) {
    const std::size_t attack = rate / 200;  // 5 ms
    const std::size_t release = rate / 40;  // 25 ms
    double phase = 0.0;
    for (std::size_t i = 0; i < length && start + i < out.size(); ++i) {
        const double progress = static_cast<double>(i) / static_cast<double>(length);
        const double frequency = fromHz * std::pow(toHz / fromHz, progress);
        phase += kTwoPi * frequency / rate;
        out[start + i] += volume * softTone(phase) * edgeFade(i, length, attack, release);
    }
}

// Two quick rising beeps, the second a fourth higher than the first.
std::vector<double> makeMeepMeep(std::uint32_t rate, std::size_t count) {
    std::vector<double> out(count, 0.0);
    const std::size_t beepLength = 2050;  // ~0.19 s
    addBeep(out, rate, 80, beepLength, 620.0, 930.0, 0.45);
    addBeep(out, rate, 2700, beepLength, 830.0, 1240.0, 0.45);
    return out;
}

// One note of the closing tune; the last note gets vibrato and a long decay.
void addNote(std::vector<double>& out, std::uint32_t rate, std::size_t start, std::size_t length,
             double hz, double volume, bool last) {
    const std::size_t attack = rate / 100;  // 10 ms
    const std::size_t release = last ? rate / 4 : rate / 25;
    double phase = 0.0;
    for (std::size_t i = 0; i < length && start + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double frequency = hz;
        double decay = 0.75 + 0.25 * std::exp(-t / 0.06);  // a little accent on each attack
        if (last) {
            // A slow sag in pitch and volume gives the ending its "that's all" feel.
            frequency = hz * (1.0 - 0.03 * t / 1.3) * (1.0 + 0.006 * std::sin(kTwoPi * 5.0 * t));
            decay *= std::exp(-t / 0.9);
        }
        phase += kTwoPi * frequency / rate;
        out[start + i] += volume * decay * softTone(phase) * edgeFade(i, length, attack, release);
    }
}

// A falling arpeggio, C5 G4 E4, landing on a long C4.
std::vector<double> makeGameOver(std::uint32_t rate, std::size_t count) {
    std::vector<double> out(count, 0.0);
    const std::size_t step = 2900;   // ~0.26 s per short note
    const std::size_t sound = 2650;  // the rest of each step is a breath between notes
    const double notes[] = {523.25, 392.00, 329.63};
    std::size_t start = 100;
    for (double hz : notes) {
        addNote(out, rate, start, sound, hz, 0.5, false);
        start += step;
    }
    addNote(out, rate, start, count - start - 300, 261.63, 0.55, true);
    return out;
}

void putLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<std::uint8_t>& bytes, const char (&tag)[5]) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

// A RIFF WAVE image: "fmt " chunk of 16 bytes, then "data"; an odd data chunk gets a pad byte,
// which the RIFF size counts and the data size does not.
std::vector<std::uint8_t> encodeWave(const SoundFile& sound) {
    const auto dataSize = static_cast<std::uint32_t>(sound.samples.size());
    const std::uint32_t padding = dataSize % 2;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataSize + padding);
    putTag(bytes, "RIFF");
    putLittleEndian(bytes, 4 + (8 + 16) + (8 + dataSize + padding), 4);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    putLittleEndian(bytes, 16, 4);
    putLittleEndian(bytes, 1, 2);           // PCM
    putLittleEndian(bytes, 1, 2);           // mono
    putLittleEndian(bytes, sound.rate, 4);  // sample rate
    putLittleEndian(bytes, sound.rate, 4);  // bytes per second: one byte per sample
    putLittleEndian(bytes, 1, 2);           // block align
    putLittleEndian(bytes, 8, 2);           // bits per sample
    putTag(bytes, "data");
    putLittleEndian(bytes, dataSize, 4);
    for (double s : sound.samples) {
        const double level = std::round(128.0 + 127.0 * std::clamp(s, -1.0, 1.0));
        bytes.push_back(static_cast<std::uint8_t>(level));
    }
    if (padding != 0) bytes.push_back(0);
    return bytes;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_sounds OUTDIR\n";
        return 2;
    }
    try {
        const std::filesystem::path outDir = argv[1];
        std::filesystem::create_directories(outDir);
        struct Target {
            SoundFile sound;
            std::size_t fileSize;
        };
        const Target targets[] = {
            {{"CLICK", 8000, makeClick(8000, 372)}, 416},
            {{"MEEPMEEP", 11025, makeMeepMeep(11025, 5091)}, 5136},
            {{"GAMEOVER", 11025, makeGameOver(11025, 23315)}, 23360},
        };
        for (const Target& target : targets) {
            const std::vector<std::uint8_t> bytes = encodeWave(target.sound);
            if (bytes.size() != target.fileSize) {
                throw std::logic_error(target.sound.name + ".wav would be " +
                                       std::to_string(bytes.size()) + " bytes, not " +
                                       std::to_string(target.fileSize));
            }
            writeFile(outDir / (target.sound.name + ".wav"), bytes);
            std::cout << target.sound.name << ".wav: " << bytes.size() << " bytes\n";
        }
    } catch (const std::exception& error) {
        std::cerr << "make_sounds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
