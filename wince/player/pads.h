// Game pads, whatever reads them: a host hands over each pad's buttons and
// left stick as it finds them, and gets back the presses and releases they
// make. The stick stands in for the d-pad; a held button repeats as a held
// key does on the device.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace wince::player {

enum class PadButton : uint8_t { Up, Down, Left, Right, A, B, Start, Back };

constexpr uint32_t PadBit(PadButton button) {
    return uint32_t{1} << static_cast<unsigned>(button);
}

// The device's key a pad button plays (Back plays none: it pauses).
uint8_t PadCode(PadButton button);

// One pad as a host reads it. The stick runs from -1 to 1, down and right
// positive; a pad that is gone lets go of everything it held.
struct PadReading {
    bool connected = true;
    uint32_t buttons = 0;  // PadBit of each button down
    double stickX = 0.0, stickY = 0.0;
};

struct PadEdge {
    int pad;
    PadButton button;
    bool down;
    bool repeat = false;  // a held button's repeated press
};

inline constexpr int64_t kPadRepeatDelayUs = 300'000;
inline constexpr int64_t kPadRepeatEveryUs = 50'000;

class Pads {
public:
    // What changed since the pad's last reading.
    void Read(int pad, const PadReading &reading, int64_t nowUs, std::vector<PadEdge> &out);
    // Repeated presses of held buttons that are due; after a long wait one
    // comes, not a burst. Back does not repeat.
    void Repeat(int64_t nowUs, std::vector<PadEdge> &out);
    std::optional<int64_t> NextRepeatUs() const;

private:
    struct Pad {
        uint32_t down = 0;           // buttons, the stick folded into the d-pad
        int stickX = 0, stickY = 0;  // -1, 0 or 1
    };
    std::map<int, Pad> pads_;
    std::map<std::pair<int, PadButton>, int64_t> repeatAt_;
};

}  // namespace wince::player
