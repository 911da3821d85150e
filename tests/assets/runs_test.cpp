// The installation's run-length coder against the game's decoder. (The sprite
// files it writes are read by the game's own loader in the picture tests.)
#include <gtest/gtest.h>

#include <random>

#include "assets/assets.h"
#include "gfx/gfx.h"

namespace {

using assets::Bytes;

Bytes Encode(const Bytes &pixels) {
    return assets::EncodeRuns(pixels.data(), pixels.size());
}

// Edge images and random ones: values from 192 up only ever come as runs,
// runs hold 1..63 pixels, and the game's decoder gets the pixels back.
TEST(EncodeRuns, TheDecoderUndoesIt) {
    std::vector<Bytes> images;
    for (size_t length : {1u, 2u, 3u, 63u, 64u, 126u, 127u, 1000u})
        for (uint8_t value : {0, 191, 192, 255}) images.emplace_back(length, value);
    Bytes mixed;
    for (int v = 0; v < 256; ++v) mixed.insert(mixed.end(), 1 + v % 70, v);
    for (int i = 0; i < 300; ++i) mixed.push_back(i % 2 ? 192 : 191);
    images.push_back(mixed);
    std::mt19937 random(20240611);
    for (int image = 0; image < 200; ++image) {
        const size_t size = 1 + random() % 3000;
        const uint32_t maxRun = 1 + random() % 150;
        Bytes pixels;
        while (pixels.size() < size) {
            const uint8_t value = image % 3 == 0 ? 190 + random() % 66 : random() % 256;
            pixels.insert(pixels.end(),
                          std::min<size_t>(1 + random() % maxRun, size - pixels.size()), value);
        }
        images.push_back(pixels);
    }
    for (size_t n = 0; n < images.size(); ++n) {
        SCOPED_TRACE(n);
        const Bytes coded = Encode(images[n]);
        for (size_t i = 0; i < coded.size(); ++i) {
            if (coded[i] < 192) continue;
            ASSERT_GT(coded[i], 192) << "an empty run at byte " << i;
            ++i;  // its value
        }
        Bytes decoded(images[n].size());
        size_t at = 0;
        DecodeRuns(decoded.data(), static_cast<uint32_t>(decoded.size()),
                   [&]() -> int32_t { return at < coded.size() ? coded[at++] : -1; });
        ASSERT_EQ(decoded, images[n]);
        ASSERT_EQ(at, coded.size());
    }
}

}  // namespace
