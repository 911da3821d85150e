// The player's events: keys, the pointer, pads, the window; pause and the
// title.
#include "wince/player/player.h"

#include <algorithm>

#include "wince/player/overlay.h"
#include "wince/player/screenshot.h"
#include "wince/seam/device_codes.h"
#include "wince/seam/host_file.h"

namespace wince::player {

namespace {

using namespace device;

// How long a word in the title (a screenshot's name, sound off) stays.
constexpr int64_t kNoticeUs = 2'000'000;
// Plain ASCII: with the C locale X would garble anything else in a title.
constexpr const char *kDash = " - ";

class Core final : public DeviceSink {
public:
    bool Ready() override { return HasMainWindow(); }
    void Post(const DeviceInput &input) override { PostDeviceInput(input); }
    void Close() override { CloseMainWindow(); }
};

}  // namespace

DeviceSink &CoreSink() {
    static Core core;
    return core;
}

Player::Player(Platform &platform, Settings settings, DeviceSink &sink)
    : platform_(platform),
      settings_(std::move(settings)),
      sink_(sink),
      fullScreen_(settings_.fullScreen),
      muted_(settings_.muted) {
    statsSinceUs_ = platform_.NowUs();
    lastPumpUs_ = statsSinceUs_;
    ApplySound();
}

// The player's own keys never reach the game; while paused, a new press of
// any other key (not a modifier alone) goes on and no further.
void Player::OnKey(std::string_view name, bool down, bool repeat, bool alt) {
    const ReservedKey *reserved = FindReservedKey(name);
    const bool altEnter = alt && (name == "Return" || name == "Keypad Enter");
    if (reserved != nullptr || altEnter) {
        if (down && !repeat) HostKey(altEnter ? HostAction::FullScreen : reserved->action);
        return;
    }
    if (down && settings_.ownKey && settings_.ownKey(name, repeat)) return;
    const std::optional<uint8_t> code = settings_.keys.Find(name);
    if (paused_ && down) {
        if (!repeat && (!IsModifier(name) || code)) {
            swallowedKeys_.insert(std::string(name));
            Resume();
        }
        return;
    }
    if (!down && swallowedKeys_.erase(std::string(name)) > 0) return;
    if (down && alt && name == "F4") OnClose();  // as everywhere on Windows
    if (code) GameKey(*code, down, repeat);
}

void Player::HostKey(HostAction action) {
    switch (action) {
        case HostAction::FullScreen:
            fullScreen_ = !fullScreen_;
            platform_.SetFullScreen(fullScreen_);
            break;
        case HostAction::Screenshot:
            SaveScreenshot();
            break;
        case HostAction::Close:
            OnClose();
            break;
        case HostAction::Pause:
            paused_ ? Resume() : Pause();
            break;
        case HostAction::Mute:
            muted_ = !muted_;
            ApplySound();
            Notice(muted_ ? "sound off" : "sound on");
            break;
    }
}

void Player::GameKey(uint8_t code, bool down, bool repeat) {
    if (!down)
        Queue({kKeyUpMessage, code, kKeyGoingUp});
    else
        Queue({kKeyDownMessage, code, repeat ? kKeyRepeatDown : kKeyFirstDown});
}

// A press on the bars is no touch of the screen. A lift is delivered for
// every press that was, wherever the pointer went meanwhile; the stylus
// moves only while it touches.
void Player::OnPointer(Pointer action, double x, double y) {
    const double px = x * unitX_, py = y * unitY_;
    if (action == Pointer::Down) {
        if (paused_) {
            Resume();  // a press the game did not see has no lift either
            return;
        }
        const auto at = ToScreen(layout_, px, py);
        if (!at || stylusDown_) return;
        stylusDown_ = true;
        Queue({kStylusDownMessage, kStylusHeld, StylusPoint(at->x, at->y)});
        return;
    }
    if (!stylusDown_) return;
    const ScreenPoint at = ToScreenClamped(layout_, px, py);
    if (action == Pointer::Move) {
        Queue({kStylusMoveMessage, kStylusHeld, StylusPoint(at.x, at.y)});
    } else {
        stylusDown_ = false;
        Queue({kStylusUpMessage, 0, StylusPoint(at.x, at.y)});
    }
}

void Player::OnPad(int pad, const PadReading &reading) {
    edges_.clear();
    pads_.Read(pad, reading, DeviceUs(), edges_);
    PadEdges(edges_);
}

// Back pauses and goes on. While paused a new press of another button goes
// on and no further; the stick alone does not (it may rest off centre).
void Player::PadEdges(const std::vector<PadEdge> &edges) {
    for (const PadEdge &edge : edges) {
        const std::pair<int, PadButton> id{edge.pad, edge.button};
        if (edge.button == PadButton::Back) {
            if (edge.down) paused_ ? Resume() : Pause();
            continue;
        }
        if (!edge.down) {
            if (swallowedButtons_.erase(id) == 0) GameKey(PadCode(edge.button), false, false);
            continue;
        }
        if (swallowedButtons_.contains(id)) continue;  // its repeats neither
        if (paused_) {
            swallowedButtons_.insert(id);
            if (edge.button >= PadButton::A) Resume();
            continue;
        }
        GameKey(PadCode(edge.button), true, edge.repeat);
    }
}

void Player::OnFocus(bool focused) {
    if (!focused && settings_.pauseWhenInactive) Pause();
}

void Player::OnMinimised(bool minimised) {
    if (minimised == minimised_) return;
    minimised_ = minimised;
    if (minimised && settings_.pauseWhenInactive) Pause();
    if (!minimised) ShowCurrent();
}

void Player::OnResize(int width, int height, double pixelsPerUnitX, double pixelsPerUnitY) {
    layout_ = PlaceScreen(width, height);
    unitX_ = pixelsPerUnitX > 0 ? pixelsPerUnitX : 1.0;
    unitY_ = pixelsPerUnitY > 0 ? pixelsPerUnitY : 1.0;
    if (openingScale_ == 0) openingScale_ = std::max(ShownScale(layout_), 1);
    ShowCurrent();
}

void Player::OnExposed() {
    ShowCurrent();
}

// The program's window is asked to close (at the next look at its queue,
// once it has one); a sleep under way ends at once.
void Player::OnClose() {
    closeRequested_ = true;
}

// While paused nothing reaches the game; only releases are kept, so that no
// key stays down, and they follow when the game goes on.
void Player::Queue(const DeviceInput &input) {
    if (!paused_) {
        queue_.Add(input);
    } else if (input.message == kKeyUpMessage || input.message == kStylusUpMessage) {
        releasedWhilePaused_.push_back(input);
    }
}

// The game's clock stops, the sound stands and the picture dims: the game
// goes on exactly where it stood.
void Player::Pause() {
    if (paused_) return;
    frozenUs_ = DeviceUs();
    pausedAtUs_ = platform_.NowUs();
    paused_ = true;
    ApplySound();
    ShowCurrent();
    UpdateTitle();
}

void Player::Resume() {
    if (!paused_) return;
    pausedForUs_ += platform_.NowUs() - pausedAtUs_;
    paused_ = false;
    ApplySound();
    ShowCurrent();
    UpdateTitle();
    for (const DeviceInput &release : releasedWhilePaused_) queue_.Add(release);
    releasedWhilePaused_.clear();
}

void Player::ApplySound() {
    platform_.SetSound(muted_ ? 0 : std::clamp(settings_.volume, 0, 100), paused_);
}

void Player::ShowCurrent() {
    if (minimised_) return;
    platform_.Show(paused_ ? PausedPicture(shown_) : shown_, layout_);
    ++statsShows_;
}

// A notice while it lasts, else whether the game is paused or waits for a
// key. Asked every frame; the words are put together only when they change.
void Player::UpdateTitle() {
    const bool awaits = settings_.awaitsKey && settings_.awaitsKey();
    const TitleState state{noticeUntilUs_, paused_, awaits};
    if (state == titleState_) return;
    titleState_ = state;
    std::string title = settings_.title;
    if (noticeUntilUs_ != 0)
        title += kDash + notice_;
    else if (paused_)
        title += kDash + std::string("Paused, press a key");
    else if (awaits)
        title += kDash + std::string("Press a key");
    if (title == title_) return;
    title_ = title;
    platform_.SetTitle(title_);
}

void Player::SetTitleText(std::string title) {
    if (title == settings_.title) return;
    settings_.title = std::move(title);
    titleState_ = {};
    title_.clear();
    UpdateTitle();
}

void Player::Notice(const std::string &text) {
    notice_ = text;
    noticeUntilUs_ = platform_.NowUs() + kNoticeUs;
    UpdateTitle();
}

void Player::ExpireNotice() {
    if (noticeUntilUs_ == 0 || platform_.NowUs() < noticeUntilUs_) return;
    noticeUntilUs_ = 0;
    UpdateTitle();
}

void Player::SaveScreenshot() {
    if (!settings_.saveScreenshot) return;
    const std::filesystem::path file =
        FreeScreenshotPath(settings_.screenshotFolder, settings_.screenshotPrefix, TimeStamp());
    std::string error;
    std::error_code made;
    std::filesystem::create_directories(settings_.screenshotFolder, made);
    if (settings_.saveScreenshot(file, shown_, error)) {
        SayOnStderr("screenshot saved to " + file.string());
        Notice("saved " + file.filename().string());
    } else {
        SayOnStderr("no screenshot: " + error);
        Notice("no screenshot (see the terminal)");
    }
}

Settings Player::Current() const {
    Settings now = settings_;
    now.fullScreen = fullScreen_;
    now.muted = muted_;
    const int scale = ShownScale(layout_);
    if (!fullScreen_ && !minimised_ && scale > 0 && scale != openingScale_) now.scale = scale;
    return now;
}

}  // namespace wince::player
