// Checks the game's WAV files: format, length, level, quiet ends, and that the generator still makes them byte for byte.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Sounds.h"

namespace {

const QString kSoundDir = QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds/");

struct Wave {
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t bits = 0;
    std::vector<std::int16_t> samples;
    double Seconds() const { return static_cast<double>(samples.size()) / rate; }
};

std::uint32_t Le(const QByteArray& b, int at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

// Reads any chunk layout, not just the one our generator writes, so a hand-edited file is judged fairly.
bool ReadWave(const QString& path, Wave& wave, std::string& why) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return why = "cannot open", false;
    const QByteArray b = file.readAll();
    if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE") return why = "not RIFF WAVE", false;
    if (Le(b, 4, 4) + 8 != static_cast<std::uint32_t>(b.size()))
        return why = "RIFF size does not match the file", false;
    bool have_format = false;
    for (int at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const std::uint32_t size = Le(b, at + 4, 4);
        if (at + 8 + static_cast<qint64>(size) > b.size()) return why = "chunk runs past the end", false;
        if (id == "fmt ") {
            wave.format = static_cast<std::uint16_t>(Le(b, at + 8, 2));
            wave.channels = static_cast<std::uint16_t>(Le(b, at + 10, 2));
            wave.rate = Le(b, at + 12, 4);
            wave.bits = static_cast<std::uint16_t>(Le(b, at + 22, 2));
            have_format = true;
        } else if (id == "data") {
            for (std::uint32_t i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(static_cast<std::int16_t>(Le(b, at + 8 + static_cast<int>(i), 2)));
        }
        at += 8 + static_cast<int>(size) + static_cast<int>(size & 1u);
    }
    if (!have_format) return why = "no fmt chunk", false;
    return true;
}

struct Expected {
    const char* name;
    double max_seconds;
};

// Win and no-win sounds hold the game while they play, so they stay short; the click under 80 ms.
const Expected kSounds[] = {
    {"KAZO0.WAV", 1.2}, {"KAZO1.WAV", 1.2}, {"KAZO2.WAV", 1.2}, {"KAZO3.WAV", 1.0}, {"KAZO4.WAV", 0.08},
    {"KAZOA.WAV", 1.2}, {"KAZOB.WAV", 1.2}, {"KAZOC.WAV", 1.2}, {"kazo5.wav", 2.0}, {"kazo6.wav", 2.0},
};

TEST(SoundFiles, EveryFileIsSixteenBitMonoPcmAt22050) {
    for (const Expected& e : kSounds) {
        SCOPED_TRACE(e.name);
        Wave wave;
        std::string why;
        ASSERT_TRUE(ReadWave(kSoundDir + e.name, wave, why)) << why;
        EXPECT_EQ(wave.format, 1);
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.rate, 22050u);
        EXPECT_EQ(wave.bits, 16);
    }
}

TEST(SoundFiles, LengthLevelAndFades) {
    for (const Expected& e : kSounds) {
        SCOPED_TRACE(e.name);
        Wave wave;
        std::string why;
        ASSERT_TRUE(ReadWave(kSoundDir + e.name, wave, why)) << why;
        ASSERT_FALSE(wave.samples.empty());
        EXPECT_LE(wave.Seconds(), e.max_seconds);
        EXPECT_GE(wave.Seconds(), 0.03);
        int peak = 0;
        double energy = 0.0;
        for (std::int16_t s : wave.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
            energy += static_cast<double>(s) * s;
        }
        EXPECT_LT(peak, 32767) << "clipped";
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_GT(energy / wave.samples.size(), 1000.0 * 1000.0) << "mostly silence";
        // A fade at each end, so starting or cutting a sound does not pop.
        EXPECT_LE(std::abs(wave.samples.front()), 64);
        EXPECT_LE(std::abs(wave.samples.back()), 64);
        EXPECT_LE(std::abs(wave.samples[1]), 4000);
        EXPECT_LE(std::abs(wave.samples[wave.samples.size() - 2]), 4000);
    }
}

TEST(SoundFiles, TheThreeWinsAndTheThreeNoWinsAreDifferentSounds) {
    for (const auto& group : {std::vector<const char*>{"KAZO0.WAV", "KAZO1.WAV", "KAZO2.WAV"},
                              std::vector<const char*>{"KAZOA.WAV", "KAZOB.WAV", "KAZOC.WAV"}}) {
        std::vector<QByteArray> contents;
        for (const char* name : group) {
            QFile file(kSoundDir + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
            contents.push_back(file.readAll());
        }
        EXPECT_NE(contents[0], contents[1]);
        EXPECT_NE(contents[1], contents[2]);
        EXPECT_NE(contents[0], contents[2]);
    }
}

TEST(SoundGenerator, RegeneratesTheCommittedFilesByteForByte) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::vector<soundgen::SoundFile> sounds = soundgen::MakeGameSounds();
    std::string error;
    ASSERT_TRUE(soundgen::WriteSounds(sounds, dir.path().toStdString(), error)) << error;

    QStringList generated;
    for (const soundgen::SoundFile& sound : sounds) generated << QString::fromStdString(sound.name);
    QStringList committed = QDir(kSoundDir).entryList({"*.WAV", "*.wav"}, QDir::Files);
    generated.sort();
    committed.sort();
    EXPECT_EQ(generated, committed);

    for (const QString& name : generated) {
        SCOPED_TRACE(name.toStdString());
        QFile fresh(dir.filePath(name));
        QFile stored(kSoundDir + name);
        ASSERT_TRUE(fresh.open(QIODevice::ReadOnly));
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        EXPECT_TRUE(fresh.readAll() == stored.readAll())
            << "run kazoomba-soundgen resources/sounds and commit the result";
    }
}

}  // namespace
