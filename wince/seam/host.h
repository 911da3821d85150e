// The seam between the stand-in's core (message queue, files, registry,
// memory, text, C runtime, display memory) and the machine it runs on. Each
// host fills in the one small Host interface below and drives the core
// through the few calls after it; nothing of a host's libraries passes here.
//
// This header, and every header of this folder, stays clear of the device's
// own API header: a host may include its platform's real headers (Windows'
// declare the same function names and macros), so only plain C++ types and
// names that no platform header defines appear here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "wince/seam/text.h"

namespace wince {

// How a 16-bit pixel is packed: 5-6-5 or 5-5-5 bits of red, green, blue.
enum class PixelFormat : uint8_t { Rgb565, Rgb555 };

// One finished picture, exactly as the game left it in display memory.
struct Picture {
    std::span<const uint8_t> memory;  // the whole display memory, guard room included
    size_t topLeft = 0;               // offset of the top-left pixel in memory
    int32_t xPitch = 2;               // bytes from one pixel to the next on its row
    int32_t yPitch = 480;             // bytes from one row to the next
    PixelFormat format = PixelFormat::Rgb565;
};

// A message box the program shows: it always has one OK button.
struct MessageRequest {
    std::u16string text;
    std::u16string caption;
    bool owned = false;  // it belongs to the program's window
    bool error = false;  // it carries the error icon
};

// Input for the program's window, as the device's window system posts it
// (message numbers and key codes in wince/seam/device_codes.h).
struct DeviceInput {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    bool operator==(const DeviceInput &) const = default;
};

class Host {
public:
    virtual ~Host() = default;

    // A finished picture is ready to be shown.
    virtual void Present(const Picture &picture) = 0;

    // The program is about to look at its message queue: post whatever input
    // is due, through PostDeviceInput (or CloseMainWindow for a close request).
    virtual void PumpInput() = 0;

    // The program looked at its queue and found it empty: let a moment pass
    // (one virtual millisecond headless; a real wait for input elsewhere, so
    // that a polling loop does not burn a core).
    virtual void Idle() = 0;

    // A steady counter and its fixed frequency (counts per second).
    virtual int64_t CounterNow() = 0;
    virtual int64_t CounterFrequency() = 0;

    // The program sleeps; the whole program stands still meanwhile.
    virtual void Sleep(uint32_t milliseconds) = 0;

    // Start a wave file playing at once, ending any sound still playing;
    // null stops the sound playing. Returns false when nothing could start.
    virtual bool PlayWave(const std::filesystem::path *waveFile) = 0;

    // Show a message box and return once it has been answered.
    virtual void ShowMessage(const MessageRequest &message) = 0;
};

// Events worth recording, for the headless trace. The core reports them with
// the device path exactly as the program passed it. A recorder hears only
// what it overrides.
class Recorder {
public:
    virtual ~Recorder() = default;
    virtual void MessageShown(const std::u16string & /*text*/, const std::u16string & /*caption*/) {
    }
    virtual void SoundCall(const char16_t * /*devicePath*/) {}  // null: stop
    virtual void Slept(uint32_t /*milliseconds*/) {}
    virtual void FileWritten(const char16_t * /*devicePath*/) {}  // created or replaced
    // Input a host hands the program, and the window system's close request,
    // as they happen: what a replay must hand it again.
    virtual void InputPosted(const DeviceInput & /*input*/) {}
    virtual void CloseAsked() {}
};

// ---- What the core offers hosts and the program entry ----------------------

// The host every call goes to; the caller owns it. Until one is set (and
// after SetHost(nullptr)) a QuietHost serves.
void SetHost(Host *host);
Host &CurrentHost();
void SetRecorder(Recorder *recorder);  // null: record nothing
Recorder *CurrentRecorder();           // null when none is set

// The host folder that stands for the device's root "\".
void SetRoot(const std::filesystem::path &root);
const std::filesystem::path &Root();

bool HasMainWindow();  // false before the program made its window
void PostDeviceInput(const DeviceInput &input);
// The window system's close button: the program's window is asked to close.
void CloseMainWindow();

}  // namespace wince
