// The program in a web page: the stored folder, the start gesture, the
// installation made at the first start, and the player on the page.
#include "runner/runner.h"
#include "wince/player/player.h"
#include "wince/web/host.h"

namespace {

// The folder the page keeps in the browser's storage; the device's root is
// inside it, so that the lock file and the installation share one store.
constexpr const char *kStoredFolder = "/pellax-rim";
constexpr const char *kRootFolder = "/pellax-rim/root";

// The default keys at full volume, pausing when the page is hidden; no
// screenshots.
wince::player::Settings PageSettings() {
    wince::player::Settings settings;
    settings.title = runner::kTitle;
    settings.awaitsKey = runner::AwaitsKey;
    return settings;
}

}  // namespace

int main() {
    const bool kept = wince::web::MountStoredFolder(kStoredFolder);
    wince::web::AwaitStart();
    if (!kept) wince::web::Notice("This browser keeps no files here: the record will not be kept.");
    wince::web::PagePlatform page;
    wince::player::Player player(page, PageSettings());
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
