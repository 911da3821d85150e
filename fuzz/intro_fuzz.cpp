// The intro movie file: the fuzzed bytes are ".\Windows\qzmmf.dll", and the
// whole intro plays from them on the display start-up opens, until a tap
// ends it a little later (or the file ends it sooner).
#include "fuzz/fuzz_support.h"
#include "movie/movie.h"

namespace {

constexpr int64_t kTapAtMs = 120;
const WCHAR kClassName[] = TEXT("pellax rim");

// The intro hands the taps it takes to the game's window procedure.
HWND MakeWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, kClassName, kClassName, WS_VISIBLE, 0, 0, kScreenWidth, kScreenHeight,
                           nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const fuzzing::Installation &installation = fuzzing::SetUp();
    wince::ResetForTest();
    fuzzing::ResetGameRecords();
    fuzzing::WriteBytes(installation.Root() / "Windows" / "qzmmf.dll", data, size);
    fuzzing::QuietHost &host = fuzzing::Host();
    host.Restart();
    bool tapped = false;
    host.onPump = [&tapped](int64_t nowMs) {
        if (tapped || nowMs < kTapAtMs) return;
        tapped = true;
        PostMessageW(wince::MainWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20));
    };
    MainWindowHandle = MakeWindow();
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
