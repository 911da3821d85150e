// What every fuzz target shares: a silent host on a virtual clock, one
// default installation made per process, and the reset of the game's
// module-level records between inputs.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/app.h"
#include "assets/assets.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/core/control.h"

namespace fuzzing {

namespace fs = std::filesystem;

constexpr int64_t kCountsPerMs = 1000;

// Shows nothing and plays nothing; time moves only when the program waits,
// as on the headless host, so a two-second pause costs nothing. `onPump`
// lets a target post input at chosen virtual times.
class QuietHost final : public wince::Host {
public:
    void Present(const wince::Picture &) override {}
    void PumpInput() override {
        if (onPump) onPump(NowMs());
    }
    void Idle() override { counter_ += kCountsPerMs; }
    int64_t CounterNow() override { return counter_; }
    int64_t CounterFrequency() override { return 1000 * kCountsPerMs; }
    void Sleep(uint32_t milliseconds) override { counter_ += milliseconds * kCountsPerMs; }
    bool PlayWave(const fs::path *) override { return true; }
    void ShowMessage(const wince::MessageRequest &) override {}

    int64_t NowMs() const { return counter_ / kCountsPerMs; }
    void Restart() { counter_ = 0; }

    std::function<void(int64_t nowMs)> onPump;

private:
    int64_t counter_ = 0;
};

inline QuietHost &Host() {
    static QuietHost host;
    return host;
}

// Every input writes a file; a folder in memory keeps that off the disk.
inline fs::path ScratchFolder() {
    std::error_code ignored;
    if (fs::is_directory("/dev/shm", ignored)) return "/dev/shm";
    return fs::temp_directory_path();
}

// A fresh default installation in a scratch folder, made once per process
// and removed when it ends.
class Installation {
public:
    Installation() {
        std::string pattern = (ScratchFolder() / "pellax-fuzz-XXXXXX").string();
        const char *made = mkdtemp(pattern.data());
        if (made == nullptr) Die("cannot make a temporary folder");
        root_ = made;
        std::string error;
        if (!assets::MakeDefaultInstallation(root_, error)) Die(error.c_str());
    }
    ~Installation() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    Installation(const Installation &) = delete;
    Installation &operator=(const Installation &) = delete;

    const fs::path &Root() const { return root_; }
    fs::path Pictures() const { return root_ / "Program Files" / "Pellax Rim" / "picture"; }

private:
    [[noreturn]] static void Die(const char *why) {
        std::fprintf(stderr, "fuzz set-up: %s\n", why);
        std::abort();
    }
    fs::path root_;
};

inline void WriteBytes(const fs::path &file, const uint8_t *data, size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
}

// Sets the stand-in up on the quiet host and the installation; call once.
inline const Installation &SetUp() {
    static Installation installation;
    wince::SetHost(&Host());
    wince::SetRecorder(nullptr);
    wince::SetRoot(installation.Root());
    return installation;
}

// The state of a freshly started program, apart from what a target keeps on
// purpose (the display and the ShadowBuffer).
inline void ResetGameRecords() {
    GameState = InitialGameState();
    ResetBoard();
    for (uint8_t &kind : PieceSequence) kind = 0;
    for (uint32_t &flag : KeyFlags) flag = 0;
    StylusState = {};
    frameLastTick = 0;
    for (uint32_t &slot : TickSlot) slot = 0;
    ShutdownDone = 0;
}

}  // namespace fuzzing
