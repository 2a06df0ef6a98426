// The game's sound effects: each one's file name and how it is synthesised.
#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace soundgen {

namespace {

// A warm chime: nearly harmonic, with one slightly stretched partial for shimmer.
const std::vector<Partial> kChime = {
    {1.0, 1.0, 1.0}, {2.0, 0.42, 1.7}, {3.0, 0.20, 2.5}, {4.18, 0.10, 3.4}, {5.43, 0.05, 4.2}};

// A small brass disc rings at these inharmonic ratios.
const std::vector<Partial> kCoinRing = {{1.0, 1.0, 1.0}, {2.32, 0.7, 1.3}, {3.94, 0.45, 1.8}, {5.1, 0.2, 2.4}};

Signal Chime(double midi_note, double seconds, double decay_per_second) {
    return Strike(NoteHz(midi_note), seconds, decay_per_second, kChime);
}

Signal Lowpassed(Signal s, double cutoff_hz, double q = 0.707) {
    Biquad f = Biquad::LowPass(cutoff_hz, q);
    for (double& x : s.samples) x = f.Process(x);
    return s;
}

// Short filtered noise burst: the contact of metal on metal or of a pawl on a ratchet.
Signal Tick(std::uint32_t seed, double centre_hz, double seconds) {
    Signal s(seconds);
    Noise noise(seed);
    Biquad band = Biquad::BandPass(centre_hz, 1.4);
    const double n = static_cast<double>(s.samples.size());
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double env = std::pow(1.0 - static_cast<double>(i) / n, 3.0);
        s.samples[i] = env * band.Process(noise.Next());
    }
    return s;
}

// Two quick metallic contacts over a dull knock: a wheel's detent dropping into place.
Signal ReelStop() {
    Signal out(0.068);
    out.Mix(Strike(165.0, 0.06, 85.0, {{1.0, 1.0, 1.0}, {2.1, 0.35, 1.6}}, 0.0015), 0.0, 0.9);
    out.Mix(Tick(0x5eed0004u, 2600.0, 0.006), 0.0, 1.6);
    out.Mix(Strike(1760.0, 0.04, 150.0, {{1.0, 1.0, 1.0}, {2.63, 0.5, 1.3}}, 0.0008), 0.0, 0.45);
    out.Mix(Tick(0x5eed0014u, 3100.0, 0.005), 0.027, 0.8);
    out.Mix(Strike(2090.0, 0.03, 190.0, {{1.0, 1.0, 1.0}, {2.4, 0.4, 1.4}}, 0.0008), 0.027, 0.25);
    out.samples.resize(static_cast<std::size_t>(0.068 * kSampleRate));
    Finish(out, 0.70, 0.0015, 0.006);
    return out;
}

// A coin lands in the tray and bounces to rest, each bounce shorter and duller.
Signal CoinDrop() {
    Signal out(0.58);
    struct Bounce {
        double at, level, pitch, decay;
    };
    const Bounce bounces[] = {{0.000, 1.00, 1.000, 7.5},  {0.118, 0.62, 1.018, 11.0}, {0.196, 0.42, 0.991, 16.0},
                              {0.246, 0.28, 1.009, 24.0}, {0.279, 0.18, 1.003, 34.0}, {0.300, 0.12, 0.996, 48.0}};
    std::uint32_t seed = 0x5eed0003u;
    for (const Bounce& b : bounces) {
        out.Mix(Strike(2140.0 * b.pitch, 0.58 - b.at, b.decay, kCoinRing, 0.0006), b.at, b.level * 0.55);
        out.Mix(Tick(seed++, 5200.0, 0.004), b.at, b.level * 0.9);
    }
    out.samples.resize(static_cast<std::size_t>(0.58 * kSampleRate));
    Finish(out, 0.62, 0.002, 0.04);
    return out;
}

// Losing sound 0: a muted trombone sighing down four semitones, "wah wah wah wahh".
Signal SadTrombone() {
    Signal out(1.06);
    const double notes[] = {58, 57, 56, 55};
    const double starts[] = {0.0, 0.19, 0.38, 0.57};
    const double lengths[] = {0.18, 0.18, 0.18, 0.49};
    for (int k = 0; k < 4; ++k) {
        VoiceShape shape;
        shape.attack = 0.025;
        shape.release = k == 3 ? 0.16 : 0.04;
        shape.rolloff = 0.95;
        shape.sustain_droop = k == 3 ? 0.35 : 0.15;
        shape.vibrato_hz = k == 3 ? 5.2 : 0.0;
        shape.vibrato_depth = k == 3 ? 0.018 : 0.0;
        shape.brightness_top_hz = 6000.0;
        const double hz = NoteHz(notes[k]);
        Signal note = Voice(hz, k == 3 ? hz * 0.97 : hz, lengths[k], shape);
        // The mute opening and closing is a low-pass sweep: dark, bright, dark.
        Biquad f = Biquad::LowPass(400.0, 2.0);
        for (std::size_t i = 0; i < note.samples.size(); ++i) {
            const double along = static_cast<double>(i) / note.samples.size();
            if (i % 32 == 0) {
                const double wah = k == 3
                                       ? std::sin(std::numbers::pi * std::min(1.0, along * 2.2)) * (1.0 - 0.5 * along)
                                       : std::sin(std::numbers::pi * along);
                f.Retune(Biquad::LowPass(380.0 + 1500.0 * wah, 2.2));
            }
            note.samples[i] = f.Process(note.samples[i]);
        }
        out.Mix(note, starts[k]);
    }
    Finish(out, 0.72, 0.004, 0.03);
    return out;
}

// Losing sound 1: three hollow blips sliding down, each lower than the last.
Signal FallingBlips() {
    Signal out(0.78);
    struct Slide {
        double at, from, to, length;
    };
    const Slide slides[] = {{0.0, 76, 69, 0.14}, {0.18, 72, 65, 0.14}, {0.36, 67, 55, 0.40}};
    for (const Slide& s : slides) {
        VoiceShape shape;
        shape.attack = 0.006;
        shape.release = s.length > 0.2 ? 0.14 : 0.05;
        shape.odd_only = true;
        shape.rolloff = 1.35;
        shape.sustain_droop = 0.4;
        shape.brightness_top_hz = 4500.0;
        out.Mix(Lowpassed(Voice(NoteHz(s.from), NoteHz(s.to), s.length, shape), 2800.0), s.at);
    }
    // A hollow tone is dense: a lower peak keeps it as loud to the ear as the others.
    Finish(out, 0.38, 0.004, 0.03);
    return out;
}

// Losing sound 2: a soft two-tone buzzer, a step down and a longer low hum.
Signal SoftBuzzer() {
    Signal out(0.72);
    struct Buzz {
        double at, midi, length;
    };
    const Buzz buzzes[] = {{0.0, 50, 0.19}, {0.25, 44, 0.47}};
    for (const Buzz& b : buzzes) {
        VoiceShape shape;
        shape.attack = 0.012;
        shape.release = b.length > 0.3 ? 0.15 : 0.05;
        shape.rolloff = 0.85;
        shape.sustain_droop = 0.25;
        shape.brightness_top_hz = 5000.0;
        const double hz = NoteHz(b.midi);
        Signal buzz = Voice(hz, hz * 0.985, b.length, shape);
        // A second reed a little sharp makes the buzz beat instead of droning.
        buzz.Mix(Voice(hz * 1.012, hz * 0.995, b.length, shape), 0.0, 0.6);
        out.Mix(Lowpassed(Lowpassed(buzz, 1300.0), 1900.0), b.at);
    }
    Finish(out, 0.70, 0.004, 0.03);
    return out;
}

// Win jingle A: a chime arpeggio up a major chord that rings on as the chord.
Signal ChimeArpeggio() {
    Signal out(1.12);
    const double notes[] = {72, 76, 79, 84, 88};
    for (int k = 0; k < 5; ++k) {
        const double at = 0.085 * k;
        out.Mix(Chime(notes[k], 1.12 - at, k == 4 ? 3.2 : 4.5), at, k == 4 ? 0.9 : 0.7);
    }
    // The chord struck together at the end, softer, an octave down for body.
    for (double n : {60.0, 64.0, 67.0}) out.Mix(Chime(n, 0.72, 3.8), 0.40, 0.35);
    Finish(out, 0.85, 0.003, 0.12);
    return out;
}

// Win jingle B: an organ "ta-da" in G with a glitter of chimes on top.
Signal OrganTaDa() {
    Signal out(1.1);
    VoiceShape pickup;
    pickup.attack = 0.01;
    pickup.release = 0.03;
    pickup.rolloff = 1.25;
    pickup.brightness_top_hz = 6000.0;
    out.Mix(Voice(NoteHz(74), NoteHz(74), 0.10, pickup), 0.0, 0.7);
    VoiceShape chord = pickup;
    chord.attack = 0.015;
    chord.release = 0.25;
    chord.sustain_droop = 0.35;
    chord.vibrato_hz = 5.8;
    chord.vibrato_depth = 0.006;
    for (double n : {55.0, 59.0, 62.0, 67.0, 71.0}) out.Mix(Voice(NoteHz(n), NoteHz(n), 0.92, chord), 0.13, 0.45);
    const double sparkle[] = {86, 91, 95, 98};
    for (int k = 0; k < 4; ++k) out.Mix(Chime(sparkle[k], 0.5, 7.0), 0.16 + 0.06 * k, 0.25);
    Finish(out, 0.85, 0.003, 0.10);
    return out;
}

// Win jingle C: the payout bell, two notes ringing fast in turn, then a held major third.
Signal PayoutBell() {
    Signal out(1.12);
    const int strikes = 12;
    for (int k = 0; k < strikes; ++k) {
        const double at = 0.058 * k;
        const double swell = 0.55 + 0.45 * std::sin(std::numbers::pi * (k + 1) / (strikes + 1));
        out.Mix(Chime(k % 2 == 0 ? 81 : 85, 1.12 - at, 9.0), at, 0.55 * swell);
    }
    out.Mix(Chime(81, 0.42, 4.0), 0.70, 0.7);
    out.Mix(Chime(85, 0.42, 4.0), 0.70, 0.6);
    out.Mix(Chime(69, 0.42, 3.5), 0.70, 0.45);
    Finish(out, 0.85, 0.003, 0.10);
    return out;
}

// A brass voice: bright, with a breath of vibrato.
Signal Brass(double midi_note, double seconds, double release = 0.05) {
    VoiceShape shape;
    shape.attack = 0.028;
    shape.release = release;
    shape.rolloff = 0.9;
    shape.sustain_droop = 0.12;
    shape.vibrato_hz = 5.6;
    shape.vibrato_depth = 0.005;
    shape.brightness_top_hz = 5500.0;
    const double hz = NoteHz(midi_note);
    return Lowpassed(Voice(hz, hz, seconds, shape), 3200.0);
}

// The 5X box: a brass fanfare, "ta-ta-ta-taaa, ta-TAAA", over a timpani roll.
Signal Fanfare() {
    Signal out(1.62);
    struct Note {
        double at, length;
        std::vector<double> midi;
    };
    const Note notes[] = {{0.00, 0.10, {67, 64}},     {0.12, 0.10, {67, 64}}, {0.24, 0.10, {67, 64}},
                          {0.36, 0.28, {72, 67, 64}}, {0.68, 0.11, {67, 64}}, {0.82, 0.80, {72, 76, 79, 84, 60}}};
    for (const Note& n : notes) {
        for (double m : n.midi) out.Mix(Brass(m, n.length, n.length > 0.5 ? 0.3 : 0.04), n.at, 0.32);
    }
    // Timpani: a low struck tone with a thud of noise, on the long notes.
    for (double at : {0.36, 0.82}) {
        out.Mix(Strike(NoteHz(36), 0.75, 4.5, {{1.0, 1.0, 1.0}, {1.5, 0.4, 1.4}, {1.99, 0.25, 1.8}}, 0.004), at, 0.9);
        out.Mix(Lowpassed(Tick(0x5eed0005u + static_cast<std::uint32_t>(at * 100), 300.0, 0.05), 900.0), at, 1.2);
    }
    Finish(out, 0.86, 0.003, 0.15);
    return out;
}

// A losing box: the handle clicks, water rushes in, swirls and gurgles away.
Signal Flush() {
    const double length = 1.72;
    Signal out(length);
    out.Mix(Tick(0x5eed0006u, 1900.0, 0.008), 0.0, 0.8);
    out.Mix(Strike(240.0, 0.08, 60.0, {{1.0, 1.0, 1.0}, {2.3, 0.3, 1.5}}, 0.001), 0.0, 0.5);

    Noise rush_noise(0x5eed0016u);
    Noise swirl_noise(0x5eed0026u);
    Biquad rush = Biquad::LowPass(600.0, 0.8);
    Biquad swirl = Biquad::BandPass(400.0, 6.0);
    double wander = 0.0;
    for (std::size_t i = 0; i < out.samples.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (i % 32 == 0) {
            // Roar builds fast, holds, then drains away as the bowl empties.
            const double open = std::clamp((t - 0.06) / 0.3, 0.0, 1.0) * std::clamp((length - t) / 0.9, 0.0, 1.0);
            rush.Retune(Biquad::LowPass(500.0 + 2300.0 * open, 0.8));
            wander = 0.995 * wander + 0.02 * swirl_noise.Next();
            const double centre = 380.0 + 160.0 * std::sin(kTwoPi * 2.7 * t) + 900.0 * wander;
            swirl.Retune(Biquad::BandPass(std::clamp(centre, 180.0, 1200.0), 5.0));
        }
        const double rush_env =
            std::clamp((t - 0.05) / 0.25, 0.0, 1.0) * std::pow(std::clamp((length - t) / 1.0, 0.0, 1.0), 1.5);
        const double swirl_env = std::clamp((t - 0.35) / 0.4, 0.0, 1.0) * std::clamp((length - t) / 0.5, 0.0, 1.0);
        out.samples[i] += 0.55 * rush_env * rush.Process(rush_noise.Next());
        out.samples[i] += 2.6 * swirl_env * swirl.Process(swirl_noise.Next());
    }

    // Bubbles: short rising chirps, more of them as the water goes down.
    Noise placement(0x5eed0036u);
    for (int k = 0; k < 16; ++k) {
        const double at = 0.55 + 1.0 * (k + 0.5 * (placement.Next() + 1.0)) / 16.0;
        const double base = 420.0 + 260.0 * (placement.Next() + 1.0);
        const double dur = 0.018 + 0.012 * (placement.Next() + 1.0);
        Signal bubble(dur);
        double phase = 0.0;
        for (std::size_t i = 0; i < bubble.samples.size(); ++i) {
            const double along = static_cast<double>(i) / bubble.samples.size();
            phase += base * (1.0 + 0.9 * along) / kSampleRate;
            bubble.samples[i] = std::sin(kTwoPi * phase) * std::sin(std::numbers::pi * along);
        }
        out.Mix(bubble, at, 0.22 * (0.6 + 0.4 * std::sin(std::numbers::pi * k / 16.0)));
    }
    out.samples.resize(static_cast<std::size_t>(length * kSampleRate));
    Finish(out, 0.72, 0.003, 0.08);
    return out;
}

}  // namespace

std::vector<SoundFile> MakeGameSounds() {
    std::vector<SoundFile> sounds;
    sounds.push_back({"KAZO0.WAV", SadTrombone()});
    sounds.push_back({"KAZO1.WAV", FallingBlips()});
    sounds.push_back({"KAZO2.WAV", SoftBuzzer()});
    sounds.push_back({"KAZO3.WAV", CoinDrop()});
    sounds.push_back({"KAZO4.WAV", ReelStop()});
    sounds.push_back({"KAZOA.WAV", ChimeArpeggio()});
    sounds.push_back({"KAZOB.WAV", OrganTaDa()});
    sounds.push_back({"KAZOC.WAV", PayoutBell()});
    sounds.push_back({"kazo5.wav", Fanfare()});
    sounds.push_back({"kazo6.wav", Flush()});
    return sounds;
}

bool WriteSounds(const std::vector<SoundFile>& sounds, const std::string& directory, std::string& error) {
    for (const SoundFile& sound : sounds) {
        const std::string path = directory + "/" + sound.name;
        const std::vector<std::uint8_t> bytes = EncodeWave(sound.signal);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

}  // namespace soundgen
