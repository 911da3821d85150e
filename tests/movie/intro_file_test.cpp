// The intro movie of the default installation: a file the player takes whole,
// and on screen exactly what its bytes say.
#include "intro_fixture.h"

namespace movie_test {
namespace {

struct ParsedMovie {
    Bytes titlePalette, title;
    uint32_t packedTitleBytes = 0;
    int32_t w = 0, h = 0, n = 0, t = 0;
    Bytes framePalette;
    std::vector<Bytes> frames;
    std::vector<uint32_t> packedFrameBytes;
};

class Reader {
public:
    explicit Reader(const Bytes &bytes) : bytes_(bytes) {}
    bool Take(size_t count, Bytes &out) {
        if (bytes_.size() - at_ < count) return false;
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + count));
        at_ += count;
        return true;
    }
    bool Number(uint32_t &value) {
        Bytes four;
        if (!Take(4, four)) return false;
        value = static_cast<uint32_t>(four[0] | four[1] << 8 | four[2] << 16 | four[3] << 24);
        return true;
    }
    bool Signed(int32_t &value) {
        uint32_t raw = 0;
        const bool ok = Number(raw);
        value = static_cast<int32_t>(raw);
        return ok;
    }
    // A length, then a packed picture that must fill `size` bytes exactly
    // and use every byte of its length.
    bool Packed(uint32_t size, Bytes &picture, uint32_t &length) {
        Bytes packed;
        if (!Number(length) || !Take(length, packed)) return false;
        picture.assign(size, 0);
        uint32_t used = 0;
        const uint32_t produced = DecodeRuns(picture.data(), size, [&]() -> int32_t {
            return used < packed.size() ? packed[used++] : -1;
        });
        return produced == size && used == length;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    const Bytes &bytes_;
    size_t at_ = 0;
};

::testing::AssertionResult Parse(const Bytes &file, ParsedMovie &movie) {
    Reader in(file);
    if (!in.Take(768, movie.titlePalette)) return ::testing::AssertionFailure() << "palette";
    if (!in.Packed(kTitleBytes, movie.title, movie.packedTitleBytes))
        return ::testing::AssertionFailure() << "title";
    if (!in.Signed(movie.w) || !in.Signed(movie.h) || !in.Signed(movie.n) || !in.Signed(movie.t) ||
        !in.Take(768, movie.framePalette))
        return ::testing::AssertionFailure() << "header";
    if (movie.w <= 0 || movie.h <= 0 || movie.n < 0)
        return ::testing::AssertionFailure() << "sizes " << movie.w << " x " << movie.h;
    for (int32_t k = 0; k < movie.n; ++k) {
        Bytes frame;
        uint32_t length = 0;
        if (!in.Packed(static_cast<uint32_t>(movie.w * movie.h), frame, length))
            return ::testing::AssertionFailure() << "frame " << k;
        movie.frames.push_back(std::move(frame));
        movie.packedFrameBytes.push_back(length);
    }
    if (!in.AtEnd()) return ::testing::AssertionFailure() << "bytes after the last frame";
    return ::testing::AssertionSuccess();
}

uint16_t Colour(const Bytes &palette, uint8_t index) {
    const uint8_t *rgb = &palette[3 * index];
    return static_cast<uint16_t>(ConvertColour(kfDirect565, rgb[0], rgb[1], rgb[2]));
}

TEST_F(IntroTest, TheInstalledMovieFitsThePlayer) {
    ParsedMovie movie;
    ASSERT_TRUE(Parse(ReadMovie(), movie));
    EXPECT_LE(movie.packedTitleBytes, kPackedTitleBytes);
    EXPECT_LE(movie.w, kMaxFrameWidth);
    EXPECT_LE(movie.h, 160) << "the frames would cover the title";
    EXPECT_GT(movie.t, 0);
    for (uint32_t length : movie.packedFrameBytes)
        EXPECT_LE(length, static_cast<uint32_t>(2 * movie.w * movie.h));
    // It moves: most frames differ from the one before.
    int32_t changes = 0;
    for (size_t k = 1; k < movie.frames.size(); ++k) changes += movie.frames[k] != movie.frames[k - 1];
    EXPECT_GT(changes, movie.n / 2);
    // A few seconds long, so the opening is seen but soon over.
    const int32_t playMs = movie.n * (movie.t + 1);
    EXPECT_GT(playMs, 2000);
    EXPECT_LT(playMs, 8000);
}

TEST_F(IntroTest, TheInstalledMovieShowsWhatItsFileHolds) {
    ParsedMovie movie;
    ASSERT_TRUE(Parse(ReadMovie(), movie));
    const int64_t afterLastFrame = int64_t{movie.n} * (movie.t + 1) + 200;
    Play({Tap(afterLastFrame)});
    EXPECT_EQ(PresentsAfter(0), static_cast<size_t>(movie.n));
    EXPECT_EQ(Sounds(), std::vector<std::string>{kTrackStart});
    // Pictures are stored bottom row first and shown upright.
    const Bytes &last = movie.frames.back();
    int32_t wrong = 0;
    for (int32_t r = 0; r < 100; ++r)
        for (int32_t c = 0; c < 220; ++c)
            wrong += ScreenAt(kTitleLeft + c, kTitleTop + 99 - r) !=
                     Colour(movie.titlePalette, movie.title[r * 220 + c]);
    for (int32_t r = 0; r < movie.h; ++r)
        for (int32_t c = 0; c < movie.w; ++c)
            wrong += ScreenAt(kFrameLeft + c, kFrameTop + movie.h - 1 - r) !=
                     Colour(movie.framePalette, last[r * movie.w + c]);
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(AreaIs(0, 0, 240, kFrameTop, kBlack565));
}

}  // namespace
}  // namespace movie_test
