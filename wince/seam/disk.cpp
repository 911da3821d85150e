// The disk under WriteFileDurably on POSIX systems and under Emscripten.
#include "wince/seam/disk.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace wince::disk {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

}  // namespace

// Emscripten's fsync stores the page's whole folder on its own, mid-write,
// temporary file and all, outside the one transaction the page stores it in
// at the program's next wait; and a store the browser aborts (its storage
// full) would never answer. There the flush is the stream's alone.
std::error_code FlushToDisk(std::FILE *stream) {
    if (std::fflush(stream) != 0) return LastError();
#ifndef __EMSCRIPTEN__
    if (fsync(fileno(stream)) != 0) return LastError();
#endif
    return {};
}

std::error_code Replace(const std::filesystem::path &from, const std::filesystem::path &to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return LastError();
    return {};
}

// A rename is on the disk only once its folder is. A file system that cannot
// sync a folder says EINVAL, and one that cannot open it leaves the folder to
// its own timing: neither is a failure of this write. Emscripten's file
// system lives in memory; the page stores the whole folder itself.
std::error_code SyncFolder([[maybe_unused]] const std::filesystem::path &folder) {
#ifndef __EMSCRIPTEN__
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return {};
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    const std::error_code error = synced ? std::error_code() : LastError();
    close(fd);
    return error;
#else
    return {};
#endif
}

}  // namespace wince::disk
