#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

#include "wince/seam/device_codes.h"
#include "wince/web/web.h"

// The page's side, in wince/web/glue.js. The calls marked as waiting suspend
// the program until the page resumes it.
extern "C" {
double pellax_now_ms();
void pellax_show(const uint8_t *rgba);
int pellax_take_input(int32_t *triples, int most);
void pellax_wait(double milliseconds, int wakeOnInput);  // waiting
void pellax_sync();                                      // waiting
int pellax_mount(const char *folder);                    // waiting
void pellax_await_start();                               // waiting
int pellax_play(const char *key, const uint8_t *bytes, int size);
void pellax_stop_sound();
void pellax_message(const char *text, const char *caption, int error);  // waiting
void pellax_notice(const char *text);
void pellax_ended(int code);
}

namespace wince::web {

namespace {

constexpr int64_t kUsPerMs = 1000;
// With nothing due, the program still looks at its queue this often (a
// game pad is read when the program looks).
constexpr int kLongestWaitMs = 250;
constexpr int kInputBatch = 32;

}  // namespace

bool MountStoredFolder(const std::filesystem::path &folder) {
    return pellax_mount(folder.c_str()) != 0;
}

void AwaitStart() {
    pellax_await_start();
}

void Notice(const std::string &text) {
    pellax_notice(text.c_str());
}

void ShowEnded(int code) {
    pellax_ended(code);
}

void WebHost::Persist() {
    if (!unsaved_) return;
    unsaved_ = false;
    pellax_sync();
}

// Only a picture that differs from the one shown is drawn again; the page
// still counts every one, for its frame rate.
void WebHost::Present(const Picture &picture) {
    pacer_.Presented();
    Persist();
    ReadScreen(picture, incoming_);
    const bool same = anyShown_ && incoming_ == shown_;
    if (!same) {
        shown_ = incoming_;
        anyShown_ = true;
        for (size_t i = 0; i < shown_.size(); ++i) {
            const uint32_t xrgb = ToXrgb(shown_[i]);
            rgba_[i * 4] = static_cast<uint8_t>(xrgb >> 16);
            rgba_[i * 4 + 1] = static_cast<uint8_t>(xrgb >> 8);
            rgba_[i * 4 + 2] = static_cast<uint8_t>(xrgb);
            rgba_[i * 4 + 3] = 0xFF;
        }
    }
    pellax_show(same ? nullptr : rgba_.data());
}

void WebHost::PumpInput() {
    std::array<int32_t, kInputBatch * 3> triples{};
    const int got = pellax_take_input(triples.data(), kInputBatch);
    if (got <= 0 || !HasMainWindow()) return;
    for (int i = 0; i < got; ++i)
        PostDeviceInput({static_cast<uint32_t>(triples[i * 3]),
                         static_cast<uintptr_t>(static_cast<uint32_t>(triples[i * 3 + 1])),
                         static_cast<intptr_t>(triples[i * 3 + 2])});
    pacer_.InputPosted(CounterNow());
}

// The browser gets its turn until the next frame can be due, or until input
// arrives; written files reach storage first.
void WebHost::Idle() {
    Persist();
    const int64_t now = CounterNow();
    double waitMs = kLongestWaitMs;
    if (const auto due = pacer_.SleepUntil(now))
        waitMs = std::min<double>(static_cast<double>(*due - now) / kUsPerMs, kLongestWaitMs);
    pellax_wait(waitMs, 1);
    pacer_.Woke(CounterNow());
}

int64_t WebHost::CounterNow() {
    return static_cast<int64_t>(pellax_now_ms() * kUsPerMs);
}

int64_t WebHost::CounterFrequency() {
    return kUsPerMs * 1000;
}

// The whole program stands still, as on the device; input that arrives
// meanwhile waits in the page and is delivered afterwards, in order.
void WebHost::Sleep(uint32_t milliseconds) {
    Persist();
    const int64_t end = CounterNow() + static_cast<int64_t>(milliseconds) * kUsPerMs;
    for (int64_t left = end - CounterNow(); left > 0; left = end - CounterNow())
        pellax_wait(static_cast<double>(left) / kUsPerMs, 0);
}

// The page decodes a file once and keeps it by its path, so the file is read
// only for its first cue; a file that is not a wave it can play starts
// nothing.
bool WebHost::PlayWave(const std::filesystem::path *waveFile) {
    if (waveFile == nullptr) {
        pellax_stop_sound();
        return true;
    }
    if (handed_.contains(*waveFile)) return pellax_play(waveFile->c_str(), nullptr, 0) != 0;
    std::ifstream in(*waveFile, std::ios::binary);
    if (!in) return false;
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    handed_.insert(*waveFile);
    return pellax_play(waveFile->c_str(), bytes.data(), static_cast<int>(bytes.size())) != 0;
}

void WebHost::ShowMessage(const MessageRequest &message) {
    Persist();
    pellax_message(ToUtf8(message.text).c_str(), ToUtf8(message.caption).c_str(),
                   message.error ? 1 : 0);
}

}  // namespace wince::web
