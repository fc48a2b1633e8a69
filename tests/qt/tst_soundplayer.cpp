// The program's sounds: it finds its WAVE images and reads their format from the header,
// reports a missing one, and plays through the sound module, which it loads only on the first
// sound. Without the module, or without a device, sounds pass in silence.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#include "desktop/QtEffects.h"
#include "desktop/SoundModule.h"
#include "desktop/WaveImage.h"
#include "engine/Game.h"
#include "windows/TRealtopia.h"

namespace {

// Whether the audio libraries are mapped into this process.
bool MultimediaLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return false;
    return maps.readAll().contains("libQt6Multimedia");
}

// Sets an environment variable for the life of the object, and then puts it back as it was.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), kept_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() { restore(); }
    void restore() {
        if (wasSet_) {
            qputenv(name_, kept_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char* name_;
    bool wasSet_;
    QByteArray kept_;
};

TPlatform TestPlatform(const QTemporaryDir& dir) {
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.FirstArgument = "noini";
    platform.UserDataDirectory = dir.path().toStdString();
    platform.Seed = 7;
    return platform;
}

}  // namespace

class TestSoundPlayer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsTheFormatOfEachSound_data();
    void readsTheFormatOfEachSound();
    void rejectsWhatIsNotAPcmWave();
    void asksTheSoundServerItsSocket();
    void loadsTheModuleOnTheFirstSoundOnly();
    void aMissingModuleIsADeviceThatDoesNotWork();
};

void TestSoundPlayer::initTestCase() {
    Q_INIT_RESOURCE(realtopia_resources);
}

void TestSoundPlayer::readsTheFormatOfEachSound_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("CLICK") << 8000 << 372 << 46;
    QTest::newRow("MEEPMEEP") << 11025 << 5091 << 461;
    QTest::newRow("GAMEOVER") << 11025 << 23315 << 2114;
}

void TestSoundPlayer::readsTheFormatOfEachSound() {
    QFETCH(int, rate);
    QFETCH(int, samples);
    QFETCH(int, milliseconds);
    QFile file(WaveImage::resourcePath(QTest::currentDataTag()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto wave = WaveImage::parse(file.readAll());
    QVERIFY(wave.has_value());
    QCOMPARE(wave->sampleRate, rate);
    QCOMPARE(wave->channels, 1);
    QCOMPARE(wave->bitsPerSample, 8);
    QCOMPARE(wave->samples.size(), samples);
    QCOMPARE(wave->durationMs(), milliseconds);

    // As played, it ends in silence long enough that a sound server holding the end of the
    // stream when it is stopped holds only silence, and no sound is shorter than a server's
    // start-up buffer (the 46 ms click was dropped now and then).
    const WaveImage played = wave->withSilentEnd();
    QVERIFY(played.samples.startsWith(wave->samples));
    QCOMPARE(played.sampleRate, rate);
    QVERIFY(played.durationMs() >= WaveImage::kShortestPlayedMs);
    QVERIFY(played.durationMs() >= milliseconds + WaveImage::kSilentTailMs);
    const QByteArray tail = played.samples.mid(samples);
    QVERIFY(!tail.isEmpty());
    QCOMPARE(tail.count(static_cast<char>(0x80)), tail.size());  // 8-bit silence
    if (milliseconds < WaveImage::kShortestPlayedMs)
        QCOMPARE(played.durationMs(), WaveImage::kShortestPlayedMs);
}

void TestSoundPlayer::rejectsWhatIsNotAPcmWave() {
    QFile file(WaveImage::resourcePath("CLICK"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();

    QVERIFY(!WaveImage::parse(QByteArray("not a wave at all")).has_value());
    QByteArray compressed = good;
    compressed[20] = 2;  // format tag: ADPCM
    QVERIFY(!WaveImage::parse(compressed).has_value());
    // A data chunk that claims more bytes than there are.
    QVERIFY(!WaveImage::parse(good.left(good.size() - 10)).has_value());
}

// The device test connects to the PulseAudio socket named by PULSE_SERVER: something must
// listen there. A server elsewhere on the network is taken on trust.
void TestSoundPlayer::asksTheSoundServerItsSocket() {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("native")));
    ScopedEnv server("PULSE_SERVER", "unix:" + path);
    const bool beforeListening = SoundModule::soundServerAnswers();

    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    QVERIFY(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0);
    QVERIFY(::listen(fd, 4) == 0);
    const bool listening = SoundModule::soundServerAnswers();
    ::close(fd);
    qputenv("PULSE_SERVER", "tcp:sound.example.com");
    const bool remote = SoundModule::soundServerAnswers();
    server.restore();

    QVERIFY(!beforeListening);
    QVERIFY(listening);
    QVERIFY(remote);
}

// The program as it starts: the device test of a new world asks without the audio libraries;
// the first sound loads them, and every sound plays (or passes silently without a device).
void TestSoundPlayer::loadsTheModuleOnTheFirstSoundOnly() {
    QVERIFY2(QFileInfo::exists(SoundModule::locate()), qPrintable(SoundModule::locate()));
    QTemporaryDir dir;
    QtEffects effects;
    TRealtopia app(effects, TestPlatform(dir));
    QCOMPARE(app.mainform.Game().State().SoundOn, SoundModule::soundServerAnswers());
    QVERIFY(!effects.Sound().isLoaded());
    QVERIFY(!MultimediaLoaded());

    QCOMPARE(effects.PlaySound("NOSUCHSOUND", false), IEffects::SoundResult::NotFound);
    QVERIFY(!effects.Sound().isLoaded());
    QCOMPARE(effects.PlaySound("GAMEOVER", false), IEffects::SoundResult::Played);
    QVERIFY(effects.Sound().isLoaded());
    QVERIFY(MultimediaLoaded());
    // A new sound cuts off the one playing, also while waiting for it.
    QCOMPARE(effects.PlaySound("CLICK", true), IEffects::SoundResult::Played);
    QCOMPARE(effects.PlaySound("MEEPMEEP", false), IEffects::SoundResult::Played);
}

// No module where the program looks: the device test fails, so sound starts switched off, and
// a sound switched on again passes in silence with no box; a missing resource is still told.
void TestSoundPlayer::aMissingModuleIsADeviceThatDoesNotWork() {
    QTemporaryDir dir;
    ScopedEnv module("REALTOPIA_SOUND_MODULE", dir.filePath(QStringLiteral("nowhere.so")).toUtf8());
    ScopedEnv server("PULSE_SERVER", "tcp:sound.example.com");  // a server that would answer
    QtEffects effects;
    TRealtopia app(effects, TestPlatform(dir));
    QVERIFY(SoundModule::soundServerAnswers());
    module.restore();
    server.restore();

    QVERIFY(!app.mainform.Game().State().SoundOn);
    QVERIFY(!app.mainform.View().SoundChecked);
    QCOMPARE(effects.PlaySound("CLICK", true), IEffects::SoundResult::Played);
    QCOMPARE(effects.PlaySound("NOSUCHSOUND", false), IEffects::SoundResult::NotFound);
    QVERIFY(!effects.Sound().isLoaded());
    QVERIFY(!effects.Sound().load());

    // Not a sound module at all: the same.
    SoundModule notAModule(QStringLiteral(REALTOPIA_SOURCE_DIR "/README.md"));
    QCOMPARE(notAModule.play("CLICK", false), IEffects::SoundResult::Played);
    QVERIFY(!notAModule.isLoaded());
}

QTEST_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
