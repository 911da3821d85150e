// The disk under WriteFileDurably on Windows.
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "wince/seam/disk.h"

namespace wince::disk {

namespace {

std::error_code LastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

}  // namespace

std::error_code FlushToDisk(std::FILE *stream) {
    if (std::fflush(stream) != 0) return {errno, std::generic_category()};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (!FlushFileBuffers(handle)) return LastError();
    return {};
}

// Write-through: the call returns once the new name is on the disk.
std::error_code Replace(const std::filesystem::path &from, const std::filesystem::path &to) {
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastError();
    return {};
}

// NTFS journals the folder's entries, and the write-through rename waited
// for them; a plain program has no call that flushes a folder.
std::error_code SyncFolder(const std::filesystem::path &) {
    return {};
}

}  // namespace wince::disk
