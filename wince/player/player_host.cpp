// The player as the program's host: pictures, the queue, waits, the clock,
// sound and message boxes.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "wince/player/player.h"

namespace wince::player {

namespace {

// The device's counter ticks every 100 us: ten times finer than the game's
// millisecond clock, and coarse enough that the noise of a machine's wake-ups
// below it does not fill every run's replay (docs/fidelity.md).
constexpr int64_t kCounterFrequency = 10'000;
constexpr int64_t kUsPerCount = 1'000'000 / kCounterFrequency;
constexpr int64_t kUsPerMs = 1000;
// Asking the platform for input costs a few system calls; while the program
// works through its queue, every other millisecond is as good as at once to
// a player, when a frame lasts 26.
constexpr int64_t kPumpEveryUs = 2000;
// With nothing due (the program waiting for input alone) the platform is
// still asked this often; paused, where nothing of the game's can be due,
// less often still.
constexpr int64_t kLongestWaitUs = 250'000;
constexpr int64_t kPausedWaitUs = 1'000'000;
// How close to the end of a millisecond a look counts as the next one's.
constexpr int64_t kMillisecondEdgeUs = 50;

bool IsPlain(const Picture &picture) {
    return picture.xPitch == 2 && picture.yPitch == kScreenWidth * 2 &&
           picture.format == PixelFormat::Rgb565 &&
           picture.topLeft + sizeof(Screen) <= picture.memory.size();
}

}  // namespace

// Most frames repeat the one before; showing it again would be wasted work,
// and the plain layout is compared where it lies, without a copy.
void Player::Present(const Picture &picture) {
    ++statsPictures_;
    pacer_.Presented();
    const bool same =
        anyShown_ && IsPlain(picture) &&
        std::memcmp(picture.memory.data() + picture.topLeft, shown_.data(), sizeof(Screen)) == 0;
    if (!same) {
        ReadScreen(picture, incoming_);
        if (!anyShown_ || incoming_ != shown_) {
            shown_ = incoming_;
            anyShown_ = true;
            ShowCurrent();
        }
    }
    UpdateTitle();
}

void Player::PumpInput() {
    const int64_t now = platform_.NowUs();
    if (!idledSincePump_ && now - lastPumpUs_ < kPumpEveryUs) return;
    idledSincePump_ = false;
    lastPumpUs_ = now;
    platform_.Poll(*this);
    if (!paused_) {
        edges_.clear();
        pads_.Repeat(DeviceUs(), edges_);
        PadEdges(edges_);
    }
    Deliver();
    if (closeRequested_ && !closePosted_ && sink_.Ready()) {
        closePosted_ = true;
        sink_.Close();
    }
    ExpireNotice();
    ReportFrames();
}

// Input waits for the program's window, so that a key struck while it
// starts still ends the intro.
void Player::Deliver() {
    if (paused_ || !sink_.Ready()) return;
    const int64_t now = DeviceUs();
    if (queue_.Deliver(now, [this](const DeviceInput &input) { sink_.Post(input); }))
        pacer_.InputPosted(now);
}

// When the program may next want to run, on the platform's clock: the next
// frame, a held-back release, a pad's repeat, a notice's end. Paused,
// nothing of the game's is due.
int64_t Player::WaitDeadline() {
    const int64_t real = platform_.NowUs();
    int64_t deadline = real + (paused_ ? kPausedWaitUs : kLongestWaitUs);
    if (!paused_) {
        std::optional<int64_t> due = pacer_.SleepUntil(DeviceUs());
        const auto queued = sink_.Ready() ? queue_.NextDueUs() : std::nullopt;
        for (const auto other : {queued, pads_.NextRepeatUs()}) {
            if (other) due = std::min(due.value_or(*other), *other);
        }
        if (due) deadline = std::min(deadline, *due + pausedForUs_);
    }
    if (noticeUntilUs_ != 0) deadline = std::min(deadline, noticeUntilUs_);
    return std::max(deadline, real);
}

// The game does its work only in its frames: an empty queue sleeps until
// something is due or input arrives.
void Player::Idle() {
    idledSincePump_ = true;
    platform_.Wait(WaitDeadline());
    // The program reads its clock a moment after this: a look just before a
    // millisecond ends would be read in the next one, so it waits past it.
    const int64_t intoMs = DeviceUs() % kUsPerMs;
    if (!paused_ && intoMs > kUsPerMs - kMillisecondEdgeUs)
        platform_.Wait(platform_.NowUs() + kUsPerMs - intoMs + Pacer::kAfterTickUs);
    pacer_.Woke(DeviceUs());
}

int64_t Player::CounterNow() {
    return DeviceUs() / kUsPerCount;
}

int64_t Player::CounterFrequency() {
    return kCounterFrequency;
}

// The whole program stands still, as on the device: the game's input that
// arrives meanwhile waits and is delivered afterwards, in order. The window's
// upkeep, the player's keys and pausing go on; a pause stretches the sleep,
// and a close request ends it at once.
void Player::Sleep(uint32_t milliseconds) {
    const int64_t end = DeviceUs() + static_cast<int64_t>(milliseconds) * kUsPerMs;
    while (!closeRequested_) {
        const int64_t left = paused_ ? kPausedWaitUs : end - DeviceUs();
        if (left <= 0) break;
        int64_t deadline =
            platform_.NowUs() + std::min(left, paused_ ? kPausedWaitUs : kLongestWaitUs);
        if (noticeUntilUs_ != 0) deadline = std::min(deadline, noticeUntilUs_);
        platform_.Wait(deadline);
        platform_.Poll(*this);
        ExpireNotice();
    }
}

// Each file is decoded once; a failure is not kept, so a file put right
// while the game runs plays the next time it is asked for.
bool Player::PlayWave(const std::filesystem::path *waveFile) {
    if (waveFile == nullptr) {
        platform_.Play(nullptr);
        return true;
    }
    auto found = waves_.find(*waveFile);
    if (found == waves_.end()) {
        std::string why;
        auto wave = ReadWave(*waveFile, why);
        if (!wave || wave->samples.empty()) {
            platform_.Play(nullptr);
            return false;
        }
        found = waves_.emplace(*waveFile, std::make_shared<const Wave>(std::move(*wave))).first;
    }
    platform_.Play(found->second);
    return true;
}

void Player::ShowMessage(const MessageRequest &message) {
    platform_.ShowMessage(message);
}

void Player::ReportFrames() {
    const int64_t every = static_cast<int64_t>(settings_.frameStatsEverySeconds) * 1'000'000;
    const int64_t now = platform_.NowUs();
    if (every == 0 || now - statsSinceUs_ < every) return;
    const double seconds = static_cast<double>(now - statsSinceUs_) / 1e6;
    std::fprintf(stderr, "pellax-rim: %llu pictures in %g s (%g a second), %llu shown\n",
                 static_cast<unsigned long long>(statsPictures_), seconds,
                 static_cast<double>(statsPictures_) / seconds,
                 static_cast<unsigned long long>(statsShows_));
    statsPictures_ = statsShows_ = 0;
    statsSinceUs_ = now;
}

}  // namespace wince::player
