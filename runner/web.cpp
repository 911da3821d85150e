// The program in a web page: the stored folder, the start gesture, the
// installation made at the first start, and the player on the page.
#include "runner/runner.h"
#include "wince/player/device_keys.h"
#include "wince/player/player.h"
#include "wince/web/host.h"

namespace {

// The folder the page keeps in the browser's storage; the device's root is
// inside it, so that the lock file and the installation share one store.
constexpr const char *kStoredFolder = "/pellax-rim";
constexpr const char *kRootFolder = "/pellax-rim/root";
// The build's mark, which the page holds against its script's own: a script
// and a module of two builds would not work together.
constexpr const char *kBuildMark = "pellax-build:" PELLAX_BUILD_ID;

// The default keys at full volume, pausing when the page is hidden; no
// screenshots.
wince::player::Settings PageSettings() {
    wince::player::Settings settings;
    settings.title = runner::kTitle;
    settings.awaitsKey = runner::AwaitsKey;
    return settings;
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

}  // namespace

int main() {
    wince::web::CheckBuild(kBuildMark);
    const bool kept = wince::web::MountStoredFolder(kStoredFolder);
    wince::web::AwaitStart();
    if (!kept) wince::web::Notice("This browser keeps no files here: the record will not be kept.");
    wince::web::PagePlatform page;
    const wince::player::Settings settings = PageSettings();
    wince::web::ShowKeys(KeysText(settings.keys));
    wince::player::Player player(page, settings);
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
    page.FilesChanged();  // the installation, when it was made now
    page.Persist();
    const int code = runner::RunProgram();
    page.Persist();
    wince::SetRecorder(nullptr);
    wince::SetHost(nullptr);
    wince::web::ShowEnded(code);
    return code;
}
