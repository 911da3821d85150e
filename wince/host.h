// The seam between the stand-in's core (message queue, files, registry,
// memory, text, C runtime, display memory) and the machine it runs on. Each
// host (headless, desktop) implements this one small interface; nothing of a
// host's libraries is visible past it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "wince.h"

namespace wince {

// One finished picture, exactly as the game left it in display memory.
struct Picture {
    const uint8_t *topLeft;          // the address GXBeginDraw returned
    GXDisplayProperties properties;  // the display the picture was drawn for
};

class Host {
public:
    virtual ~Host() = default;

    // A finished picture is ready to be shown (GXEndDraw).
    virtual void Present(const Picture &picture) = 0;

    // The program is about to look at its message queue: post whatever input
    // is due, through PostMessageW (or CloseWindow for the close button).
    virtual void PumpInput() = 0;

    // The program looked at its queue and found it empty. The headless host
    // lets one virtual millisecond pass; the desktop host may wait up to 1 ms
    // for input so that a polling loop does not burn a core.
    virtual void Idle() = 0;

    // A steady counter and its fixed frequency (counts per second).
    virtual int64_t CounterNow() = 0;
    virtual int64_t CounterFrequency() = 0;

    // The program sleeps; the whole program stands still meanwhile.
    virtual void Sleep(uint32_t milliseconds) = 0;

    // Start a wave file playing at once, ending any sound still playing;
    // null stops the sound playing. Returns false when nothing could start.
    virtual bool PlaySound(const std::filesystem::path *waveFile) = 0;

    // Show a message box and return the button chosen (IDOK).
    virtual int ShowMessageBox(HWND owner, const std::u16string &text,
                               const std::u16string &caption, uint32_t type) = 0;
};

// ---------------------------------------------------------------------------
// Set-up of the stand-in, for the process entry and for tests.
// ---------------------------------------------------------------------------

// The host every call goes to. The core keeps a pointer; the caller owns it.
void SetHost(Host *host);
Host &CurrentHost();

// The host folder that stands for the device's root "\".
void SetRoot(const std::filesystem::path &root);
const std::filesystem::path &Root();

// The host file a device path names ("\a\b" and ".\a\b" both name ROOT/a/b;
// names compare without regard to case). For a file that does not exist yet,
// the folders are matched and the last name is kept as given. Empty when a
// folder on the way is missing or the path leaves the root.
std::filesystem::path ResolveDevicePath(const WCHAR *devicePath);

// Back to the state of a freshly started process: empty queue, no windows,
// no open handles or keys, rand seeded with 1, display closed and its
// properties the default ones. The host and root are kept.
void ResetForTest();

// The display that GXOpenDisplay opens. The default is 240 x 320, cbxPitch 2,
// cbyPitch 480, cBPP 16, kfDirect | kfDirect565. Tests may choose another
// (555, or a rotated one with cbxPitch 640 and cbyPitch -2) before opening.
void SetDisplayProperties(const GXDisplayProperties &properties);
GXDisplayProperties DefaultDisplayProperties();
// The display memory: the 153600 bytes that begin 640 bytes before the
// top-left pixel, with guard room on either side; and whether it is open.
const uint8_t *DisplayTopLeft();
bool DisplayIsOpen();

// Device faults tests can inject: a display or button access that fails to open.
struct DeviceFaults {
    bool displayFailsToOpen = false;
    bool inputFailsToOpen = false;
};
void SetDeviceFaults(const DeviceFaults &faults);

// Faults the headless host and tests can inject into the file layer.
struct FileFaults {
    // Writes fail (as on a full disk) once this many more bytes have been
    // written; negative means never.
    int64_t bytesUntilDiskFull = -1;
};
void SetFileFaults(const FileFaults &faults);
// How many file handles are open now, so tests can see that files get closed.
int OpenFileCount();

// The window the program created (null before CreateWindowExW), and the
// window system's close button: WM_CLOSE is posted to it.
HWND MainWindow();
void CloseWindow();

// Events worth recording, for the headless trace. The core reports them with
// the device path exactly as the program passed it.
class Recorder {
public:
    virtual ~Recorder() = default;
    virtual void MessageBoxShown(const std::u16string &text, const std::u16string &caption) = 0;
    virtual void SoundCall(const WCHAR *devicePath) = 0;  // null: stop
    virtual void Slept(uint32_t milliseconds) = 0;
    virtual void FileWritten(const WCHAR *devicePath) = 0;  // created or replaced
};
void SetRecorder(Recorder *recorder);  // null: record nothing
Recorder *CurrentRecorder();            // null when none is set

// UTF-16 and UTF-8 conversions for hosts, traces and tests.
std::string ToUtf8(const std::u16string &text);
std::u16string FromUtf8(const std::string &text);

}  // namespace wince
