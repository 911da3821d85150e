#include "runner/xdg_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#include "runner/windowed.h"

namespace runner::xdg {

namespace {

// A variable counts only when it holds an absolute path, as the XDG rules
// ask: a relative one would put files wherever the program was started.
std::optional<std::filesystem::path> AbsoluteFromEnvironment(const char *name) {
    const char *value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return std::nullopt;
    return std::filesystem::path(value);
}

}  // namespace

std::filesystem::path HomeFolder() {
    if (auto home = AbsoluteFromEnvironment("HOME")) return *home;
    if (const passwd *user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr)
        return user->pw_dir;
    return std::filesystem::temp_directory_path();
}

std::filesystem::path DataHome() {
    return AbsoluteFromEnvironment("XDG_DATA_HOME").value_or(HomeFolder() / ".local" / "share");
}

std::filesystem::path ConfigHome() {
    return AbsoluteFromEnvironment("XDG_CONFIG_HOME").value_or(HomeFolder() / ".config");
}

namespace {

// The desktop's own setting: a line XDG_PICTURES_DIR="$HOME/Pictures" of
// user-dirs.dirs in the config folder, the folder's name in the user's
// language.
std::optional<std::filesystem::path> PicturesFromUserDirs() {
    std::ifstream in(ConfigHome() / "user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=\"", home = "$HOME";
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with(key) || !line.ends_with('"')) continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.starts_with(home)) return HomeFolder().string() + value.substr(home.size());
        if (value.starts_with('/')) return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> PicturesFolder() {
    for (const auto &folder : {AbsoluteFromEnvironment("XDG_PICTURES_DIR"), PicturesFromUserDirs(),
                               std::optional<std::filesystem::path>(HomeFolder() / "Pictures")}) {
        std::error_code error;
        if (folder && std::filesystem::is_directory(*folder, error)) return folder;
    }
    return std::nullopt;
}

}  // namespace runner::xdg

namespace runner {

std::filesystem::path DefaultRoot() {
    return xdg::DataHome() / kProgramFolder;
}

std::filesystem::path KeyMapPath() {
    return xdg::ConfigHome() / kProgramFolder / "keys.conf";
}

std::filesystem::path SettingsPath() {
    return xdg::ConfigHome() / kProgramFolder / "settings.conf";
}

}  // namespace runner
