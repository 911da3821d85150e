// The four sound cues and the intro's sound track, synthesised as RIFF WAVE
// files: 16-bit mono PCM. Every note fades in and out, so each file starts
// and ends at silence and nothing clicks. The synthesis is in integers
// (integer_math.h), so every build writes the same bytes.
#include <algorithm>
#include <array>
#include <string>

#include "assets.h"
#include "integer_math.h"

namespace assets {
namespace {

using integer::kOne;

constexpr uint32_t kSampleRate = 22050;
constexpr int64_t kMillisecond = kSampleRate;  // in ticks of 1 / (1000 kSampleRate) s
constexpr int64_t kLog2OfEQ24 = 24204406;
// Harmonics at or above 0.45 kSampleRate would alias; as a phase step.
constexpr uint64_t kNyquistGuard = (uint64_t{45} << 32) / 100;
constexpr uint32_t kWaveHeaderBytes = 44;

// Q30: 1.0 is a voice at full level; a mix may go beyond until normalised.
using Samples = std::vector<int64_t>;

// A pitch as log2 of its frequency in Hz, Q24: a glide moves along it evenly.
using Pitch = int64_t;

// The colour of a voice: harmonic levels, its envelope and a slow vibrato.
// Levels and depths are in thousandths.
struct Timbre {
    std::array<int32_t, 8> harmonics;
    int32_t attack;            // ms
    int32_t release;           // ms
    int32_t decay;             // thousandths of 1/s, exponential fall over the note; 0 holds
    int32_t vibratoDepth = 0;  // thousandths of the pitch
    int32_t vibratoRate = 0;   // mHz
};

// One note or glide: from `from` to `to` over the duration.
struct Tone {
    int32_t start;     // ms
    int32_t duration;  // ms
    Pitch from;
    Pitch to;
    int32_t level;  // thousandths
};

Pitch Hz(int32_t hz) {
    return integer::Log2(static_cast<uint64_t>(hz) << 16);
}

Pitch NoteFrequency(int midiNote) {
    return Hz(440) + (midiNote - 69) * (int64_t{1} << 24) / 12;
}

uint32_t SampleIndex(int32_t milliseconds) {
    return static_cast<uint32_t>(static_cast<uint64_t>(milliseconds) * kSampleRate / 1000);
}

// How far the phase (a whole turn being 2^32) moves in a sample at a pitch.
uint32_t PhaseStep(Pitch pitch) {
    return static_cast<uint32_t>((integer::Exp2(pitch) << 2) / kSampleRate);
}

// A raised cosine from 0 at `time` 0 up to 1 at `span` (both in ticks), Q30.
int64_t RaisedCosine(int64_t time, int64_t span) {
    const auto halfTurns = static_cast<uint32_t>((time << 31) / span);
    return (kOne - integer::Cosine(halfTurns)) / 2;
}

// Raised-cosine fade in and out, so a note starts and ends at zero slope;
// sample i of a note of `duration` ms. Q30.
int64_t Envelope(uint32_t i, int32_t duration, const Timbre &timbre) {
    int64_t level = integer::Exp2(-int64_t{timbre.decay} * i * kLog2OfEQ24 / (1000 * kSampleRate));
    const int64_t time = int64_t{i} * 1000;
    if (time < timbre.attack * kMillisecond)
        level = (level * RaisedCosine(time, timbre.attack * kMillisecond)) >> 30;
    const int64_t left = duration * kMillisecond - time;
    if (left < timbre.release * kMillisecond)
        level = (level * RaisedCosine(left, timbre.release * kMillisecond)) >> 30;
    return std::max<int64_t>(level, 0);
}

void GrowTo(Samples &out, uint32_t count) {
    if (out.size() < count) out.resize(count, 0);
}

// The harmonics of one sample at `phase`, each below the guard; Q30. The
// phase of harmonic n is n times the phase, wrapping with it.
int64_t Harmonics(const Timbre &timbre, uint32_t phase, uint32_t step) {
    int64_t sum = 0;
    for (uint32_t h = 0; h < timbre.harmonics.size(); ++h) {
        if (uint64_t{step} * (h + 1) >= kNyquistGuard) break;
        sum += timbre.harmonics[h] * integer::Sine(phase * (h + 1));
    }
    return sum / 1000;
}

// The step swayed by the vibrato at sample i.
uint32_t Vibrato(uint32_t step, uint32_t i, const Timbre &timbre) {
    const auto sway = static_cast<uint32_t>(
        (uint64_t{static_cast<uint32_t>(timbre.vibratoRate)} * i << 32) / (1000 * kSampleRate));
    const int64_t scale = kOne + timbre.vibratoDepth * integer::Sine(sway) / 1000;
    return static_cast<uint32_t>((step * scale) >> 30);
}

void AddTone(Samples &out, const Tone &tone, const Timbre &timbre) {
    const uint32_t first = SampleIndex(tone.start);
    const uint32_t count = SampleIndex(tone.duration);
    GrowTo(out, first + count + 1);
    uint32_t phase = 0;
    for (uint32_t i = 0; i <= count; ++i) {
        // The glide is exponential, so the pitch moves evenly in musical steps.
        const Pitch pitch = tone.from + (tone.to - tone.from) * i / std::max(count, 1u);
        uint32_t step = PhaseStep(pitch);
        if (timbre.vibratoDepth > 0) step = Vibrato(step, i, timbre);
        const int64_t level = Envelope(i, tone.duration, timbre) * tone.level / 1000;
        out[first + i] += (level * Harmonics(timbre, phase, step)) >> 30;
        phase += step;
    }
}

// A burst of noise, smoothed by a one-pole low-pass (0 < smoothing < 1000
// thousandths: the smaller, the darker). The generator is fixed so every
// build is identical.
void AddNoise(Samples &out, const Tone &burst, const Timbre &timbre, int32_t smoothing) {
    const uint32_t first = SampleIndex(burst.start);
    const uint32_t count = SampleIndex(burst.duration);
    GrowTo(out, first + count + 1);
    uint32_t state = 0x2545F491u;
    int64_t filtered = 0;
    for (uint32_t i = 0; i <= count; ++i) {
        state = state * 1664525u + 1013904223u;
        const int64_t white = (int64_t{state >> 8} << 7) - kOne;
        filtered += smoothing * (white - filtered) / 1000;
        const int64_t level = Envelope(i, burst.duration, timbre) * burst.level / 1000;
        out[first + i] += (level * filtered) >> 30;
    }
}

void PutLittleEndian(Bytes &bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(Bytes &bytes, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(tag[i]));
}

// numerator / denominator (above 0) rounded to the nearest, halves away from 0.
int64_t RoundedQuotient(int64_t numerator, int64_t denominator) {
    const int64_t magnitude =
        (2 * (numerator < 0 ? -numerator : numerator) + denominator) / (2 * denominator);
    return numerator < 0 ? -magnitude : magnitude;
}

// The mix scaled so that its loudest sample reaches `peak` thousandths of
// full scale: levels inside a sound are relative, and nothing clips.
Bytes ToWaveFile(const Samples &samples, int32_t peak) {
    int64_t loudest = 0;
    for (const int64_t sample : samples) loudest = std::max(loudest, sample < 0 ? -sample : sample);
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
    for (const int64_t sample : samples) {
        const int64_t value =
            loudest > 0 ? RoundedQuotient(sample * peak * 32767, loudest * 1000) : 0;
        const auto clamped = static_cast<int16_t>(std::clamp<int64_t>(value, -32767, 32767));
        PutLittleEndian(wave, static_cast<uint16_t>(clamped), 2);
    }
    return wave;
}

// ---- The cues -----------------------------------------------------------------

// A landing: a low pitch that drops and dies quickly, over a dull knock.
Samples LandingThud() {
    const Timbre body{{1000, 300, 100}, 6, 30, 18000};
    const Timbre knock{{}, 6, 20, 60000};
    Samples out;
    AddTone(out, {0, 170, Hz(150), Hz(48), 850}, body);
    AddNoise(out, {0, 50, 0, 0, 350}, knock, 80);
    return out;
}

// Rows removed: a bright upward sweep with a fifth above it for sparkle.
Samples RowsSweep() {
    const Timbre bright{{1000, 450, 300, 180, 100, 60}, 6, 90, 2000};
    Samples out;
    AddTone(out, {0, 360, Hz(520), Hz(2300), 320}, bright);
    AddTone(out, {20, 340, Hz(780), Hz(3450), 140}, bright);
    AddNoise(out, {0, 300, 0, 0, 50}, bright, 900);
    return out;
}

// A level: a quick rising arpeggio that settles on a held major chord.
Samples LevelFanfare() {
    const Timbre brass{{1000, 600, 450, 300, 200, 120, 70}, 8, 40, 1500, 4, 6000};
    const Timbre held{{1000, 600, 450, 300, 200, 120, 70}, 10, 200, 2500, 6, 5500};
    const int arpeggio[] = {72, 76, 79};  // C E G, then the chord on the octave
    Samples out;
    for (int i = 0; i < 3; ++i) {
        const Pitch f = NoteFrequency(arpeggio[i]);
        AddTone(out, {85 * i, 110, f, f, 260}, brass);
    }
    for (const int note : {72, 76, 79, 84}) {
        const Pitch f = NoteFrequency(note);
        AddTone(out, {255, 500, f, f, note == 84 ? 240 : 120}, held);
    }
    return out;
}

// Game over: a minor phrase stepping down and sagging at the end.
Samples GameOverPhrase() {
    const Timbre soft{{1000, 0, 110, 0, 40, 0, 20}, 10, 50, 1000, 3, 5000};
    const Timbre sagging{{1000, 0, 110, 0, 40, 0, 20}, 10, 180, 2200, 12, 4500};
    const int phrase[] = {67, 63, 60};  // G, E flat, C
    Samples out;
    for (int i = 0; i < 3; ++i) {
        const Pitch f = NoteFrequency(phrase[i]);
        AddTone(out, {170 * i, 160, f, f, 450}, soft);
    }
    AddTone(out, {510, 380, NoteFrequency(55), NoteFrequency(54), 500}, sagging);
    return out;
}

// ---- The intro's tune -----------------------------------------------------------

constexpr int32_t kEighth = 200;  // ms

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
    const Timbre lead{{1000, 500, 330, 200, 120, 80, 50}, 10, 60, 3000, 4, 5500};
    int32_t at = 0;
    for (const Note &note : kMelody) {
        const Pitch f = NoteFrequency(note.midi);
        const int32_t length = note.eighths * kEighth;
        AddTone(out, {at, length * 92 / 100, f, f, 200}, lead);
        at += length;
    }
}

void AddBass(Samples &out) {
    const Timbre bass{{1000, 0, 110, 0, 40}, 10, 50, 2000};
    for (int bar = 0; bar < 4; ++bar) {
        const int beats = bar == 3 ? 6 : 8;  // the last bar ends on the tonic below
        for (int i = 0; i < beats; ++i) {
            const Pitch f = NoteFrequency(kBassRoots[bar][i % 2]);
            AddTone(out, {(bar * 8 + i) * kEighth, kEighth * 85 / 100, f, f, 240}, bass);
        }
    }
    const Pitch tonic = NoteFrequency(36);
    AddTone(out, {30 * kEighth, 2 * kEighth, tonic, tonic, 260}, bass);
}

void AddTicks(Samples &out) {
    const Timbre tick{{}, 1, 20, 40000};
    for (int i = 1; i < 30; i += 2) AddNoise(out, {i * kEighth, 50, 0, 0, 80}, tick, 700);
}

constexpr int32_t kCuePeak = 800;  // thousandths of full scale
constexpr int32_t kTunePeak = 600;

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
