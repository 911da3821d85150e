// The host system's calls under WriteFileDurably, one body for POSIX systems
// (disk.cpp) and one for Windows (disk_win32.cpp), picked in CMakeLists.txt.
#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace wince::disk {

// The stream's data on the disk, not only in the system's cache.
std::error_code FlushToDisk(std::FILE *stream);
// from takes to's name in one step, replacing what was there.
std::error_code Replace(const std::filesystem::path &from, const std::filesystem::path &to);
// The folder's entries (a rename in it) on the disk.
std::error_code SyncFolder(const std::filesystem::path &folder);

}  // namespace wince::disk
