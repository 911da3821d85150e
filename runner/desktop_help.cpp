// The desktop part of --help: where the game keeps its files, and the keys in
// effect.
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
    out << "Keys in effect (change them in " << file.string()
        << ",\none line a key: ACTION = KEY NAME, e.g. \"a = Left Shift\"):\n";
    for (const auto &key : wince::desktop::DeviceKeys()) {
        out << "  " << std::left << std::setw(8) << key.name << std::setw(36)
            << KeyList(load.map, key.code) + " " << key.use << "\n";
    }
    for (const std::string &warning : load.warnings) out << "  (not used: " << warning << ")\n";
    out << "  any of these but return starts a game from the idle screen\n"
           "The desktop's own keys, which no action may take:\n";
    for (const auto &key : wince::desktop::DesktopKeys())
        out << "  " << std::left << std::setw(32) << wince::desktop::KeyName(key.key) << key.use
            << "\n";
}

}  // namespace

void PrintDesktopHelp(std::ostream &out) {
    const auto pictures = wince::desktop::PicturesFolder().value_or(DefaultRoot());
    out << "The handheld's root: " << DefaultRoot().string() << "\n"
        << "  (made on the first run, and files missing from it are made again at each\n"
           "  start; a folder given with --root is used as it is)\n\n";
    PrintKeys(out, KeyMapPath());
    out << "\nStylus: the left mouse button, or a finger on a touch screen. The menu is\n"
           "the screen itself: the level arrows, NEW GAME and EXIT.\n"
           "Game pad: d-pad or left stick = arrows, A = a, B = b, Start = start, Back = pause.\n"
           "Losing the focus or minimising the window pauses; any key or click goes on.\n"
           "Screenshots go to "
        << pictures.string()
        << ".\n\nSettings kept between runs (volume 0-100, mute, full screen, scale, pausing\n"
        << "when inactive): " << SettingsPath().string()
        << "\n\nEnvironment: PELLAX_RIM_FRAME_STATS=N prints the frame rate every N seconds;\n"
           "SDL_AUDIODRIVER=dummy plays without a sound device.\n";
}

}  // namespace runner
