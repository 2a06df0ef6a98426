// Sounds really reach the mixer's output, stay silent when switched off or minimized, and beep when missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "support/QtApp.h"
#include "sound/Sound.h"

using kazoomba::ui::Sound;

namespace {
// Plays through SDL's disk driver, which writes what was mixed to a file, and returns the samples written.
QByteArray MixedSamples(const std::function<void(Sound&)>& play, const QString& soundDir) {
    QTemporaryDir dir;
    const QByteArray out = (dir.path() + QStringLiteral("/mixed.raw")).toLocal8Bit();
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", out);
    {
        Sound sound(soundDir);
        EXPECT_TRUE(sound.HasDevice());
        play(sound);
        QThread::msleep(400);
    }
    qputenv("SDL_AUDIODRIVER", driver);
    QFile f(QString::fromLocal8Bit(out));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}
int Sample(const QByteArray& pcm, int i) {
    return static_cast<qint16>(static_cast<quint8>(pcm[i]) | (static_cast<quint8>(pcm[i + 1]) << 8));
}
// The loudest sample of what was mixed; -1 when nothing was written.
int LoudestMixedSample(const std::function<void(Sound&)>& play, const QString& soundDir) {
    const QByteArray pcm = MixedSamples(play, soundDir);
    if (pcm.isEmpty()) return -1;
    int loudest = 0;
    for (int i = 0; i + 1 < pcm.size(); i += 2) loudest = std::max(loudest, std::abs(Sample(pcm, i)));
    return loudest;
}
// How many samples of what was mixed are not silence.
int SoundingSamples(const QByteArray& pcm) {
    int count = 0;
    for (int i = 0; i + 1 < pcm.size(); i += 2) count += std::abs(Sample(pcm, i)) > 1;
    return count;
}
// The samples of a wave file in the source tree: its data after the 44-byte header, 16-bit mono.
int SamplesIn(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? static_cast<int>((f.size() - 44) / 2) : 0;
}
const QString kSounds = QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds");
}  // namespace

TEST(Sound, ACoinSoundReachesTheMixerOutput) {
    kazoomba::testing::App();
    EXPECT_GT(LoudestMixedSample([](Sound& s) { s.PlayCoinSound(); }, kSounds), 1000);
}

TEST(Sound, NothingIsMixedWithSoundOffOrTheWindowMinimized) {
    kazoomba::testing::App();
    EXPECT_LT(LoudestMixedSample([](Sound& s) { s.SetSound(1); s.PlayCoinSound(); s.PlayStopSound(); }, kSounds), 2);
    EXPECT_LT(LoudestMixedSample(
                  [](Sound& s) {
                      s.SetMinimizedQuery([] { return true; });
                      s.PlayCoinSound();
                      s.PlayNumberedSound(1);
                  },
                  kSounds),
              2);
}

TEST(Sound, AMissingFileBeepsUnlessTheCallForbidsIt) {
    kazoomba::testing::App();
    QTemporaryDir empty;
    Sound sound(empty.path());
    sound.PlayStopSound();  // the reel stop never beeps
    EXPECT_EQ(sound.beeps(), 0);
    sound.PlayCoinSound();
    sound.PlayNoWinSound(2);
    EXPECT_EQ(sound.beeps(), 2);
    EXPECT_EQ(sound.started(), 0);
}

TEST(Sound, SynchronousSoundsWaitUntilTheyHaveFinished) {
    kazoomba::testing::App();
    Sound sound(kSounds);
    if (!sound.HasDevice()) GTEST_SKIP() << "no audio driver";
    QElapsedTimer clock;
    clock.start();
    sound.PlayNumberedSound(1);
    EXPECT_GT(clock.elapsed(), 200);  // every win jingle lasts longer than this
}

TEST(Sound, ANewSoundCutsOffTheOnePlaying) {
    kazoomba::testing::App();
    const int jingle = SamplesIn(kSounds + QStringLiteral("/KAZOA.WAV"));
    const int click = SamplesIn(kSounds + QStringLiteral("/KAZO4.WAV"));
    ASSERT_GT(jingle, 4 * click);
    // The jingle is started and at once replaced by the click: far less than the jingle is heard.
    const QByteArray pcm = MixedSamples(
        [](Sound& s) {
            s.PlayFile(QStringLiteral("KAZOA.WAV"), false, true);
            s.PlayStopSound();
        },
        kSounds);
    EXPECT_GT(SoundingSamples(pcm), 0);
    EXPECT_LT(SoundingSamples(pcm), jingle / 2);
}

TEST(Sound, TheStopSoundIsReadAndDecodedOnceAtStart) {
    kazoomba::testing::App();
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(kSounds + QStringLiteral("/KAZO4.WAV"), dir.path() + QStringLiteral("/KAZO4.WAV")));
    Sound sound(dir.path());
    if (!sound.HasDevice()) GTEST_SKIP() << "no audio driver";
    EXPECT_EQ(sound.decoded(), 1);
    // The file may go: the wheels keep their click, and nothing is decoded again.
    ASSERT_TRUE(QFile::remove(dir.path() + QStringLiteral("/KAZO4.WAV")));
    for (int wheel = 0; wheel < 9; ++wheel) sound.PlayStopSound();
    EXPECT_EQ(sound.started(), 9);
    EXPECT_EQ(sound.decoded(), 1);
    EXPECT_EQ(sound.beeps(), 0);
}

TEST(Sound, AFileThatIsNoWaveBeepsWhereTheCallAllowsIt) {
    kazoomba::testing::App();
    QTemporaryDir dir;
    for (const char* name : {"KAZO3.WAV", "KAZO4.WAV"}) {
        QFile f(dir.path() + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a wave file");
    }
    Sound sound(dir.path());
    if (!sound.HasDevice()) GTEST_SKIP() << "no audio driver";
    sound.PlayStopSound();
    EXPECT_EQ(sound.beeps(), 0);
    sound.PlayCoinSound();
    EXPECT_EQ(sound.beeps(), 1);
    EXPECT_EQ(sound.started(), 0);
}

TEST(Sound, WithoutAnAudioDeviceTheGameRunsSilent) {
    kazoomba::testing::App();
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    {
        Sound sound(kSounds);
        EXPECT_FALSE(sound.HasDevice());
        EXPECT_TRUE(sound.StopSoundLoaded());
        sound.PlayStopSound();
        sound.PlayCoinSound();
        sound.PlayNumberedSound(1);
        EXPECT_EQ(sound.started(), 0);
        EXPECT_EQ(sound.beeps(), 0);
    }
    qputenv("SDL_AUDIODRIVER", driver);
}
