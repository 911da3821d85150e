// --replay in a window: the replayed run's pictures, sounds and boxes at its
// own pace, which the player may pause, hasten or slow; nothing the player
// presses reaches the replayed program.
#include <algorithm>
#include <iostream>

#include "runner/replays.h"
#include "runner/windowed.h"

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

class WindowViewer final : public wince::replay::Viewer, public wince::player::DeviceSink {
public:
    void Attach(wince::player::Player &player) { player_ = &player; }

    wince::Host &Window() override { return *player_; }

    bool Reach(int64_t runUs) override {
        lastRunUs_ = runUs;
        if (!based_) Rebase();
        for (;;) {
            if (stop_) return false;
            const int64_t now = player_->DeviceTimeUs();
            const int64_t due = viewBaseUs_ + Scaled(runUs - runBaseUs_);
            if (now > due + kFarBehindUs) Rebase();
            if (now >= due - kUsPerMs) break;
            player_->Sleep(
                static_cast<uint32_t>(std::min<int64_t>((due - now) / kUsPerMs, kSliceMs)));
            player_->PumpInput();
        }
        ShowTime(runUs);
        return true;
    }

    bool OwnKey(std::string_view name, bool repeat) {
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

    // Input from the player never reaches the replayed program; a close ends
    // the watching.
    bool Ready() override { return true; }
    void Post(const wince::DeviceInput &) override {}
    void Close() override { stop_ = true; }

private:
    int64_t Scaled(int64_t runUs) const { return speed_ >= 0 ? runUs >> speed_ : runUs << -speed_; }

    void Rebase() {
        based_ = true;
        runBaseUs_ = lastRunUs_;
        viewBaseUs_ = player_->DeviceTimeUs();
    }

    void ShowTime(int64_t runUs) {
        const int64_t seconds = runUs / kUsPerSecond;
        if (seconds == shownSecond_ && speed_ == shownSpeed_) return;
        shownSecond_ = seconds;
        shownSpeed_ = speed_;
        std::string title = std::string(kTitle) + " - Replay " + std::to_string(seconds / 60) +
                            ":" + (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60);
        if (speed_ > 0) title += " (" + std::to_string(1 << speed_) + "x)";
        if (speed_ < 0) title += " (1/" + std::to_string(1 << -speed_) + "x)";
        player_->SetTitleText(title);
    }

    wince::player::Player *player_ = nullptr;
    bool stop_ = false, based_ = false;
    int speed_ = 0, shownSpeed_ = 0;
    int64_t lastRunUs_ = 0, runBaseUs_ = 0, viewBaseUs_ = 0, shownSecond_ = -1;
};

}  // namespace

int WatchReplay(const DesktopOptions &options, OpenPlatform open,
                const std::filesystem::path &screenshots) {
    auto replay = ReadReplay(*options.replay, std::cerr);
    if (!replay) return 2;
    std::string error;
    const auto scratch = ScratchFolder::Make(*replay, options.root, error);
    if (!scratch) {
        std::cerr << "pellax-rim: " << PathText(*options.replay) << ": " << error << "\n";
        return 2;
    }
    const PlayerStart start = LoadPlayer();
    WindowViewer viewer;
    wince::player::Settings settings = PlayerSettingsFor(options, start, screenshots);
    settings.title = std::string(kTitle) + " - Replay";
    settings.awaitsKey = nullptr;
    settings.ownKey = [&viewer](std::string_view name, bool repeat) {
        return viewer.OwnKey(name, repeat);
    };
    const auto platform = open(settings, error);
    if (!platform) {
        std::cerr << "pellax-rim: cannot open a window (" << error << ")\n";
        return 1;
    }
    wince::player::Player player(*platform, settings, viewer);
    viewer.Attach(player);
    wince::replay::ReplayHost host(std::move(*replay), ReadGameFacts, &viewer);
    const ReplayRun run = PlayReplay(host, *scratch);
    if (run.divergence) {
        const std::string text = "This replay does not match this program: it " +
                                 wince::replay::Describe(*run.divergence) +
                                 ". It was shown up to there.";
        std::cerr << "pellax-rim: " << PathText(*options.replay) << ": " << text << "\n";
        player.ShowMessage({wince::FromUtf8(text), wince::FromUtf8(kTitle), false, true});
    }
    KeepChanges(start, settings, player.Current());
    return run.divergence ? 1 : 0;
}

}  // namespace runner
