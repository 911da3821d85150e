// One program per data folder: two copies saving through the one temporary
// record file could delete each other's new record. The lock is the
// system's (flock), so a copy that dies lets it go.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "runner/runner.h"

namespace runner {

namespace {
constexpr const char *kLockFile = "pellax-rim.lock";
}

std::unique_ptr<FolderLock> FolderLock::Take(const std::filesystem::path &root) {
    const int fd = open((root / kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return std::unique_ptr<FolderLock>(new FolderLock(-1));  // a read-only folder
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<FolderLock>(new FolderLock(fd));
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace runner
