// --headless: the whole program, entry to exit, on the headless stand-in,
// driven by a script and recording everything it does.
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

#include "runner/replays.h"
#include "runner/runner.h"
#include "wince/headless/host.h"

namespace runner {

namespace {

using wince::headless::HeadlessHost;
using wince::headless::ScriptEvent;

std::optional<std::vector<ScriptEvent>> ReadScript(const std::filesystem::path &file) {
    std::ifstream in(file);
    std::string error;
    auto events = wince::headless::ParseScript(in, error);
    // A folder opens as a stream too, and fails only at the first read.
    if (!in.is_open() || in.bad()) {
        std::cerr << "pellax-rim: cannot read the script " << PathText(file) << "\n";
        return std::nullopt;
    }
    if (!events) std::cerr << "pellax-rim: " << PathText(file) << ": " << error << "\n";
    return events;
}

void WriteState(const std::filesystem::path &file, int64_t virtualMs) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << StateJson(virtualMs);
    if (!out) std::cerr << "pellax-rim: cannot write the state file " << PathText(file) << "\n";
}

}  // namespace

int RunHeadless(const HeadlessOptions &options) {
    // The whole script is read before anything runs, so a bad line costs
    // nothing but its message.
    auto events = ReadScript(options.script);
    if (!events) return 1;
    bool refused = false;
    const auto lock = TakeRoot(options.root, false, refused);
    if (!lock) return 1;

    static HeadlessHost host;  // outlives the program's last call into the stand-in
    wince::SetHost(&host);
    wince::SetRecorder(&host);
    wince::SetRoot(options.root);
    host.SetScript(std::move(*events));
    host.SetStateWriter([](const std::filesystem::path &file) { WriteState(file, host.NowMs()); });
    if (options.trace && !host.OpenTraceFile(*options.trace)) {
        std::cerr << "pellax-rim: cannot write the trace " << PathText(*options.trace) << "\n";
        return 1;
    }

    const int code = options.record
                         ? RunRecorded(host, options.root, "headless", SaveToFile(*options.record))
                         : RunProgram();
    host.RecordExit(code);
    return code;
}

}  // namespace runner
