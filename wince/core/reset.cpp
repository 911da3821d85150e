// A fresh process, for tests and fuzz targets that run many in one.
#include "wince/core/internal.h"

namespace wince {

void ResetForTest() {
    core::ResetQueue();
    core::ResetWindows();
    core::ResetFiles();
    core::ResetRegistry();
    core::ResetRandom();
    core::ResetDisplay();
    SetLastError(0);
}

}  // namespace wince
