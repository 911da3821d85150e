// Movie files that lie about their sizes or end early: the intro ends at the
// lie as on a failed read, and reads and writes nothing outside its buffers
// (the sanitizer build watches them) or the screen.
#include "intro_fixture.h"

namespace movie_test {
namespace {

constexpr int32_t kW = 10, kH = 10;

struct Lie {
    const char *name;
    Bytes (*movie)();
    int32_t framesShown;  // -1: not even the title
};

Bytes Half(const Bytes &bytes) {
    return Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2);
}
MovieBytes Sizes(int32_t w, int32_t h) {
    return MovieBytes().Title().Header(w, h, 3, 40);
}
MovieBytes OneFrame() {
    return Sizes(kW, kH).Frames(kW, kH, 1);
}
MovieBytes TitlePalette() {
    return MovieBytes().Raw(MovieBytes::Palette());
}
const Bytes kTitle = MovieBytes::Packed(220, 100, 1, 2), kFrame = MovieBytes::Packed(kW, kH, 11, 4);

// clang-format off
const Lie kLies[] = {
    {"TitleLongerThanItsBuffer", [] { return TitlePalette().Sized(Bytes(44001, 1)).bytes; }, -1},
    {"TitleThatUnpacksShort", [] { return TitlePalette().Sized(MovieBytes::Packed(220, 99, 1, 2)).bytes; }, -1},
    {"FileEndingInsideP", [] { return TitlePalette().Raw({0x10, 0x27}).bytes; }, -1},
    {"FileEndingInsideTheTitle", [] { return TitlePalette().Number(int64_t(kTitle.size())).Raw(Half(kTitle)).bytes; }, -1},
    {"FileEndingAfterTheTitle", [] { return MovieBytes().Title().bytes; }, 0},
    {"ZeroWidth", [] { return Sizes(0, kH).Frames(1, kH, 3).bytes; }, 0},
    {"NegativeHeight", [] { return Sizes(kW, -1).Frames(kW, 1, 3).bytes; }, 0},
    {"WiderThanTheScreenHolds", [] { return Sizes(201, kH).Frames(201, kH, 3).bytes; }, 0},
    {"TallerThanTheScreenHolds", [] { return Sizes(kW, 281).Frames(kW, 281, 3).bytes; }, 0},
    {"FrameLongerThanItsBuffer", [] { return OneFrame().Sized(Bytes(2 * kW * kH + 1, 1)).Frames(kW, kH, 2).bytes; }, 1},
    {"FrameThatUnpacksShort", [] { return OneFrame().Sized(MovieBytes::Packed(kW, kH - 1, 11, 4)).bytes; }, 1},
    {"FileEndingInsideQ", [] { return OneFrame().Raw({5, 0}).bytes; }, 1},
    {"FileEndingInsideAFrame", [] { return OneFrame().Number(int64_t(kFrame.size())).Raw(Half(kFrame)).bytes; }, 1},
};
// clang-format on

class LieTest : public IntroTest, public ::testing::WithParamInterface<Lie> {};

TEST_P(LieTest, EndsTheIntroWhereTheFileLies) {
    const Lie &lie = GetParam();
    WriteRootFile(kMovie, lie.movie());
    Play({At(5000, Kind::Down)});
    EXPECT_LT(host.NowMs(), 5000) << "it waited instead of ending";
    if (lie.framesShown < 0) {
        EXPECT_TRUE(host.presents.empty());
        EXPECT_TRUE(Sounds().empty());
    } else if (lie.framesShown == 0) {
        EXPECT_TRUE(OnlyTitleShown());
        EXPECT_TRUE(Sounds().empty());
    } else {
        EXPECT_EQ(FramesPresented(), size_t(lie.framesShown));
        EXPECT_TRUE(TitleShown() && FrameShown(kW, kH, lie.framesShown - 1));
        // The track had started; the intro is over, and so is the track.
        EXPECT_EQ(Sounds(), (Texts{kTrackStart, kTrackStop}));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LieTest, ::testing::ValuesIn(kLies),
                         [](const auto &param) { return std::string(param.param.name); });

}  // namespace
}  // namespace movie_test
