// The host and the recorder every call of the stand-in goes to.
#include "wince/core/internal.h"
#include "wince/seam/quiet_host.h"

namespace wince {

namespace {
Host *currentHost = nullptr;
Recorder *currentRecorder = nullptr;
}  // namespace

void SetHost(Host *host) {
    currentHost = host;
}

Host &CurrentHost() {
    // Serves until a real host is set, so tests of the game's folders need no set-up.
    static QuietHost builtIn;
    return currentHost != nullptr ? *currentHost : builtIn;
}

void SetRecorder(Recorder *recorder) {
    currentRecorder = recorder;
}

Recorder *CurrentRecorder() {
    return currentRecorder;
}

}  // namespace wince
