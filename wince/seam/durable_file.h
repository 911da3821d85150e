// Files the hosts keep between runs (settings, replays), written so that a
// crash or a power cut never leaves one cut short. The device's own files go
// through the core's file layer instead.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace wince {

// Writes bytes to file so that, whatever happens, the file holds either its old
// content or the whole new one: a temporary file beside it, flushed to the disk,
// renamed over it, and the folder synced. False with a one-line reason on failure
// (nothing of the old file is lost then; the temporary file is removed).
// The one failure after the rename is a folder that cannot be synced: the file
// holds the new content then, which a power cut could still take back.
bool WriteFileDurably(const std::filesystem::path &file, std::span<const uint8_t> bytes,
                      std::string &error);

}  // namespace wince
