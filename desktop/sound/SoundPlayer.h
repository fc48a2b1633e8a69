#pragma once

#include <QAudioFormat>
#include <QObject>

#include "desktop/SoundOutput.h"

class QAudioSink;
class QBuffer;

// Plays WAVE samples from memory through Qt Multimedia, in the background or to their end.
// One sound at a time: a new one cuts off the one playing. Nothing is opened on the audio
// system until a sound is played on a working device.
class SoundPlayer : public QObject, public ISoundOutput {
    Q_OBJECT

public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void play(const WaveImage& wave, bool wait) override;
    bool deviceWorks() override;

    static QAudioFormat format(const WaveImage& wave);

private:
    void stop();

    QAudioSink* sink_ = nullptr;
    QBuffer* buffer_ = nullptr;
};
