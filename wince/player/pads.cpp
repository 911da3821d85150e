#include "wince/player/pads.h"

#include <algorithm>
#include <cmath>

#include "wince/seam/device_codes.h"

namespace wince::player {

namespace {

// The stick counts as pushed past half way and as let go below a third, so
// a stick resting near the line does not flutter.
constexpr double kStickPush = 0.5;
constexpr double kStickLetGo = 1.0 / 3.0;
constexpr PadButton kLastButton = PadButton::Back;

int StickDirection(int previous, double value) {
    const double threshold = previous == 0 ? kStickPush : kStickLetGo;
    if (!std::isfinite(value)) return 0;
    if (value >= threshold) return 1;
    if (value <= -threshold) return -1;
    return 0;
}

uint32_t StickButtons(int x, int y) {
    uint32_t down = 0;
    if (x < 0) down |= PadBit(PadButton::Left);
    if (x > 0) down |= PadBit(PadButton::Right);
    if (y < 0) down |= PadBit(PadButton::Up);
    if (y > 0) down |= PadBit(PadButton::Down);
    return down;
}

}  // namespace

uint8_t PadCode(PadButton button) {
    using namespace device;
    switch (button) {
        case PadButton::Up:
            return kUpKey;
        case PadButton::Down:
            return kDownKey;
        case PadButton::Left:
            return kLeftKey;
        case PadButton::Right:
            return kRightKey;
        case PadButton::A:
            return kButtonA;
        case PadButton::B:
            return kButtonB;
        default:
            return kButtonStart;
    }
}

void Pads::Read(int pad, const PadReading &reading, int64_t nowUs, std::vector<PadEdge> &out) {
    Pad &state = pads_[pad];
    Pad now;
    if (reading.connected) {
        now.stickX = StickDirection(state.stickX, reading.stickX);
        now.stickY = StickDirection(state.stickY, reading.stickY);
        now.down = reading.buttons | StickButtons(now.stickX, now.stickY);
    }
    for (auto b = 0; b <= static_cast<int>(kLastButton); ++b) {
        const auto button = static_cast<PadButton>(b);
        const bool was = (state.down & PadBit(button)) != 0, is = (now.down & PadBit(button)) != 0;
        if (was == is) continue;
        out.push_back({pad, button, is});
        if (is && button != PadButton::Back)
            repeatAt_[{pad, button}] = nowUs + kPadRepeatDelayUs;
        else
            repeatAt_.erase({pad, button});
    }
    if (reading.connected)
        state = now;
    else
        pads_.erase(pad);
}

void Pads::Repeat(int64_t nowUs, std::vector<PadEdge> &out) {
    for (auto &[held, at] : repeatAt_) {
        if (nowUs < at) continue;
        out.push_back({held.first, held.second, true, true});
        at = nowUs + kPadRepeatEveryUs;
    }
}

std::optional<int64_t> Pads::NextRepeatUs() const {
    std::optional<int64_t> next;
    for (const auto &[held, at] : repeatAt_) next = std::min(next.value_or(at), at);
    return next;
}

}  // namespace wince::player
