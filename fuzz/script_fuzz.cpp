// The headless script reader. A script it accepts must be one a run can
// play: times that never go back, key codes and positions within the ranges
// the messages carry, and a file name for every shot and state line.
#include <limits>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "wince/headless/headless.h"

namespace {

using wince::headless::ScriptEvent;

bool CarriesFile(ScriptEvent::Kind kind) {
    return kind == ScriptEvent::Kind::Shot || kind == ScriptEvent::Kind::State;
}

bool InWordRange(int32_t value) {
    return value >= std::numeric_limits<int16_t>::min() &&
           value <= std::numeric_limits<uint16_t>::max();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    std::string error;
    const auto events = wince::headless::ParseScript(in, error);
    if (!events) {
        if (error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    int64_t last = 0;
    for (const ScriptEvent &event : *events) {
        if (event.t < last) std::abort();
        last = event.t;
        if (CarriesFile(event.kind) == event.file.empty()) std::abort();
        if (!InWordRange(event.a) || !InWordRange(event.b)) std::abort();
    }
    return 0;
}
