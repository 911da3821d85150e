// The four sound cues and the intro's sound track: canonical RIFF WAVE files
// (16-bit mono PCM), of sensible length, audible, unclipped, and fading in
// from silence and out to it, so that nothing clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "assets/assets.h"

namespace {

using assets::Bytes;

constexpr uint32_t kRate = 22050, kHeader = 44, kFade = kRate / 1000;

Bytes ExpectedHeader(uint32_t dataBytes) {
    Bytes header;
    const auto tag = [&](const char *t) { header.insert(header.end(), t, t + 4); };
    const auto number = [&](uint32_t v, int size) {
        for (int i = 0; i < size; ++i) header.push_back(uint8_t(v >> (8 * i)));
    };
    tag("RIFF"), number(36 + dataBytes, 4), tag("WAVE"), tag("fmt "), number(16, 4);
    number(1, 2), number(1, 2), number(kRate, 4), number(2 * kRate, 4), number(2, 2);
    number(16, 2), tag("data"), number(dataBytes, 4);
    return header;
}

int32_t Peak(const std::vector<int16_t> &samples, size_t from, size_t to) {
    int32_t peak = 0;
    for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(int32_t{samples[i]}));
    return peak;
}

// Each cue has its own sound under the name the game plays, well under a
// second; the track lasts a few seconds.
TEST(Sounds, CuesAndTrackAreCleanWaves) {
    const std::string folder = std::string(assets::kGamePath) + "\\sound\\";
    std::vector<assets::NamedFile> waves = assets::MakeSounds();
    std::vector<std::string> paths;
    for (const assets::NamedFile &cue : waves) paths.push_back(cue.devicePath);
    EXPECT_EQ(paths, (std::vector<std::string>{folder + "kbl_s_b.nwf", folder + "kbl_s_fl.nwf",
                                               folder + "kbl_s_lv.nwf", folder + "kbl_s_gov.nwf"}));
    for (size_t a = 0; a < waves.size(); ++a)
        for (size_t b = a + 1; b < waves.size(); ++b) EXPECT_NE(waves[a].bytes, waves[b].bytes);
    waves.push_back({"track", assets::MakeIntroSoundTrack()});
    for (const auto &[name, file] : waves) {
        SCOPED_TRACE(name);
        ASSERT_GT(file.size(), kHeader + 4 * kFade);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + kHeader),
                  ExpectedHeader(uint32_t(file.size() - kHeader)));
        std::vector<int16_t> samples;
        for (size_t at = kHeader; at + 1 < file.size(); at += 2)
            samples.push_back(int16_t(file[at] | file[at + 1] << 8));
        const size_t n = samples.size();
        const int32_t peak = Peak(samples, 0, n);
        EXPECT_GT(peak, 32767 / 4) << "too quiet";
        EXPECT_LT(peak, 32767) << "clipped";
        EXPECT_TRUE(samples.front() == 0 && samples.back() == 0);
        EXPECT_LT(Peak(samples, 0, kFade), peak / 8) << "starts with a jump";
        EXPECT_LT(Peak(samples, n - kFade, n), peak / 8) << "ends with a jump";
        const double seconds = double(n) / kRate;
        EXPECT_TRUE(name == "track" ? seconds > 2.0 && seconds < 12.0
                                    : seconds > 0.08 && seconds < 1.0)
            << seconds;
    }
}

}  // namespace
