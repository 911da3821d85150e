// The run-length scheme, and loading sprite files, sound and hostile, and
// giving their blocks back.
#include "support/rules_env.h"

using namespace rules_test;

namespace {

using Bytes = std::vector<uint8_t>;

struct Decoded {
    Bytes output;
    size_t consumed;
};

Decoded Decode(const Bytes &stream, uint32_t size) {
    Decoded d{Bytes(size, 0xEE), 0};
    const uint32_t produced = DecodeRuns(d.output.data(), size, [&]() -> int32_t {
        return d.consumed < stream.size() ? stream[d.consumed++] : -1;
    });
    d.output.resize(produced);
    return d;
}

TEST(DecodeRuns, LiteralsRunsAndTheEnd) {
    EXPECT_EQ(Decode({0x05, 0xC3, 0x07, 0xC1, 0xFF}, 5).output, (Bytes{5, 7, 7, 7, 0xFF}));
    // An empty run still takes its value byte.
    EXPECT_EQ(Decode({0xC0, 0x09, 0x04}, 1).output, Bytes{4});
    // The output ends in the middle of a run; nothing after it is read.
    const Decoded cut = Decode({0xC5, 0x2A, 0x01, 0x02}, 3);
    EXPECT_EQ(cut.output, (Bytes{0x2A, 0x2A, 0x2A}));
    EXPECT_EQ(cut.consumed, 2u);
    EXPECT_EQ(Decode({0xC1, 0xC8}, 1).output, Bytes{200});
    // A stream that ends early, also between a run byte and its value, stops there.
    EXPECT_EQ(Decode({0x01, 0xC4}, 6).output, Bytes{1});
}

struct Header {
    int32_t dataSize;
    uint32_t stride, imageHeight, frameWidth, frameHeight;
    uint8_t compression;
};

class SpriteFile : public DeviceTest {
protected:
    void TearDown() override {
        FreeSprite(sprite_);
        DeviceTest::TearDown();
    }
    int Load(const Header &h, const Bytes &data, uint32_t capacity = 0) {
        Bytes file;
        for (uint32_t v : {static_cast<uint32_t>(h.dataSize), h.stride, h.imageHeight, h.frameWidth,
                           h.frameHeight, 0x5A5A5A5Au})
            for (int shift = 0; shift < 32; shift += 8) file.push_back((v >> shift) & 0xFF);
        file.insert(file.end(), {h.compression, 0xEE, 0xEE, 0xEE});  // 25..27 are not examined
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
    for (uint8_t compression : {0, 1, 2}) {
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

TEST_F(SpriteFile, BlocksAreReusedOnlyWhenTheyHoldTheImage) {
    ASSERT_EQ(Load({6, 3, 2, 1, 2, 0}, kImage, 64), 1);
    const uint8_t *first = sprite_.pixels;
    ASSERT_EQ(Load({60, 6, 10, 1, 2, 0}, Bytes(60, 1)), 1);
    EXPECT_EQ(sprite_.pixels, first);
    EXPECT_EQ(sprite_.capacity, 64u);
    ASSERT_EQ(Load({100, 10, 10, 1, 2, 0}, Bytes(100, 2), 8), 1);  // too small: a new block
    EXPECT_EQ(sprite_.capacity, 100u);
    EXPECT_EQ(sprite_.pixels[99], 2);
}

TEST_F(SpriteFile, HostileHeadersAreRefusedBeforeAnythingChanges) {
    const Header hostile[] = {
        {0, 0, 0, 0, 0, 0}, {-6, 3, 2, 1, 2, 0}, {0x7FFFFFFF, 1, 1, 1, 1, 0}, {5, 3, 2, 1, 2, 0},
        {6, 3, 2, 1, 3, 0}, {6, 3, 2, 4, 2, 0},  {6, 0x80000000u, 2, 1, 1, 0}};
    for (const Header &h : hostile) {
        EXPECT_EQ(Load(h, Bytes(64, 1)), 0) << h.dataSize << " " << h.stride;
        EXPECT_EQ(sprite_.pixels, nullptr);
        EXPECT_EQ(sprite_.stride, 0u);
    }
    WriteRootFile(kPictureFolder / "short.nbf", Bytes(27, 1));
    EXPECT_EQ(LoadSprite(TEXT("short.nbf"), sprite_, 0), 0);
    EXPECT_EQ(sprite_.pixels, nullptr);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(SpriteFile, FailedLoadsLeaveNothingUnsafe) {
    EXPECT_EQ(Load({6, 3, 2, 1, 2, 1}, {9, 0xC2, 200, 3, 0xC2}), 0);  // the stream ends early
    EXPECT_NE(sprite_.pixels, nullptr);  // the block stays for FreeSprite
    FreeSprite(sprite_);
    FreeSprite(sprite_);
    EXPECT_EQ(sprite_.pixels, nullptr);
    EXPECT_EQ(LoadSprite(TEXT("none.nbf"), sprite_, 0), 0);
    // With the 34 characters of the folder, no room is left for the terminator.
    const std::u16string tooLong(kPathChars - 34, u'a');
    EXPECT_EQ(LoadSprite(tooLong.c_str(), sprite_, 0), 0);
    EXPECT_EQ(log.events,
              std::vector<std::string>{
                  "msgbox Open file : Fail|\\Program Files\\Pellax Rim\\picture\\none.nbf"});
}

}  // namespace
