// The headless host's own state, shared by the files that implement it.
#pragma once

#include <fstream>

#include "wince/headless/host.h"

namespace wince::headless {

constexpr int64_t kCountsPerSecond = 1000000;
constexpr int64_t kCountsPerMs = kCountsPerSecond / 1000;

struct HeadlessHost::Impl {
    int64_t counter = 0;
    std::vector<ScriptEvent> script;
    size_t nextEvent = 0;
    bool scripted = false;
    bool closedAfterScript = false;
    std::function<void(const std::filesystem::path &)> stateWriter;
    wince::Screen screen{};
    std::ofstream traceFile;
    std::vector<std::string> traceLines;
};

}  // namespace wince::headless
