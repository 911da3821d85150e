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
    std::filesystem::remove(root / "Windows" / "qzmmf.dll");
    Play({Tap(100)});
    EXPECT_EQ(log.events,
              std::vector<std::string>{"msgbox .\\Windows\\qzmmf.dll|Open movie file : Fail"});
    EXPECT_TRUE(host.presents.empty());
    EXPECT_TRUE(AreaIs(0, 0, 240, 320, kBlack565));
}

TEST_F(IntroTest, FramesFollowAtTheirIntervalAndTheTrackPlaysOnThroughTheWait) {
    WriteMovie(MovieOf(3));
    // Left and Return are dispatched but end nothing; their key-ups are
    // discarded, so the flags are still set when the intro ends.
    Play({KeyDown(50, VK_LEFT), KeyUp(60, VK_LEFT), KeyDown(70, VK_RETURN), KeyUp(71, VK_RETURN),
          Tap(1000)});
    // Each frame comes at the first reading more than T ms after the last.
    EXPECT_EQ(std::vector<int64_t>(host.presents.end() - 3, host.presents.end()),
              (std::vector<int64_t>{41, 82, 123}));
    EXPECT_EQ(PresentsAfter(0), 3u);
    EXPECT_GE(host.NowMs(), 1000);
    EXPECT_TRUE(FrameShown(kW, kH, 2));
    EXPECT_TRUE(AreaIs(0, 0, 240, kFrameTop, kBlack565));
    EXPECT_TRUE(AreaIs(kFrameLeft + kW, kFrameTop, 240 - kFrameLeft - kW, kH, kBlack565));
    EXPECT_TRUE(TitleShown());
    EXPECT_EQ(Sounds(), std::vector<std::string>{kTrackStart});
    EXPECT_EQ(KeyFlags[kKeyLeft], 1u);
    EXPECT_EQ(KeyFlags[kKeyReturn], 1u);
    EXPECT_EQ(StylusState.down, 0u);
    EXPECT_EQ(StylusState.x, 120u);
    EXPECT_EQ(StylusState.y, 160u);
    EXPECT_EQ(ShutdownDone, 0);
}

TEST_F(IntroTest, ATapDuringTheFramesEndsItAndSilencesTheTrack) {
    WriteMovie(MovieOf(10));
    Play({Tap(100), Tap(5000)});
    EXPECT_EQ(PresentsAfter(0), 2u);
    EXPECT_TRUE(FrameShown(kW, kH, 1));
    EXPECT_LT(host.NowMs(), 5000);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    EXPECT_EQ(StylusState.down, 0u);
}

TEST_F(IntroTest, WithNoFramesTheTitleWaitsWithTheTrack) {
    WriteMovie(MovieOf(0));
    Play({Tap(500)});
    EXPECT_EQ(PresentsAfter(0), 0u);
    EXPECT_GE(host.NowMs(), 500);
    EXPECT_TRUE(OnlyTitleShown());
    EXPECT_EQ(Sounds(), std::vector<std::string>{kTrackStart});
}

TEST_F(IntroTest, AFileEndingAfterTheTitleLeavesItShownAndReturnsAtOnce) {
    WriteMovie(MovieBytes().Title().bytes);
    Play({Tap(500)});
    EXPECT_EQ(host.NowMs(), 0);
    EXPECT_TRUE(OnlyTitleShown());
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(IntroTest, TheTitleKeepsItsColoursUnderTheFramePalette) {
    // Entry 1 is red for the title and a grey for the frames: only the
    // frame's rectangle is converted with the new table.
    Bytes palette = MovieBytes::FramePalette();
    palette[3] = palette[4] = palette[5] = 0x80;
    MovieBytes movie;
    movie.Title().Number(kW).Number(kH).Number(1).Number(kT).Raw(palette).Frame(kW, kH, 0);
    WriteMovie(movie.bytes);
    Play({Tap(500)});
    EXPECT_TRUE(FrameShown(kW, kH, 0));
    EXPECT_TRUE(AreaIs(kTitleLeft, kTitleTop, 220, 99, kRed565));
}

TEST_F(IntroTest, ATallFrameCoversTheTopOfTheTitleAndLosesOnlyWhatTheLayoutCannotHold) {
    WriteMovie(MovieBytes().Title().Header(200, 280, 1, kT).Frames(200, 280, 1).bytes);
    Play({Tap(500)});
    EXPECT_TRUE(AreaIs(kFrameLeft, kFrameTop, 200, 278, FrameColour(0)));
    EXPECT_TRUE(AreaIs(kTitleLeft, kTitleTop, kFrameLeft - kTitleLeft, 99, kRed565));
    EXPECT_TRUE(AreaIs(kTitleLeft, 299, kFrameLeft - kTitleLeft, 1, kGreen565));
    // The ShadowBuffer's window ends 320 pixels before the screen does: the
    // frame's last pixels, there, are dropped rather than written past it.
    EXPECT_EQ(ScreenAt(239, 318), kBlack565);
    EXPECT_TRUE(AreaIs(kFrameLeft, 319, 200, 1, kBlack565));
}

TEST_F(IntroTest, ARotatedDisplayGetsEveryPictureInItsPlace) {
    GXDisplayProperties rotated = wince::DefaultDisplayProperties();
    rotated.cbxPitch = 640;
    rotated.cbyPitch = -2;
    wince::SetDisplayProperties(rotated);
    WriteMovie(MovieBytes().Title().Header(200, 100, 1, kT).Frames(200, 100, 1).bytes);
    Play({Tap(500)});
    EXPECT_TRUE(FrameShown(200, 100, 0));
    EXPECT_TRUE(TitleShown());
}

class HardwareKeyTest : public IntroTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(HardwareKeyTest, EndsTheFramesAndOnly197StaysSet) {
    const int32_t code = GetParam();
    WriteMovie(MovieOf(10));
    Play({KeyDown(100, code), Tap(5000)});
    EXPECT_EQ(PresentsAfter(0), 2u);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    EXPECT_EQ(KeyFlags[kKeyDrop], 0u);
    EXPECT_EQ(KeyFlags[kKey196], 0u);
    EXPECT_EQ(KeyFlags[kKey197], code == 197 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, HardwareKeyTest, ::testing::Values(195, 196, 197));

// ---- Quitting while the intro runs ------------------------------------------

class CloseTest : public IntroTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(CloseTest, ClosingTheWindowEndsTheIntroAndLeavesTheQuitForTheMainLoop) {
    WriteMovie(MovieOf(GetParam()));
    Play({Close(100), Tap(5000)});
    EXPECT_EQ(ShutdownDone, 1);
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    EXPECT_LT(host.NowMs(), 5000);
    EXPECT_EQ(PresentsAfter(100), 0u);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    MSG message{};
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.wParam, 0u);
}

// While frames play, and while the intro waits after having none.
INSTANTIATE_TEST_SUITE_P(FramesOrWait, CloseTest, ::testing::Values(10, 0));

TEST_F(IntroTest, AQuitRequestIsPostedAgainForTheMainLoop) {
    WriteMovie(MovieOf(10));
    OpenDevice();
    PostQuitMessage(7);
    host.SetScript({Tap(5000)});
    PlayIntroMovie();
    EXPECT_EQ(PresentsAfter(0), 0u);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{kTrackStart, kTrackStop}));
    MSG message{};
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.wParam, 7u);
}

TEST_F(IntroTest, AfterAShutdownItTouchesNothing) {
    WriteMovie(MovieOf(3));
    OpenDevice();
    Shutdown();
    host.SetScript({Tap(500)});
    PlayIntroMovie();
    EXPECT_TRUE(host.presents.empty());
    EXPECT_TRUE(log.events.empty());
}

}  // namespace
}  // namespace movie_test
