#include "wince/player/player_settings.h"

#include <charconv>
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
    std::string text = "# PELLAX RIM keeps these between runs; edit them while it is closed.\n";
    text.append("# volume 0 to 100; scale 1 to ").append(std::to_string(kMaxScale));
    text.append(" times 240 x 320, 0 for the largest that fits;\n");
    text.append("# pause_when_inactive: pause when the window loses the focus or is minimised.\n");
    text.append("volume = ").append(std::to_string(s.volume));
    text.append("\nmute = ").append(YesNo(s.muted));
    text.append("\nfullscreen = ").append(YesNo(s.fullScreen));
    text.append("\nscale = ").append(std::to_string(s.scale));
    text.append("\npause_when_inactive = ").append(YesNo(s.pauseWhenInactive)).append("\n");
    return WriteFileDurably(file, {reinterpret_cast<const uint8_t *>(text.data()), text.size()},
                            error);
}

}  // namespace wince::player
