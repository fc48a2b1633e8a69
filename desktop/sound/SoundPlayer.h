#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <optional>
#include <string>

#include "ui/Effects.h"

class QAudioSink;
class QBuffer;

// Plays the WAVE images compiled into the program (":/WAVEFILE/<NAME>.wav") from memory, in
// the background or to their end. One sound at a time: a new one cuts off the one playing.
// Nothing is opened on the audio system until a sound is played on a working device.
class SoundPlayer : public QObject {
    Q_OBJECT

public:
    // The sample format and samples of an uncompressed WAVE image.
    struct Wave {
        QAudioFormat format;
        QByteArray samples;
        int durationMs() const;
    };

    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // NotFound when there is no such sound, NotLoaded when it cannot be read, Bad when it is not
    // a PCM WAVE image; otherwise Played, also when the device is missing or busy (silence).
    IEffects::SoundResult play(const std::string& name, bool wait);
    // Whether the system offers an audio output.
    static bool deviceWorks();
    // Reads the "fmt " and "data" chunks of a RIFF WAVE image with 8- or 16-bit PCM samples.
    static std::optional<Wave> parseWave(const QByteArray& image);
    static QString resourcePath(const std::string& name);

private:
    void stop();

    QAudioSink* sink_ = nullptr;
    QBuffer* buffer_ = nullptr;
};
