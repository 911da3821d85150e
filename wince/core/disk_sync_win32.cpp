// Making changes durable on the host's disk (Windows, through the C runtime:
// the core never sees the system's own headers, whose names are its own).
#include <io.h>

#include "wince/core/internal.h"

namespace wince::core {

// _commit is FlushFileBuffers on the stream's handle.
bool SyncStream(std::FILE *stream) {
    return std::fflush(stream) == 0 && _commit(_fileno(stream)) == 0;
}

// NTFS journals a rename or delete with the folder's entries; a plain program
// has no call that flushes a folder, so the system's timing stands. A power
// cut that tests inject still undoes what no sync followed, as on POSIX.
void SyncFolder(const std::filesystem::path &folder) {
    FolderSynced(folder);
}

}  // namespace wince::core
