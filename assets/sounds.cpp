// The four sound cues and the intro's sound track, synthesised as RIFF WAVE
// files: 16-bit mono PCM. Every note fades in and out, so each file starts
// and ends at silence and nothing clicks.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "assets.h"

namespace assets {
namespace {

constexpr uint32_t kSampleRate = 22050;
constexpr double kTau = 6.283185307179586;
constexpr double kNyquistGuard = 0.45 * kSampleRate;  // harmonics above this would alias
constexpr uint32_t kWaveHeaderBytes = 44;

using Samples = std::vector<float>;

// The colour of a voice: harmonic levels, its envelope and a slow vibrato.
struct Timbre {
    std::array<double, 8> harmonics;
    double attack;            // s
    double release;           // s
    double decay;             // 1/s, exponential fall over the note; 0 holds
    double vibratoDepth = 0;  // fraction of the pitch
    double vibratoRate = 0;   // Hz
};

// One note or glide: from `from` Hz to `to` Hz over the duration.
struct Tone {
    double start;     // s
    double duration;  // s
    double from;
    double to;
    double level;
};

double NoteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

uint32_t SampleIndex(double seconds) {
    return static_cast<uint32_t>(seconds * kSampleRate);
}

// Raised-cosine fade in and out, so a note starts and ends at zero slope.
double Envelope(double t, double duration, const Timbre &timbre) {
    double level = std::exp(-timbre.decay * t);
    if (t < timbre.attack) level *= 0.5 - 0.5 * std::cos(kTau * 0.5 * t / timbre.attack);
    const double left = duration - t;
    if (left < timbre.release) level *= 0.5 - 0.5 * std::cos(kTau * 0.5 * left / timbre.release);
    return std::max(level, 0.0);
}

void GrowTo(Samples &out, uint32_t count) {
    if (out.size() < count) out.resize(count, 0.0f);
}

// The harmonics of one sample at `phase`; sin(n x) comes from the two below
// it, so a sample costs one sine and one cosine.
double Harmonics(const Timbre &timbre, double phase, double frequency) {
    const double twiceCos = 2 * std::cos(phase);
    double below = 0, current = std::sin(phase), sum = 0;
    for (size_t h = 0; h < timbre.harmonics.size(); ++h) {
        if (frequency * static_cast<double>(h + 1) >= kNyquistGuard) break;
        sum += timbre.harmonics[h] * current;
        const double next = twiceCos * current - below;
        below = current;
        current = next;
    }
    return sum;
}

void AddTone(Samples &out, const Tone &tone, const Timbre &timbre) {
    const uint32_t first = SampleIndex(tone.start);
    const uint32_t count = SampleIndex(tone.duration);
    GrowTo(out, first + count + 1);
    // The glide is exponential, so the pitch moves evenly in musical steps.
    const double glide = count > 0 ? std::pow(tone.to / tone.from, 1.0 / count) : 1.0;
    double phase = 0, glided = tone.from;
    for (uint32_t i = 0; i <= count; ++i, glided *= glide) {
        const double t = static_cast<double>(i) / kSampleRate;
        double frequency = glided;
        if (timbre.vibratoDepth > 0)
            frequency *= 1 + timbre.vibratoDepth * std::sin(kTau * timbre.vibratoRate * t);
        const double level = tone.level * Envelope(t, tone.duration, timbre);
        out[first + i] += static_cast<float>(level * Harmonics(timbre, phase, frequency));
        phase = std::fmod(phase + kTau * frequency / kSampleRate, kTau);
    }
}

// A burst of noise, smoothed by a one-pole low-pass (0 < smoothing < 1: the
// smaller, the darker). The generator is fixed so every build is identical.
void AddNoise(Samples &out, const Tone &burst, const Timbre &timbre, double smoothing) {
    const uint32_t first = SampleIndex(burst.start);
    const uint32_t count = SampleIndex(burst.duration);
    GrowTo(out, first + count + 1);
    uint32_t state = 0x2545F491u;
    double filtered = 0;
    for (uint32_t i = 0; i <= count; ++i) {
        state = state * 1664525u + 1013904223u;
        const double white = static_cast<double>(state >> 8) / (1u << 23) - 1.0;
        filtered += smoothing * (white - filtered);
        const double t = static_cast<double>(i) / kSampleRate;
        out[first + i] +=
            static_cast<float>(burst.level * Envelope(t, burst.duration, timbre) * filtered);
    }
}

void PutLittleEndian(Bytes &bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(Bytes &bytes, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(tag[i]));
}

// Scales the mix so its loudest sample reaches `peak`: levels inside a sound
// are relative, and nothing clips.
void Normalize(Samples &samples, double peak) {
    float loudest = 0;
    for (const float sample : samples) loudest = std::max(loudest, std::abs(sample));
    if (loudest <= 0) return;
    const auto gain = static_cast<float>(peak / loudest);
    for (float &sample : samples) sample *= gain;
}

Bytes ToWaveFile(Samples samples, double peak) {
    Normalize(samples, peak);
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    Bytes wave;
    wave.reserve(kWaveHeaderBytes + dataBytes);
    PutTag(wave, "RIFF");
    PutLittleEndian(wave, kWaveHeaderBytes - 8 + dataBytes, 4);
    PutTag(wave, "WAVE");
    PutTag(wave, "fmt ");
    PutLittleEndian(wave, 16, 4);               // size of the format block
    PutLittleEndian(wave, 1, 2);                // PCM
    PutLittleEndian(wave, 1, 2);                // mono
    PutLittleEndian(wave, kSampleRate, 4);      // samples per second
    PutLittleEndian(wave, kSampleRate * 2, 4);  // bytes per second
    PutLittleEndian(wave, 2, 2);                // bytes per sample frame
    PutLittleEndian(wave, 16, 2);               // bits per sample
    PutTag(wave, "data");
    PutLittleEndian(wave, dataBytes, 4);
    for (const float sample : samples) {
        const double clamped = std::clamp(static_cast<double>(sample), -1.0, 1.0);
        const auto value = static_cast<int16_t>(std::lround(clamped * 32767.0));
        PutLittleEndian(wave, static_cast<uint16_t>(value), 2);
    }
    return wave;
}

// ---- The cues -----------------------------------------------------------------

// A landing: a low pitch that drops and dies quickly, over a dull knock.
Samples LandingThud() {
    const Timbre body{{1.0, 0.3, 0.1}, 0.006, 0.03, 18.0};
    const Timbre knock{{}, 0.006, 0.02, 60.0};
    Samples out;
    AddTone(out, {0.0, 0.17, 150.0, 48.0, 0.85}, body);
    AddNoise(out, {0.0, 0.05, 0, 0, 0.35}, knock, 0.08);
    return out;
}

// Rows removed: a bright upward sweep with a fifth above it for sparkle.
Samples RowsSweep() {
    const Timbre bright{{1.0, 0.45, 0.3, 0.18, 0.1, 0.06}, 0.006, 0.09, 2.0};
    Samples out;
    AddTone(out, {0.0, 0.36, 520.0, 2300.0, 0.32}, bright);
    AddTone(out, {0.02, 0.34, 780.0, 3450.0, 0.14}, bright);
    AddNoise(out, {0.0, 0.3, 0, 0, 0.05}, bright, 0.9);
    return out;
}

// A level: a quick rising arpeggio that settles on a held major chord.
Samples LevelFanfare() {
    const Timbre brass{{1.0, 0.6, 0.45, 0.3, 0.2, 0.12, 0.07}, 0.008, 0.04, 1.5, 0.004, 6.0};
    const Timbre held{{1.0, 0.6, 0.45, 0.3, 0.2, 0.12, 0.07}, 0.01, 0.2, 2.5, 0.006, 5.5};
    const int arpeggio[] = {72, 76, 79};  // C E G, then the chord on the octave
    Samples out;
    for (int i = 0; i < 3; ++i) {
        const double f = NoteFrequency(arpeggio[i]);
        AddTone(out, {0.085 * i, 0.11, f, f, 0.26}, brass);
    }
    for (const int note : {72, 76, 79, 84}) {
        const double f = NoteFrequency(note);
        AddTone(out, {0.255, 0.5, f, f, note == 84 ? 0.24 : 0.12}, held);
    }
    return out;
}

// Game over: a minor phrase stepping down and sagging at the end.
Samples GameOverPhrase() {
    const Timbre soft{{1.0, 0.0, 0.11, 0.0, 0.04, 0.0, 0.02}, 0.01, 0.05, 1.0, 0.003, 5.0};
    const Timbre sagging{{1.0, 0.0, 0.11, 0.0, 0.04, 0.0, 0.02}, 0.01, 0.18, 2.2, 0.012, 4.5};
    const int phrase[] = {67, 63, 60};  // G, E flat, C
    Samples out;
    for (int i = 0; i < 3; ++i) {
        const double f = NoteFrequency(phrase[i]);
        AddTone(out, {0.17 * i, 0.16, f, f, 0.45}, soft);
    }
    AddTone(out, {0.51, 0.38, NoteFrequency(55), NoteFrequency(54), 0.5}, sagging);
    return out;
}

// ---- The intro's tune -----------------------------------------------------------

constexpr double kEighth = 0.2;  // s

struct Note {
    int midi;
    int eighths;
};

// A bright lead over a walking bass, four bars: C, A minor, F, G back to C.
constexpr Note kMelody[] = {
    {76, 1}, {79, 1}, {84, 2}, {83, 1}, {84, 1}, {79, 2},  //
    {81, 1}, {84, 1}, {88, 2}, {86, 1}, {84, 1}, {81, 2},  //
    {77, 1}, {81, 1}, {84, 1}, {81, 1}, {79, 1}, {77, 1}, {76, 1},
    {74, 1}, {74, 1}, {79, 1}, {83, 1}, {86, 1}, {84, 4},
};
constexpr int kBassRoots[][2] = {{48, 55}, {45, 52}, {41, 48}, {43, 50}};

void AddMelody(Samples &out) {
    const Timbre lead{{1.0, 0.5, 0.33, 0.2, 0.12, 0.08, 0.05}, 0.01, 0.06, 3.0, 0.004, 5.5};
    double at = 0;
    for (const Note &note : kMelody) {
        const double f = NoteFrequency(note.midi);
        const double length = note.eighths * kEighth;
        AddTone(out, {at, length * 0.92, f, f, 0.2}, lead);
        at += length;
    }
}

void AddBass(Samples &out) {
    const Timbre bass{{1.0, 0.0, 0.11, 0.0, 0.04}, 0.01, 0.05, 2.0};
    for (int bar = 0; bar < 4; ++bar) {
        const int beats = bar == 3 ? 6 : 8;  // the last bar ends on the tonic below
        for (int i = 0; i < beats; ++i) {
            const double f = NoteFrequency(kBassRoots[bar][i % 2]);
            AddTone(out, {(bar * 8 + i) * kEighth, kEighth * 0.85, f, f, 0.24}, bass);
        }
    }
    const double tonic = NoteFrequency(36);
    AddTone(out, {30 * kEighth, 2 * kEighth, tonic, tonic, 0.26}, bass);
}

void AddTicks(Samples &out) {
    const Timbre tick{{}, 0.001, 0.02, 40.0};
    for (int i = 1; i < 30; i += 2) AddNoise(out, {i * kEighth, 0.05, 0, 0, 0.08}, tick, 0.7);
}

constexpr double kCuePeak = 0.8;
constexpr double kTunePeak = 0.6;

NamedFile SoundFile(const char *name, const Samples &samples) {
    return {std::string(kGamePath) + "\\sound\\" + name, ToWaveFile(samples, kCuePeak)};
}

}  // namespace

std::vector<NamedFile> MakeSounds() {
    return {
        SoundFile("kbl_s_b.nwf", LandingThud()),
        SoundFile("kbl_s_fl.nwf", RowsSweep()),
        SoundFile("kbl_s_lv.nwf", LevelFanfare()),
        SoundFile("kbl_s_gov.nwf", GameOverPhrase()),
    };
}

Bytes MakeIntroSoundTrack() {
    Samples out;
    AddMelody(out);
    AddBass(out);
    AddTicks(out);
    return ToWaveFile(out, kTunePeak);
}

}  // namespace assets
