// A replay watched in a window (the desktop's, the page's): the replayed
// run at its own pace, which the player may pause (Space, P), hasten (Right,
// +) and slow (Left, -) between 1/8 and 8 times; the title tells the run's
// time. Nothing the player presses reaches the replayed program, and a close
// stops the watching.
#pragma once

#include <string_view>

#include "wince/player/player.h"
#include "wince/replay/replay_host.h"

namespace runner {

class WindowViewer final : public wince::replay::Viewer, public wince::player::DeviceSink {
public:
    void Attach(wince::player::Player &player) { player_ = &player; }
    wince::Host &Window() override { return *player_; }
    bool Reach(int64_t runUs) override;
    // The player's settings' ownKey.
    bool OwnKey(std::string_view name, bool repeat);

    bool Ready() override { return true; }
    void Post(const wince::DeviceInput &) override {}
    void Close() override { stop_ = true; }

private:
    int64_t Scaled(int64_t runUs) const;
    void Rebase();
    void ShowTime(int64_t runUs);

    wince::player::Player *player_ = nullptr;
    bool stop_ = false, based_ = false;
    int speed_ = 0, shownSpeed_ = 0;
    int64_t lastRunUs_ = 0, runBaseUs_ = 0, viewBaseUs_ = 0, shownSecond_ = -1;
};

}  // namespace runner
