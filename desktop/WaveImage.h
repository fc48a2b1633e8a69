#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <optional>
#include <string>

// An uncompressed WAVE image as the program's sounds are stored (":/WAVEFILE/<NAME>.wav"):
// its sample format and its samples. Reading one needs nothing but Qt Core, so the program
// checks its sounds without the audio libraries, which only the sound module loads.
struct WaveImage {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;  // 8 (unsigned) or 16 (signed)
    QByteArray samples;

    int durationMs() const {
        const qint64 bytesPerSecond =
            static_cast<qint64>(sampleRate) * channels * (bitsPerSample / 8);
        if (bytesPerSecond <= 0) return 0;
        return static_cast<int>(static_cast<qint64>(samples.size()) * 1000 / bytesPerSecond);
    }

    // A sound server starts a stream only once it holds a few tens of milliseconds of it, and
    // a player that stops its stream when the last sample is handed over cuts off what the
    // server still holds: a click shorter than that was heard only now and then. The sound
    // as it is played therefore ends in silence, `kSilentTailMs` at least, and lasts
    // `kShortestPlayedMs` at least.
    static constexpr int kShortestPlayedMs = 300;
    static constexpr int kSilentTailMs = 150;
    // (Written here: the sound module, which plays it, links nothing but this header.)
    WaveImage withSilentEnd() const {
        WaveImage padded = *this;
        const qint64 frameBytes = static_cast<qint64>(channels) * (bitsPerSample / 8);
        if (frameBytes <= 0 || sampleRate <= 0) return padded;
        const qint64 frames = samples.size() / frameBytes;
        const qint64 shortest = static_cast<qint64>(sampleRate) * kShortestPlayedMs / 1000;
        const qint64 tail = (static_cast<qint64>(sampleRate) * kSilentTailMs + 999) / 1000;
        const qint64 wanted = std::max(frames + tail, shortest);
        // Silence is the middle of the range: 0x80 for unsigned 8-bit samples, 0 for signed 16-bit.
        const char silence = bitsPerSample == 8 ? static_cast<char>(0x80) : '\0';
        padded.samples.append(wanted * frameBytes - samples.size(), silence);
        return padded;
    }

    // Reads the "fmt " and "data" chunks of a RIFF WAVE image with 8- or 16-bit PCM samples.
    static std::optional<WaveImage> parse(const QByteArray& image);
    static QString resourcePath(const std::string& name);
};
