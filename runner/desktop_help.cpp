// The desktop part of --help: where the game keeps its files, and its keys.
#include <iomanip>
#include <string>

#include "runner/runner.h"
#include "wince/desktop/keymap.h"
#include "wince/desktop/user_folders.h"

namespace runner {

namespace {

std::string KeyList(const wince::desktop::KeyMap &map, uint8_t code) {
    std::string list;
    for (int32_t key : map.KeysFor(code)) {
        if (!list.empty()) list += ", ";
        list += wince::desktop::KeyName(key);
    }
    return list.empty() ? "(none)" : list;
}

void PrintKeys(std::ostream &out, const std::filesystem::path &file) {
    const auto load = wince::desktop::LoadKeyMap(file);
    out << "Keys (" << (load.warnings.empty() ? "" : "the defaults, as the file is not usable; ")
        << "change them in " << file.string()
        << ",\none line a key: ACTION = KEY NAME, e.g. \"a = Left Shift\"):\n";
    for (const auto &key : wince::desktop::DeviceKeys()) {
        out << "  " << std::left << std::setw(8) << key.name << std::setw(20)
            << KeyList(load.map, key.code) + " " << key.use << "\n";
    }
}

}  // namespace

void PrintDesktopHelp(std::ostream &out) {
    const auto data = wince::desktop::DataHome() / "pellax-rim";
    const auto keys = wince::desktop::ConfigHome() / "pellax-rim" / "keys.conf";
    const auto pictures = wince::desktop::PicturesFolder().value_or(data);
    out << "The handheld's root: " << data.string() << "\n"
        << "  (made with the default installation on the first run; --root chooses another)\n\n";
    PrintKeys(out, keys);
    out << "  any of these but return starts a game from the idle screen\n\n"
           "Stylus: the left mouse button, or a finger on a touch screen. The menu is\n"
           "the screen itself: the level arrows, NEW GAME and EXIT.\n"
           "Game pad: d-pad or left stick = arrows, A = a, B = b, Start = start.\n"
           "Window: F11 or Alt+Enter toggles full screen; F12 saves a screenshot in\n  "
        << pictures.string()
        << ".\n\nEnvironment: PELLAX_RIM_FRAME_STATS=N prints the frame rate every N seconds;\n"
           "SDL_AUDIODRIVER=dummy plays without a sound device.\n";
}

}  // namespace runner
