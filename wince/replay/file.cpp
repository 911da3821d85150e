#include "wince/replay/file.h"

#include <algorithm>
#include <cstring>

#include "wince/replay/replay.h"

#if PELLAX_REPLAY_ZLIB
#include <zlib.h>
#endif

namespace wince::replay {

namespace {

constexpr char kMagic[8] = {'P', 'X', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr uint16_t kDeflated = 1;
// Far above ten minutes of play: a header claiming more is damaged.
constexpr uint64_t kLargestBody = uint64_t{1} << 30;

void Put(std::vector<uint8_t> &out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t Get(std::span<const uint8_t> in, size_t at, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[at + i]) << (8 * i);
    return value;
}

#if PELLAX_REPLAY_ZLIB
bool Inflate(std::span<const uint8_t> packed, size_t length, std::vector<uint8_t> &body,
             std::string &error) {
    // The body grows as it is inflated, up to the length the header claims:
    // a damaged header costs no more memory than the data behind it makes.
    constexpr size_t kStep = size_t{1} << 20;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return error = "cannot start zlib", false;
    stream.next_in = const_cast<Bytef *>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    int result = Z_OK;
    while (result == Z_OK && body.size() < length + 1) {
        const size_t done = body.size();
        body.resize(std::min(length + 1, done + kStep));
        stream.next_out = body.data() + done;
        stream.avail_out = static_cast<uInt>(body.size() - done);
        result = inflate(&stream, Z_NO_FLUSH);
        body.resize(stream.total_out);
        if (result == Z_BUF_ERROR && stream.avail_in == 0) break;
    }
    const bool inputLeft = stream.avail_in != 0;
    inflateEnd(&stream);
    if (result == Z_STREAM_END && body.size() == length && !inputLeft) return true;
    // Input that ran out before the stream ended is a file cut short; the
    // rest is damage.
    error = (result == Z_OK || result == Z_BUF_ERROR) && !inputLeft && body.size() < length
                ? "it is cut short"
                : "it is damaged";
    body.clear();
    return false;
}
#endif

}  // namespace

std::vector<uint8_t> FileHeader(std::span<const uint8_t> body, bool deflated) {
    std::vector<uint8_t> header(std::begin(kMagic), std::end(kMagic));
    Put(header, kFormatVersion, 2);
    Put(header, deflated ? kDeflated : 0, 2);
    Put(header, body.size(), 4);
    Put(header, Digest(body), 8);
    return header;
}

std::vector<uint8_t> MakeFile(std::span<const uint8_t> body) {
#if PELLAX_REPLAY_ZLIB
    std::vector<uint8_t> file = FileHeader(body, true);
    uLongf packedSize = compressBound(static_cast<uLong>(body.size()));
    file.resize(kFileHeaderBytes + packedSize);
    if (compress2(file.data() + kFileHeaderBytes, &packedSize, body.data(),
                  static_cast<uLong>(body.size()), Z_BEST_COMPRESSION) == Z_OK) {
        file.resize(kFileHeaderBytes + packedSize);
        return file;
    }
#endif
    std::vector<uint8_t> stored = FileHeader(body, false);
    stored.insert(stored.end(), body.begin(), body.end());
    return stored;
}

bool OpenFile(std::span<const uint8_t> file, std::vector<uint8_t> &body, std::string &error) {
    body.clear();
    if (file.size() < sizeof kMagic || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) {
        error = file.size() < sizeof kMagic && std::memcmp(file.data(), kMagic, file.size()) == 0 &&
                        !file.empty()
                    ? "it is cut short"
                    : "it is not a replay file";
        return false;
    }
    if (file.size() < kFileHeaderBytes) return error = "it is cut short", false;
    const uint64_t version = Get(file, 8, 2);
    if (version != kFormatVersion) {
        error = "it is in format version " + std::to_string(version) +
                ", and this program reads version " + std::to_string(kFormatVersion);
        return false;
    }
    const uint64_t flags = Get(file, 10, 2), length = Get(file, 12, 4), digest = Get(file, 16, 8);
    if ((flags & ~uint64_t{kDeflated}) != 0 || length > kLargestBody)
        return error = "it is damaged", false;
    const auto packed = file.subspan(kFileHeaderBytes);
    if ((flags & kDeflated) != 0) {
#if PELLAX_REPLAY_ZLIB
        if (!Inflate(packed, length, body, error)) return false;
#else
        return error = "it is compressed, and this build reads only uncompressed replays", false;
#endif
    } else if (packed.size() < length) {
        return error = "it is cut short", false;
    } else if (packed.size() > length) {
        return error = "it is damaged", false;
    } else {
        body.assign(packed.begin(), packed.end());
    }
    if (Digest(body) != digest) {
        body.clear();
        return error = "it is damaged: its checksum does not match", false;
    }
    return true;
}

}  // namespace wince::replay
