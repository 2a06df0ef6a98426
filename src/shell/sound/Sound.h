// The game's sounds through SDL2's own audio on one channel: a new sound cuts off the one playing.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace kazoomba::ui {

class Sound {
public:
    // Opens the audio device; without one the game runs silent.
    explicit Sound(const QString& soundDirectory);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // The "Sound" menu: 0 = On, anything else = Off.
    void SetSound(int index);
    bool SoundOn() const { return on_; }
    // How to ask whether the main window is minimized (no sound plays then).
    void SetMinimizedQuery(std::function<bool()> query) { minimized_ = std::move(query); }
    // The play condition of every sound: window not minimized and Sound "On".
    bool Playable() const;
    bool HasDevice() const { return device_ != 0; }
    bool StopSoundLoaded() const { return !stopSound_.isEmpty(); }

    void PlayStopSound();                 // from memory, asynchronous, silent if missing
    void PlayCoinSound();                 // "KAZO3.WAV", asynchronous
    void PlayNumberedSound(int number);   // 1..3: "KAZOA.WAV".."KAZOC.WAV", waits until finished
    void PlayNoWinSound(int number);      // 0..2: "KAZO0.WAV".."KAZO2.WAV", waits until finished
    // Any file of the sound folder; a missing file beeps when allowDefault is set.
    void PlayFile(const QString& name, bool wait, bool allowDefault);

    // Counts of what was really started on the device and of the wave images decoded, for tests.
    int started() const { return started_; }
    int beeps() const { return beeps_; }
    int decoded() const { return decoded_; }

private:
    // A wave image turned into samples in the device's format; empty when it is no playable wave.
    QByteArray Decode(const QByteArray& wave);
    void PlayBytes(const QByteArray& bytes, bool wait, bool allowDefault);
    void PlaySamples(const QByteArray& samples, bool wait);
    void Beep(bool allowDefault);

    QString dir_;
    QByteArray stopSound_;    // the file's bytes, as read at start
    QByteArray stopSamples_;  // the same, decoded once for the device
    bool on_ = true;
    std::uint32_t device_ = 0;  // SDL_AudioDeviceID; 0 when there is none
    int deviceRate_ = 0;
    int bufferSamples_ = 0;
    std::function<bool()> minimized_;
    int started_ = 0;
    int beeps_ = 0;
    int decoded_ = 0;
};

}  // namespace kazoomba::ui
