// The Windows part of --help: where the game keeps its files, and the keys
// in effect.
#include <iomanip>
#include <string>

#include "runner/runner.h"
#include "wince/windows/keys.h"
#include "wince/windows/user_folders.h"

namespace runner {

namespace {

std::string KeyList(const wince::windows::KeyMap &map, uint8_t code) {
    std::string list;
    for (const auto &[key, bound] : map) {
        if (bound != code) continue;
        if (!list.empty()) list += ", ";
        list += wince::windows::KeyName(key);
    }
    return list.empty() ? "(none)" : list;
}

}  // namespace

void PrintDesktopHelp(std::ostream &out) {
    const auto load = wince::windows::LoadKeyMap(KeyMapPath());
    out << "The handheld's root: " << PathText(DefaultRoot()) << "\n"
        << "  (made on the first run, and files missing from it are made again at each\n"
           "  start; a folder given with --root is used as it is)\n\n"
        << "Keys in effect (change them in " << PathText(KeyMapPath())
        << ",\none line a key: ACTION = KEY NAME, e.g. \"a = Left Shift\"):\n";
    for (const auto &key : wince::desktop::DeviceKeys())
        out << "  " << std::left << std::setw(8) << key.name << std::setw(36)
            << KeyList(load.map, key.code) + " " << key.use << "\n";
    for (const std::string &warning : load.warnings) out << "  (not used: " << warning << ")\n";
    out << "The desktop's own keys, which no action may take:\n";
    for (const auto &key : wince::windows::HostKeys())
        out << "  " << std::left << std::setw(32) << wince::windows::KeyName(key.key) << key.use
            << "\n";
    out << "\nStylus: the left mouse button. The menu is the screen itself: the level\n"
           "arrows, NEW GAME and EXIT.\n"
           "Game controller (XInput): d-pad or left stick = arrows, A = a, B = b, Start = start.\n"
           "Screenshots go to "
        << PathText(wince::windows::PicturesFolder().value_or(DefaultRoot()))
        << ".\nSettings kept between runs (mute, full screen, scale): " << PathText(SettingsPath())
        << "\n";
}

}  // namespace runner
