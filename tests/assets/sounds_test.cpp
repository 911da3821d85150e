// The four sound cues and the intro's sound track: canonical RIFF WAVE files
// (16-bit mono PCM at 22050 a second), of sensible length, audible,
// unclipped, and fading in from silence and out to it, so that nothing clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "assets/assets.h"

namespace {

constexpr size_t kHeader = 44, kFade = 22;  // a millisecond

// Each cue has its own sound under the name the game plays, well under a
// second; the track lasts a few seconds.
TEST(Sounds, CuesAndTrackAreCleanWaves) {
    const std::string folder = std::string(assets::kGamePath) + "\\sound\\";
    std::vector<assets::NamedFile> waves = assets::MakeSounds();
    ASSERT_EQ(waves.size(), 4u);
    const char *const names[] = {"kbl_s_b", "kbl_s_fl", "kbl_s_lv", "kbl_s_gov"};
    for (size_t a = 0; a < 4; ++a) {
        EXPECT_EQ(waves[a].devicePath, folder + names[a] + ".nwf");
        for (size_t b = a + 1; b < 4; ++b) EXPECT_NE(waves[a].bytes, waves[b].bytes);
    }
    waves.push_back({"track", assets::MakeIntroSoundTrack()});
    for (const auto &[name, file] : waves) {
        SCOPED_TRACE(name);
        ASSERT_GT(file.size(), kHeader + 4 * kFade);
        const auto field = [&](size_t at, int bytes) {
            uint32_t v = 0;
            for (int i = bytes - 1; i >= 0; --i) v = v << 8 | file[at + i];
            return v;
        };
        const uint32_t data = uint32_t(file.size() - kHeader);
        const std::string text(file.begin(), file.end());
        EXPECT_EQ(text.substr(0, 4) + text.substr(8, 8) + text.substr(36, 4), "RIFFWAVEfmt data");
        EXPECT_EQ(std::vector<uint32_t>({field(4, 4), field(16, 4), field(20, 2), field(22, 2),
                                         field(24, 4), field(28, 4), field(32, 2), field(34, 2),
                                         field(40, 4)}),
                  std::vector<uint32_t>({36 + data, 16, 1, 1, 22050, 44100, 2, 16, data}));
        std::vector<int32_t> peaks(3, 0);  // the first millisecond, the whole, the last millisecond
        const size_t n = data / 2;
        for (size_t i = 0; i < n; ++i) {
            const int32_t level = std::abs(int32_t(int16_t(field(kHeader + 2 * i, 2))));
            for (size_t p : {size_t(i < kFade ? 0 : 1), size_t(1), size_t(i >= n - kFade ? 2 : 1)})
                peaks[p] = std::max(peaks[p], level);
        }
        EXPECT_GT(peaks[1], 32767 / 4) << "too quiet";
        EXPECT_LT(peaks[1], 32767) << "clipped";
        EXPECT_TRUE(field(kHeader, 2) == 0 && field(file.size() - 2, 2) == 0);
        EXPECT_LT(peaks[0], peaks[1] / 8) << "starts with a jump";
        EXPECT_LT(peaks[2], peaks[1] / 8) << "ends with a jump";
        const double seconds = double(n) / 22050;
        EXPECT_TRUE(name == "track" ? seconds > 2.0 && seconds < 12.0
                                    : seconds > 0.08 && seconds < 1.0)
            << seconds;
    }
}

}  // namespace
