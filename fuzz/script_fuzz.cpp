// The headless script reader. A script it accepts must be one a run can
// play: times that never go back, key codes and positions within the ranges
// the messages carry (-32768..65535), and a file name for every shot and
// state line.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "wince/headless/host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using Kind = wince::headless::ScriptEvent::Kind;
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    std::string error;
    const auto events = wince::headless::ParseScript(in, error);
    if (!events && error.rfind("line ", 0) != 0) std::abort();
    int64_t last = 0;
    for (const auto &event : events.value_or(std::vector<wince::headless::ScriptEvent>{})) {
        if (event.t < last) std::abort();
        last = event.t;
        if ((event.kind == Kind::Shot || event.kind == Kind::State) == event.file.empty())
            std::abort();
        for (int32_t value : {event.a, event.b})
            if (value < -32768 || value > 65535) std::abort();
    }
    return 0;
}
