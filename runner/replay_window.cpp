// --replay in a window: the replayed run's pictures, sounds and boxes at its
// own pace, which the player may pause, hasten or slow; nothing the player
// presses reaches the replayed program.
#include <iostream>

#include "runner/replay_viewer.h"
#include "runner/replays.h"
#include "runner/windowed.h"

namespace runner {

int WatchReplay(const DesktopOptions &options, OpenPlatform open,
                const std::filesystem::path &screenshots) {
    std::string error;
    auto replay = ReadReplay(*options.replay, error);
    if (!replay) {
        std::cerr << "pellax-rim: " << error << "\n";
        return 2;
    }
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
