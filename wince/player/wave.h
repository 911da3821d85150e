// The device's wave files, decoded once for every host: RIFF WAVE holding 8-
// or 16-bit PCM, as the handheld plays them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wince::player {

struct Wave {
    int rate = 0;      // frames a second
    int channels = 0;  // 1 or more, interleaved
    std::vector<int16_t> samples;
    size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

// The file's sound; nothing, with the reason in why, for a file that is no
// wave the device could play. A file may also start at "WAVE" without the
// RIFF header; a chunk that claims more than the file holds is cut to what
// is there.
std::optional<Wave> DecodeWave(std::span<const uint8_t> bytes, std::string &why);
std::optional<Wave> ReadWave(const std::filesystem::path &file, std::string &why);

// The wave as a canonical RIFF file of 16-bit PCM, for a system that plays
// files from memory.
std::vector<uint8_t> EncodeWave(const Wave &wave);

}  // namespace wince::player
