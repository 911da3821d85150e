// The root made ready and held, in the order that lets a refused start touch
// nothing.
#include <system_error>

#include "runner/runner.h"
#include "wince/seam/host_file.h"

namespace runner {

std::unique_ptr<FolderLock> TakeRoot(const std::filesystem::path &root, bool mend, bool &refused) {
    std::error_code ignored;
    std::unique_ptr<FolderLock> lock;
    refused = std::filesystem::is_directory(root, ignored) && !(lock = FolderLock::Take(root));
    if (!refused && !PrepareRoot(root, mend)) return nullptr;
    refused = refused || (!lock && !(lock = FolderLock::Take(root)));
    if (refused) wince::SayOnStderr(kAlreadyRunning);
    return refused ? nullptr : std::move(lock);
}

}  // namespace runner
