// The intro's course on the headless device: title, paced frames, the wait,
// and every way it can end.
#include "intro_fixture.h"

namespace movie_test {
namespace {

constexpr int32_t kW = 100, kH = 50, kT = 40;

Bytes MovieOf(int32_t frames) {
    return MovieBytes().Title().Header(kW, kH, frames, kT).Frames(kW, kH, frames).bytes;
}

TEST_F(IntroTest, WithoutTheMovieFileItTellsAndGoesOn) {
    std::filesystem::remove(MoviePath());
    Play({At(100, Kind::Down)});
    EXPECT_EQ(log.events,
              std::vector<std::string>{"msgbox .\\Windows\\qzmmf.dll|Open movie file : Fail"});
    EXPECT_TRUE(host.presents.empty());
}

TEST_F(IntroTest, FramesFollowAtTheirIntervalAndTheTrackPlaysOnThroughTheWait) {
    WriteMovie(MovieOf(3));
    // Left and Return are dispatched but end nothing; their key-ups are
    // discarded, so the flags are still set when the intro ends.
    Play({At(50, Kind::KeyDown, VK_LEFT), At(60, Kind::KeyUp, VK_LEFT),
          At(70, Kind::KeyDown, VK_RETURN), At(71, Kind::KeyUp, VK_RETURN), At(1000, Kind::Down)});
    // Each frame comes at the first reading more than T ms after the last.
    EXPECT_EQ(std::vector<int64_t>(host.presents.end() - 3, host.presents.end()),
              (std::vector<int64_t>{41, 82, 123}));
    EXPECT_EQ(FramesPresented(), 3u);
    EXPECT_GE(host.NowMs(), 1000);
    EXPECT_TRUE(FrameShown(kW, kH, 2));
    EXPECT_TRUE(TitleShown());
    EXPECT_TRUE(AreaIs(0, 0, 240, 40, kBlack565) && AreaIs(140, 40, 100, kH, kBlack565));
    EXPECT_EQ(Sounds(), std::vector<std::string>{kTrackStart});
    EXPECT_EQ(KeyFlags[kKeyLeft] + KeyFlags[kKeyReturn], 2u);
    EXPECT_EQ(StylusState.down, 0u);
    EXPECT_EQ(StylusState.x, 120u);
}

TEST_F(IntroTest, ATapDuringTheFramesEndsItAndSilencesTheTrack) {
    WriteMovie(MovieOf(10));
    Play({At(100, Kind::Down), At(5000, Kind::Down)});
    EXPECT_EQ(FramesPresented(), 2u);
    EXPECT_TRUE(FrameShown(kW, kH, 1));
    EXPECT_LT(host.NowMs(), 5000);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    EXPECT_EQ(StylusState.down, 0u);
}

TEST_F(IntroTest, WithNoFramesTheTitleWaitsWithTheTrack) {
    WriteMovie(MovieOf(0));
    Play({At(500, Kind::Down)});
    EXPECT_EQ(FramesPresented(), 0u);
    EXPECT_GE(host.NowMs(), 500);
    EXPECT_TRUE(OnlyTitleShown());
    EXPECT_EQ(Sounds(), std::vector<std::string>{kTrackStart});
}

TEST_F(IntroTest, AFileEndingAfterTheTitleLeavesItShownAndReturnsAtOnce) {
    WriteMovie(MovieBytes().Title().bytes);
    Play({At(500, Kind::Down)});
    EXPECT_EQ(host.NowMs(), 0);
    EXPECT_TRUE(OnlyTitleShown());
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(IntroTest, OnlyTheFramesRectangleTakesTheFramePalette) {
    // Entry 1 is grey in the frame palette: the title, red, must stay red.
    Bytes palette = MovieBytes::Palette();
    palette[3] = palette[4] = palette[5] = 0x80;
    WriteMovie(MovieBytes()
                   .Title()
                   .Number(kW)
                   .Number(kH)
                   .Number(1)
                   .Number(kT)
                   .Raw(palette)
                   .Frames(kW, kH, 1)
                   .bytes);
    Play({At(500, Kind::Down)});
    EXPECT_TRUE(FrameShown(kW, kH, 0));
    EXPECT_TRUE(TitleShown());
}

TEST_F(IntroTest, ATallFrameCoversTheTitleAndLosesOnlyWhatTheLayoutCannotHold) {
    WriteMovie(MovieBytes().Title().Header(200, 280, 1, kT).Frames(200, 280, 1).bytes);
    Play({At(500, Kind::Down)});
    EXPECT_TRUE(AreaIs(40, 40, 200, 278, FrameColour(0)));
    EXPECT_TRUE(AreaIs(10, 200, 30, 99, kRed565));
    // The ShadowBuffer's window ends 320 pixels before the screen does; the
    // frame's pixels there are dropped, not written past it.
    EXPECT_EQ(ScreenAt(239, 318), kBlack565);
    EXPECT_TRUE(AreaIs(40, 319, 200, 1, kBlack565));
}

class HardwareKeyTest : public IntroTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(HardwareKeyTest, EndsTheFramesAndOnly197StaysSet) {
    WriteMovie(MovieOf(10));
    Play({At(100, Kind::KeyDown, GetParam()), At(5000, Kind::Down)});
    EXPECT_EQ(FramesPresented(), 2u);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    EXPECT_EQ(KeyFlags[kKeyDrop] + KeyFlags[kKey196], 0u);
    EXPECT_EQ(KeyFlags[kKey197], GetParam() == 197 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, HardwareKeyTest, ::testing::Values(195, 196, 197));

// While frames play (10) and while the intro waits after having none (0).
class CloseTest : public IntroTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(CloseTest, ClosingTheWindowEndsTheIntroAndLeavesTheQuitForTheMainLoop) {
    WriteMovie(MovieOf(GetParam()));
    Play({At(100, Kind::Close), At(5000, Kind::Down)});
    EXPECT_EQ(ShutdownDone, 1);
    EXPECT_LT(host.NowMs(), 5000);
    EXPECT_LT(host.presents.back(), 100);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    MSG message{};
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
}

INSTANTIATE_TEST_SUITE_P(FramesOrWait, CloseTest, ::testing::Values(10, 0));

TEST_F(IntroTest, AQuitRequestIsPostedAgainForTheMainLoop) {
    WriteMovie(MovieOf(10));
    OpenDevice();
    PostQuitMessage(7);
    host.SetScript({At(5000, Kind::Down)});
    PlayIntroMovie();
    EXPECT_EQ(FramesPresented(), 0u);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    MSG message{};
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace movie_test
