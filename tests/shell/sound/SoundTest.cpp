// Sounds really reach the mixer's output, stay silent when switched off or minimized, and beep when missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "support/QtApp.h"
#include "sound/Sound.h"

using kazoomba::ui::Sound;

namespace {
// Plays through SDL's disk driver, which writes what was mixed to a file, and returns the loudest sample.
int LoudestMixedSample(const std::function<void(Sound&)>& play, const QString& soundDir) {
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
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pcm = f.readAll();
    int loudest = 0;
    for (int i = 0; i + 1 < pcm.size(); i += 2) {
        const int v = static_cast<qint16>(static_cast<quint8>(pcm[i]) | (static_cast<quint8>(pcm[i + 1]) << 8));
        loudest = std::max(loudest, std::abs(v));
    }
    return loudest;
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
