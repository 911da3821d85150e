// Memory blocks, the performance counter, sleeping, message boxes and the
// waveform call: each a thin step to the host, with the recorder told first.
#include <cstdlib>
#include <system_error>

#include "wince/core/internal.h"

LPVOID WINAPI VirtualAlloc(LPVOID, DWORD dwSize, DWORD, DWORD) {
    if (dwSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // calloc, so that the blocks come zero-filled and the sanitizers watch them.
    void *block = std::calloc(1, dwSize);
    if (block == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

BOOL WINAPI VirtualFree(LPVOID lpAddress, DWORD, DWORD dwFreeType) {
    if (lpAddress == nullptr || (dwFreeType & MEM_RELEASE) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::free(lpAddress);
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *lpFrequency) {
    if (lpFrequency == nullptr) return FALSE;
    lpFrequency->QuadPart = wince::CurrentHost().CounterFrequency();
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *lpPerformanceCount) {
    if (lpPerformanceCount == nullptr) return FALSE;
    lpPerformanceCount->QuadPart = wince::CurrentHost().CounterNow();
    return TRUE;
}

void WINAPI Sleep(DWORD dwMilliseconds) {
    if (wince::Recorder *recorder = wince::CurrentRecorder()) {
        recorder->Slept(dwMilliseconds);
    }
    wince::CurrentHost().Sleep(dwMilliseconds);
}

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    std::u16string text = wince::core::FromDevice(lpText);
    std::u16string caption = wince::core::FromDevice(lpCaption);
    if (wince::Recorder *recorder = wince::CurrentRecorder()) {
        recorder->MessageShown(text, caption);
    }
    const bool error = (uType & MB_ICONERROR) != 0;
    wince::CurrentHost().ShowMessage({text, caption, hWnd != nullptr, error});
    return IDOK;
}

BOOL WINAPI sndPlaySoundW(LPCWSTR lpszSoundName, UINT) {
    if (wince::Recorder *recorder = wince::CurrentRecorder()) {
        recorder->SoundCall(lpszSoundName);
    }
    wince::Host &host = wince::CurrentHost();
    if (lpszSoundName == nullptr) {
        host.PlayWave(nullptr);
        return TRUE;
    }
    std::filesystem::path file = wince::ResolveDevicePath(lpszSoundName);
    std::error_code error;
    if (file.empty() || !std::filesystem::is_regular_file(file, error)) {
        // The device stops what is playing even when the new sound cannot start.
        host.PlayWave(nullptr);
        return FALSE;
    }
    return host.PlayWave(&file) ? TRUE : FALSE;
}
