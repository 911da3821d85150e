// Game controllers through XInput, where the system has it: each one's
// buttons and left stick read for the player, who makes keys of them.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "wince/player/player.h"

namespace wince::windows {

class Pads {
public:
    Pads();  // finds XInput; without it Poll does nothing
    ~Pads();
    Pads(const Pads &) = delete;
    Pads &operator=(const Pads &) = delete;

    // Hands the player each pad's reading when it is due; true while any pad
    // is connected (then the host waits in short slices, to read them).
    bool Poll(int64_t nowMs, player::Player &player);

private:
    using GetState = DWORD(WINAPI *)(DWORD, void *);
    HMODULE library_ = nullptr;
    GetState getState_ = nullptr;
    std::array<bool, 4> connected_{};
    int64_t nextPollMs_ = 0, nextSearchMs_ = 0;
};

}  // namespace wince::windows
