// The score file: the fuzzed bytes are ".\kbl_sc_s.uc2", read as start-up
// reads it. Whatever it holds, the best score read back must be a score the
// game can show and save again.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzing::FreshDevice();
    fuzzing::WriteBytes(fuzzing::Installation() / "kbl_sc_s.uc2", data, size);
    LoadHighScore();
    // A negative best score would print with a minus sign no digit frame
    // shows; the reader keeps it within 0..2^31 - 1.
    if (GameState.highScore > 2147483647u) std::abort();
    if (wince::OpenFileCount() != 0) std::abort();
    return 0;
}
