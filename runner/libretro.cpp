// The program as a libretro core: the frontend's calls, its input read into
// the host's, the handheld's root in the frontend's save folder, and the
// program run on the libretro host (wince/libretro/).
#include <libretro-common/libretro.h>

#include <cstring>
#include <iostream>
#include <memory>

#include "runner/runner.h"
#include "wince/libretro/host.h"

namespace {

using wince::libretro::RetroHost;
using wince::player::PadBit;
using wince::player::PadButton;

retro_environment_t environ_cb = nullptr;
retro_video_refresh_t video_cb = nullptr;
retro_audio_sample_batch_t audio_batch_cb = nullptr;
retro_input_poll_t input_poll_cb = nullptr;
retro_input_state_t input_state_cb = nullptr;

// The folder in the save directory; the root's lock is held while loaded.
constexpr const char *kFolder = "pellax-rim";
// A box's text is shown again this often while it waits, for this long.
constexpr unsigned kMessageFrames = 180;
constexpr unsigned kMessageEvery = 150;

struct Loaded {
    std::unique_ptr<runner::FolderLock> lock;
    std::unique_ptr<RetroHost> host;
    std::string message;
    int64_t messageShownAt = 0;
    bool shutdownAsked = false;
};
std::unique_ptr<Loaded> loaded;

struct Binding {
    unsigned id;
    PadButton button;
    const char *description;
};
// The RetroPad as the handheld's keys: the d-pad for the direction keys, A,
// B and Start as the three hardware buttons, as a desktop pad's are.
constexpr Binding kBindings[] = {
    {RETRO_DEVICE_ID_JOYPAD_UP, PadButton::Up, "Rotate"},
    {RETRO_DEVICE_ID_JOYPAD_DOWN, PadButton::Down, "Down"},
    {RETRO_DEVICE_ID_JOYPAD_LEFT, PadButton::Left, "Left"},
    {RETRO_DEVICE_ID_JOYPAD_RIGHT, PadButton::Right, "Right"},
    {RETRO_DEVICE_ID_JOYPAD_A, PadButton::A, "Hard drop, start (button 195)"},
    {RETRO_DEVICE_ID_JOYPAD_B, PadButton::B, "Start (button 196)"},
    {RETRO_DEVICE_ID_JOYPAD_START, PadButton::Start, "Start (button 197)"},
};

void Say(const std::string &text, unsigned frames) {
    const retro_message message{text.c_str(), frames};
    environ_cb(RETRO_ENVIRONMENT_SET_MESSAGE, const_cast<retro_message *>(&message));
}

void DescribeInput() {
    retro_input_descriptor descriptors[std::size(kBindings) + 1] = {};
    for (size_t i = 0; i < std::size(kBindings); ++i)
        descriptors[i] = {0, RETRO_DEVICE_JOYPAD, 0, kBindings[i].id, kBindings[i].description};
    environ_cb(RETRO_ENVIRONMENT_SET_INPUT_DESCRIPTORS, descriptors);
}

// The pointer spans the screen from -0x7fff to 0x7fff each way.
int ToPixel(int16_t at, int pixels) {
    return (static_cast<int>(at) + 0x7fff) * pixels / 0x10000;
}

wince::libretro::FrameInput ReadInput() {
    input_poll_cb();
    wince::libretro::FrameInput input;
    for (const Binding &binding : kBindings)
        if (input_state_cb(0, RETRO_DEVICE_JOYPAD, 0, binding.id) != 0)
            input.buttons |= PadBit(binding.button);
    constexpr double kStickRange = 32768.0;
    input.stickX = input_state_cb(0, RETRO_DEVICE_ANALOG, RETRO_DEVICE_INDEX_ANALOG_LEFT,
                                  RETRO_DEVICE_ID_ANALOG_X) /
                   kStickRange;
    input.stickY = input_state_cb(0, RETRO_DEVICE_ANALOG, RETRO_DEVICE_INDEX_ANALOG_LEFT,
                                  RETRO_DEVICE_ID_ANALOG_Y) /
                   kStickRange;
    input.pointerDown = input_state_cb(0, RETRO_DEVICE_POINTER, 0, RETRO_DEVICE_ID_POINTER_PRESSED);
    input.pointerX = ToPixel(input_state_cb(0, RETRO_DEVICE_POINTER, 0, RETRO_DEVICE_ID_POINTER_X),
                             wince::kScreenWidth);
    input.pointerY = ToPixel(input_state_cb(0, RETRO_DEVICE_POINTER, 0, RETRO_DEVICE_ID_POINTER_Y),
                             wince::kScreenHeight);
    return input;
}

void HandOver(const RetroHost &host) {
    const wince::Screen &screen = host.Picture();
    video_cb(screen.data(), wince::kScreenWidth, wince::kScreenHeight,
             wince::kScreenWidth * sizeof(uint16_t));
    const std::vector<int16_t> &audio = host.Audio();
    // The frontend may take fewer frames than offered; the rest follow.
    for (size_t done = 0; done < audio.size() / 2;) {
        const size_t taken = audio_batch_cb(audio.data() + 2 * done, audio.size() / 2 - done);
        if (taken == 0) break;
        done += taken;
    }
}

}  // namespace

extern "C" {

RETRO_API void retro_set_environment(retro_environment_t cb) {
    environ_cb = cb;
    bool noGame = true;
    cb(RETRO_ENVIRONMENT_SET_SUPPORT_NO_GAME, &noGame);
}
RETRO_API void retro_set_video_refresh(retro_video_refresh_t cb) {
    video_cb = cb;
}
RETRO_API void retro_set_audio_sample(retro_audio_sample_t) {}
RETRO_API void retro_set_audio_sample_batch(retro_audio_sample_batch_t cb) {
    audio_batch_cb = cb;
}
RETRO_API void retro_set_input_poll(retro_input_poll_t cb) {
    input_poll_cb = cb;
}
RETRO_API void retro_set_input_state(retro_input_state_t cb) {
    input_state_cb = cb;
}
RETRO_API void retro_init() {}
RETRO_API void retro_deinit() {
    loaded.reset();
}
RETRO_API unsigned retro_api_version() {
    return RETRO_API_VERSION;
}

RETRO_API void retro_get_system_info(retro_system_info *info) {
    *info = {};
    info->library_name = runner::kTitle;
    info->library_version = PELLAX_VERSION;
    info->valid_extensions = "";
    info->need_fullpath = false;
    info->block_extract = false;
}

RETRO_API void retro_get_system_av_info(retro_system_av_info *info) {
    *info = {};
    info->geometry = {wince::kScreenWidth, wince::kScreenHeight, wince::kScreenWidth,
                      wince::kScreenHeight, 3.0f / 4.0f};
    info->timing = {wince::libretro::kFramesPerSecond, wince::libretro::kSampleRate};
}

RETRO_API void retro_set_controller_port_device(unsigned, unsigned) {}

// The handheld's root in the save folder, made on the first run and mended
// like the desktop's own folder; one core at a time on it.
RETRO_API bool retro_load_game(const retro_game_info *) {
    retro_pixel_format format = RETRO_PIXEL_FORMAT_RGB565;
    const char *saves = nullptr;
    if (!environ_cb(RETRO_ENVIRONMENT_SET_PIXEL_FORMAT, &format)) return false;
    if (!environ_cb(RETRO_ENVIRONMENT_GET_SAVE_DIRECTORY, &saves) || saves == nullptr ||
        *saves == '\0') {
        Say("PELLAX RIM: the frontend names no save folder", kMessageFrames);
        return false;
    }
    const std::filesystem::path root = runner::PathFromUtf8(saves) / kFolder;
    std::error_code ignored;
    std::filesystem::create_directories(root.parent_path(), ignored);
    auto next = std::make_unique<Loaded>();
    bool refused = false;
    next->lock = runner::TakeRoot(root, true, refused);
    if (!next->lock) {
        Say(refused ? runner::kAlreadyRunning
                    : "PELLAX RIM cannot make its folder " + runner::PathText(root),
            kMessageFrames);
        return false;
    }
    DescribeInput();
    runner::ResetProgram();
    next->host = std::make_unique<RetroHost>();
    wince::SetHost(next->host.get());
    wince::SetRoot(root);
    next->host->Start(runner::RunProgram);
    loaded = std::move(next);
    return true;
}

// The program is closed as its window's close button would, so that the
// record is kept, and runs to its end before the folder is let go.
RETRO_API void retro_unload_game() {
    if (!loaded) return;
    loaded->host->Finish();
    wince::SetHost(nullptr);
    loaded.reset();
}

RETRO_API void retro_run() {
    if (!loaded) return;
    RetroHost &host = *loaded->host;
    host.RunFrame(ReadInput());
    if (host.OpenedMessage()) {
        loaded->message = *host.OpenedMessage() + " (A or Start: OK)";
        loaded->messageShownAt = host.Frames();
        Say(loaded->message, kMessageFrames);
    } else if (host.MessageOpen() && host.Frames() - loaded->messageShownAt >= kMessageEvery) {
        loaded->messageShownAt = host.Frames();
        Say(loaded->message, kMessageFrames);
    }
    HandOver(host);
    // The game's EXIT, or its end after a failure: the frontend closes.
    if (host.Ended() && !loaded->shutdownAsked) {
        loaded->shutdownAsked = true;
        environ_cb(RETRO_ENVIRONMENT_SHUTDOWN, nullptr);
    }
}

// The program is closed, keeping its record, and started afresh.
RETRO_API void retro_reset() {
    if (!loaded) return;
    loaded->host->Finish();
    auto fresh = std::make_unique<RetroHost>();
    runner::ResetProgram();
    wince::SetHost(fresh.get());
    fresh->Start(runner::RunProgram);
    loaded->host = std::move(fresh);
    loaded->shutdownAsked = false;
}

RETRO_API size_t retro_serialize_size() {
    return 0;
}
RETRO_API bool retro_serialize(void *, size_t) {
    return false;
}
RETRO_API bool retro_unserialize(const void *, size_t) {
    return false;
}
RETRO_API void retro_cheat_reset() {}
RETRO_API void retro_cheat_set(unsigned, bool, const char *) {}
RETRO_API bool retro_load_game_special(unsigned, const retro_game_info *, size_t) {
    return false;
}
RETRO_API unsigned retro_get_region() {
    return RETRO_REGION_NTSC;
}
RETRO_API void *retro_get_memory_data(unsigned) {
    return nullptr;
}
RETRO_API size_t retro_get_memory_size(unsigned) {
    return 0;
}

}  // extern "C"
