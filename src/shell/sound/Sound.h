// The game's sounds through SDL2_mixer on one channel: a new sound cuts off the one playing.
#pragma once

#include <QByteArray>
#include <QString>
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
    bool HasDevice() const { return device_; }
    bool StopSoundLoaded() const { return !stopSound_.isEmpty(); }

    void PlayStopSound();                 // from memory, asynchronous, silent if missing
    void PlayCoinSound();                 // "KAZO3.WAV", asynchronous
    void PlayNumberedSound(int number);   // 1..3: "KAZOA.WAV".."KAZOC.WAV", waits until finished
    void PlayNoWinSound(int number);      // 0..2: "KAZO0.WAV".."KAZO2.WAV", waits until finished
    // Any file of the sound folder; a missing file beeps when allowDefault is set.
    void PlayFile(const QString& name, bool wait, bool allowDefault);

    // Counts of what was really started on the mixer, for tests.
    int started() const { return started_; }
    int beeps() const { return beeps_; }

private:
    void PlayBytes(const QByteArray& bytes, bool wait, bool allowDefault);

    QString dir_;
    QByteArray stopSound_;
    bool on_ = true;
    bool device_ = false;
    std::function<bool()> minimized_;
    void* chunk_ = nullptr;  // the chunk playing now (Mix_Chunk*)
    int started_ = 0;
    int beeps_ = 0;
};

}  // namespace kazoomba::ui
