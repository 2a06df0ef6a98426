// Small additive and subtractive synthesis kit the game's sounds are built from.
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace soundgen {

namespace {
// Partials above this are left out: they would alias back as harsh whistles.
constexpr double kHighestPartialHz = 0.45 * kSampleRate;

std::size_t SampleCount(double seconds) {
    return static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * kSampleRate));
}

void PutLE(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu));
}
}  // namespace

Signal::Signal(double seconds) : samples(SampleCount(seconds), 0.0) {}

void Signal::Mix(const Signal& other, double at, double gain) {
    const std::size_t offset = SampleCount(at);
    if (samples.size() < offset + other.samples.size()) samples.resize(offset + other.samples.size(), 0.0);
    for (std::size_t i = 0; i < other.samples.size(); ++i) samples[offset + i] += gain * other.samples[i];
}

void Signal::Scale(double gain) {
    for (double& s : samples) s *= gain;
}

double Signal::Peak() const {
    double peak = 0.0;
    for (double s : samples) peak = std::max(peak, std::abs(s));
    return peak;
}

double Noise::Next() {
    // xorshift32: tiny, fast, and identical everywhere.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

Signal Strike(double frequency, double seconds, double decay_per_second, const std::vector<Partial>& partials,
              double attack_seconds) {
    Signal out(seconds);
    const std::size_t attack = std::max<std::size_t>(1, SampleCount(attack_seconds));
    for (const Partial& p : partials) {
        const double hz = frequency * p.ratio;
        if (hz >= kHighestPartialHz) continue;
        const double step = kTwoPi * hz / kSampleRate;
        const double decay = std::exp(-decay_per_second * p.decay_factor / kSampleRate);
        double level = p.level;
        for (std::size_t i = 0; i < out.samples.size(); ++i) {
            const double rise = i < attack ? static_cast<double>(i) / attack : 1.0;
            out.samples[i] += rise * level * std::sin(step * static_cast<double>(i));
            level *= decay;
        }
    }
    return out;
}

Signal Voice(double start_hz, double end_hz, double seconds, const VoiceShape& shape) {
    Signal out(seconds);
    const std::size_t n = out.samples.size();
    if (n == 0) return out;
    const std::size_t attack = std::max<std::size_t>(1, SampleCount(shape.attack));
    const std::size_t release = std::max<std::size_t>(1, SampleCount(shape.release));
    const double top = std::min(shape.brightness_top_hz, kHighestPartialHz);
    const double ratio = end_hz / start_hz;
    double phase = 0.0;  // phase of the fundamental, in cycles
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double along = static_cast<double>(i) / static_cast<double>(n);
        double hz = start_hz * std::pow(ratio, along);
        // Vibrato creeps in after the first tenth of a second, as a player's would.
        const double vib_weight = std::clamp((t - 0.1) / 0.15, 0.0, 1.0);
        hz *= 1.0 + vib_weight * shape.vibrato_depth * std::sin(kTwoPi * shape.vibrato_hz * t);
        phase += hz / kSampleRate;
        phase -= std::floor(phase);

        double env = 1.0 - shape.sustain_droop * along;
        if (i < attack) env *= static_cast<double>(i) / attack;
        if (i + release > n) env *= static_cast<double>(n - i) / release;

        double value = 0.0;
        double norm = 0.0;
        for (int h = 1; h * hz < top; h += shape.odd_only ? 2 : 1) {
            const double level = 1.0 / std::pow(h, shape.rolloff);
            value += level * std::sin(kTwoPi * phase * h);
            norm += level;
        }
        out.samples[i] = norm > 0.0 ? env * value / std::sqrt(norm) : 0.0;
    }
    return out;
}

Biquad Biquad::LowPass(double cutoff_hz, double q) {
    Biquad f;
    const double w = kTwoPi * cutoff_hz / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    f.b0_ = (1.0 - c) / 2.0 / a0;
    f.b1_ = (1.0 - c) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2.0 * c / a0;
    f.a2_ = (1.0 - alpha) / a0;
    return f;
}

Biquad Biquad::HighPass(double cutoff_hz, double q) {
    Biquad f;
    const double w = kTwoPi * cutoff_hz / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    f.b0_ = (1.0 + c) / 2.0 / a0;
    f.b1_ = -(1.0 + c) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2.0 * c / a0;
    f.a2_ = (1.0 - alpha) / a0;
    return f;
}

Biquad Biquad::BandPass(double centre_hz, double q) {
    Biquad f;
    const double w = kTwoPi * centre_hz / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    f.b0_ = alpha / a0;
    f.b1_ = 0.0;
    f.b2_ = -alpha / a0;
    f.a1_ = -2.0 * c / a0;
    f.a2_ = (1.0 - alpha) / a0;
    return f;
}

double Biquad::Process(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

void Biquad::Retune(const Biquad& other) {
    b0_ = other.b0_;
    b1_ = other.b1_;
    b2_ = other.b2_;
    a1_ = other.a1_;
    a2_ = other.a2_;
}

double NoteHz(double midi_note) { return 440.0 * std::pow(2.0, (midi_note - 69.0) / 12.0); }

void Finish(Signal& signal, double peak, double fade_in_seconds, double fade_out_seconds) {
    const double current = signal.Peak();
    if (current > 0.0) signal.Scale(peak / current);
    const std::size_t n = signal.samples.size();
    const std::size_t in = std::min(n, std::max<std::size_t>(1, SampleCount(fade_in_seconds)));
    const std::size_t out = std::min(n, std::max<std::size_t>(1, SampleCount(fade_out_seconds)));
    for (std::size_t i = 0; i < in; ++i) signal.samples[i] *= static_cast<double>(i) / in;
    for (std::size_t i = 0; i < out; ++i) signal.samples[n - 1 - i] *= static_cast<double>(i) / out;
}

std::vector<std::uint8_t> EncodeWave(const Signal& signal) {
    const auto data_bytes = static_cast<std::uint32_t>(signal.samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + data_bytes);
    auto tag = [&out](const char* four) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(four[i]));
    };
    tag("RIFF");
    PutLE(out, 36 + data_bytes, 4);
    tag("WAVE");
    tag("fmt ");
    PutLE(out, 16, 4);  // format chunk size
    PutLE(out, 1, 2);   // PCM
    PutLE(out, 1, 2);   // mono
    PutLE(out, kSampleRate, 4);
    PutLE(out, kSampleRate * 2, 4);  // bytes per second
    PutLE(out, 2, 2);                // block align
    PutLE(out, 16, 2);               // bits per sample
    tag("data");
    PutLE(out, data_bytes, 4);
    for (double s : signal.samples) {
        const double clamped = std::clamp(s, -1.0, 1.0);
        const auto value = static_cast<std::int16_t>(std::lround(clamped * 32767.0));
        PutLE(out, static_cast<std::uint16_t>(value), 2);
    }
    return out;
}

}  // namespace soundgen
