#include "wince/web/host.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "wince/web/keys.h"

// The page's side, in wince/web/glue.js. The calls marked as waiting suspend
// the program until the page resumes it.
extern "C" {
double pellax_now_ms();
// The next DOM event the page queued: its type and name as text, its
// numbers; 0 when none is left.
int pellax_next_event(char *kind, int kindSize, char *name, int nameSize, double *numbers,
                      int count);
// Each game pad connected: PadRecord below, at most most of them.
int pellax_read_pads(double *records, int most);
void pellax_stage_size(int *widthAndHeight);
void pellax_wait(double milliseconds);  // waiting; ends early when an event comes
void pellax_show(const uint8_t *rgba, int size, int x, int y, int w, int h);
void pellax_presented();
void pellax_title(const char *title);
void pellax_full_screen(int full);
void pellax_play(int id, const int16_t *samples, int count, int channels, int rate);
void pellax_sound(double volume, int paused);
int pellax_settings_changed();         // the page's own settings were written
void pellax_sync();                    // waiting
int pellax_mount(const char *folder);  // waiting
void pellax_await_start();             // waiting
void pellax_message(const char *text, const char *caption, int error);  // waiting
void pellax_notice(const char *text);
void pellax_ended(int code);
void pellax_build(const char *mark);
void pellax_keys(const char *text);
int pellax_take_replay(const char *path);
}

namespace wince::web {

namespace {

using player::PadBit;
using player::PadButton;
using player::Pointer;

constexpr double kUsPerMs = 1000.0;
// Handing the browser its turn costs a suspension of the program: a wait
// already over is skipped, unless the browser has not had a turn for this
// long (the page must never freeze).
constexpr int64_t kLongestWithoutTurnUs = 20'000;
// The browser has no event for a pad's buttons: while one is connected the
// program looks at least this often.
constexpr int64_t kPadLookUs = 20'000;
constexpr int kMostPads = 8;
// The page's own buttons are a pad of their own, under a number no browser
// gives one.
constexpr int kPageButtonsPad = -1;

// A game pad as the page reads it from navigator.getGamepads().
struct PadRecord {
    double slot, buttons, stickX, stickY;  // buttons: bit n for Gamepad.buttons[n] pressed
};

// The standard layout's buttons, by their place in Gamepad.buttons.
struct RawButton {
    int bit;
    PadButton as;
};
constexpr RawButton kRawButtons[] = {
    {12, PadButton::Up}, {13, PadButton::Down}, {14, PadButton::Left}, {15, PadButton::Right},
    {0, PadButton::A},   {1, PadButton::B},     {9, PadButton::Start}, {8, PadButton::Back},
};

// The page's buttons by their data-button names (wince/web/index.html).
struct NamedButton {
    std::string_view name;
    PadButton as;
};
constexpr NamedButton kPageButtons[] = {
    {"Up", PadButton::Up},       {"Down", PadButton::Down}, {"Left", PadButton::Left},
    {"Right", PadButton::Right}, {"A", PadButton::A},       {"B", PadButton::B},
    {"Start", PadButton::Start},
};

}  // namespace

struct PagePlatform::Event {
    char kind[24] = {};
    char name[40] = {};
    // keys: repeat, alt; pointers: x, y (device pixels in the stage), button,
    // primary; visibility: hidden; resize: width, height (device pixels)
    std::array<double, 4> numbers{};
};

bool MountStoredFolder(const std::filesystem::path &folder) {
    return pellax_mount(folder.c_str()) != 0;
}

void CheckBuild(const char *mark) {
    pellax_build(mark);
}

void AwaitStart() {
    pellax_await_start();
}

void ShowKeys(const std::string &text) {
    pellax_keys(text.c_str());
}

void Notice(const std::string &text) {
    pellax_notice(text.c_str());
}

bool TakeReplay(const std::filesystem::path &file) {
    return pellax_take_replay(file.string().c_str()) != 0;
}

void ShowEnded(int code) {
    pellax_ended(code);
}

int64_t PagePlatform::NowUs() {
    return static_cast<int64_t>(pellax_now_ms() * kUsPerMs);
}

void PagePlatform::Poll(player::Player &player) {
    Event event;
    while (pellax_next_event(event.kind, sizeof event.kind, event.name, sizeof event.name,
                             event.numbers.data(), static_cast<int>(event.numbers.size())) != 0) {
        Handle(player, event);
        event = Event();
    }
    ReadPads(player);
}

void PagePlatform::Handle(player::Player &player, const Event &event) {
    const std::string_view kind = event.kind;
    const auto &n = event.numbers;
    if (kind == "keydown" || kind == "keyup") {
        if (const auto key = KeyName(event.name))
            player.OnKey(*key, kind == "keydown", n[0] != 0, n[1] != 0);
    } else if (kind.starts_with("pointer")) {
        // The stylus is the first finger, or the mouse's primary button.
        const bool primary = n[3] != 0, mainButton = n[2] == 0;
        if (!primary) return;
        if (kind == "pointerdown" && mainButton)
            player.OnPointer(Pointer::Down, n[0], n[1]);
        else if (kind == "pointermove")
            player.OnPointer(Pointer::Move, n[0], n[1]);
        else if ((kind == "pointerup" && mainButton) || kind == "pointercancel")
            player.OnPointer(Pointer::Up, n[0], n[1]);
    } else if (kind == "buttondown" || kind == "buttonup") {
        const auto *button =
            std::find_if(std::begin(kPageButtons), std::end(kPageButtons),
                         [&](const NamedButton &b) { return b.name == event.name; });
        if (button == std::end(kPageButtons)) return;
        if (kind == "buttondown")
            buttons_ |= PadBit(button->as);
        else
            buttons_ &= ~PadBit(button->as);
        player.OnPad(kPageButtonsPad, {true, buttons_});
    } else if (kind == "visibilitychange") {
        player.OnMinimised(n[0] != 0);
    } else if (kind == "fullscreenchange") {
        player.OnFullScreen(n[0] != 0);
    } else if (kind == "close") {
        player.OnClose();
    } else if (kind == "blur") {
        player.OnFocus(false);
    } else if (kind == "resize") {
        player.OnResize(static_cast<int>(n[0]), static_cast<int>(n[1]));
    }
}

// Every pad is read at every look, and one no longer there lets go of what
// it held.
void PagePlatform::ReadPads(player::Player &player) {
    std::array<PadRecord, kMostPads> records{};
    const int count = std::clamp(
        pellax_read_pads(reinterpret_cast<double *>(records.data()), kMostPads), 0, kMostPads);
    std::set<int> now;
    for (int i = 0; i < count; ++i) {
        const PadRecord &record = records[i];
        const auto raw = static_cast<uint32_t>(record.buttons);
        player::PadReading reading;
        for (const RawButton &button : kRawButtons)
            if ((raw >> button.bit) & 1) reading.buttons |= PadBit(button.as);
        reading.stickX = record.stickX;
        reading.stickY = record.stickY;
        const int slot = static_cast<int>(record.slot);
        player.OnPad(slot, reading);
        now.insert(slot);
    }
    for (const int gone : pads_)
        if (!now.contains(gone)) player.OnPad(gone, {false});
    pads_ = std::move(now);
}

void PagePlatform::Measure(player::Player &player) {
    std::array<int, 2> size{};
    pellax_stage_size(size.data());
    player.OnResize(size[0], size[1]);
}

// The program's files and the page's own settings are stored together.
void PagePlatform::Persist() {
    const bool settingsChanged = pellax_settings_changed() != 0;
    if (!unsaved_ && !settingsChanged) return;
    unsaved_ = false;
    pellax_sync();
}

// The browser has no turn meanwhile: only for what a resume would cost.
void PagePlatform::SpinUntil(int64_t untilUs) {
    while (NowUs() < untilUs) {
    }
}

// Written files reach storage first; then the browser has its turn until
// the time or an event comes.
void PagePlatform::Wait(int64_t untilUs) {
    Persist();
    const int64_t now = NowUs();
    int64_t left = std::max<int64_t>(untilUs - now, 0);
    if (left == 0 && now - lastTurnUs_ < kLongestWithoutTurnUs) return;
    if (!pads_.empty()) left = std::min(left, kPadLookUs);
    // Resuming the program costs the page a rebuilt stack, and the browser
    // may have its own tasks first: a wait ends early by what that costs,
    // and the rest passes here.
    const int64_t asked = left - resumeLead_.LeadFor(left);
    // A wait no longer than a resume would cost passes wholly here, as long
    // as the browser had a turn lately.
    if (asked == 0 && left > 0 && now - lastTurnUs_ < kLongestWithoutTurnUs) {
        SpinUntil(now + left);
        return;
    }
    pellax_wait(static_cast<double>(asked) / kUsPerMs);
    const int64_t back = NowUs();
    // A wait that input ended says nothing of a resume's cost, and the input
    // is handled at once.
    if (back >= now + asked) {
        resumeLead_.Resumed(back - (now + asked));
        SpinUntil(now + left);
    }
    lastTurnUs_ = NowUs();
}

void PagePlatform::Show(const Screen &pixels, const player::ScreenRect &where) {
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t xrgb = ToXrgb(pixels[i]);
        rgba_[i * 4] = static_cast<uint8_t>(xrgb >> 16);
        rgba_[i * 4 + 1] = static_cast<uint8_t>(xrgb >> 8);
        rgba_[i * 4 + 2] = static_cast<uint8_t>(xrgb);
        rgba_[i * 4 + 3] = 0xFF;
    }
    pellax_show(rgba_.data(), static_cast<int>(rgba_.size()), where.x, where.y, where.w, where.h);
}

void PagePlatform::SetTitle(const std::string &title) {
    pellax_title(title.c_str());
}

void PagePlatform::SetFullScreen(bool full) {
    pellax_full_screen(full ? 1 : 0);
}

// The page keeps each wave it was given, so its samples cross only once.
void PagePlatform::Play(const std::shared_ptr<const player::Wave> &wave) {
    if (!wave) {
        pellax_play(0, nullptr, 0, 0, 0);
        return;
    }
    const auto kept = std::find(handed_.begin(), handed_.end(), wave);
    const int id = static_cast<int>(kept - handed_.begin()) + 1;
    if (kept != handed_.end()) {
        pellax_play(id, nullptr, 0, 0, 0);
        return;
    }
    handed_.push_back(wave);
    pellax_play(id, wave->samples.data(), static_cast<int>(wave->samples.size()), wave->channels,
                wave->rate);
}

void PagePlatform::SetSound(int volume, bool paused) {
    pellax_sound(volume / 100.0, paused ? 1 : 0);
    if (soundSet_) soundSet_();
}

void PagePlatform::ShowMessage(const MessageRequest &message) {
    Persist();
    pellax_message(ToUtf8(message.text).c_str(), ToUtf8(message.caption).c_str(),
                   message.error ? 1 : 0);
}

void CountingHost::Present(const Picture &picture) {
    pellax_presented();
    player_.Present(picture);
}

}  // namespace wince::web
