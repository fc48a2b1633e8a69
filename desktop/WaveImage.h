#pragma once

#include <QByteArray>
#include <QString>
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

    // Reads the "fmt " and "data" chunks of a RIFF WAVE image with 8- or 16-bit PCM samples.
    static std::optional<WaveImage> parse(const QByteArray& image);
    static QString resourcePath(const std::string& name);
};
