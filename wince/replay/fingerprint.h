// A fingerprint of the files a run reads: a replay holds the installation's,
// so that a run is replayed only on the files it was played on.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wince::replay {

// A digest of every file under root, by its path there and its bytes, but
// for the names given (files or folders in root itself, whatever their case),
// which the run either does not read or brings along itself. None, with the
// reason, when a file cannot be read.
// A whole file's bytes; none when it cannot be read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path &file);

std::optional<uint64_t> Fingerprint(const std::filesystem::path &root,
                                    std::span<const std::string_view> leaveOut, std::string &error);

}  // namespace wince::replay
