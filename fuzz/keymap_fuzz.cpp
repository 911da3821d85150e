// The player's key map file: the fuzzed bytes are the file. Whatever they
// are, the load gives a map; its warnings are few and plain text for the
// terminal; and the map, its bad lines skipped, written
// out with the key names the help shows, reads back as the same map.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "wince/player/device_keys.h"
#include "wince/player/keys.h"
#include "wince/seam/text.h"

namespace {

using wince::player::KeyMap;

[[noreturn]] void Fail(const char *why) {
    std::fprintf(stderr, "keymap: %s\n", why);
    std::abort();
}

bool IsPlainText(const std::string &text) {
    if (!wince::FromUtf8Exact(text)) return false;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != 0x09) || byte == 0x7F) return false;
    }
    return true;
}

std::string WriteOut(const KeyMap &map) {
    std::string text;
    for (const wince::player::DeviceKey &device : wince::player::DeviceKeys()) {
        for (const std::string &key : map.KeysFor(device.code))
            text += std::string(device.name) + " = " + key + "\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const wince::player::KeyMapLoad load = wince::player::ParseKeyMap(text);
    // Eight warnings at most, then "(and more)".
    if (load.warnings.size() > 9) Fail("more than nine warnings");
    for (const std::string &warning : load.warnings) {
        if (!IsPlainText(warning)) Fail("a warning that is not plain text");
    }
    const wince::player::KeyMapLoad again = wince::player::ParseKeyMap(WriteOut(load.map));
    if (!again.warnings.empty()) Fail("a written map does not read back");
    if (!(again.map == load.map)) Fail("a written map reads back as another");
    return 0;
}
