// The intro movie player: a still title, then an animation above it with its
// own sound track, until a tap or one of the three hardware keys ends it.
#include <cstring>

#include "gfx/gfx.h"
#include "movie/movie.h"
#include "platform/platform.h"

namespace {

constexpr WCHAR kMovieFile[] = TEXT(".\\Windows\\qzmmf.dll");
constexpr WCHAR kSoundTrackFile[] = TEXT(".\\Windows\\qznwf.dll");
constexpr uint32_t kPaletteBytes = 768;
constexpr uint32_t kHeaderBytes = 16 + kPaletteBytes;
constexpr uint32_t kTitleLeft = 10, kTitleTop = 200;
constexpr uint32_t kFrameLeft = 40, kFrameTop = 40;
constexpr uint32_t kMovieSlot = 0;

// The buffers of one showing of the intro; every way out returns them.
struct MovieBuffers {
    uint8_t *packedTitle;
    uint8_t *titleImage;
    uint8_t *frameImage;
    uint8_t *packedFrame;
    uint32_t frameBytes;        // W x H
    uint32_t packedFrameBytes;  // 2 x W x H
};

// How a run of passes ended.
enum class MovieEnd {
    Finished,   // every frame shown, or none to show
    Skipped,    // a tap or a hardware key while frames were playing
    Dismissed,  // a tap or a hardware key after the last frame
    Broken,     // the file lied or a read came up short
    Closed,     // quit request, closed window or a shutdown underneath us
};

// What one look at the queue found.
enum class QueueLook { Empty, Dispatched, Discarded, Closed };

uint16_t MovieColourTable[256];
MovieHeader Header;
MovieBuffers Buffers;
HANDLE MovieFile = INVALID_HANDLE_VALUE;

void BuildColourTable(const uint8_t *palette) {
    for (uint32_t i = 0; i < 256; ++i) {
        const uint8_t *rgb = palette + 3 * i;
        const int32_t colour = ConvertColour(DisplayInfo.format, rgb[0], rgb[1], rgb[2]);
        // OpenGraphics refuses a display of neither format; black keeps the
        // table defined all the same.
        MovieColourTable[i] = colour < 0 ? 0 : static_cast<uint16_t>(colour);
    }
}

uint8_t *TakeBlock(uint32_t bytes) {
    return static_cast<uint8_t *>(
        VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

void ReturnBlock(uint8_t *&block) {
    if (block) VirtualFree(block, 0, MEM_RELEASE);
    block = nullptr;
}

void ReturnBuffersAndCloseFile() {
    ReturnBlock(Buffers.packedTitle);
    ReturnBlock(Buffers.titleImage);
    ReturnBlock(Buffers.frameImage);
    ReturnBlock(Buffers.packedFrame);
    if (MovieFile != INVALID_HANDLE_VALUE) CloseHandle(MovieFile);
    MovieFile = INVALID_HANDLE_VALUE;
}

// A read that delivers fewer bytes than asked means the file ended early,
// which the intro treats like a failed read.
bool ReadExactly(void *buffer, uint32_t bytes) {
    DWORD read = 0;
    return ReadFile(MovieFile, buffer, bytes, &read, nullptr) && read == bytes;
}

int32_t LittleEndian32(const uint8_t *bytes) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

bool ReadLength(uint32_t &length) {
    uint8_t bytes[4];
    if (!ReadExactly(bytes, sizeof bytes)) return false;
    length = static_cast<uint32_t>(LittleEndian32(bytes));
    return true;
}

// Reads a length and that many packed bytes into `packed` (room for
// `capacity`), and unpacks them into exactly `size` bytes of `image`. Packed
// data that does not fill the image counts as a lie.
bool ReadPackedImage(uint8_t *packed, uint32_t capacity, uint8_t *image, uint32_t size) {
    uint32_t length = 0;
    if (!ReadLength(length) || length > capacity || !ReadExactly(packed, length)) return false;
    uint32_t at = 0;
    const uint32_t produced =
        DecodeRuns(image, size, [&]() -> int32_t { return at < length ? packed[at++] : -1; });
    return produced == size;
}

// The cell address is linear in x and y, so a rectangle lies inside the
// ShadowBuffer's window when its corners do.
bool ShadowRectFits(uint32_t left, uint32_t top, uint32_t width, uint32_t height) {
    const auto x0 = static_cast<int32_t>(left), y0 = static_cast<int32_t>(top);
    const auto x1 = static_cast<int32_t>(left + width - 1);
    const auto y1 = static_cast<int32_t>(top + height - 1);
    return ShadowCell(x0, y0) && ShadowCell(x1, y0) && ShadowCell(x0, y1) && ShadowCell(x1, y1);
}

// Copies an image stored bottom row first into the BackBuffer upright.
void CopyIntoBackBuffer(const uint8_t *image, uint32_t left, uint32_t top, uint32_t width,
                        uint32_t height) {
    for (uint32_t r = 0; r < height; ++r) {
        uint8_t *row = BackBuffer.pixels + (top + height - 1 - r) * BackBuffer.width + left;
        std::memcpy(row, image + r * width, width);
    }
}

// A display whose layout reaches past the ShadowBuffer's window has the
// pixels out there dropped, as the graphics library drops them.
void ConvertRectangleCellByCell(uint32_t left, uint32_t top, uint32_t width, uint32_t height) {
    for (uint32_t y = top; y < top + height; ++y)
        for (uint32_t x = left; x < left + width; ++x)
            if (uint16_t *cell = ShadowCell(static_cast<int32_t>(x), static_cast<int32_t>(y)))
                *cell = MovieColourTable[BackBuffer.pixels[y * BackBuffer.width + x]];
}

// Converts exactly the picture's rectangle; the rest of the ShadowBuffer, and
// so the title under a new palette, keeps its colours.
void ConvertRectangle(uint32_t left, uint32_t top, uint32_t width, uint32_t height) {
    if (!ShadowRectFits(left, top, width, height)) {
        ConvertRectangleCellByCell(left, top, width, height);
        return;
    }
    uint16_t *origin = GetShadowOrigin();
    for (uint32_t y = top; y < top + height; ++y) {
        const uint8_t *source = BackBuffer.pixels + y * BackBuffer.width;
        for (uint32_t x = left; x < left + width; ++x)
            origin[static_cast<int64_t>(x) * DisplayInfo.xPitch +
                   static_cast<int64_t>(y) * DisplayInfo.yPitch] = MovieColourTable[source[x]];
    }
}

void ShowPicture(const uint8_t *image, uint32_t left, uint32_t top, uint32_t width,
                 uint32_t height) {
    CopyIntoBackBuffer(image, left, top, width, height);
    ConvertRectangle(left, top, width, height);
    PresentShadow();
}

// The screen the intro draws on: OpenGraphics succeeded and nothing has
// been released since.
bool ScreenIsReady() {
    return !ShutdownDone && BackBuffer.pixels && ShadowBuffer.block &&
           BackBuffer.width >= kScreenWidth && BackBuffer.height >= kScreenHeight;
}

bool OpenMovieFile() {
    MovieFile =
        CreateFileW(kMovieFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (MovieFile != INVALID_HANDLE_VALUE) return true;
    MessageBoxW(nullptr, TEXT("Open movie file : Fail"), kMovieFile, MB_OK);
    return false;
}

bool ReadAndShowTitle() {
    uint8_t palette[kPaletteBytes];
    if (!ReadExactly(palette, sizeof palette)) return false;
    BuildColourTable(palette);
    Buffers.packedTitle = TakeBlock(kPackedTitleBytes);
    Buffers.titleImage = TakeBlock(kTitleBytes);
    if (!Buffers.packedTitle || !Buffers.titleImage) return false;
    if (!ReadPackedImage(Buffers.packedTitle, kPackedTitleBytes, Buffers.titleImage, kTitleBytes))
        return false;
    ClearScreen(0);
    ShowPicture(Buffers.titleImage, kTitleLeft, kTitleTop, kTitleWidth, kTitleHeight);
    return true;
}

// Frames are drawn unclipped at (40, 40), so a size the screen cannot hold is
// refused along with sizes of no pixels.
bool FrameSizeIsSound(const MovieHeader &header) {
    return header.width > 0 && header.height > 0 && header.width <= kMaxFrameWidth &&
           header.height <= kMaxFrameHeight;
}

bool ReadHeaderAndTakeFrameBuffers() {
    uint8_t block[kHeaderBytes];
    if (!ReadExactly(block, sizeof block)) return false;
    Header.width = LittleEndian32(block);
    Header.height = LittleEndian32(block + 4);
    Header.frameCount = LittleEndian32(block + 8);
    Header.frameInterval = LittleEndian32(block + 12);
    std::memcpy(Header.palette, block + 16, kPaletteBytes);
    if (!FrameSizeIsSound(Header)) return false;
    BuildColourTable(Header.palette);
    Buffers.frameBytes = static_cast<uint32_t>(Header.width * Header.height);
    Buffers.packedFrameBytes = 2 * Buffers.frameBytes;
    Buffers.frameImage = TakeBlock(Buffers.frameBytes);
    Buffers.packedFrame = TakeBlock(Buffers.packedFrameBytes);
    return Buffers.frameImage && Buffers.packedFrame;
}

bool SkipRequested() {
    return StylusState.down == 1 || KeyFlags[kKeyDrop] == 1 || KeyFlags[kKey196] == 1 ||
           KeyFlags[kKey197] == 1;
}

// Takes at most one message without ever waiting. Only taps and key-downs
// reach the window procedure, except that a close request is dispatched so
// the window can shut the program down, and a quit request is posted again
// so the main loop still finds it; both end the intro.
QueueLook LookAtQueue() {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) return QueueLook::Empty;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return QueueLook::Closed;
    }
    if (got < 0) return QueueLook::Empty;
    switch (message.message) {
        case WM_LBUTTONDOWN:
        case WM_KEYDOWN:
            TranslateMessage(&message);
            DispatchMessageW(&message);
            return QueueLook::Dispatched;
        case WM_CLOSE:
            DispatchMessageW(&message);
            return QueueLook::Closed;
        default:
            return QueueLook::Discarded;
    }
}

MovieEnd PlayFrames() {
    int32_t shown = 0;
    while (shown < Header.frameCount) {
        if (!ScreenIsReady()) return MovieEnd::Closed;
        if (SkipRequested()) return MovieEnd::Skipped;
        const QueueLook look = LookAtQueue();
        if (look == QueueLook::Closed) return MovieEnd::Closed;
        if (look == QueueLook::Dispatched) continue;
        if (!SlotTimerElapsed(Header.frameInterval, kMovieSlot)) continue;
        if (!ReadPackedImage(Buffers.packedFrame, Buffers.packedFrameBytes, Buffers.frameImage,
                             Buffers.frameBytes))
            return MovieEnd::Broken;
        ShowPicture(Buffers.frameImage, kFrameLeft, kFrameTop, static_cast<uint32_t>(Header.width),
                    static_cast<uint32_t>(Header.height));
        ++shown;
    }
    return MovieEnd::Finished;
}

// After the last frame the pictures stay and the sound track plays on.
MovieEnd WaitForDismissal() {
    for (;;) {
        if (ShutdownDone) return MovieEnd::Closed;
        if (SkipRequested()) return MovieEnd::Dismissed;
        if (LookAtQueue() == QueueLook::Closed) return MovieEnd::Closed;
    }
}

// Key 197 ends the intro too but is left set: the play screen sees it until
// its key-up arrives.
void ClearDismissal() {
    StylusState.down = 0;
    KeyFlags[kKeyDrop] = 0;
    KeyFlags[kKey196] = 0;
}

}  // namespace

int PlayIntroMovie() {
    if (!ScreenIsReady()) return 0;
    if (!OpenMovieFile()) return 0;
    if (!ReadAndShowTitle() || !ReadHeaderAndTakeFrameBuffers()) {
        ReturnBuffersAndCloseFile();
        return 0;
    }
    sndPlaySoundW(kSoundTrackFile, SND_ASYNC);
    MovieEnd end = PlayFrames();
    ReturnBuffersAndCloseFile();
    if (end == MovieEnd::Finished) end = WaitForDismissal();
    // Only a dismissal after the last frame lets the sound track play on.
    if (end != MovieEnd::Dismissed) StopSound();
    if (end == MovieEnd::Broken || end == MovieEnd::Closed) return 0;
    ClearDismissal();
    return 1;
}
