// A replay: everything a run of the program was answered at the seam that
// could differ in another run (the counter's readings, the input handed to
// it, the message boxes and sounds), what it started from, and checks to
// hold a second run against. The program is a pure function of these, so
// running it again on them gives the same run, frame for frame.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "wince/seam/host.h"

namespace wince::replay {

// The body's layout; a file says which it holds.
inline constexpr uint16_t kFormatVersion = 1;

struct Header {
    std::string programVersion;
    std::string host;          // "desktop", "windows", "web", "headless", ...
    std::string date;          // when the run started, UTC, ISO 8601
    uint64_t fingerprint = 0;  // of the installation the run read (fingerprint.h)
    // The saved record file as the run found it; none before the first record.
    std::optional<std::vector<uint8_t>> record;
    int64_t counterFrequency = 0;
    bool operator==(const Header &) const = default;
};

// Input handed to the program during a given turn (a look at the queue, an
// idle moment or a sleep, counted from 0): a message, or the close request.
struct Input {
    uint64_t turn = 0;
    bool close = false;
    DeviceInput message;
    bool operator==(const Input &) const = default;
};

enum class CheckKind : uint8_t { Picture, GameOver, End };

// What a run showed at a frame (counted from 1): a digest of the picture once
// a second of the device's time, the scores at each game over and at the end.
struct Check {
    uint64_t frame = 0;
    CheckKind kind = CheckKind::Picture;
    uint64_t digest = 0;               // Picture
    int64_t score = 0, highScore = 0;  // GameOver, End
    bool operator==(const Check &) const = default;
};
std::string Describe(const Check &check);

struct Replay {
    Header header;
    std::vector<int64_t> counter;  // every reading, in order
    std::vector<Input> inputs;     // in order
    std::vector<uint32_t> boxes;   // each message box, by a digest of its words
    std::vector<uint8_t> sounds;   // whether each sound that was asked for started
    std::vector<Check> checks;
    bool operator==(const Replay &) const = default;
};

// The body as bytes and back; false with the reason when the bytes are not
// a whole body.
std::vector<uint8_t> EncodeBody(const Replay &replay);
bool DecodeBody(std::span<const uint8_t> bytes, Replay &replay, std::string &error);

// Digests that are the same on every machine.
uint64_t Digest(std::span<const uint8_t> bytes, uint64_t seed = 0);
uint32_t MessageDigest(const MessageRequest &message);

}  // namespace wince::replay
