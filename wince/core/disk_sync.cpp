// Making changes durable on the host's disk (POSIX).
#include <fcntl.h>
#include <unistd.h>

#include "wince/core/internal.h"

namespace wince::core {

bool SyncStream(std::FILE *stream) {
    return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
}

// A rename or delete is on the disk only once its folder is; a folder that
// cannot be opened is left to the system's own timing.
void SyncFolder(const std::filesystem::path &folder) {
    FolderSynced(folder);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace wince::core
