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
    WinA, WinB, WinC,        // the win sounds, numbered 1 to 3; each a pause in the spin
    NoWin0, NoWin1, NoWin2,  // the no-win sounds, numbered 0 to 2; each a pause in the spin
    FiveX,                   // the board's 5X
    Flush,                   // a losing box on the board; a pause on the board
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

    // Plays a cue when the play condition holds; a missing file beeps, except the reel stop's. Never
    // waits: for a synchronous cue it returns how long, in milliseconds, what follows must pause until
    // the sound has been heard to its end (0 when nothing plays, or for the others).
    int Play(SoundCue cue);

    // Counts of what was really started on the device and of the wave images decoded, for tests.
    int started() const { return started_; }
    int beeps() const { return beeps_; }
    int decoded() const { return decoded_; }

private:
    int PlayFile(const QString& name, bool wait, bool allowDefault);
    // A wave image turned into samples in the device's format; empty when it is no playable wave.
    QByteArray Decode(const QByteArray& wave);
    int PlayBytes(const QByteArray& bytes, bool wait, bool allowDefault);
    int PlaySamples(const QByteArray& samples, bool wait);
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
