// The intro movie file: the fuzzed bytes are ".\Windows\qzmmf.dll", and the
// whole intro plays from them on the display start-up opens, until a tap
// ends it a little later (or the file ends it sooner).
#include "fuzz/fuzz_support.h"
#include "movie/movie.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    wince::QuietHost &host = fuzzing::FreshDevice();
    fuzzing::WriteBytes(fuzzing::Installation() / "Windows" / "qzmmf.dll", data, size);
    bool tapped = false;
    host.onPump = [&tapped](int64_t nowMs) {
        if (tapped || nowMs < 120) return;
        tapped = true;
        PostMessageW(wince::MainWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20));
    };
    // The intro hands the taps it takes to the game's window procedure.
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.lpszClassName = TEXT("pellax rim");
    RegisterClassW(&windowClass);
    MainWindowHandle = CreateWindowExW(0, TEXT("pellax rim"), TEXT(""), WS_VISIBLE, 0, 0, 240, 320,
                                       nullptr, nullptr, nullptr, nullptr);
    if (!OpenGraphics(MainWindowHandle, kPaletteFile, kRegistryKey, kScreenWidth, kScreenHeight))
        std::abort();
    StartClock();
    PlayIntroMovie();
    host.onPump = nullptr;
    CloseGraphics();
    // Every buffer and the file are given back on every way out.
    if (wince::OpenFileCount() != 0) std::abort();
    return 0;
}
