// The intro's course on the headless device: title, paced frames, the wait,
// and every way it can end; and the intro of the default installation.
#include "intro_fixture.h"

namespace movie_test {
namespace {

constexpr int32_t kW = 100, kH = 50, kT = 40;

Bytes MovieOf(int32_t frames) {
    return MovieBytes().Title().Header(kW, kH, frames, kT).Frames(kW, kH, frames).bytes;
}

// Only the frames' rectangle takes the frame palette: there entry 1 is grey,
// and the title, red, must stay red.
TEST_F(IntroTest, FramesFollowAtTheirIntervalAndTheTrackPlaysOnThroughTheWait) {
    Bytes palette = MovieBytes::Palette();
    palette[3] = palette[4] = palette[5] = 0x80;
    WriteRootFile(kMovie,
                  MovieBytes().Title().Header(kW, kH, 3, kT, palette).Frames(kW, kH, 3).bytes);
    // Left and Return are dispatched but end nothing; their key-ups are
    // discarded, so the flags are still set when the intro ends.
    Play({At(50, Kind::KeyDown, VK_LEFT), At(60, Kind::KeyUp, VK_LEFT),
          At(70, Kind::KeyDown, VK_RETURN), At(71, Kind::KeyUp, VK_RETURN), At(1000, Kind::Down)});
    // Each frame comes at the first reading more than T ms after the last.
    EXPECT_EQ(host.presents, (std::vector<int64_t>{0, 0, 41, 82, 123}));
    EXPECT_GE(host.NowMs(), 1000);
    EXPECT_TRUE(FrameShown(kW, kH, 2) && TitleShown());
    EXPECT_TRUE(AreaIs(0, 0, 240, 40, kBlack565) && AreaIs(140, 40, 100, kH, kBlack565));
    EXPECT_EQ(Sounds(), Texts{kTrackStart});
    EXPECT_EQ(KeyFlags[kKeyLeft] + KeyFlags[kKeyReturn], 2u);
    EXPECT_EQ(std::make_pair(StylusState.down, StylusState.x), std::make_pair(0u, 120u));
}

TEST_F(IntroTest, ATallFrameCoversTheTitleAndLosesOnlyWhatTheLayoutCannotHold) {
    WriteRootFile(kMovie, MovieBytes().Title().Header(200, 280, 1, kT).Frames(200, 280, 1).bytes);
    Play({At(500, Kind::Down)});
    EXPECT_TRUE(AreaIs(40, 40, 200, 278, FrameColour(0)));
    EXPECT_TRUE(AreaIs(10, 200, 30, 99, kRed565));
    // The ShadowBuffer's window ends 320 pixels before the screen does; the
    // frame's pixels there are dropped, not written past it.
    EXPECT_EQ(ScreenAt(239, 318), kBlack565);
    EXPECT_TRUE(AreaIs(40, 319, 200, 1, kBlack565));
}

// A tap or a hardware key ends the frames; of the keys only 197 stays set.
// A close ends the intro while frames play, while it waits after having none,
// and with a quit request already waiting: the quit is left for the main loop.
struct Ending {
    Kind kind;
    int32_t key, frames;
    bool quitWaiting;
};

class EndTest : public IntroTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(EndTest, EndsTheIntroAndSilencesTheTrack) {
    const Ending c = GetParam();
    const bool close = c.kind == Kind::Close;
    WriteRootFile(kMovie, MovieOf(c.frames));
    if (c.quitWaiting) PostQuitMessage(7);
    Play({At(100, c.kind, c.key), At(5000, Kind::Down)});
    EXPECT_EQ(host.NowMs() >= 100, !c.quitWaiting) << "the title waits with its track";
    EXPECT_LT(host.NowMs(), 5000);
    EXPECT_EQ(FramesPresented(), c.frames && !c.quitWaiting ? 2u : 0u);
    EXPECT_TRUE(c.quitWaiting || (c.frames ? FrameShown(kW, kH, 1) : OnlyTitleShown()));
    EXPECT_EQ(Sounds(), (Texts{kTrackStart, kTrackStop}));
    EXPECT_EQ(KeyFlags[kKeyDrop] + KeyFlags[kKey196] + StylusState.down, 0u);
    EXPECT_EQ(KeyFlags[kKey197], c.key == 197 ? 1u : 0u);
    MSG message{};
    EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE), close ? TRUE : FALSE);
    EXPECT_EQ(message.wParam, c.quitWaiting ? 7u : 0u);
    EXPECT_EQ(ShutdownDone, close && !c.quitWaiting ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, EndTest,
    ::testing::Values(Ending{Kind::Down, 120, 10, false}, Ending{Kind::KeyDown, 195, 10, false},
                      Ending{Kind::KeyDown, 196, 10, false}, Ending{Kind::KeyDown, 197, 10, false},
                      Ending{Kind::Close, 120, 10, false}, Ending{Kind::Close, 120, 0, false},
                      Ending{Kind::Close, 120, 10, true}));

int32_t FieldAt(const std::string &bytes, size_t at) {
    return int32_t(uint8_t(bytes.at(at)) | uint8_t(bytes.at(at + 1)) << 8 |
                   uint8_t(bytes.at(at + 2)) << 16 | uint8_t(bytes.at(at + 3)) << 24);
}

// The player itself checks the installed file: any lie or short read would
// end the intro early and cut the track.
TEST_F(IntroTest, TheInstalledMoviePlaysWholeAboveItsTitle) {
    const std::string movie = ReadRootFile(kMovie);
    const size_t header = 772 + size_t(FieldAt(movie, 768));
    const int32_t w = FieldAt(movie, header), h = FieldAt(movie, header + 4);
    const int32_t n = FieldAt(movie, header + 8), t = FieldAt(movie, header + 12);
    EXPECT_LE(w, kMaxFrameWidth);
    EXPECT_LE(h, 160) << "the frames would cover the title";
    EXPECT_GT(n * (t + 1), 2000) << "a few seconds long";
    EXPECT_LT(n * (t + 1), 8000);
    Play({At(n * (t + 1) + 200, Kind::Down)});
    EXPECT_EQ(FramesPresented(), size_t(n));
    EXPECT_EQ(Sounds(), Texts{kTrackStart});
    // Something is drawn in both places, and nothing outside them.
    EXPECT_FALSE(AreaIs(10, 200, 220, 100, ScreenAt(10, 200)));
    EXPECT_FALSE(AreaIs(40, 40, w, h, ScreenAt(40, 40)));
    EXPECT_TRUE(AreaIs(0, 0, 240, 40, kBlack565) && AreaIs(0, 300, 240, 20, kBlack565));
    EXPECT_TRUE(AreaIs(0, 40, 10, 260, kBlack565));
}

}  // namespace
}  // namespace movie_test
