#include "wince/windows/pads.h"

#include <xinput.h>

#include <algorithm>
#include <iterator>

namespace wince::windows {

namespace {

// Connected pads are read this often; the empty slots far less, since
// asking an empty slot is slow on some systems.
constexpr int64_t kPollMs = 8;
constexpr int64_t kSearchMs = 1000;
constexpr double kStickRange = 32768.0;

// XInput's button for each of the player's, in the player's order: Up, Down,
// Left, Right, A, B, Start, Back.
constexpr WORD kMasks[] = {XINPUT_GAMEPAD_DPAD_UP,   XINPUT_GAMEPAD_DPAD_DOWN,
                           XINPUT_GAMEPAD_DPAD_LEFT, XINPUT_GAMEPAD_DPAD_RIGHT,
                           XINPUT_GAMEPAD_A,         XINPUT_GAMEPAD_B,
                           XINPUT_GAMEPAD_START,     XINPUT_GAMEPAD_BACK};

player::PadReading Reading(const XINPUT_GAMEPAD &pad) {
    player::PadReading reading;
    for (unsigned b = 0; b < std::size(kMasks); ++b)
        if ((pad.wButtons & kMasks[b]) != 0)
            reading.buttons |= player::PadBit(static_cast<player::PadButton>(b));
    reading.stickX = pad.sThumbLX / kStickRange;
    reading.stickY = -pad.sThumbLY / kStickRange;  // XInput's up is positive
    return reading;
}

}  // namespace

Pads::Pads() {
    // The newest XInput the system has; older systems ship only the others.
    for (const wchar_t *name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
        library_ = LoadLibraryW(name);
        if (library_ != nullptr) break;
    }
    if (library_ != nullptr)
        getState_ = reinterpret_cast<GetState>(
            reinterpret_cast<void *>(GetProcAddress(library_, "XInputGetState")));
}

Pads::~Pads() {
    if (library_ != nullptr) FreeLibrary(library_);
}

bool Pads::Poll(int64_t nowMs, player::Player &player) {
    if (getState_ == nullptr || nowMs < nextPollMs_) return nextPollMs_ > 0;
    const bool search = nowMs >= nextSearchMs_;
    if (search) nextSearchMs_ = nowMs + kSearchMs;
    for (DWORD index = 0; index < connected_.size(); ++index) {
        if (!connected_[index] && !search) continue;
        XINPUT_STATE state{};
        const bool connected = getState_(index, &state) == ERROR_SUCCESS;
        if (connected) {
            player.OnPad(static_cast<int>(index), Reading(state.Gamepad));
        } else if (connected_[index]) {
            player.OnPad(static_cast<int>(index), {false});
        }
        connected_[index] = connected;
    }
    const bool any = std::find(connected_.begin(), connected_.end(), true) != connected_.end();
    nextPollMs_ = any ? nowMs + kPollMs : 0;
    return any;
}

}  // namespace wince::windows
