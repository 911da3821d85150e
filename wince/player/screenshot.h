// Screenshot files: named by the moment, and never over an earlier one.
#pragma once

#include <filesystem>
#include <string>

namespace wince::player {

// The local time as YYYYMMDD-HHMMSS.
std::string TimeStamp();

// folder/prefix-stamp.png, or with -2, -3, ... before the extension when
// that name is taken.
std::filesystem::path FreeScreenshotPath(const std::filesystem::path &folder,
                                         const std::string &prefix, const std::string &stamp);

}  // namespace wince::player
