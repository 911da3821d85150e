// The device's messages on their way to the game, in the order they came.
// A finger on a button or a stylus on the screen stays longer than a frame;
// a mouse click, a touchpad tap, a pad button or a key struck by a program
// may not. The game sees only what is still down when a frame runs, so a
// release reaches it at least kShortestPressUs after its press did, however
// long the program was busy while both came; one that must wait holds back
// those behind it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>

#include "wince/seam/host.h"

namespace wince::player {

inline constexpr int64_t kShortestPressUs = 60'000;

class InputQueue {
public:
    void Add(const DeviceInput &input);
    // Posts, in order, what is due at nowUs (device time); true when any was.
    bool Deliver(int64_t nowUs, const std::function<void(const DeviceInput &)> &post);
    // When the first message that waits may go; nothing when none waits.
    std::optional<int64_t> NextDueUs() const;
    bool Empty() const { return waiting_.empty(); }

private:
    struct Pending {
        DeviceInput input;
        int64_t notBeforeUs;
    };
    std::deque<Pending> waiting_;
    // When each press reached the game, by the key code (the stylus has one
    // of its own): its release waits for that.
    std::map<int, int64_t> pressedAtUs_;
};

}  // namespace wince::player
