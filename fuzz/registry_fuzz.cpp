// The registry text file: the fuzzed bytes are "registry.reg". The
// installation directory is read as start-up reads it, and the paths built
// from it open the palette and a picture, as they would at start-up.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzing::FreshDevice();
    fuzzing::WriteBytes(fuzzing::Installation() / "registry.reg", data, size);
    if (ReadGamePath(nullptr, kRegistryKey)) {
        // GamePath must hold its terminator, whatever the value was.
        if (GamePath[kGamePathChars - 1] != 0) std::abort();
        const HANDLE file = OpenPictureFile(kPaletteFile);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        PlaySoundCue(TEXT("kbl_s_b.nwf"));
    }
    // Other names and buffer sizes than the game's, through the same reader.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRegistryKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        BYTE small[3] = {};
        DWORD bytes = sizeof small, type = 0;
        RegQueryValueExW(key, TEXT("GAMEPATH"), nullptr, &type, small, &bytes);
        bytes = 0;
        RegQueryValueExW(key, TEXT(""), nullptr, &type, nullptr, &bytes);
        RegCloseKey(key);
    }
    return 0;
}
