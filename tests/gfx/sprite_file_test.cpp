// Loading sprite files, sound and hostile, and giving their blocks back.
#include "gfx_fixture.h"

namespace gfxtest {
namespace {

struct Header {
    int32_t dataSize;
    uint32_t stride, imageHeight, frameWidth, frameHeight;
    uint8_t compression;
};

class SpriteFileTest : public GfxTest {
protected:
    void TearDown() override {
        FreeSprite(sprite_);
        GfxTest::TearDown();
    }
    int Load(const Header &h, const Bytes &data, uint32_t capacity = 0) {
        Bytes file;
        for (uint32_t v : {static_cast<uint32_t>(h.dataSize), h.stride, h.imageHeight, h.frameWidth,
                           h.frameHeight, 0x5A5A5A5Au})
            for (int shift = 0; shift < 32; shift += 8) file.push_back((v >> shift) & 0xFF);
        file.insert(file.end(), {h.compression, 0xEE, 0xEE, 0xEE});  // 25..27 are not examined
        file.insert(file.end(), data.begin(), data.end());
        WritePicture("t.nbf", file);
        return LoadSprite(TEXT("t.nbf"), sprite_, capacity);
    }
    Bytes Pixels(size_t n) const { return Bytes(sprite_.pixels, sprite_.pixels + n); }
    Sprite sprite_{};
};

const Bytes kImage = {9, 200, 200, 3, 4, 4};  // 3 x 2, bottom row first
const Bytes kCoded = {9, 0xC2, 200, 3, 0xC2, 4};

TEST_F(SpriteFileTest, RawAndCodedFilesGiveTheSameSprite) {
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

TEST_F(SpriteFileTest, BlocksAreReusedOnlyWhenTheyHoldTheImage) {
    ASSERT_EQ(Load({6, 3, 2, 1, 2, 0}, kImage, 64), 1);
    const uint8_t *first = sprite_.pixels;
    ASSERT_EQ(Load({60, 6, 10, 1, 2, 0}, Bytes(60, 1)), 1);
    EXPECT_EQ(sprite_.pixels, first);
    EXPECT_EQ(sprite_.capacity, 64u);
    ASSERT_EQ(Load({100, 10, 10, 1, 2, 0}, Bytes(100, 2), 8), 1);  // too small: a new block
    EXPECT_EQ(sprite_.capacity, 100u);
    EXPECT_EQ(sprite_.pixels[99], 2);
}

TEST_F(SpriteFileTest, HostileHeadersAreRefusedBeforeAnythingChanges) {
    const Header hostile[] = {
        {0, 0, 0, 0, 0, 0}, {-6, 3, 2, 1, 2, 0}, {0x7FFFFFFF, 1, 1, 1, 1, 0}, {5, 3, 2, 1, 2, 0},
        {6, 3, 2, 1, 3, 0}, {6, 3, 2, 4, 2, 0},  {6, 0x80000000u, 2, 1, 1, 0}};
    for (const Header &h : hostile) {
        EXPECT_EQ(Load(h, Bytes(64, 1)), 0) << h.dataSize << " " << h.stride;
        EXPECT_EQ(sprite_.pixels, nullptr);
        EXPECT_EQ(sprite_.stride, 0u);
    }
    WritePicture("short.nbf", Bytes(27, 1));
    EXPECT_EQ(LoadSprite(TEXT("short.nbf"), sprite_, 0), 0);
    EXPECT_EQ(sprite_.pixels, nullptr);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(SpriteFileTest, FailedLoadsLeaveNothingUnsafe) {
    EXPECT_EQ(Load({6, 3, 2, 1, 2, 1}, {9, 0xC2, 200, 3, 0xC2}), 0);  // the stream ends early
    EXPECT_NE(sprite_.pixels, nullptr);  // the block stays for FreeSprite
    FreeSprite(sprite_);
    FreeSprite(sprite_);
    EXPECT_EQ(sprite_.pixels, nullptr);
    EXPECT_EQ(LoadSprite(TEXT("kbl_b.nbf"), sprite_, 0), 0);
    const std::u16string tooLong(260 - kPictureFolder.size(), u'a');
    EXPECT_EQ(LoadSprite(tooLong.c_str(), sprite_, 0), 0);
    EXPECT_EQ(shown_, Texts{u"Open file : Fail|" + kPictureFolder + u"kbl_b.nbf"});
}

}  // namespace
}  // namespace gfxtest
