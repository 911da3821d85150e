// The Windows user's folders where the program keeps its files.
#pragma once

#include <filesystem>
#include <optional>

namespace wince::windows {

// %LOCALAPPDATA%: the user's data on this machine alone.
std::optional<std::filesystem::path> LocalAppData();
// The user's Pictures folder.
std::optional<std::filesystem::path> PicturesFolder();

}  // namespace wince::windows
