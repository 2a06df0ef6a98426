// Small additive and subtractive synthesis kit the game's sounds are built from.
#pragma once

#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace soundgen {

inline constexpr int kSampleRate = 22050;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A mono signal in floating point, full scale at +-1.
struct Signal {
    std::vector<double> samples;

    explicit Signal(double seconds = 0.0);
    double Seconds() const { return static_cast<double>(samples.size()) / kSampleRate; }
    // Mixes `other` in starting at `at` seconds, growing this signal when needed.
    void Mix(const Signal& other, double at, double gain = 1.0);
    void Scale(double gain);
    double Peak() const;
};

// Noise from a fixed-seed generator of our own, so every build makes the same bytes
// (the standard distributions are not specified bit for bit).
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1u) {}
    double Next();  // uniform in [-1, 1)

private:
    std::uint32_t state_;
};

// One partial of an additive voice: frequency ratio to the fundamental, level, and
// how many times faster than the fundamental it dies away.
struct Partial {
    double ratio;
    double level;
    double decay_factor;
};

// Struck voice (bell, chime, coin): every partial starts at once and decays exponentially.
Signal Strike(double frequency, double seconds, double decay_per_second, const std::vector<Partial>& partials,
              double attack_seconds = 0.002);

// Sustained harmonic voice with attack, sustain and release, a slow vibrato, and
// harmonics falling off by 1/n^rolloff; odd_only gives a hollow, square-like tone.
struct VoiceShape {
    double attack = 0.02;
    double release = 0.06;
    double sustain_droop = 0.0;  // fraction lost over the note's length
    double rolloff = 1.0;
    bool odd_only = false;
    double vibrato_hz = 0.0;
    double vibrato_depth = 0.0;  // fraction of the frequency
    double brightness_top_hz = 8000.0;
};
Signal Voice(double start_hz, double end_hz, double seconds, const VoiceShape& shape);

// Second-order filters after the usual cookbook formulas.
class Biquad {
public:
    static Biquad LowPass(double cutoff_hz, double q);
    static Biquad BandPass(double centre_hz, double q);
    static Biquad HighPass(double cutoff_hz, double q);
    double Process(double x);
    // Takes another filter's coefficients but keeps this one's memory, so a sweep stays smooth.
    void Retune(const Biquad& other);

private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Equal-tempered frequency of a MIDI note number (69 = A 440 Hz).
double NoteHz(double midi_note);

// Scales to the given peak, then fades in and out linearly so the ends are exactly zero.
void Finish(Signal& signal, double peak, double fade_in_seconds, double fade_out_seconds);

// 16-bit PCM mono RIFF WAVE bytes of the signal at kSampleRate.
std::vector<std::uint8_t> EncodeWave(const Signal& signal);

}  // namespace soundgen
