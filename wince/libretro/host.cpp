#include "wince/libretro/host.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <limits>

#include "wince/seam/device_codes.h"

namespace wince::libretro {

namespace {

using namespace device;
using player::PadButton;

constexpr int64_t kUsPerMs = 1000;
// A program that meets a failure it cannot handle stops there, as the
// command line's does, with the same code.
constexpr int kFailure = 3;

// The samples the frontend has been given once `frames` frames are over;
// each frame's share is the difference, so the fraction of 573.3 is carried.
int64_t SamplesBy(int64_t frames) {
    return frames * kFrameUs * kSampleRate / 1'000'000;
}

}  // namespace

RetroHost::~RetroHost() {
    Finish();
    if (&CurrentHost() == this) SetHost(nullptr);
}

// The thread waits for the first frame: nothing of the program runs while
// the frontend is still loading.
void RetroHost::Start(std::function<int()> program) {
    thread_ = std::thread([this, program = std::move(program)] {
        {
            std::unique_lock lock(mutex_);
            turned_.wait(lock, [this] { return programTurn_; });
        }
        int code = kFailure;
        try {
            code = program();
        } catch (const std::exception &failure) {
            std::cerr << "pellax-rim: " << failure.what() << std::endl;
        } catch (...) {
            std::cerr << "pellax-rim: an unknown failure" << std::endl;
        }
        const std::lock_guard lock(mutex_);
        exitCode_ = code;
        ended_ = true;
        programTurn_ = false;
        turned_.notify_all();
    });
}

void RetroHost::GiveTurn() {
    std::unique_lock lock(mutex_);
    programTurn_ = true;
    turned_.notify_all();
    turned_.wait(lock, [this] { return !programTurn_; });
}

void RetroHost::Park() {
    if (finishing_) return;
    std::unique_lock lock(mutex_);
    programTurn_ = false;
    turned_.notify_all();
    turned_.wait(lock, [this] { return programTurn_; });
}

// A message box stops the program and its clock until it is answered; the
// frames meanwhile hand the same picture again.
void RetroHost::RunFrame(const FrameInput &input) {
    opened_.reset();
    ++frames_;
    const bool wasWaiting = message_.has_value();
    ReadInput(input);
    if (thread_.joinable() && !ended_ && !message_) {
        // The frame a box is answered in finishes the time the box cut short.
        if (!wasWaiting) budgetEndUs_ += kFrameUs;
        GiveTurn();
    }
    Mix();
}

// Unhurried: no frame waits for it, so its clock runs on without stopping
// and a box it shows now is answered at once.
void RetroHost::Finish() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        finishing_ = true;
        budgetEndUs_ = std::numeric_limits<int64_t>::max();
        message_.reset();
    }
    if (!ended_) GiveTurn();
    thread_.join();
}

// ---- Input ------------------------------------------------------------------

void RetroHost::ReadInput(const FrameInput &input) {
    edges_.clear();
    pads_.Read(0, {true, input.buttons, input.stickX, input.stickY}, counterUs_, edges_);
    Edges(edges_);
    const int x = std::clamp(input.pointerX, 0, kScreenWidth - 1);
    const int y = std::clamp(input.pointerY, 0, kScreenHeight - 1);
    const bool moved = x != stylusX_ || y != stylusY_;
    if (input.pointerDown && !stylusDown_) {
        if (message_) return;  // only a button answers a box
        stylusDown_ = true;
        queue_.Add({kStylusDownMessage, kStylusHeld, StylusPoint(x, y)});
    } else if (input.pointerDown && moved) {
        queue_.Add({kStylusMoveMessage, kStylusHeld, StylusPoint(x, y)});
    } else if (!input.pointerDown && stylusDown_) {
        stylusDown_ = false;
        queue_.Add({kStylusUpMessage, 0, StylusPoint(stylusX_, stylusY_)});
        return;  // a lift is where the stylus last touched
    }
    stylusX_ = x;
    stylusY_ = y;
}

// A press made while a box waits belongs to the box: neither it nor its
// release reaches the game. Releases of earlier presses still do, so that
// no key stays down.
void RetroHost::Edges(const std::vector<player::PadEdge> &edges) {
    for (const player::PadEdge &edge : edges) {
        if (edge.button == PadButton::Back) continue;
        if (!edge.down) {
            if (swallowed_.erase(edge.button) == 0)
                Press(player::PadCode(edge.button), false, false);
            continue;
        }
        if (swallowed_.contains(edge.button)) continue;  // its repeats neither
        if (message_) {
            swallowed_.insert(edge.button);
            if (edge.button == PadButton::A || edge.button == PadButton::Start) message_.reset();
            continue;
        }
        Press(player::PadCode(edge.button), true, edge.repeat);
    }
}

void RetroHost::Press(uint8_t code, bool down, bool repeat) {
    if (down)
        queue_.Add({kKeyDownMessage, code, repeat ? kKeyRepeatDown : kKeyFirstDown});
    else
        queue_.Add({kKeyUpMessage, code, kKeyGoingUp});
}

// Input waits for the program's window, so that a button pressed while it
// starts still ends the intro; the queue keeps each press 60 ms at least.
void RetroHost::PumpInput() {
    edges_.clear();
    pads_.Repeat(counterUs_, edges_);
    Edges(edges_);
    if (!HasMainWindow()) return;
    if (finishing_ && !closePosted_) {
        closePosted_ = true;
        CloseMainWindow();
    }
    queue_.Deliver(counterUs_, [](const DeviceInput &input) { PostDeviceInput(input); });
}

// ---- The clock ----------------------------------------------------------------

// As the headless host: a look at an empty queue is one millisecond. The
// frame's time used up, the frontend has its turn; the program goes on from
// here, reading the clock, at the next frame.
void RetroHost::Idle() {
    counterUs_ += kUsPerMs;
    if (counterUs_ >= budgetEndUs_) Park();
}

// A sleep spans as many frames as it lasts, each handing the same picture.
void RetroHost::Sleep(uint32_t milliseconds) {
    const int64_t end = counterUs_ + static_cast<int64_t>(milliseconds) * kUsPerMs;
    while (counterUs_ < end) {
        if (counterUs_ >= budgetEndUs_) {
            Park();
            continue;
        }
        counterUs_ = std::min(end, budgetEndUs_);
    }
}

// ---- Output ---------------------------------------------------------------------

void RetroHost::Present(const wince::Picture &picture) {
    ReadScreen(picture, screen_);
}

// Each file is decoded once; a failure is not kept, so a file put right
// meanwhile plays the next time.
bool RetroHost::PlayWave(const std::filesystem::path *waveFile) {
    playing_.reset();
    playedFixed_ = 0;
    if (waveFile == nullptr) return true;
    auto found = waves_.find(*waveFile);
    if (found == waves_.end()) {
        std::string why;
        auto wave = player::ReadWave(*waveFile, why);
        if (!wave || wave->samples.empty() || wave->rate <= 0) return false;
        found =
            waves_.emplace(*waveFile, std::make_shared<const player::Wave>(std::move(*wave))).first;
    }
    playing_ = found->second;
    return true;
}

// One wave at a time, its first channel on both sides, stepped to the
// frontend's rate (the handheld's waves are at that rate already).
void RetroHost::Mix() {
    const auto count = static_cast<size_t>(SamplesBy(frames_) - SamplesBy(frames_ - 1));
    audio_.assign(count * 2, 0);
    if (!playing_) return;
    const player::Wave &wave = *playing_;
    const uint64_t step = (static_cast<uint64_t>(wave.rate) << 16) / kSampleRate;
    for (size_t i = 0; i < count; ++i) {
        const size_t frame = playedFixed_ >> 16;
        if (frame >= wave.Frames()) {
            playing_.reset();
            return;
        }
        audio_[2 * i] = audio_[2 * i + 1] = wave.samples[frame * wave.channels];
        playedFixed_ += step;
    }
}

void RetroHost::ShowMessage(const MessageRequest &message) {
    if (finishing_) return;
    std::string text = ToUtf8(message.text);
    if (!message.caption.empty()) text = ToUtf8(message.caption) + ": " + text;
    message_ = text;
    opened_ = text;
    while (message_ && !finishing_) Park();
}

}  // namespace wince::libretro
