// Sprite files: the 28-byte header, raw or run-length coded pixels, and the
// pixel block each Sprite owns.
#include <algorithm>

#include "gfx/gfx.h"

namespace {

constexpr uint8_t kCodedPixels = 1;
// Far beyond any picture of a 240 x 320 screen and beyond the handheld's
// memory; a header asking for more is refused rather than allocated.
constexpr int32_t kMaxSpriteBytes = 16 << 20;

struct SpriteFileHeader {
    int32_t dataSize;
    uint32_t stride;
    uint32_t imageHeight;
    uint32_t frameWidth;
    uint32_t frameHeight;
    uint32_t reserved;
    uint8_t compression;
};

uint32_t ReadLittleEndian32(const uint8_t *bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

SpriteFileHeader ParseHeader(const uint8_t *bytes) {
    SpriteFileHeader header;
    header.dataSize = static_cast<int32_t>(ReadLittleEndian32(bytes));
    header.stride = ReadLittleEndian32(bytes + 4);
    header.imageHeight = ReadLittleEndian32(bytes + 8);
    header.frameWidth = ReadLittleEndian32(bytes + 12);
    header.frameHeight = ReadLittleEndian32(bytes + 16);
    header.reserved = ReadLittleEndian32(bytes + 20);
    header.compression = bytes[24];
    return header;
}

// Drawing trusts the geometry, so an image that does not hold its own rows,
// or frames taller or wider than the image, is refused here.
bool GeometryIsSound(const SpriteFileHeader &header) {
    if (header.dataSize <= 0 || header.dataSize > kMaxSpriteBytes) return false;
    const uint64_t imageBytes = static_cast<uint64_t>(header.stride) * header.imageHeight;
    return imageBytes <= static_cast<uint64_t>(header.dataSize) &&
           header.frameHeight <= header.imageHeight && header.frameWidth <= header.stride;
}

int ReadHeader(HANDLE file, SpriteFileHeader &header) {
    uint8_t bytes[kSpriteHeaderBytes];
    DWORD read = 0;
    if (!ReadFile(file, bytes, kSpriteHeaderBytes, &read, nullptr)) return 0;
    if (read != kSpriteHeaderBytes) return 0;
    header = ParseHeader(bytes);
    return GeometryIsSound(header);
}

void CopyHeader(const SpriteFileHeader &header, Sprite &sprite) {
    sprite.stride = header.stride;
    sprite.imageHeight = header.imageHeight;
    sprite.frameWidth = header.frameWidth;
    sprite.frameHeight = header.frameHeight;
    sprite.reserved = header.reserved;
}

// A loaded Sprite keeps its block when the new image fits in it; a block too
// small for it is exchanged for one that holds it.
int ProvideBlock(Sprite &sprite, uint32_t capacity, uint32_t dataSize) {
    if (sprite.pixels != nullptr && sprite.capacity >= dataSize) return 1;
    FreeSprite(sprite);
    const uint32_t bytes = std::max(capacity, dataSize);
    sprite.pixels = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    sprite.capacity = sprite.pixels != nullptr ? bytes : 0;
    return sprite.pixels != nullptr;
}

int ReadCodedPixels(HANDLE file, uint8_t *pixels, uint32_t dataSize) {
    const auto nextByte = [file]() -> int32_t {
        uint8_t byte = 0;
        DWORD read = 0;
        if (!ReadFile(file, &byte, 1, &read, nullptr) || read != 1) return -1;
        return byte;
    };
    // A stream that ends before the image is whole fails the load.
    return DecodeRuns(pixels, dataSize, nextByte) == dataSize;
}

// Raw data shorter than the image is accepted: the rest keeps the block's bytes.
int ReadRawPixels(HANDLE file, uint8_t *pixels, uint32_t dataSize) {
    DWORD read = 0;
    return ReadFile(file, pixels, dataSize, &read, nullptr) ? 1 : 0;
}

int ReadSpriteFile(HANDLE file, Sprite &sprite, uint32_t capacity) {
    SpriteFileHeader header;
    if (!ReadHeader(file, header)) return 0;
    CopyHeader(header, sprite);
    const uint32_t dataSize = static_cast<uint32_t>(header.dataSize);
    if (!ProvideBlock(sprite, capacity, dataSize)) return 0;
    const int read = header.compression == kCodedPixels
                         ? ReadCodedPixels(file, sprite.pixels, dataSize)
                         : ReadRawPixels(file, sprite.pixels, dataSize);
    if (!read) return 0;
    sprite.transparent = sprite.pixels[0];
    return 1;
}

}  // namespace

int LoadSprite(LPCWSTR name, Sprite &sprite, uint32_t capacity) {
    HANDLE file = OpenPictureFile(name);
    if (file == INVALID_HANDLE_VALUE) return 0;
    const int loaded = ReadSpriteFile(file, sprite, capacity);
    CloseHandle(file);
    return loaded;
}

void FreeSprite(Sprite &sprite) {
    if (sprite.pixels == nullptr) return;
    VirtualFree(sprite.pixels, 0, MEM_RELEASE);
    sprite.pixels = nullptr;
    sprite.capacity = 0;
}
