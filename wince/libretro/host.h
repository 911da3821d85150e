// The libretro host: the program inside a frontend (RetroArch and its kind),
// whose frame is the clock. The device's program owns its loop and never
// returns to a caller once a frame; so it runs on a thread of its own and the
// two hand a baton back and forth: a frame gives the program 26 ms of the
// device's time, and the frontend waits until the program has used them up
// at a point where it idles or sleeps. Only one of the two runs at any time,
// so the program's clock is as virtual as the headless host's and a run
// depends on the input alone. No libretro type is visible past this header.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "wince/player/input_queue.h"
#include "wince/player/pads.h"
#include "wince/player/wave.h"
#include "wince/seam/screen.h"

namespace wince::libretro {

// The device's time one frame of the frontend stands for: the game draws a
// frame every 26 ms, so each frontend frame holds exactly one.
inline constexpr int64_t kFrameUs = 26'000;
inline constexpr double kFramesPerSecond = 1000.0 / 26.0;
inline constexpr int kSampleRate = 22'050;

// What the frontend read for a frame.
struct FrameInput {
    uint32_t buttons = 0;  // player::PadBit of each button down
    double stickX = 0.0, stickY = 0.0;
    bool pointerDown = false;
    int pointerX = 0, pointerY = 0;  // screen pixels
};

class RetroHost final : public Host {
public:
    RetroHost() = default;
    ~RetroHost() override;
    RetroHost(const RetroHost &) = delete;
    RetroHost &operator=(const RetroHost &) = delete;

    // The program on its own thread; it waits there for the first frame.
    void Start(std::function<int()> program);
    // One frame of the frontend: the input, then the program's turn of
    // kFrameUs (none while a message box waits for its answer).
    void RunFrame(const FrameInput &input);
    // The program is asked to close and runs on, the frontend no longer
    // waited for, until it ends; then its thread is gone.
    void Finish();

    const Screen &Picture() const { return screen_; }
    // This frame's sound: interleaved stereo frames at kSampleRate.
    const std::vector<int16_t> &Audio() const { return audio_; }
    // A message box that opened in this frame: its text, to be shown.
    const std::optional<std::string> &OpenedMessage() const { return opened_; }
    bool MessageOpen() const { return message_.has_value(); }
    bool Ended() const { return ended_; }
    int ExitCode() const { return exitCode_; }
    int64_t NowUs() const { return counterUs_; }
    int64_t Frames() const { return frames_; }

    // The Host, called on the program's thread.
    void Present(const wince::Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override { return counterUs_; }
    int64_t CounterFrequency() override { return 1'000'000; }
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

private:
    void Park();  // the program's thread gives the baton back and waits for it
    void GiveTurn();
    void ReadInput(const FrameInput &input);
    void Press(uint8_t code, bool down, bool repeat);
    void Edges(const std::vector<player::PadEdge> &edges);
    void Mix();

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable turned_;
    bool programTurn_ = false;
    bool finishing_ = false;
    bool ended_ = false;
    int exitCode_ = 0;

    int64_t counterUs_ = 0;
    int64_t budgetEndUs_ = 0;
    int64_t frames_ = 0;
    Screen screen_{};

    player::InputQueue queue_;
    player::Pads pads_;
    std::vector<player::PadEdge> edges_;
    std::set<player::PadButton> swallowed_;  // the presses that answered a box
    bool stylusDown_ = false;
    int stylusX_ = 0, stylusY_ = 0;
    bool closePosted_ = false;

    std::optional<std::string> message_, opened_;

    std::map<std::filesystem::path, std::shared_ptr<const player::Wave>> waves_;
    std::shared_ptr<const player::Wave> playing_;
    uint64_t playedFixed_ = 0;  // position in the wave, 16.16 fixed point
    std::vector<int16_t> audio_;
};

}  // namespace wince::libretro
