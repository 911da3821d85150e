// Making changes durable on the host's disk (POSIX).
#include <fcntl.h>
#include <unistd.h>

#include "wince/core/internal.h"

namespace wince::core {

// Under Emscripten an fsync would store the page's whole folder by itself,
// outside the one transaction the page stores it in at the program's next
// wait, and never answer a store the browser aborted: the page's flush is
// the stream's alone, and its folders are stored with the rest.
bool SyncStream(std::FILE *stream) {
#ifndef __EMSCRIPTEN__
    return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
#else
    return std::fflush(stream) == 0;
#endif
}

// A rename or delete is on the disk only once its folder is; a folder that
// cannot be opened is left to the system's own timing.
void SyncFolder(const std::filesystem::path &folder) {
    FolderSynced(folder);
#ifndef __EMSCRIPTEN__
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
#endif
}

}  // namespace wince::core
