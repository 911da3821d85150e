#include "wince/player/player_settings.h"

#include <charconv>
#include <sstream>
#include <system_error>

#include "wince/player/conf_file.h"
#include "wince/seam/durable_file.h"

namespace wince::player {

namespace {

constexpr int kMaxScale = 16;

bool ReadNumber(const std::string &text, int low, int high, int &out) {
    int value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool ReadYesNo(const std::string &text, bool &out) {
    if (text == "yes" || text == "no") {
        out = text == "yes";
        return true;
    }
    return false;
}

std::string YesNo(bool value) {
    return value ? "yes" : "no";
}

}  // namespace

PlayerSettingsLoad LoadPlayerSettings(const std::filesystem::path &file) {
    ConfText conf = ReadConfFile(file);
    PlayerSettings s;
    for (const ConfLine &line : conf.lines) {
        bool read = false;
        if (line.name == "volume")
            read = ReadNumber(line.value, 0, 100, s.volume);
        else if (line.name == "scale")
            read = ReadNumber(line.value, 0, kMaxScale, s.scale);
        else if (line.name == "mute")
            read = ReadYesNo(line.value, s.muted);
        else if (line.name == "fullscreen")
            read = ReadYesNo(line.value, s.fullScreen);
        else if (line.name == "pause_when_inactive")
            read = ReadYesNo(line.value, s.pauseWhenInactive);
        else {
            conf.problems.push_back({line.number, "unknown setting " + line.name.substr(0, 32)});
            continue;
        }
        if (!read) conf.problems.push_back({line.number, "not a value " + line.name + " takes"});
    }
    return {s, Warnings(conf.problems)};
}

// Written durably: a stop, a power cut or a full disk in the middle leaves
// the settings as they were, never cut short.
bool SavePlayerSettings(const std::filesystem::path &file, const PlayerSettings &s,
                        std::string &error) {
    std::error_code fault;
    std::filesystem::create_directories(file.parent_path(), fault);
    std::ostringstream out;
    out << "# PELLAX RIM keeps these between runs; edit them while it is closed.\n"
           "# volume 0 to 100; scale 1 to "
        << kMaxScale << " times 240 x 320, 0 for the largest that fits;\n"
        << "# pause_when_inactive: pause when the window loses the focus or is minimised.\n"
        << "volume = " << s.volume << "\nmute = " << YesNo(s.muted)
        << "\nfullscreen = " << YesNo(s.fullScreen) << "\nscale = " << s.scale
        << "\npause_when_inactive = " << YesNo(s.pauseWhenInactive) << "\n";
    const std::string text = out.str();
    return WriteFileDurably(file, {reinterpret_cast<const uint8_t *>(text.data()), text.size()},
                            error);
}

}  // namespace wince::player
