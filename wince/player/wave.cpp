#include "wince/player/wave.h"

#include <cstring>
#include <iterator>

#include "wince/seam/host_file.h"

namespace wince::player {

namespace {

constexpr size_t kRiffHeaderBytes = 12;  // "RIFF", its size, "WAVE"
constexpr size_t kChunkHeaderBytes = 8;  // the chunk's name and size
constexpr uint16_t kPcm = 1;
// What a sound card can be asked to play.
constexpr uint32_t kLowestRate = 3000, kHighestRate = 384000;
constexpr uint16_t kMostChannels = 8;
// The device's cues last seconds; a file much larger is not one of them.
constexpr std::uintmax_t kLargestFile = 64u << 20;

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t Read16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool Tag(std::span<const uint8_t> bytes, size_t at, const char *tag) {
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

struct Format {
    uint16_t kind = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
};

std::optional<Wave> Samples(const Format &format, std::span<const uint8_t> data, std::string &why) {
    if (format.kind != kPcm || (format.bits != 8 && format.bits != 16)) {
        why = "not 8- or 16-bit PCM";
        return std::nullopt;
    }
    if (format.channels < 1 || format.channels > kMostChannels || format.rate < kLowestRate ||
        format.rate > kHighestRate) {
        why = "no channels or rate a sound card plays";
        return std::nullopt;
    }
    const size_t width = format.bits / 8;
    const size_t frames = data.size() / (width * format.channels);
    Wave wave{static_cast<int>(format.rate), format.channels, {}};
    wave.samples.resize(frames * format.channels);
    for (size_t i = 0; i < wave.samples.size(); ++i) {
        wave.samples[i] = width == 2 ? static_cast<int16_t>(Read16(data, i * 2))
                                     : static_cast<int16_t>((data[i] - 128) * 256);
    }
    return wave;
}

}  // namespace

std::optional<Wave> DecodeWave(std::span<const uint8_t> bytes, std::string &why) {
    const bool headerless = bytes.size() >= 4 && Tag(bytes, 0, "WAVE");
    if (!headerless &&
        (bytes.size() < kRiffHeaderBytes || !Tag(bytes, 0, "RIFF") || !Tag(bytes, 8, "WAVE"))) {
        why = "not a RIFF WAVE file";
        return std::nullopt;
    }
    std::optional<Format> format;
    size_t at = headerless ? 4 : kRiffHeaderBytes;
    while (at + kChunkHeaderBytes <= bytes.size()) {
        const size_t room = bytes.size() - at - kChunkHeaderBytes;
        const size_t size = std::min<size_t>(Read32(bytes, at + 4), room);
        const auto body = bytes.subspan(at + kChunkHeaderBytes, size);
        if (Tag(bytes, at, "fmt ") && size >= 16) {
            format = Format{Read16(body, 0), Read16(body, 2), Read16(body, 14), Read32(body, 4)};
        } else if (Tag(bytes, at, "data")) {
            if (!format) break;
            return Samples(*format, body, why);
        }
        at += kChunkHeaderBytes + size + (size & 1);  // chunks are padded to even sizes
    }
    why = format ? "no sound in the file" : "no format before the sound";
    return std::nullopt;
}

std::optional<Wave> ReadWave(const std::filesystem::path &file, std::string &why) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    const auto bytes = error || size > kLargestFile ? std::nullopt : ReadHostFile(file);
    if (!bytes) {
        why = "cannot read " + file.string();
        return std::nullopt;
    }
    return DecodeWave({reinterpret_cast<const uint8_t *>(bytes->data()), bytes->size()}, why);
}

std::vector<uint8_t> EncodeWave(const Wave &wave) {
    const auto dataBytes = static_cast<uint32_t>(wave.samples.size() * 2);
    const auto channels = static_cast<uint16_t>(wave.channels);
    const auto rate = static_cast<uint32_t>(wave.rate);
    std::vector<uint8_t> file;
    file.reserve(44 + dataBytes);
    auto put = [&file](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    auto tag = [&file](const char *name) {
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(name[i]));
    };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(kPcm, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * 2, 4);
    put(channels * 2u, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (const int16_t sample : wave.samples) put(static_cast<uint16_t>(sample), 2);
    return file;
}

}  // namespace wince::player
