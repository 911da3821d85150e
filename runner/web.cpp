// The program in a web page: the stored folder, the start gesture, the
// installation made at the first start, and the player on the page.
#include <cstdio>

#include "runner/replay_viewer.h"
#include "runner/replays.h"
#include "runner/runner.h"
#include "wince/player/device_keys.h"
#include "wince/player/player.h"
#include "wince/player/player_settings.h"
#include "wince/web/host.h"

namespace {

// The folder the page keeps in the browser's storage; the device's root is
// inside it, so that the lock file and the installation share one store.
constexpr const char *kStoredFolder = "/pellax-rim";
constexpr const char *kRootFolder = "/pellax-rim/root";
// What the player chose (mute, volume, pausing when the page is hidden),
// beside the root, so that a backup takes it along.
constexpr const char *kSettingsFile = "/pellax-rim/settings.conf";
// The replays the page keeps: the last run's and the record's.
constexpr const char *kReplays = "/pellax-rim/root/replays";
constexpr int kReplaysKept = 1;
// Where a replay chosen to watch is put: the program's memory alone.
constexpr const char *kWatched = "/tmp/watched.pxr";
// The build's mark, which the page holds against its script's own: a script
// and a module of two builds would not work together.
constexpr const char *kBuildMark = "pellax-build:" PELLAX_BUILD_ID;

// The stored settings; lines that cannot be used go to the console and keep
// their defaults.
wince::player::PlayerSettings StoredSettings() {
    const auto load = wince::player::LoadPlayerSettings(kSettingsFile);
    for (const std::string &warning : load.warnings)
        std::fprintf(stderr, "pellax-rim: %s: not used: %s\n", kSettingsFile, warning.c_str());
    return load.settings;
}

// The default keys, the stored sound and pause; no screenshots, and full
// screen only at the player's gesture, which the browser asks for.
wince::player::Settings PageSettings() {
    const wince::player::PlayerSettings stored = StoredSettings();
    wince::player::Settings settings;
    settings.title = runner::kTitle;
    settings.awaitsKey = runner::AwaitsKey;
    settings.volume = stored.volume;
    settings.muted = stored.muted;
    settings.pauseWhenInactive = stored.pauseWhenInactive;
    return settings;
}

// Writes settings.conf when the player's mute differs from the stored one;
// the page's next wait puts it into storage.
void KeepMute(const wince::player::Player &player, wince::web::PagePlatform &page) {
    wince::player::PlayerSettings stored =
        wince::player::LoadPlayerSettings(kSettingsFile).settings;
    const bool muted = player.Current().muted;
    if (muted == stored.muted) return;
    stored.muted = muted;
    std::string error;
    if (!wince::player::SavePlayerSettings(kSettingsFile, stored, error))
        std::fprintf(stderr, "pellax-rim: %s\n", error.c_str());
    page.FilesChanged();
}

// What each of the game's keys does and the keys that do it, then the
// player's own keys (the page takes no screenshots).
std::string KeysText(const wince::player::KeyMap &keys) {
    std::string text;
    for (const auto &key : wince::player::DeviceKeys()) {
        const auto names = keys.KeysFor(key.code);
        if (names.empty() || std::string_view(key.use).starts_with("not used")) continue;
        text += std::string(key.use) + ":";
        for (const std::string &name : names) text += " " + name;
        text += "\n";
    }
    for (const auto &key : wince::player::ReservedKeys())
        if (key.action != wince::player::HostAction::Screenshot)
            text += std::string(key.use) + ": " + key.name + "\n";
    return text;
}

void Report(const std::string &message) {
    wince::web::Notice(message);
}

// A replay watched on the page: the run as it was, on a scratch folder.
int Watch(wince::web::PagePlatform &page) {
    std::string error;
    auto replay = runner::ReadReplay(kWatched, error);
    const auto scratch =
        replay ? runner::ScratchFolder::Make(*replay, std::nullopt, error) : nullptr;
    if (!scratch) {
        Report("This replay cannot be played: " + error.substr(error.find(": ") + 2) + ".");
        wince::web::ShowEnded(2);
        return 2;
    }
    runner::WindowViewer viewer;
    wince::player::Settings settings = PageSettings();
    settings.title = std::string(runner::kTitle) + " - Replay";
    settings.awaitsKey = nullptr;
    settings.ownKey = [&viewer](std::string_view name, bool repeat) {
        return viewer.OwnKey(name, repeat);
    };
    wince::player::Player player(page, settings, viewer);
    viewer.Attach(player);
    wince::replay::ReplayHost host(std::move(*replay), runner::ReadGameFacts, &viewer);
    const runner::ReplayRun run = runner::PlayReplay(host, *scratch);
    if (run.divergence)
        Report("This replay does not match this version of the game: it " +
               wince::replay::Describe(*run.divergence) + ". It was shown up to there.");
    wince::web::ShowEnded(0);
    return 0;
}

}  // namespace

int main() {
    wince::web::CheckBuild(kBuildMark);
    const bool kept = wince::web::MountStoredFolder(kStoredFolder);
    wince::web::AwaitStart();
    if (!kept) wince::web::Notice("This browser keeps no files here: the record will not be kept.");
    wince::web::PagePlatform page;
    if (wince::web::TakeReplay(kWatched)) return Watch(page);
    const wince::player::Settings settings = PageSettings();
    wince::web::ShowKeys(KeysText(settings.keys));
    wince::player::Player player(page, settings);
    page.OnSoundSet([&] { KeepMute(player, page); });
    page.Measure(player);
    bool refused = false;
    // The page's folder is the game's own: files it lacks are made again.
    const auto lock = runner::TakeRoot(kRootFolder, true, refused);
    if (!lock) {
        wince::web::ShowEnded(1);
        return 1;
    }
    wince::web::CountingHost host(player);
    wince::SetHost(&host);
    wince::SetRecorder(&page);
    wince::SetRoot(kRootFolder);
    // The installation, when it was made now, is stored at the program's
    // first wait, after its first picture: a page closed before then makes
    // it again next time.
    page.FilesChanged();
    // Each run recorded; its replay stored with the record, at each game over.
    auto keep = runner::SaveToFolder(kReplays, Report, kReplaysKept);
    const int code = runner::RunRecorded(
        host, kRootFolder, "web",
        [&](const wince::replay::Replay &replay, bool setRecord) {
            keep(replay, setRecord);
            page.FilesChanged();
            page.Persist();
        },
        Report);
    page.Persist();
    wince::SetRecorder(nullptr);
    wince::SetHost(nullptr);
    wince::web::ShowEnded(code);
    return code;
}
