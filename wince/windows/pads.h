// Game controllers through XInput, where the system has it: the d-pad or
// left stick as the arrows, A, B and Start as the three buttons. A held
// button repeats its key-down as a held key does on the device.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "wince/seam/host.h"

namespace wince::windows {

class Pads {
public:
    Pads();  // finds XInput; without it Poll does nothing
    ~Pads();
    Pads(const Pads &) = delete;
    Pads &operator=(const Pads &) = delete;

    // Appends the key messages for what changed since the last poll.
    void Poll(int64_t nowMs, std::vector<DeviceInput> &out);

private:
    using GetState = DWORD(WINAPI *)(DWORD, void *);
    struct Held {
        int64_t pressedMs, repeatMs;
    };
    HMODULE library_ = nullptr;
    GetState getState_ = nullptr;
    std::array<std::map<uint8_t, Held>, 4> held_;  // each pad's buttons down: device key code
};

}  // namespace wince::windows
