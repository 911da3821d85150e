// Movie files that lie about their sizes or end early: the intro ends as on a
// failed read, at the point of the lie, and never reads or writes outside its
// buffers or the screen (the sanitizer build watches the buffers).
#include "intro_fixture.h"

namespace movie_test {
namespace {

constexpr int32_t kW = 10, kH = 10, kT = 40;

enum class Shown { Nothing, Title, TitleAndFrames };

struct Lie {
    const char *name;
    Bytes (*movie)();
    Shown shown;
    int32_t framesShown;  // the last of them stays on screen
};

Bytes Half(const Bytes &bytes) {
    return Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2);
}

MovieBytes TitleAndHeader(int32_t w, int32_t h) {
    MovieBytes movie;
    movie.Title().Header(w, h, 3, kT);
    return movie;
}

MovieBytes FirstFrame() {
    MovieBytes movie = TitleAndHeader(kW, kH);
    movie.Frame(kW, kH, 0);
    return movie;
}

const Lie kLies[] = {
    {"TitleLongerThanItsBuffer",
     [] {
         MovieBytes movie;
         movie.Raw(PurePalette()).Sized(Bytes(44001, 1)).Header(kW, kH, 1, kT);
         return movie.Frames(kW, kH, 1).bytes;
     },
     Shown::Nothing, 0},
    {"TitleThatUnpacksShort",
     [] { return MovieBytes().Raw(PurePalette()).Sized(Packed(Picture(220, 99, 1, 2))).bytes; },
     Shown::Nothing, 0},
    {"FileEndingInsideTheTitlePalette", [] { return Bytes(500, 1); }, Shown::Nothing, 0},
    {"FileEndingInsideP",
     [] {
         return MovieBytes().Raw(PurePalette()).Raw({0x10, 0x27}).bytes;
     },
     Shown::Nothing, 0},
    {"FileEndingInsideThePackedTitle",
     [] {
         const Bytes title = Packed(Picture(220, 100, 1, 2));
         MovieBytes movie;
         movie.Raw(PurePalette()).Number(static_cast<uint32_t>(title.size()));
         return movie.Raw(Half(title)).bytes;
     },
     Shown::Nothing, 0},
    {"FileEndingInsideTheHeader",
     [] { return MovieBytes().Title().Number(kW).Number(kH).Raw(Bytes(300, 0)).bytes; },
     Shown::Title, 0},
    {"ZeroWidth", [] { return TitleAndHeader(0, kH).Frames(1, kH, 3).bytes; }, Shown::Title, 0},
    {"NegativeHeight", [] { return TitleAndHeader(kW, -1).Frames(kW, 1, 3).bytes; }, Shown::Title,
     0},
    {"WidthPastTheScreen", [] { return TitleAndHeader(201, kH).Frames(201, kH, 3).bytes; },
     Shown::Title, 0},
    {"HeightPastTheScreen", [] { return TitleAndHeader(kW, 281).Frames(kW, 281, 3).bytes; },
     Shown::Title, 0},
    {"FrameLongerThanItsBuffer",
     [] { return FirstFrame().Sized(Bytes(2 * kW * kH + 1, 1)).Frame(kW, kH, 2).bytes; },
     Shown::TitleAndFrames, 1},
    {"FrameThatUnpacksShort",
     [] { return FirstFrame().Sized(Packed(Picture(kW, kH - 1, 11, 4))).Frame(kW, kH, 2).bytes; },
     Shown::TitleAndFrames, 1},
    {"FileEndingInsideQ",
     [] {
         return FirstFrame().Raw({5, 0}).bytes;
     },
     Shown::TitleAndFrames, 1},
    {"FileEndingInsideAFrame",
     [] {
         const Bytes frame = Packed(Picture(kW, kH, 11, 4));
         MovieBytes movie = FirstFrame();
         movie.Number(static_cast<uint32_t>(frame.size()));
         return movie.Raw(Half(frame)).bytes;
     },
     Shown::TitleAndFrames, 1},
    {"FewerFramesThanItSays", [] { return TitleAndHeader(kW, kH).Frames(kW, kH, 2).bytes; },
     Shown::TitleAndFrames, 2},
};

class LieTest : public IntroTest, public ::testing::WithParamInterface<Lie> {};

TEST_P(LieTest, EndsTheIntroWhereTheFileLies) {
    const Lie &lie = GetParam();
    WriteMovie(lie.movie());
    Play({Tap(5000)});
    EXPECT_LT(host.NowMs(), 5000) << "the intro waited instead of ending";
    EXPECT_EQ(PresentsAfter(0), static_cast<size_t>(lie.framesShown));
    switch (lie.shown) {
        case Shown::Nothing:
            EXPECT_TRUE(host.presents.empty());
            EXPECT_TRUE(Sounds().empty());
            break;
        case Shown::Title:
            EXPECT_TRUE(OnlyTitleShown());
            EXPECT_TRUE(Sounds().empty());
            break;
        case Shown::TitleAndFrames:
            EXPECT_TRUE(TitleShown());
            EXPECT_TRUE(FrameShown(kW, kH, lie.framesShown - 1));
            // The track had started; the intro ends, and so does the track.
            EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LieTest, ::testing::ValuesIn(kLies),
                         [](const ::testing::TestParamInfo<Lie> &param) {
                             return std::string(param.param.name);
                         });

}  // namespace
}  // namespace movie_test
