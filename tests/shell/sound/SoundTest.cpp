// Sounds really reach the mixer's output, stay silent when switched off or minimized, and beep when missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "support/QtApp.h"
#include "sound/Sound.h"

using kazoomba::ui::Sound;
using kazoomba::ui::SoundCue;

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
    EXPECT_GT(LoudestMixedSample([](Sound& s) { s.Play(SoundCue::Coin); }, kSounds), 1000);
}

TEST(Sound, NothingIsMixedWithSoundOffOrTheWindowMinimized) {
    kazoomba::testing::App();
    EXPECT_LT(LoudestMixedSample([](Sound& s) { s.SetSound(1); s.Play(SoundCue::Coin); s.Play(SoundCue::ReelStop); }, kSounds), 2);
    EXPECT_LT(LoudestMixedSample(
                  [](Sound& s) {
                      s.SetMinimizedQuery([] { return true; });
                      s.Play(SoundCue::Coin);
                      s.Play(SoundCue::WinA);
                  },
                  kSounds),
              2);
}

TEST(Sound, AMissingFileBeepsUnlessTheCallForbidsIt) {
    kazoomba::testing::App();
    QTemporaryDir empty;
    Sound sound(empty.path());
    sound.Play(SoundCue::ReelStop);  // the reel stop never beeps
    EXPECT_EQ(sound.beeps(), 0);
    sound.Play(SoundCue::Coin);
    sound.Play(SoundCue::NoWin2);
    EXPECT_EQ(sound.beeps(), 2);
    EXPECT_EQ(sound.started(), 0);
}

TEST(Sound, SynchronousSoundsWaitUntilTheyHaveFinished) {
    kazoomba::testing::App();
    Sound sound(kSounds);
    if (!sound.HasDevice()) GTEST_SKIP() << "no audio driver";
    QElapsedTimer clock;
    clock.start();
    sound.Play(SoundCue::WinA);
    EXPECT_GT(clock.elapsed(), 200);  // every win jingle lasts longer than this
}

TEST(Sound, EachCuePlaysItsOwnFile) {
    kazoomba::testing::App();
    const std::pair<SoundCue, const char*> cues[] = {
        {SoundCue::Coin, "KAZO3.WAV"},  {SoundCue::WinA, "KAZOA.WAV"},   {SoundCue::WinB, "KAZOB.WAV"},
        {SoundCue::WinC, "KAZOC.WAV"},  {SoundCue::NoWin0, "KAZO0.WAV"}, {SoundCue::NoWin1, "KAZO1.WAV"},
        {SoundCue::NoWin2, "KAZO2.WAV"}, {SoundCue::FiveX, "kazo5.wav"}, {SoundCue::Flush, "kazo6.wav"},
    };
    for (const auto& [cue, file] : cues) {
        QTemporaryDir only;
        ASSERT_TRUE(QFile::copy(kSounds + QLatin1Char('/') + QLatin1String(file), only.filePath(QLatin1String(file))));
        Sound sound(only.path());
        if (!sound.HasDevice()) GTEST_SKIP() << "no audio driver";
        sound.Play(cue);
        EXPECT_EQ(sound.started(), 1) << file;
        EXPECT_EQ(sound.beeps(), 0) << file;
    }
    EXPECT_EQ(kazoomba::ui::WinCue(1), SoundCue::WinA);
    EXPECT_EQ(kazoomba::ui::WinCue(3), SoundCue::WinC);
    EXPECT_EQ(kazoomba::ui::NoWinCue(0), SoundCue::NoWin0);
    EXPECT_EQ(kazoomba::ui::NoWinCue(2), SoundCue::NoWin2);
}
