// One program per data folder (Windows): a lock on the first byte of
// pellax-rim.lock, taken through the C runtime (LockFile underneath), which
// the system lets go when a copy dies.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/locking.h>
#include <sys/stat.h>

#include "runner/runner.h"

namespace runner {

namespace {
constexpr const wchar_t *kLockFile = L"pellax-rim.lock";
}

std::unique_ptr<FolderLock> FolderLock::Take(const std::filesystem::path &root) {
    int fd = -1;
    if (_wsopen_s(&fd, (root / kLockFile).c_str(), _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT,
                  _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
        return std::unique_ptr<FolderLock>(new FolderLock(-1));  // a read-only folder
    if (_locking(fd, _LK_NBLCK, 1) != 0) {
        _close(fd);
        return nullptr;
    }
    return std::unique_ptr<FolderLock>(new FolderLock(fd));
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) _close(fd_);
}

}  // namespace runner
