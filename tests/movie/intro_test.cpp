// The intro on the headless device, with the window and display opened as
// start-up opens them: title, paced frames, the wait, every way it can end,
// a frame that lies, and the intro of the default installation.
#include "movie/movie.h"
#include "support/device.h"

namespace pellax_test {
namespace {

using assets::Bytes;
using Kind = wince::headless::ScriptEvent::Kind;
using Texts = std::vector<std::string>;

constexpr uint16_t kRed565 = 0xF800, kGreen565 = 0x07E0, kWhite565 = 0xFFFF, kBlack565 = 0;
const std::string kTrackStart = "sound .\\Windows\\qznwf.dll", kTrackStop = "sound stop";
const fs::path kMovie = fs::path("Windows") / "qzmmf.dll";
constexpr int32_t kW = 100, kH = 50, kT = 40;

wince::headless::ScriptEvent At(int64_t t, Kind kind, int32_t a = 120) {
    return {t, kind, a, 160, {}};
}

// Palettes: 1 red, 2 green, 4 white; in frames, 10 + k a grey of 8 x (k + 1).
Bytes Palette() {
    Bytes palette(768, 0);
    palette[3] = palette[7] = palette[12] = palette[13] = palette[14] = 255;
    for (int k = 0; k < 30; ++k) std::fill_n(&palette[3 * (10 + k)], 3, 8 * (k + 1));
    return palette;
}

// A movie of a 220 x 100 title of red over a green first stored row (the
// bottom one on screen), then n frames w x h, frame k of colour 10 + k over
// a white first row (packed as packedHeight rows when given).
Bytes Movie(int32_t n, int32_t w = kW, int32_t h = kH, const Bytes &palette = Palette(),
            int32_t packedHeight = 0) {
    Bytes movie = Palette();
    const auto number = [&movie](int64_t value) {
        for (int shift = 0; shift < 32; shift += 8) movie.push_back(uint8_t(value >> shift));
    };
    const auto picture = [&](int32_t width, int32_t height, uint8_t fill, uint8_t bottom) {
        Bytes pixels(size_t(width * height), fill);
        std::fill_n(pixels.begin(), width, bottom);
        const Bytes packed = assets::EncodeRuns(pixels.data(), pixels.size());
        number(int64_t(packed.size()));
        movie.insert(movie.end(), packed.begin(), packed.end());
    };
    picture(220, 100, 1, 2);
    for (int32_t field : {w, h, n, kT}) number(field);
    movie.insert(movie.end(), palette.begin(), palette.end());
    for (int32_t k = 0; k < n; ++k) picture(w, packedHeight ? packedHeight : h, uint8_t(10 + k), 4);
    return movie;
}

uint16_t FrameColour(int32_t k) {
    return uint16_t(ConvertColour(kfDirect565, 8 * (k + 1), 8 * (k + 1), 8 * (k + 1)));
}

class IntroTest : public DeviceTest {
protected:
    // The script's end closes the window, so every run ends.
    void Play(std::vector<wince::headless::ScriptEvent> script) {
        OpenWindow();
        ASSERT_EQ(OpenGraphics(MainWindowHandle, kPaletteFile, kRegistryKey, 240, 320), 1);
        host.SetScript(std::move(script));
        PlayIntroMovie();
    }
    uint16_t ScreenAt(int32_t x, int32_t y) const { return host.Screen()[size_t(y * 240 + x)]; }
    bool AreaIs(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour) const {
        const wince::Screen &screen = host.Screen();
        for (int32_t row = y; row < y + h; ++row)
            for (int32_t column = x; column < x + w; ++column)
                if (screen[size_t(row * 240 + column)] != colour) return false;
        return true;
    }
    // The title upright at (10, 200), black beside and below it.
    bool TitleShown() const {
        return AreaIs(10, 200, 220, 99, kRed565) && AreaIs(10, 299, 220, 1, kGreen565) &&
               AreaIs(0, 300, 240, 20, kBlack565) && AreaIs(0, 200, 10, 100, kBlack565) &&
               AreaIs(230, 200, 10, 100, kBlack565);
    }
    bool OnlyTitleShown() const { return TitleShown() && AreaIs(0, 0, 240, 200, kBlack565); }
    // Frame k, w x h, upright at (40, 40).
    bool FrameShown(int32_t w, int32_t h, int32_t k) const {
        return AreaIs(40, 40, w, h - 1, FrameColour(k)) && AreaIs(40, 39 + h, w, 1, kWhite565);
    }
    size_t FramesPresented() const {  // everything after the title, shown at 0 ms
        return size_t(std::count_if(host.presents.begin(), host.presents.end(),
                                    [](int64_t t) { return t > 0; }));
    }
};

// Only the frames' rectangle takes the frame palette: there entry 1 is grey,
// and the title, red, must stay red.
TEST_F(IntroTest, FramesFollowAtTheirIntervalAndTheTrackPlaysOnThroughTheWait) {
    Bytes palette = Palette();
    palette[3] = palette[4] = palette[5] = 0x80;
    WriteRootFile(kMovie, Movie(3, kW, kH, palette));
    // Left and Return are dispatched but end nothing; their key-ups are
    // discarded, so the flags are still set when the intro ends.
    Play({At(50, Kind::KeyDown, VK_LEFT), At(60, Kind::KeyUp, VK_LEFT),
          At(70, Kind::KeyDown, VK_RETURN), At(71, Kind::KeyUp, VK_RETURN), At(1000, Kind::Down)});
    // Each frame comes at the first reading more than T ms after the last.
    EXPECT_EQ(host.presents, (std::vector<int64_t>{0, 0, 41, 82, 123}));
    EXPECT_GE(host.NowMs(), 1000);
    EXPECT_TRUE(FrameShown(kW, kH, 2) && TitleShown());
    EXPECT_TRUE(AreaIs(0, 0, 240, 40, kBlack565) && AreaIs(140, 40, 100, kH, kBlack565));
    EXPECT_EQ(host.events, Texts{kTrackStart});
    EXPECT_EQ(KeyFlags[kKeyLeft] + KeyFlags[kKeyReturn], 2u);
    EXPECT_EQ(std::make_pair(StylusState.down, StylusState.x), std::make_pair(0u, 120u));
}

// A frame that unpacks short is a lie: the intro ends there, as at a failed
// read, and the track with it. (Other lies are the intro fuzz target's.)
TEST_F(IntroTest, AFrameThatUnpacksShortEndsTheIntro) {
    WriteRootFile(kMovie, Movie(3, kW, kH, Palette(), kH - 1));
    Play({At(5000, Kind::Down)});
    EXPECT_LT(host.NowMs(), 5000);
    EXPECT_EQ(FramesPresented(), 0u);
    EXPECT_EQ(host.events, (Texts{kTrackStart, kTrackStop}));
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
    WriteRootFile(kMovie, Movie(c.frames));
    if (c.quitWaiting) PostQuitMessage(7);
    Play({At(100, c.kind, c.key), At(5000, Kind::Down)});
    EXPECT_EQ(host.NowMs() >= 100, !c.quitWaiting) << "the title waits with its track";
    EXPECT_LT(host.NowMs(), 5000);
    EXPECT_EQ(FramesPresented(), c.frames && !c.quitWaiting ? 2u : 0u);
    EXPECT_TRUE(c.quitWaiting || (c.frames ? FrameShown(kW, kH, 1) : OnlyTitleShown()));
    EXPECT_EQ(host.events, (Texts{kTrackStart, kTrackStop}));
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

// The player itself checks the installed file: any lie or short read would
// end the intro early and cut the track.
TEST_F(IntroTest, TheInstalledMoviePlaysWholeAboveItsTitle) {
    const std::string movie = ReadRootFile(kMovie);
    const auto field = [&movie](size_t at) {
        return int32_t(uint8_t(movie.at(at)) | uint8_t(movie.at(at + 1)) << 8 |
                       uint8_t(movie.at(at + 2)) << 16 | uint8_t(movie.at(at + 3)) << 24);
    };
    const size_t header = 772 + size_t(field(768));
    const int32_t w = field(header), h = field(header + 4);
    const int32_t n = field(header + 8), t = field(header + 12);
    EXPECT_LE(w, kMaxFrameWidth);
    EXPECT_LE(h, 160) << "the frames would cover the title";
    EXPECT_GT(n * (t + 1), 2000) << "a few seconds long";
    EXPECT_LT(n * (t + 1), 8000);
    Play({At(n * (t + 1) + 200, Kind::Down)});
    EXPECT_EQ(FramesPresented(), size_t(n));
    EXPECT_EQ(host.events, Texts{kTrackStart});
    // Something is drawn in both places, and nothing outside them.
    EXPECT_FALSE(AreaIs(10, 200, 220, 100, ScreenAt(10, 200)));
    EXPECT_FALSE(AreaIs(40, 40, w, h, ScreenAt(40, 40)));
    EXPECT_TRUE(AreaIs(0, 0, 240, 40, kBlack565) && AreaIs(0, 300, 240, 20, kBlack565));
    EXPECT_TRUE(AreaIs(0, 40, 10, 260, kBlack565));
}

}  // namespace
}  // namespace pellax_test
