#include "desktop/sound/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>

namespace {

// Extra time allowed for the device to start and drain when a sound is awaited.
constexpr int kWaitMarginMs = 250;

}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() {
    stop();
}

bool SoundPlayer::deviceWorks() {
    return !QMediaDevices::defaultAudioOutput().isNull();
}

QAudioFormat SoundPlayer::format(const WaveImage& wave) {
    QAudioFormat format;
    format.setSampleRate(wave.sampleRate);
    format.setChannelCount(wave.channels);
    format.setSampleFormat(wave.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return format;
}

void SoundPlayer::play(const WaveImage& sound, bool wait) {
    stop();
    // Stopped when the last sample is handed over: what the server still holds then is the
    // silence, never the sound (WaveImage::withSilentEnd).
    const WaveImage wave = sound.withSilentEnd();
    // Like the system's sound service, a missing or busy device is not reported.
    const QAudioFormat audioFormat = format(wave);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(audioFormat)) return;

    buffer_ = new QBuffer(this);
    buffer_->setData(wave.samples);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = new QAudioSink(device, audioFormat, this);
    QAudioSink* sink = sink_;
    connect(sink, &QAudioSink::stateChanged, this, [this, sink](QAudio::State state) {
        // Played to its end: give the device back, but not from inside the sink's own signal.
        if (state == QAudio::IdleState)
            QMetaObject::invokeMethod(
                this,
                [this, sink] {
                    if (sink_ == sink) stop();
                },
                Qt::QueuedConnection);
    });
    sink->start(buffer_);
    if (!wait || sink->state() != QAudio::ActiveState) return;

    // Waiting: the audio system is fed from this thread, so the event loop must run; the
    // player's input waits until the sound has ended. A new sound (from a timer) ends the
    // wait too, as it cuts this one off.
    QEventLoop loop;
    connect(sink, &QAudioSink::stateChanged, &loop, [&loop](QAudio::State state) {
        if (state != QAudio::ActiveState) loop.quit();
    });
    connect(sink, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(wave.durationMs() + kWaitMarginMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void SoundPlayer::stop() {
    if (sink_) {
        QAudioSink* sink = sink_;
        sink_ = nullptr;
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
    }
    if (buffer_) {
        buffer_->deleteLater();
        buffer_ = nullptr;
    }
}

// The module's entry point, found by name with QLibrary::resolve().
extern "C" Q_DECL_EXPORT ISoundOutput* realtopia_create_sound_output() {
    return new SoundPlayer;
}
