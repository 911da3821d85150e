// --verify and --headless --replay: a replay run again without a window, on
// a scratch copy of its installation, so the player's own folder is never
// written.
#include <fstream>
#include <iostream>
#include <limits>

#include "runner/replays.h"
#include "runner/runner.h"
#include "wince/headless/host.h"
#include "wince/seam/png.h"

namespace runner {

namespace {

constexpr int kDiverges = 1;
constexpr int kUnusable = 2;

using wince::headless::ScriptEvent;

// Keeps the last picture, for shots; has no pace of its own.
class PictureKeeper final : public wince::replay::Viewer, public wince::Host {
public:
    wince::Host &Window() override { return *this; }
    bool Reach(int64_t) override { return true; }
    void Present(const wince::Picture &picture) override { wince::ReadScreen(picture, screen); }
    void PumpInput() override {}
    void Idle() override {}
    int64_t CounterNow() override { return 0; }
    int64_t CounterFrequency() override { return 1; }
    void Sleep(uint32_t) override {}
    bool PlayWave(const std::filesystem::path *) override { return true; }
    void ShowMessage(const wince::MessageRequest &) override {}

    wince::Screen screen{};
};

struct Prepared {
    std::optional<wince::replay::Replay> replay;
    std::unique_ptr<ScratchFolder> scratch;
};

Prepared Prepare(const std::filesystem::path &file,
                 const std::optional<std::filesystem::path> &root, std::ostream &err) {
    Prepared prepared;
    std::string error;
    prepared.replay = ReadReplay(file, error);
    if (!prepared.replay) {
        err << "pellax-rim: " << error << "\n";
        return prepared;
    }
    prepared.scratch = ScratchFolder::Make(*prepared.replay, root, error);
    if (!prepared.scratch) err << "pellax-rim: " << PathText(file) << ": " << error << "\n";
    return prepared;
}

}  // namespace

int VerifyReplay(const std::filesystem::path &file,
                 const std::optional<std::filesystem::path> &root, std::ostream &out,
                 std::ostream &err) {
    Prepared prepared = Prepare(file, root, err);
    if (!prepared.scratch) return kUnusable;
    wince::replay::ReplayHost host(std::move(*prepared.replay), ReadGameFacts);
    const ReplayRun run = PlayReplay(host, *prepared.scratch);
    out << "score " << run.facts.score << ", high score " << run.facts.highScore << ", "
        << run.frames
        << " frames: " << (run.divergence ? wince::replay::Describe(*run.divergence) : "matches")
        << "\n";
    return run.divergence ? kDiverges : 0;
}

int RunHeadlessReplay(const std::filesystem::path &file,
                      const std::optional<std::filesystem::path> &root,
                      const std::filesystem::path &script, std::ostream &err) {
    std::ifstream in(script);
    std::string error;
    auto events = wince::headless::ParseScript(in, error);
    if (!in.is_open() || in.bad()) {
        err << "pellax-rim: cannot read the script " << PathText(script) << "\n";
        return 1;
    }
    if (!events) {
        err << "pellax-rim: " << PathText(script) << ": " << error << "\n";
        return 1;
    }
    for (const ScriptEvent &event : *events) {
        if (event.kind != ScriptEvent::Kind::Shot && event.kind != ScriptEvent::Kind::State) {
            err << "pellax-rim: " << PathText(script)
                << ": a replay brings its own input; its script takes only shot and state lines\n";
            return kUnusable;
        }
    }
    Prepared prepared = Prepare(file, root, err);
    if (!prepared.scratch) return kUnusable;
    PictureKeeper keeper;
    wince::replay::ReplayHost host(std::move(*prepared.replay), ReadGameFacts, &keeper);
    size_t next = 0;
    bool written = true;
    const auto happen = [&](int64_t deviceMs, int64_t upTo) {
        for (; next < events->size() && (*events)[next].t <= upTo; ++next) {
            const ScriptEvent &event = (*events)[next];
            std::string why;
            if (event.kind == ScriptEvent::Kind::Shot) {
                if (!wince::WriteScreenPng(event.file, keeper.screen, why)) {
                    err << "pellax-rim: " << why << "\n";
                    written = false;
                }
                continue;
            }
            std::ofstream state(event.file, std::ios::binary | std::ios::trunc);
            state << StateJson(deviceMs);
            if (!state) {
                err << "pellax-rim: cannot write the state file " << PathText(event.file) << "\n";
                written = false;
            }
        }
    };
    host.OnLook([&](int64_t deviceMs) { happen(deviceMs, deviceMs); });
    const ReplayRun run = PlayReplay(host, *prepared.scratch);
    // Lines later than the run's end see it as it ended.
    happen(host.DeviceMs(), std::numeric_limits<int64_t>::max());
    if (run.divergence)
        err << "pellax-rim: " << PathText(file) << ": the replay "
            << wince::replay::Describe(*run.divergence) << "\n";
    if (run.divergence) return kDiverges;
    return written ? run.code : 1;
}

}  // namespace runner
