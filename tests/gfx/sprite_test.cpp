// The run-length scheme, loading sprite files raw and coded, and frames that
// do not fit. (Pictures that are missing or cut short meet the installation
// faults test; headers that lie, the sprite fuzz target.)
#include "support/device.h"

namespace pellax_test {
namespace {

using Bytes = std::vector<uint8_t>;

// Literals and runs; an empty run still takes its value byte; the output may
// end inside a run, and the stream anywhere, also between a run byte and its value.
TEST(DecodeRuns, LiteralsRunsAndTheEnd) {
    const std::tuple<Bytes, uint32_t, Bytes, size_t> cases[] = {
        // in, size, out, bytes read
        {{0x05, 0xC3, 0x07, 0xC1, 0xFF}, 5, {5, 7, 7, 7, 0xFF}, 5},
        {{0xC0, 0x09, 0x04}, 1, {4}, 3},
        {{0xC5, 0x2A, 0x01, 0x02}, 3, {0x2A, 0x2A, 0x2A}, 2},
        {{0x01, 0xC4}, 6, {1}, 2}};
    for (const auto &[stream, size, output, read] : cases) {
        Bytes out(size, 0xEE);
        size_t at = 0;
        out.resize(DecodeRuns(out.data(), size, [&, &in = stream]() -> int32_t {
            return at < in.size() ? in[at++] : -1;
        }));
        EXPECT_EQ(std::make_pair(out, at), std::make_pair(output, read));
    }
}

// The installation's coder against the decoder, on edge images: values from 192 up only ever come
// as runs, runs hold 1..63 pixels, and the decoder gets the pixels back, reading the whole stream.
TEST(DecodeRuns, UndoesTheInstallationsCoder) {
    std::vector<Bytes> images;
    for (size_t length : {1u, 2u, 63u, 64u, 126u, 127u, 1000u})
        for (uint8_t value : {0, 191, 192, 255}) images.emplace_back(length, value);
    Bytes mixed;  // every value, in runs of 1..70, then 191 and 192 in turn
    for (int v = 0; v < 256; ++v) mixed.insert(mixed.end(), 1 + v % 70, uint8_t(v));
    for (int i = 0; i < 300; ++i) mixed.push_back(i % 2 ? 192 : 191);
    images.push_back(mixed);
    for (const Bytes &image : images) {
        const Bytes coded = assets::EncodeRuns(image.data(), image.size());
        for (size_t i = 0; i < coded.size(); i += coded[i] >= 192 ? 2 : 1)
            ASSERT_NE(coded[i], 192) << "an empty run at byte " << i;
        Bytes decoded(image.size());
        size_t at = 0;
        DecodeRuns(decoded.data(), uint32_t(decoded.size()),
                   [&]() -> int32_t { return at < coded.size() ? coded[at++] : -1; });
        ASSERT_EQ(decoded, image);
        ASSERT_EQ(at, coded.size());
    }
}

class SpriteFile : public DeviceTest {
protected:
    void TearDown() override {
        FreeSprite(sprite_);
        DeviceTest::TearDown();
    }
    // A file of the header fields given (data size, stride, image height,
    // frame width, frame height, compression), then the data.
    int Load(const std::array<uint32_t, 6> &h, const Bytes &data, uint32_t capacity = 0) {
        Bytes file;
        for (uint32_t v : {h[0], h[1], h[2], h[3], h[4], 0x5A5A5A5Au})
            for (int shift = 0; shift < 32; shift += 8) file.push_back((v >> shift) & 0xFF);
        file.insert(file.end(), {uint8_t(h[5]), 0xEE, 0xEE, 0xEE});  // 25..27 are not examined
        file.insert(file.end(), data.begin(), data.end());
        WriteRootFile(kPictureFolder / "t.nbf", file);
        return LoadSprite(TEXT("t.nbf"), sprite_, capacity);
    }
    Bytes Pixels(size_t n) const { return Bytes(sprite_.pixels, sprite_.pixels + n); }

    Sprite sprite_{};
};

const Bytes kImage = {9, 200, 200, 3, 4, 4};  // 3 x 2, bottom row first
const Bytes kCoded = {9, 0xC2, 200, 3, 0xC2, 4};

TEST_F(SpriteFile, RawAndCodedFilesGiveTheSameSprite) {
    for (uint32_t compression : {0, 1, 2}) {
        FreeSprite(sprite_);
        ASSERT_EQ(Load({6, 3, 2, 1, 2, compression}, compression == 1 ? kCoded : kImage), 1);
        EXPECT_EQ(Pixels(6), kImage);
        EXPECT_EQ(sprite_.transparent, 9);
        EXPECT_EQ(sprite_.reserved, 0x5A5A5A5Au);
        EXPECT_EQ(sprite_.capacity, 6u);
    }
    FreeSprite(sprite_);
    ASSERT_EQ(Load({6, 3, 2, 1, 2, 0}, {1, 2}), 1);  // short raw data: the rest stays zero
    EXPECT_EQ(Pixels(6), (Bytes{1, 2, 0, 0, 0, 0}));
}

// A frame is drawn only where it lies wholly inside the BackBuffer.
TEST(SpriteDraw, FramesThatDoNotFitAreNotDrawn) {
    Bytes pixels(45 * 20, 7), screen(240 * 320, 0);
    BackBuffer = {240, 320, screen.data()};
    const Sprite sprite{45, 20, 15, 20, 0, 1, pixels.data(), 45 * 20};  // three 15 x 20 frames
    EXPECT_TRUE(SpriteFrameFits(sprite, 225, 300, 2));
    for (const auto &[x, y, frame] :
         {std::array{0, 0, 3}, {-1, 0, 0}, {226, 0, 0}, {0, 301, 0}, {0, -1, 0}}) {
        EXPECT_FALSE(SpriteFrameFits(sprite, x, y, uint32_t(frame))) << x << "," << y;
        DrawSpriteFrame(sprite, x, y, uint32_t(frame));
    }
    EXPECT_EQ(screen, Bytes(240 * 320, 0));
    BackBuffer = {};
}

}  // namespace
}  // namespace pellax_test
