#include "wince/player/key_file.h"

#include <algorithm>
#include <set>

#include "wince/player/device_keys.h"

namespace wince::desktop {

namespace {

struct Binding {
    int32_t key;
    const DeviceKey *device;
    int line;
};

// A name from the file as a warning quotes it: cut short, so a long line
// stays one line, never inside a character, and a tab or carriage return
// inside it shown as a space.
std::string Quoted(std::string_view text) {
    constexpr size_t kLongest = 32;
    size_t cut = std::min(text.size(), kLongest);
    while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    std::string quoted(1, '"');
    for (const char c : text.substr(0, cut))
        quoted += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return quoted.append(cut < text.size() ? "...\"" : "\"");
}

// One line of the file; nothing, with the reason in error, for a line that
// cannot be used.
std::optional<Binding> ParseLine(const ConfLine &line, const std::vector<Binding> &earlier,
                                 const KeyNaming &naming, std::string &error) {
    const DeviceKey *device = FindDeviceKey(Lower(line.name));
    if (device == nullptr) {
        error = "unknown action " + Quoted(line.name);
        return std::nullopt;
    }
    const std::optional<int32_t> key = line.value.empty() ? std::nullopt : naming.find(line.value);
    if (!key) {
        error = "unknown key name " + Quoted(line.value);
        return std::nullopt;
    }
    if (const char *use = naming.hostUse(*key)) {
        error = Quoted(naming.name(*key)) + " is the desktop's own key (" + use + ")";
        return std::nullopt;
    }
    for (const Binding &other : earlier) {
        if (other.key == *key && other.device != device) {
            error = "the key " + Quoted(naming.name(*key)) + " already plays " +
                    other.device->name + " (line " + std::to_string(other.line) + ")";
            return std::nullopt;
        }
    }
    return Binding{*key, device, line.number};
}

}  // namespace

KeyFileLoad ApplyKeyFile(const ConfText &conf, KeyCodes defaults, const KeyNaming &naming) {
    std::vector<ConfProblem> problems = conf.problems;
    std::vector<Binding> bindings;
    for (const ConfLine &line : conf.lines) {
        std::string error;
        if (auto binding = ParseLine(line, bindings, naming, error))
            bindings.push_back(*binding);
        else
            problems.push_back({line.number, error});
    }
    KeyFileLoad load{std::move(defaults), Warnings(problems)};
    std::set<uint8_t> named;
    for (const Binding &binding : bindings) {
        if (named.insert(binding.device->code).second)
            std::erase_if(load.codes,
                          [&](const auto &entry) { return entry.second == binding.device->code; });
        load.codes[binding.key] = binding.device->code;
    }
    return load;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace wince::desktop
