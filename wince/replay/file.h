// A replay file (.pxr): a small header, then the body, compressed with
// deflate in zlib's format where the build can (the page compresses with the
// browser's own). Every build reads every file.
//
//   0   8  "PXREPLAY"
//   8   2  the body's format version, little-endian
//   10  2  flags: 1 = the body is deflated
//   12  4  the body's length, uncompressed
//   16  8  a digest of the uncompressed body (Digest)
//   24     the body
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wince::replay {

inline constexpr size_t kFileHeaderBytes = 24;

// The header of a file holding this body, stored as it is or deflated.
std::vector<uint8_t> FileHeader(std::span<const uint8_t> body, bool deflated);

// A whole file for the body: deflated where the build has zlib.
std::vector<uint8_t> MakeFile(std::span<const uint8_t> body);

// The body of a file, checked whole; false with a one-line reason (not a
// replay, cut short, a format this program cannot read, damaged).
bool OpenFile(std::span<const uint8_t> file, std::vector<uint8_t> &body, std::string &error);

}  // namespace wince::replay
