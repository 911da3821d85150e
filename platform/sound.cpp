// The four sound cues, started and never waited for, and the stop call that
// cuts the intro's sound track off.
#include "platform/platform.h"

namespace {

constexpr size_t kSoundPathChars = 260;  // terminator included
constexpr const WCHAR *kSoundFolder = TEXT("\\sound\\");

}  // namespace

BOOL PlaySoundCue(LPCWSTR name) {
    WCHAR path[kSoundPathChars] = {};
    if (wcslen(GamePath) + wcslen(kSoundFolder) + wcslen(name) >= kSoundPathChars) return FALSE;
    wcscat(path, GamePath);
    wcscat(path, kSoundFolder);
    wcscat(path, name);
    return sndPlaySoundW(path, SND_ASYNC);
}

BOOL StopSound() {
    return sndPlaySoundW(nullptr, SND_ASYNC);
}
