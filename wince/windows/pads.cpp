#include "wince/windows/pads.h"

#include <xinput.h>

#include <set>

#include "wince/seam/device_codes.h"

namespace wince::windows {

namespace {

using namespace device;

constexpr int64_t kRepeatDelayMs = 300;
constexpr int64_t kRepeatIntervalMs = 50;
// Half-way over, so a resting stick that drifts does not move pieces.
constexpr SHORT kStickThreshold = 16384;

std::set<uint8_t> Down(const XINPUT_GAMEPAD &pad) {
    std::set<uint8_t> down;
    const WORD b = pad.wButtons;
    if ((b & XINPUT_GAMEPAD_DPAD_UP) || pad.sThumbLY > kStickThreshold) down.insert(kUpKey);
    if ((b & XINPUT_GAMEPAD_DPAD_DOWN) || pad.sThumbLY < -kStickThreshold) down.insert(kDownKey);
    if ((b & XINPUT_GAMEPAD_DPAD_LEFT) || pad.sThumbLX < -kStickThreshold) down.insert(kLeftKey);
    if ((b & XINPUT_GAMEPAD_DPAD_RIGHT) || pad.sThumbLX > kStickThreshold) down.insert(kRightKey);
    if (b & XINPUT_GAMEPAD_A) down.insert(kButtonA);
    if (b & XINPUT_GAMEPAD_B) down.insert(kButtonB);
    if (b & XINPUT_GAMEPAD_START) down.insert(kButtonStart);
    return down;
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

void Pads::Poll(int64_t nowMs, std::vector<DeviceInput> &out) {
    if (getState_ == nullptr) return;
    for (DWORD index = 0; index < held_.size(); ++index) {
        XINPUT_STATE state{};
        std::set<uint8_t> down;
        if (getState_(index, &state) == ERROR_SUCCESS) down = Down(state.Gamepad);
        auto &held = held_[index];
        for (auto it = held.begin(); it != held.end();) {
            if (down.contains(it->first)) {
                ++it;
                continue;
            }
            out.push_back({kKeyUpMessage, it->first, kKeyGoingUp});
            it = held.erase(it);
        }
        for (uint8_t code : down) {
            auto [it, pressed] = held.try_emplace(code, Held{nowMs, nowMs + kRepeatDelayMs});
            if (pressed) {
                out.push_back({kKeyDownMessage, code, kKeyFirstDown});
            } else if (nowMs >= it->second.repeatMs) {
                // After a long pause one repeat comes, not a burst.
                out.push_back({kKeyDownMessage, code, kKeyRepeatDown});
                it->second.repeatMs = nowMs + kRepeatIntervalMs;
            }
        }
    }
}

}  // namespace wince::windows
