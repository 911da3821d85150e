// The thread's last error code; the program has one thread.
#include "wince/core/internal.h"

namespace {
DWORD lastError = 0;
}

DWORD WINAPI GetLastError(void) {
    return lastError;
}

void WINAPI SetLastError(DWORD dwErrCode) {
    lastError = dwErrCode;
}
