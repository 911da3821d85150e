// Run-length coding of sprite files, and the sprite file itself.
#include <algorithm>

#include "assets.h"

namespace assets {
namespace {

constexpr uint8_t kRunMark = 192;  // a byte at or above this starts a run
constexpr size_t kLongestRun = 63;
// A run of two costs as much as two literals; runs start paying at three.
constexpr size_t kShortestWorthwhileRun = 3;
constexpr uint8_t kCodedCompression = 1;

void PutLittleEndian32(Bytes &out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

Bytes EncodeRuns(const uint8_t *pixels, size_t count) {
    Bytes out;
    out.reserve(count);
    size_t i = 0;
    while (i < count) {
        const uint8_t value = pixels[i];
        const size_t limit = std::min(count, i + kLongestRun);
        size_t end = i + 1;
        while (end < limit && pixels[end] == value) ++end;
        const size_t length = end - i;
        if (value >= kRunMark || length >= kShortestWorthwhileRun) {
            out.push_back(static_cast<uint8_t>(kRunMark + length));
            out.push_back(value);
        } else {
            out.insert(out.end(), length, value);
        }
        i = end;
    }
    return out;
}

Bytes MakeSpriteFile(const Bytes &pixelsBottomRowFirst, uint32_t stride, uint32_t imageHeight,
                     uint32_t frameWidth, uint32_t frameHeight, bool coded) {
    Bytes file;
    PutLittleEndian32(file, static_cast<uint32_t>(pixelsBottomRowFirst.size()));
    PutLittleEndian32(file, stride);
    PutLittleEndian32(file, imageHeight);
    PutLittleEndian32(file, frameWidth);
    PutLittleEndian32(file, frameHeight);
    PutLittleEndian32(file, 0);  // reserved
    file.push_back(coded ? kCodedCompression : 0);
    file.insert(file.end(), 3, 0);
    if (coded) {
        const Bytes data = EncodeRuns(pixelsBottomRowFirst.data(), pixelsBottomRowFirst.size());
        file.insert(file.end(), data.begin(), data.end());
    } else {
        file.insert(file.end(), pixelsBottomRowFirst.begin(), pixelsBottomRowFirst.end());
    }
    return file;
}

}  // namespace assets
