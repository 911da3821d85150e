// A PNG writer of its own, on zlib alone: every build writes the very same
// bytes for the same picture (fixed deflate settings, no filters), which a
// recorded run's shots are compared by, and the Windows build has no libpng.
#include "wince/seam/png.h"

#include <zlib.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "wince/seam/host_file.h"

namespace wince {

namespace {

void PutBig32(std::vector<uint8_t> &out, uint32_t value) {
    out.insert(out.end(), {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                           static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

// A chunk: its length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t> &out, const char (&type)[5], const std::vector<uint8_t> &data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    PutBig32(out, static_cast<uint32_t>(crc));
}

bool Deflate(const std::vector<uint8_t> &raw, std::vector<uint8_t> &packed) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    packed.resize(size);
    if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(size);
    return true;
}

// pixels holds height rows of width pixels, three bytes (RGB) or four (RGBA).
// Empty when zlib fails.
std::vector<uint8_t> EncodePng(const std::vector<uint8_t> &pixels, int width, int height,
                               bool alpha) {
    const size_t rowBytes = static_cast<size_t>(width) * (alpha ? 4 : 3);
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        const auto row = pixels.begin() + static_cast<ptrdiff_t>(rowBytes * y);
        raw.insert(raw.end(), row, row + static_cast<ptrdiff_t>(rowBytes));
    }
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    // 8 bits a channel, RGB or RGBA, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, static_cast<uint8_t>(alpha ? 6 : 2), 0, 0, 0});
    std::vector<uint8_t> packed;
    if (!Deflate(raw, packed)) return {};
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteBytes(const std::filesystem::path &file, const std::vector<uint8_t> &bytes,
                std::string &error) {
    if (bytes.empty()) {
        error = "cannot compress the picture for " + file.string();
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> out(OpenHostFile(file, "wb"), std::fclose);
    const bool written = out &&
                         std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size() &&
                         std::fclose(out.release()) == 0;
    if (!written) error = "cannot write " + file.string();
    return written;
}

}  // namespace

bool WriteScreenPng(const std::filesystem::path &file, const Screen &screen, std::string &error) {
    return WriteBytes(file, EncodePng(ToRgbBytes(screen), kScreenWidth, kScreenHeight, false),
                      error);
}

std::vector<uint8_t> EncodeArgbPng(std::span<const uint32_t> pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height)
        return {};
    std::vector<uint8_t> rows;
    rows.reserve(pixels.size() * 4);
    for (uint32_t argb : pixels) {
        rows.insert(rows.end(), {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                                 static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24)});
    }
    return EncodePng(rows, width, height, true);
}

bool WriteArgbPng(const std::filesystem::path &file, std::span<const uint32_t> pixels, int width,
                  int height, std::string &error) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
        error = "the picture's size does not match its pixels";
        return false;
    }
    return WriteBytes(file, EncodeArgbPng(pixels, width, height), error);
}

}  // namespace wince
