// The folders of the desktop's user where the program keeps its files (the
// XDG base directories), and the program's own paths in them.
#pragma once

#include <filesystem>
#include <optional>

namespace runner::xdg {

std::filesystem::path HomeFolder();
// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path DataHome();
// $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path ConfigHome();
// The first of $XDG_PICTURES_DIR, the desktop's user-dirs.dirs setting and
// ~/Pictures that is a folder; nothing when none is.
std::optional<std::filesystem::path> PicturesFolder();

}  // namespace runner::xdg
