// The sound player: it finds the program's WAVE images, reads their format from the header,
// reports a missing one, and plays without a sound device without complaint.

#include <QFile>
#include <QTest>

#include "desktop/SoundPlayer.h"

class TestSoundPlayer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsTheFormatOfEachSound_data();
    void readsTheFormatOfEachSound();
    void rejectsWhatIsNotAPcmWave();
    void reportsMissingSoundsAndPlaysTheOthers();
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
    QFile file(SoundPlayer::resourcePath(QTest::currentDataTag()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto wave = SoundPlayer::parseWave(file.readAll());
    QVERIFY(wave.has_value());
    QCOMPARE(wave->format.sampleRate(), rate);
    QCOMPARE(wave->format.channelCount(), 1);
    QCOMPARE(wave->format.sampleFormat(), QAudioFormat::UInt8);
    QCOMPARE(wave->samples.size(), samples);
    QCOMPARE(wave->durationMs(), milliseconds);
}

void TestSoundPlayer::rejectsWhatIsNotAPcmWave() {
    QFile file(SoundPlayer::resourcePath("CLICK"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();

    QVERIFY(!SoundPlayer::parseWave(QByteArray("not a wave at all")).has_value());
    QByteArray compressed = good;
    compressed[20] = 2;  // format tag: ADPCM
    QVERIFY(!SoundPlayer::parseWave(compressed).has_value());
    // A data chunk that claims more bytes than there are.
    QVERIFY(!SoundPlayer::parseWave(good.left(good.size() - 10)).has_value());
}

void TestSoundPlayer::reportsMissingSoundsAndPlaysTheOthers() {
    SoundPlayer player;
    QCOMPARE(player.play("NOSUCHSOUND", false), IEffects::SoundResult::NotFound);
    // With or without a device, the real sounds play (or pass silently), and a new one cuts
    // off the one playing.
    QCOMPARE(player.play("GAMEOVER", false), IEffects::SoundResult::Played);
    QCOMPARE(player.play("CLICK", true), IEffects::SoundResult::Played);
    QCOMPARE(player.play("MEEPMEEP", false), IEffects::SoundResult::Played);
}

QTEST_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
