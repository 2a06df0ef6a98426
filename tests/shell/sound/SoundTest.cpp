// Sounds really reach the mixer's output, stay silent when switched off or minimized, and beep when missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

#include "support/QtApp.h"
#include "sound/Sound.h"

using kazoomba::ui::Sound;
using kazoomba::ui::SoundCue;

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

// How long a wave file plays, read from its own header: its data bytes over its bytes a second.
int WaveMilliseconds(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray w = f.readAll();
    auto u32 = [&w](qsizetype at) {
        return quint32(quint8(w[at])) | quint32(quint8(w[at + 1])) << 8 | quint32(quint8(w[at + 2])) << 16 |
               quint32(quint8(w[at + 3])) << 24;
    };
    quint32 bytesPerSecond = 0, data = 0;
    for (qsizetype at = 12; at + 8 <= w.size();) {
        const QByteArray id = w.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt ") bytesPerSecond = u32(at + 8 + 8);
        if (id == "data") data = size;
        at += 8 + size + (size & 1);
    }
    return bytesPerSecond ? static_cast<int>(1000.0 * data / bytesPerSecond) : -1;
}

// A synchronous sound never holds the thread: it says how long what follows must pause, which is the
// sound's own length (and the device's last buffer); the other sounds, and a sound switched off, pause
// nothing.
TEST(Sound, ASynchronousSoundIsAPauseOfItsOwnLength) {
    kazoomba::testing::App();
    Sound sound(kSounds);
    if (!sound.HasDevice()) GTEST_SKIP() << "no audio driver";
    for (const auto& [cue, file] : {std::pair{SoundCue::WinA, "KAZOA.WAV"}, std::pair{SoundCue::NoWin1, "KAZO1.WAV"},
                                    std::pair{SoundCue::Flush, "kazo6.wav"}}) {
        const int length = WaveMilliseconds(kSounds + QLatin1Char('/') + QLatin1String(file));
        ASSERT_GT(length, 200) << file;
        const int pause = sound.Play(cue);
        EXPECT_GE(pause, length) << file;
        EXPECT_LE(pause, length + 100) << file;
    }
    EXPECT_EQ(sound.Play(SoundCue::Coin), 0);
    EXPECT_EQ(sound.Play(SoundCue::ReelStop), 0);
    sound.SetSound(1);
    EXPECT_EQ(sound.Play(SoundCue::WinA), 0) << "a sound switched off is no pause";
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

TEST(Sound, ANewSoundCutsOffTheOnePlaying) {
    kazoomba::testing::App();
    const int jingle = SamplesIn(kSounds + QStringLiteral("/kazo5.wav"));
    const int click = SamplesIn(kSounds + QStringLiteral("/KAZO4.WAV"));
    ASSERT_GT(jingle, 4 * click);
    // The long sound is started and at once replaced by the click: far less of it is heard.
    const QByteArray pcm = MixedSamples(
        [](Sound& s) {
            s.Play(SoundCue::FiveX);  // a long sound that does not wait
            s.Play(SoundCue::ReelStop);
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
    for (int wheel = 0; wheel < 9; ++wheel) sound.Play(SoundCue::ReelStop);
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
    sound.Play(SoundCue::ReelStop);
    EXPECT_EQ(sound.beeps(), 0);
    sound.Play(SoundCue::Coin);
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
        sound.Play(SoundCue::ReelStop);
        sound.Play(SoundCue::Coin);
        sound.Play(SoundCue::WinA);
        EXPECT_EQ(sound.started(), 0);
        EXPECT_EQ(sound.beeps(), 0);
    }
    qputenv("SDL_AUDIODRIVER", driver);
}
