#include "wince/player/input_queue.h"

#include <algorithm>

#include "wince/seam/device_codes.h"

namespace wince::player {

namespace {

using namespace device;

constexpr int kStylus = 0x10000;  // beyond every key code

// The press or release a message is, by what it holds down; nothing for
// the rest (a repeat, a stylus move).
std::optional<int> PressOf(const DeviceInput &input) {
    if (input.message == kKeyDownMessage && input.lParam == kKeyFirstDown)
        return static_cast<int>(input.wParam);
    if (input.message == kStylusDownMessage) return kStylus;
    return std::nullopt;
}

std::optional<int> ReleaseOf(const DeviceInput &input) {
    if (input.message == kKeyUpMessage) return static_cast<int>(input.wParam);
    if (input.message == kStylusUpMessage) return kStylus;
    return std::nullopt;
}

}  // namespace

void InputQueue::Add(const DeviceInput &input) {
    int64_t notBefore = 0;
    if (const auto release = ReleaseOf(input)) {
        const auto pressed = pressedAtUs_.find(*release);
        if (pressed != pressedAtUs_.end()) notBefore = pressed->second + kShortestPressUs;
    }
    waiting_.push_back({input, notBefore});
}

bool InputQueue::Deliver(int64_t nowUs, const std::function<void(const DeviceInput &)> &post) {
    bool posted = false;
    while (!waiting_.empty() && waiting_.front().notBeforeUs <= nowUs) {
        const DeviceInput input = waiting_.front().input;
        waiting_.pop_front();
        post(input);
        posted = true;
        if (const auto press = PressOf(input)) {
            pressedAtUs_[*press] = nowUs;
            const auto release =
                std::find_if(waiting_.begin(), waiting_.end(),
                             [&](const Pending &p) { return ReleaseOf(p.input) == press; });
            if (release != waiting_.end())
                release->notBeforeUs = std::max(release->notBeforeUs, nowUs + kShortestPressUs);
        }
    }
    return posted;
}

std::optional<int64_t> InputQueue::NextDueUs() const {
    if (waiting_.empty()) return std::nullopt;
    return waiting_.front().notBeforeUs;
}

}  // namespace wince::player
