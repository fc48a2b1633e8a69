#include "desktop/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>
#include <QtEndian>

namespace {

// Extra time allowed for the device to start and drain when a sound is awaited.
constexpr int kWaitMarginMs = 250;

quint32 ReadU32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 ReadU16(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

}  // namespace

int SoundPlayer::Wave::durationMs() const {
    const qint32 bytesPerSecond = format.bytesForDuration(1000000);
    if (bytesPerSecond <= 0) return 0;
    return static_cast<int>(static_cast<qint64>(samples.size()) * 1000 / bytesPerSecond);
}

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() {
    stop();
}

QString SoundPlayer::resourcePath(const std::string& name) {
    return QStringLiteral(":/WAVEFILE/%1.wav").arg(QString::fromStdString(name));
}

bool SoundPlayer::deviceWorks() {
    return !QMediaDevices::defaultAudioOutput().isNull();
}

std::optional<SoundPlayer::Wave> SoundPlayer::parseWave(const QByteArray& image) {
    if (image.size() < 12 || !image.startsWith("RIFF") || image.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<QAudioFormat> format;
    qsizetype at = 12;
    while (at + 8 <= image.size()) {
        const QByteArray id = image.mid(at, 4);
        const qsizetype size = ReadU32(image, at + 4);
        const qsizetype body = at + 8;
        if (size > image.size() - body) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            const quint16 encoding = ReadU16(image, body);
            const quint16 channels = ReadU16(image, body + 2);
            const quint32 rate = ReadU32(image, body + 4);
            const quint16 bits = ReadU16(image, body + 14);
            if (encoding != 1 || channels == 0 || rate == 0 || (bits != 8 && bits != 16))
                return std::nullopt;
            QAudioFormat f;
            f.setSampleRate(static_cast<int>(rate));
            f.setChannelCount(channels);
            f.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
            format = f;
        } else if (id == "data") {
            if (!format) return std::nullopt;
            return Wave{*format, image.mid(body, size)};
        }
        at = body + size + (size & 1);  // chunks are padded to even lengths
    }
    return std::nullopt;
}

IEffects::SoundResult SoundPlayer::play(const std::string& name, bool wait) {
    QFile file(resourcePath(name));
    if (!file.exists()) return IEffects::SoundResult::NotFound;
    if (!file.open(QIODevice::ReadOnly)) return IEffects::SoundResult::NotLoaded;
    const std::optional<Wave> wave = parseWave(file.readAll());
    if (!wave) return IEffects::SoundResult::Bad;

    stop();
    // Like the system's sound service, a missing or busy device is not reported.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(wave->format))
        return IEffects::SoundResult::Played;

    buffer_ = new QBuffer(this);
    buffer_->setData(wave->samples);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = new QAudioSink(device, wave->format, this);
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
    if (!wait || sink->state() != QAudio::ActiveState) return IEffects::SoundResult::Played;

    // Waiting: the audio system is fed from this thread, so the event loop must run; the
    // player's input waits until the sound has ended. A new sound (from a timer) ends the
    // wait too, as it cuts this one off.
    QEventLoop loop;
    connect(sink, &QAudioSink::stateChanged, &loop, [&loop](QAudio::State state) {
        if (state != QAudio::ActiveState) loop.quit();
    });
    connect(sink, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(wave->durationMs() + kWaitMarginMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return IEffects::SoundResult::Played;
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
