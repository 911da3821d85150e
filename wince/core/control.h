// The stand-in's controls for the program entry and for tests: the seam's
// set-up (wince/seam/host.h) plus what needs the device's own types. Hosts
// do not include this header; it brings the device's API along.
#pragma once

#include <cstdint>
#include <filesystem>

#include "wince.h"
#include "wince/seam/host.h"

namespace wince {

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
// The display memory at the top-left pixel (with room on either side for
// any pitch of a 240 x 320 screen), and whether the display is open.
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
    // The program stops at this call of the file API (create, read, write,
    // flush, close, delete, move, attributes; counted from 1 since the faults
    // were set): that call and every later one fail and touch nothing, as if
    // the process had been killed there. Negative means never.
    int64_t stopAtCall = -1;
    // At the stop the power fails too: what was written but not flushed with
    // FlushFileBuffers is lost, and a file made, deleted or moved whose
    // folder was not synced since is undone (a moved file goes back to its
    // old name, a deleted one comes back, each with the data it last
    // flushed; a made one is gone). The file layer syncs the folder after
    // each delete and move.
    bool powerCutAtStop = false;
};
void SetFileFaults(const FileFaults &faults);
// The calls of the file API made since the faults were last set.
int64_t FileCallCount();
// How many file handles are open now, so tests can see that files get closed.
int OpenFileCount();

// The window the program created (null before CreateWindowExW).
HWND MainWindow();

}  // namespace wince
