// For tests: a durable write stopped after one of its steps, as if the
// process had been killed there, so that a test can look at what is left.
#pragma once

namespace wince {

enum class DurableWriteStop {
    Never,
    TemporaryMade,  // the temporary file exists, empty
    HalfWritten,    // it holds the first half of the bytes
    Written,        // all of them, not yet flushed
    Flushed,        // on the disk, under the temporary name
    Renamed,        // in the file's place, the folder not yet synced
};

// The next WriteFileDurably stops after this step and returns false, leaving
// everything as it is; the writes after it run whole again.
void StopNextDurableWrite(DurableWriteStop stop);

}  // namespace wince
