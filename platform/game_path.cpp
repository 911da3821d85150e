// The installation directory, read from the registry entry that the game's
// installation writes.
#include "platform/platform.h"

WCHAR GamePath[kGamePathChars] = {};

namespace {

constexpr const WCHAR *kInstallMessage =
    TEXT("This is a problem in process of installation please reinstall");
constexpr const WCHAR *kGamePathValue = TEXT("GAMEPATH");

int ReportInstallProblem(HWND window, LPCWSTR caption) {
    MessageBoxW(window, kInstallMessage, caption, MB_OK);
    return 0;
}

}  // namespace

int ReadGamePath(HWND window, LPCWSTR key) {
    for (WCHAR &c : GamePath) c = 0;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
        return ReportInstallProblem(window, TEXT("OpenError"));
    WCHAR value[kGamePathChars] = {};
    DWORD size = sizeof(value);
    const LONG status = RegQueryValueExW(opened, kGamePathValue, nullptr, nullptr,
                                         reinterpret_cast<LPBYTE>(value), &size);
    // A value that fills the whole buffer without its terminator does not fit
    // either: copying it would read past the buffer.
    if (status != ERROR_SUCCESS || value[kGamePathChars - 1] != 0) {
        RegCloseKey(opened);
        return ReportInstallProblem(window, TEXT("QueryError"));
    }
    wcscat(GamePath, value);
    RegCloseKey(opened);
    return 1;
}
