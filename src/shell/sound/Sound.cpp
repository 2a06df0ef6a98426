// Sounds on SDL2's audio queue: one device, one queue, so queuing a sound after clearing the queue is a
// channel on which a new sound cuts off the old one.
#include "sound/Sound.h"

#include <QApplication>
#include <QFile>
#include <algorithm>
#include <cstring>

#include <SDL.h>

namespace kazoomba::ui {
namespace {

// The format every sound is converted to once, when it is decoded, so the device never converts.
constexpr int kRate = 22050;
constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
constexpr Uint8 kChannels = 1;

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}
struct CueFile {
    const char* name;  // in the sound folder
    bool wait;
};
// In the order of SoundCue; the reel stop plays from the bytes read at start.
constexpr CueFile kCueFiles[] = {
    {"KAZO4.WAV", false}, {"KAZO3.WAV", false}, {"KAZOA.WAV", true}, {"KAZOB.WAV", true},
    {"KAZOC.WAV", true},  {"KAZO0.WAV", true},  {"KAZO1.WAV", true}, {"KAZO2.WAV", true},
    {"kazo5.wav", false}, {"kazo6.wav", true},
};
}  // namespace

Sound::Sound(const QString& soundDirectory) : dir_(soundDirectory) {
    stopSound_ = ReadAll(dir_ + QLatin1Char('/') + QLatin1String(kCueFiles[static_cast<int>(SoundCue::ReelStop)].name));
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = kFormat;
    want.channels = kChannels;
    want.samples = 512;  // about 23 ms: a cut-off sound stops at once, a reel click starts on time
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to the device itself, and the game keeps one format.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    deviceRate_ = have.freq;
    bufferSamples_ = have.samples;
    SDL_PauseAudioDevice(device_, 0);
    // The reel stop plays nine times a spin: decoded here once, it costs nothing when a wheel stops.
    stopSamples_ = Decode(stopSound_);
}

Sound::~Sound() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void Sound::SetSound(int index) { on_ = index == 0; }

bool Sound::Playable() const { return on_ && !(minimized_ && minimized_()); }

QByteArray Sound::Decode(const QByteArray& wave) {
    if (wave.isEmpty()) return {};
    SDL_RWops* rw = SDL_RWFromConstMem(wave.constData(), static_cast<int>(wave.size()));
    if (!rw) return {};
    SDL_AudioSpec loaded{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &loaded, &buffer, &length)) return {};
    ++decoded_;
    SDL_AudioCVT cvt;
    const int needed = SDL_BuildAudioCVT(&cvt, loaded.format, loaded.channels, loaded.freq, kFormat, kChannels, kRate);
    QByteArray samples;
    if (needed == 0) {
        samples = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(length));
    } else if (needed > 0) {
        samples.resize(static_cast<qsizetype>(length) * cvt.len_mult);
        std::memcpy(samples.data(), buffer, length);
        cvt.buf = reinterpret_cast<Uint8*>(samples.data());
        cvt.len = static_cast<int>(length);
        if (SDL_ConvertAudio(&cvt) == 0)
            samples.resize(cvt.len_cvt);
        else
            samples.clear();
    }
    SDL_FreeWAV(buffer);
    return samples;
}

void Sound::Beep(bool allowDefault) {
    if (!allowDefault) return;
    ++beeps_;
    QApplication::beep();
}

int Sound::PlaySamples(const QByteArray& samples, bool wait) {
    SDL_ClearQueuedAudio(device_);  // one channel: the new sound cuts off the old one
    if (SDL_QueueAudio(device_, samples.constData(), static_cast<Uint32>(samples.size())) != 0) return 0;
    ++started_;
    if (!wait || deviceRate_ <= 0) return 0;
    // A synchronous sound pauses the game until it has been heard: its samples, then the one buffer the
    // device still holds when the queue runs dry.
    const qint64 frames = samples.size() / static_cast<qint64>(sizeof(Sint16) * kChannels);
    return static_cast<int>((1000 * frames + kRate - 1) / kRate + (1000 * bufferSamples_ + deviceRate_ - 1) / deviceRate_);
}

int Sound::PlayBytes(const QByteArray& bytes, bool wait, bool allowDefault) {
    if (bytes.isEmpty()) {
        Beep(allowDefault);
        return 0;
    }
    if (device_ == 0) return 0;
    const QByteArray samples = Decode(bytes);
    if (samples.isEmpty()) {
        Beep(allowDefault);
        return 0;
    }
    return PlaySamples(samples, wait);
}

SoundCue WinCue(int number) {
    return static_cast<SoundCue>(static_cast<int>(SoundCue::WinA) + std::clamp(number, 1, 3) - 1);
}

SoundCue NoWinCue(int number) {
    return static_cast<SoundCue>(static_cast<int>(SoundCue::NoWin0) + std::clamp(number, 0, 2));
}

int Sound::Play(SoundCue cue) {
    if (!Playable()) return 0;
    if (cue == SoundCue::ReelStop) {
        // Decoded once at start; silent when the file was missing.
        if (device_ != 0 && !stopSamples_.isEmpty()) PlaySamples(stopSamples_, false);
        return 0;
    }
    const CueFile& file = kCueFiles[static_cast<int>(cue)];
    return PlayFile(QString::fromLatin1(file.name), file.wait, true);
}

int Sound::PlayFile(const QString& name, bool wait, bool allowDefault) {
    return PlayBytes(ReadAll(dir_ + QLatin1Char('/') + name), wait, allowDefault);
}

}  // namespace kazoomba::ui
