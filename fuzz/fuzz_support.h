// What every fuzz target shares: the default installation and the reset of
// the game's records, as the tests have them, on the stand-in's quiet host.
#pragma once

#include "tests/support/installed.h"
#include "wince/core/control.h"
#include "wince/seam/quiet_host.h"

namespace fuzzing {

using namespace pellax_test;

// The stand-in on the quiet host and the installation, set up on the first
// call; each input then starts from a fresh device and fresh records. The
// fuzzed files are written into the installation, which is the process's own.
inline wince::QuietHost &FreshDevice() {
    static wince::QuietHost host(true);
    wince::SetHost(&host);
    wince::SetRecorder(nullptr);
    wince::SetRoot(Installation());
    wince::ResetForTest();
    ResetGameRecords();
    host.Restart();
    host.onPump = nullptr;
    return host;
}

}  // namespace fuzzing
