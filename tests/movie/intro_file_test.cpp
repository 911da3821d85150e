// The intro movie of the default installation. The player itself checks the
// file: any lie or short read would end the intro early and cut the track.
#include "intro_fixture.h"

namespace movie_test {
namespace {

int32_t FieldAt(const Bytes &bytes, size_t at) {
    return int32_t(bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
                   bytes.at(at + 3) << 24);
}

TEST_F(IntroTest, TheInstalledMoviePlaysWholeAboveItsTitle) {
    std::ifstream in(MoviePath(), std::ios::binary);
    const Bytes movie{std::istreambuf_iterator<char>(in), {}};
    const size_t header = 772 + size_t(FieldAt(movie, 768));
    const int32_t w = FieldAt(movie, header), h = FieldAt(movie, header + 4);
    const int32_t n = FieldAt(movie, header + 8), t = FieldAt(movie, header + 12);
    EXPECT_LE(w, kMaxFrameWidth);
    EXPECT_LE(h, 160) << "the frames would cover the title";
    EXPECT_GT(n * (t + 1), 2000) << "a few seconds long";
    EXPECT_LT(n * (t + 1), 8000);

    Play({At(n * (t + 1) + 200, Kind::Down)});
    EXPECT_EQ(FramesPresented(), size_t(n));
    EXPECT_EQ(Sounds(), std::vector<std::string>{kTrackStart});
    // Something is drawn in both places, and nothing outside them.
    EXPECT_FALSE(AreaIs(10, 200, 220, 100, ScreenAt(10, 200)));
    EXPECT_FALSE(AreaIs(40, 40, w, h, ScreenAt(40, 40)));
    EXPECT_TRUE(AreaIs(0, 0, 240, 40, kBlack565) && AreaIs(0, 300, 240, 20, kBlack565));
    EXPECT_TRUE(AreaIs(0, 40, 10, 260, kBlack565));
}

}  // namespace
}  // namespace movie_test
