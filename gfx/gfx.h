// Graphics library: the display, the palette, the off-screen image and its
// presentation; sprite files and sprite drawing.
#pragma once

#include <cstdint>

#include "wince.h"

constexpr uint32_t kScreenWidth = 240;
constexpr uint32_t kScreenHeight = 320;
constexpr uint32_t kShadowOriginOffset = 640;  // bytes before the top-left pixel
// The block mirrors the framebuffer from 640 bytes before the top-left pixel;
// it reaches 640 bytes past the screen's own 153600 so that every pixel of
// the screen has a cell (docs/fidelity.md).
constexpr uint32_t kShadowBytes = kScreenWidth * kScreenHeight * 2 + kShadowOriginOffset;
constexpr uint32_t kPathChars = 260;  // path buffers, terminator included

// ---- Display, palette and presentation --------------------------------------

struct BackBufferRecord {
    uint32_t width;
    uint32_t height;
    uint8_t *pixels;  // top row first; null while not allocated
};

struct PaletteRecord {
    uint8_t rgb[768];
    uint16_t color16[256];
};

struct DisplayInfoRecord {
    uint32_t format;
    uint32_t width;
    uint32_t height;
    int32_t xPitch;  // in 16-bit pixels
    int32_t yPitch;
};

struct ShadowBufferRecord {
    uint8_t *block;    // kShadowBytes, null until the palette is loaded
    uint16_t *origin;  // block + kShadowOriginOffset bytes
};

extern BackBufferRecord BackBuffer;
extern PaletteRecord Palette;
extern DisplayInfoRecord DisplayInfo;
extern ShadowBufferRecord ShadowBuffer;
// Set by Shutdown once the display and the sprites are released: from then on
// nothing may draw into, or present from, them, and the program only waits
// for its quit message.
extern int ShutdownDone;

int OpenGraphics(HWND window, LPCWSTR paletteName, LPCWSTR registryKey, uint32_t width,
                 uint32_t height);
int LoadPalette(LPCWSTR name);
// The 16-bit colour of one palette entry on a display of the given format,
// or -1 when the format has neither the 565 nor the 555 bit.
int32_t ConvertColour(uint32_t format, uint8_t red, uint8_t green, uint8_t blue);
void ConvertBackBuffer(uint16_t *destination, uint32_t x0, uint32_t y0);
uint16_t *GetShadowOrigin();
int PresentShadow();
int ClearScreen(uint32_t value);
int CloseGraphics();
// The ShadowBuffer cell of screen pixel (x, y) at the DisplayInfo pitches, or
// null when that cell lies outside the window the ShadowBuffer mirrors (or no
// ShadowBuffer exists). For writers that place single pixels themselves.
uint16_t *ShadowCell(int32_t x, int32_t y);
// Opens GamePath + "\picture\" + name for reading. A file that cannot be
// opened shows its full path under the caption "Open file : Fail"; a path
// longer than kPathChars - 1 fails without a message. INVALID_HANDLE_VALUE
// on failure.
HANDLE OpenPictureFile(LPCWSTR name);

// ---- Sprite files and drawing ------------------------------------------------

constexpr uint32_t kSpriteHeaderBytes = 28;

struct Sprite {
    uint32_t stride;
    uint32_t imageHeight;
    uint32_t frameWidth;
    uint32_t frameHeight;
    uint32_t reserved;
    uint8_t transparent;
    uint8_t *pixels;    // bottom row first; null while nothing is loaded
    uint32_t capacity;  // bytes in the pixels block
};

// The run-length scheme of sprite files and the intro movie. Decodes from
// next() until `size` bytes are produced or the source ends; returns the
// number of bytes produced. next() returns -1 at the end of the source.
template <typename NextByte>
uint32_t DecodeRuns(uint8_t *output, uint32_t size, NextByte next) {
    uint32_t produced = 0;
    while (produced < size) {
        const int32_t b = next();
        if (b < 0) break;
        if (b < 192) {
            output[produced++] = static_cast<uint8_t>(b);
            continue;
        }
        const int32_t v = next();
        if (v < 0) break;
        for (int32_t n = b - 192; n > 0 && produced < size; --n)
            output[produced++] = static_cast<uint8_t>(v);
    }
    return produced;
}

// The eight pictures of the play screen.
extern Sprite backgroundSprite;
extern Sprite blockSprite;
extern Sprite numberSprite;
extern Sprite scoreDigitSprite;
extern Sprite levelClearedSprite;
extern Sprite levelDigitSprite;
extern Sprite gameOverSprite;
extern Sprite overlaySprite;

// The picture folder's file names, here once for the game and for the
// installation maker, which may use this header but not link the game.
inline constexpr WCHAR kPaletteFile[] = TEXT("kbl.plf");
inline constexpr WCHAR kBackgroundFile[] = TEXT("kbl_b.nbf");
inline constexpr WCHAR kBlockFile[] = TEXT("kbl_bl.nbf");
inline constexpr WCHAR kNumberFile[] = TEXT("kbl_n.nbf");
inline constexpr WCHAR kScoreDigitFile[] = TEXT("kbl_sn.nbf");
inline constexpr WCHAR kLevelClearedFile[] = TEXT("kbl_cg.nbf");
inline constexpr WCHAR kLevelDigitFile[] = TEXT("kbl_lv.nbf");
inline constexpr WCHAR kGameOverFile[] = TEXT("kbl_gov.nbf");
inline constexpr WCHAR kOverlayFile[] = TEXT("kbl_sl.nbf");

struct PictureFile {
    const WCHAR *name;
    Sprite *sprite;
};

// Each picture with its record, in the order start-up loads them and
// Shutdown frees them.
constexpr uint32_t kPictureCount = 8;
extern const PictureFile PictureFileTable[kPictureCount];

int LoadSprite(LPCWSTR name, Sprite &sprite, uint32_t capacity);
void DrawSpriteFrame(const Sprite &sprite, int32_t x, int32_t y, uint32_t frame);
void DrawSpriteFrameTransparent(const Sprite &sprite, int32_t x, int32_t y, uint32_t frame);
void FreeSprite(Sprite &sprite);
// Whether frame f of the sprite, drawn at (x, y), lies inside the sprite's
// pixels and the BackBuffer. Drawing does not clip; callers whose frame
// number comes from data ask first.
bool SpriteFrameFits(const Sprite &sprite, int32_t x, int32_t y, uint32_t frame);
