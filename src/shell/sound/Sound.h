// The game's sounds through SDL2's own audio on one channel: a new sound cuts off the one playing.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace kazoomba::ui {

// One member for each thing the machine sounds.
enum class SoundCue {
    ReelStop,                // a wheel comes to rest: from memory, asynchronous, never the default beep
    Coin,                    // a bet is accepted
    WinA, WinB, WinC,        // the win sounds, numbered 1 to 3; each waits until it has finished
    NoWin0, NoWin1, NoWin2,  // the no-win sounds, numbered 0 to 2; each waits until it has finished
    FiveX,                   // the board's 5X
    Flush,                   // a losing box on the board; waits until it has finished
};

// The win sound numbered 1 to 3 and the no-win sound numbered 0 to 2, as the rules draw them.
SoundCue WinCue(int number);
SoundCue NoWinCue(int number);

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

    // Plays a cue when the play condition holds; a missing file beeps, except the reel stop's.
    void Play(SoundCue cue);

    // Counts of what was really started on the device and of the wave images decoded, for tests.
    int started() const { return started_; }
    int beeps() const { return beeps_; }
    int decoded() const { return decoded_; }

private:
    void PlayFile(const QString& name, bool wait, bool allowDefault);
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
