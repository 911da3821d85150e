// The program in a web page: the stored folder, the start gesture, the
// installation made at the first start, and the browser host.
#include "wince/web/web.h"

#include "runner/runner.h"

namespace {

// The folder the page keeps in the browser's storage; the device's root is
// inside it, so that the lock file and the installation share one store.
constexpr const char *kStoredFolder = "/pellax-rim";
constexpr const char *kRootFolder = "/pellax-rim/root";

}  // namespace

int main() {
    const bool kept = wince::web::MountStoredFolder(kStoredFolder);
    wince::web::AwaitStart();
    if (!kept) wince::web::Notice("This browser keeps no files here: the record will not be kept.");
    wince::web::WebHost host;
    bool refused = false;
    // The page's folder is the game's own: files it lacks are made again.
    const auto lock = runner::TakeRoot(kRootFolder, true, refused);
    if (!lock) {
        wince::web::ShowEnded(1);
        return 1;
    }
    wince::SetHost(&host);
    wince::SetRecorder(&host);
    wince::SetRoot(kRootFolder);
    host.FilesChanged();  // the installation, when it was made now
    host.Persist();
    const int code = runner::RunProgram();
    host.Persist();
    wince::SetRecorder(nullptr);
    wince::SetHost(nullptr);
    wince::web::ShowEnded(code);
    return code;
}
