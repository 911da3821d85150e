// Making changes durable on the host's disk, through the calls the durable
// writer makes too (wince/seam/disk.h), so each system's rule is written once.
#include "wince/core/internal.h"
#include "wince/seam/disk.h"

namespace wince::core {

bool SyncStream(std::FILE *stream) {
    return !wince::disk::FlushToDisk(stream);
}

// A rename or delete is on the disk only once its folder is; a folder the
// system cannot sync is left to its own timing.
void SyncFolder(const std::filesystem::path &folder) {
    FolderSynced(folder);
    wince::disk::SyncFolder(folder);
}

}  // namespace wince::core
