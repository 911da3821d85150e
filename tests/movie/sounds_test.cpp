// The four sound cues and the intro's sound track: well-formed RIFF WAVE
// files that a waveform player takes, of sensible length, audible, unclipped,
// and fading in from silence and out to it, so that nothing clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/assets.h"

namespace {

using assets::Bytes;

constexpr uint32_t kHeaderBytes = 44;
constexpr uint32_t kFadeSamples = 22;  // a millisecond at 22050 Hz

uint32_t Field(const Bytes &bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(bytes.at(at + i)) << (8 * i);
    return value;
}

std::string Tag(const Bytes &bytes, size_t at) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

struct Wave {
    uint32_t rate = 0;
    std::vector<int16_t> samples;
    double Seconds() const { return static_cast<double>(samples.size()) / rate; }
    int32_t Peak(size_t from, size_t to) const {
        int32_t peak = 0;
        for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(int32_t{samples[i]}));
        return peak;
    }
};

// Checks every field of the canonical 44-byte header against the data.
Wave ParseWave(const std::string &name, const Bytes &bytes) {
    SCOPED_TRACE(name);
    Wave wave;
    EXPECT_GE(bytes.size(), kHeaderBytes);
    if (bytes.size() < kHeaderBytes) return wave;
    EXPECT_EQ(Tag(bytes, 0), "RIFF");
    EXPECT_EQ(Field(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(Tag(bytes, 8), "WAVE");
    EXPECT_EQ(Tag(bytes, 12), "fmt ");
    EXPECT_EQ(Field(bytes, 16, 4), 16u);
    EXPECT_EQ(Field(bytes, 20, 2), 1u) << "PCM";
    EXPECT_EQ(Field(bytes, 22, 2), 1u) << "mono";
    wave.rate = Field(bytes, 24, 4);
    EXPECT_TRUE(wave.rate == 11025 || wave.rate == 22050 || wave.rate == 44100);
    EXPECT_EQ(Field(bytes, 28, 4), wave.rate * 2) << "bytes per second";
    EXPECT_EQ(Field(bytes, 32, 2), 2u) << "block align";
    EXPECT_EQ(Field(bytes, 34, 2), 16u) << "bits per sample";
    EXPECT_EQ(Tag(bytes, 36), "data");
    const uint32_t dataBytes = Field(bytes, 40, 4);
    EXPECT_EQ(dataBytes, bytes.size() - kHeaderBytes);
    EXPECT_EQ(dataBytes % 2, 0u);
    for (size_t at = kHeaderBytes; at + 1 < bytes.size(); at += 2)
        wave.samples.push_back(static_cast<int16_t>(Field(bytes, at, 2)));
    return wave;
}

void ExpectCleanSound(const std::string &name, const Wave &wave) {
    SCOPED_TRACE(name);
    ASSERT_GT(wave.samples.size(), 2 * kFadeSamples);
    const size_t n = wave.samples.size();
    const int32_t peak = wave.Peak(0, n);
    EXPECT_GT(peak, 32767 / 4) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
    // Starts and ends at silence and ramps, rather than jumping, at both ends.
    EXPECT_EQ(wave.samples.front(), 0);
    EXPECT_EQ(wave.samples.back(), 0);
    EXPECT_LT(wave.Peak(0, kFadeSamples), peak / 8);
    EXPECT_LT(wave.Peak(n - kFadeSamples, n), peak / 8);
}

// Each event has its own sound: four files under the names the game plays,
// no two alike.
TEST(Sounds, TheFourCuesLieInTheSoundFolderUnderTheirNames) {
    const std::string folder = std::string(assets::kGamePath) + "\\sound\\";
    const std::vector<assets::NamedFile> cues = assets::MakeSounds();
    std::vector<std::string> paths;
    for (const assets::NamedFile &file : cues) paths.push_back(file.devicePath);
    EXPECT_EQ(paths, (std::vector<std::string>{folder + "kbl_s_b.nwf", folder + "kbl_s_fl.nwf",
                                               folder + "kbl_s_lv.nwf", folder + "kbl_s_gov.nwf"}));
    for (size_t a = 0; a < cues.size(); ++a)
        for (size_t b = a + 1; b < cues.size(); ++b) EXPECT_NE(cues[a].bytes, cues[b].bytes);
}

TEST(Sounds, CuesAreShortCleanWaves) {
    for (const assets::NamedFile &file : assets::MakeSounds()) {
        const Wave wave = ParseWave(file.devicePath, file.bytes);
        ExpectCleanSound(file.devicePath, wave);
        EXPECT_GT(wave.Seconds(), 0.08) << file.devicePath;
        EXPECT_LT(wave.Seconds(), 1.0) << file.devicePath;
    }
}

TEST(Sounds, TheIntroTrackIsAFewSecondsOfCleanWave) {
    const Wave wave = ParseWave("track", assets::MakeIntroSoundTrack());
    ExpectCleanSound("track", wave);
    EXPECT_GT(wave.Seconds(), 2.0);
    EXPECT_LT(wave.Seconds(), 12.0);
}

}  // namespace
