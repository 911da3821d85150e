// The run-length scheme shared by sprite files and the intro movie.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "assets/assets.h"
#include "gfx/gfx.h"

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

TEST(DecodeRuns, UndoesTheInstallationEncoder) {
    std::mt19937 random(20240611);
    for (int image = 0; image < 200; ++image) {
        const size_t size = 1 + random() % 3000;
        const uint32_t maxRun = 1 + random() % 150;  // runs beyond 63 must be split
        Bytes pixels;
        while (pixels.size() < size) {
            const uint8_t value = image % 3 == 0 ? 190 + random() % 66 : random() % 256;
            pixels.insert(pixels.end(),
                          std::min<size_t>(1 + random() % maxRun, size - pixels.size()), value);
        }
        const Bytes coded = assets::EncodeRuns(pixels.data(), pixels.size());
        const Decoded d = Decode(coded, static_cast<uint32_t>(size));
        ASSERT_EQ(d.output, pixels) << "image " << image;
        ASSERT_EQ(d.consumed, coded.size()) << "image " << image;
    }
}

}  // namespace
