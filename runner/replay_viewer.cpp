#include "runner/replay_viewer.h"

#include <algorithm>
#include <string>

#include "runner/runner.h"

namespace runner {

namespace {

constexpr int64_t kUsPerMs = 1000;
constexpr int64_t kUsPerSecond = 1'000'000;
// Waits in slices this long, so the window answers its keys meanwhile.
constexpr uint32_t kSliceMs = 20;
// A run this far behind its pace (a box that waited for OK, a slow
// machine) takes up the pace from where it is rather than racing.
constexpr int64_t kFarBehindUs = 250'000;
constexpr int kFastest = 3;  // 8 times
constexpr int kSlowest = -3;

}  // namespace

bool WindowViewer::Reach(int64_t runUs) {
    lastRunUs_ = runUs;
    if (!based_) Rebase();
    for (;;) {
        if (stop_) return false;
        const int64_t now = player_->DeviceTimeUs();
        const int64_t due = viewBaseUs_ + Scaled(runUs - runBaseUs_);
        if (now > due + kFarBehindUs) Rebase();
        if (now >= due - kUsPerMs) break;
        player_->Sleep(static_cast<uint32_t>(std::min<int64_t>((due - now) / kUsPerMs, kSliceMs)));
        player_->PumpInput();
    }
    ShowTime(runUs);
    return true;
}

bool WindowViewer::OwnKey(std::string_view name, bool repeat) {
    if (name == "Space") {
        if (!repeat) player_->TogglePause();
        return true;
    }
    const bool faster = name == "Right" || name == "=" || name == "+" || name == "Keypad +";
    const bool slower = name == "Left" || name == "-" || name == "Keypad -";
    if (!faster && !slower) return false;
    speed_ = std::clamp(speed_ + (faster ? 1 : -1), kSlowest, kFastest);
    Rebase();
    ShowTime(lastRunUs_);
    return true;
}

int64_t WindowViewer::Scaled(int64_t runUs) const {
    return speed_ >= 0 ? runUs >> speed_ : runUs << -speed_;
}

void WindowViewer::Rebase() {
    based_ = true;
    runBaseUs_ = lastRunUs_;
    viewBaseUs_ = player_->DeviceTimeUs();
}

void WindowViewer::ShowTime(int64_t runUs) {
    const int64_t seconds = runUs / kUsPerSecond;
    if (seconds == shownSecond_ && speed_ == shownSpeed_) return;
    shownSecond_ = seconds;
    shownSpeed_ = speed_;
    std::string title = std::string(kTitle) + " - Replay " + std::to_string(seconds / 60) + ":" +
                        (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60);
    if (speed_ > 0) title += " (" + std::to_string(1 << speed_) + "x)";
    if (speed_ < 0) title += " (1/" + std::to_string(1 << -speed_) + "x)";
    player_->SetTitleText(title);
}

}  // namespace runner
