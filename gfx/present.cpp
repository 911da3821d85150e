// Turning the BackBuffer into display colours and putting them on the screen.
#include <bit>
#include <cstring>

#include "gfx/gfx.h"

ShadowBufferRecord ShadowBuffer;

namespace {

// The cells of the window the ShadowBuffer mirrors, counted from the cell of
// the top-left pixel. Both the plain portrait and the rotated display place
// every pixel inside it; a pixel of any other layout whose cell lies outside
// is dropped rather than written past the block.
constexpr int64_t kFirstCell = -static_cast<int64_t>(kShadowOriginOffset / 2);
constexpr int64_t kEndCell = static_cast<int64_t>((kShadowBytes - kShadowOriginOffset) / 2);

bool CellInside(int64_t cell) {
    return cell >= kFirstCell && cell < kEndCell;
}

// Conversion is most of a frame's work, so rows of neighbouring cells are
// converted two pixels at a time through a table of every pair of palette
// indices: half the lookups, and four pairs taken from one 8-byte read. The
// table holds each pair as its two cells lie in memory, indexed by the pair's
// two bytes as the machine reads them, so it is right on either byte order.
// It is made again only when the colours change (the palette is loaded once).
struct PairTableRecord {
    bool made;
    uint16_t colours[256];      // what the pairs were made from
    uint32_t cells[256 * 256];  // two cells, in memory order
};

PairTableRecord PairTable;

const uint32_t *PairsFor(const uint16_t *colours) {
    if (PairTable.made && std::memcmp(PairTable.colours, colours, sizeof PairTable.colours) == 0)
        return PairTable.cells;
    std::memcpy(PairTable.colours, colours, sizeof PairTable.colours);
    for (uint32_t first = 0; first < 256; ++first) {
        for (uint32_t second = 0; second < 256; ++second) {
            const uint8_t indices[2] = {static_cast<uint8_t>(first), static_cast<uint8_t>(second)};
            const uint16_t cells[2] = {colours[first], colours[second]};
            uint16_t at;
            std::memcpy(&at, indices, sizeof at);
            std::memcpy(&PairTable.cells[at], cells, sizeof cells);
        }
    }
    PairTable.made = true;
    return PairTable.cells;
}

static_assert(kScreenWidth % 8 == 0);
// Where the first pair of an 8-byte read lies; pair k is then at 48 ^ 16k,
// which is 16k on a little-endian machine and 48 - 16k on a big-endian one.
constexpr uint32_t kFirstPairShift = std::endian::native == std::endian::little ? 0 : 48;

void ConvertRowContiguous(uint16_t *destination, const uint8_t *source, const uint32_t *pairs) {
    for (uint32_t x = 0; x < kScreenWidth; x += 8) {
        uint64_t eight;
        std::memcpy(&eight, source + x, sizeof eight);
        for (uint32_t k = 0; k < 4; ++k) {
            const uint32_t two = pairs[(eight >> (kFirstPairShift ^ (16 * k))) & 0xFFFF];
            std::memcpy(destination + x + 2 * k, &two, sizeof two);
        }
    }
}

void ConvertRowSpaced(uint16_t *origin, int64_t cell, int64_t xPitch, const uint8_t *source,
                      const uint16_t *colours) {
    for (uint32_t x = 0; x < kScreenWidth; ++x, cell += xPitch) {
        if (CellInside(cell)) origin[cell] = colours[source[x]];
    }
}

bool WindowInsideBackBuffer(uint32_t x0, uint32_t y0) {
    return BackBuffer.pixels != nullptr &&
           static_cast<uint64_t>(x0) + kScreenWidth <= BackBuffer.width &&
           static_cast<uint64_t>(y0) + kScreenHeight <= BackBuffer.height;
}

uint8_t *ShadowWindowOnScreen() {
    uint8_t *topLeft = static_cast<uint8_t *>(GXBeginDraw());
    return topLeft == nullptr ? nullptr : topLeft - kShadowOriginOffset;
}

}  // namespace

void ConvertBackBuffer(uint16_t *destination, uint32_t x0, uint32_t y0) {
    if (destination == nullptr || !WindowInsideBackBuffer(x0, y0)) return;
    const uint8_t *source = BackBuffer.pixels + static_cast<size_t>(y0) * BackBuffer.width + x0;
    const int64_t xPitch = DisplayInfo.xPitch;
    const int64_t yPitch = DisplayInfo.yPitch;
    // A copy of the colours that no row can overlap: the compiler then need
    // not assume a written cell changes the table.
    uint16_t colours[256];
    std::memcpy(colours, Palette.color16, sizeof colours);
    const uint32_t *pairs = PairsFor(colours);
    for (uint32_t y = 0; y < kScreenHeight; ++y, source += BackBuffer.width) {
        const int64_t rowStart = y * yPitch;
        // Rows of neighbouring cells that lie wholly in the window take the
        // fast loop; every other layout is placed cell by cell.
        if (xPitch == 1 && CellInside(rowStart) && CellInside(rowStart + kScreenWidth - 1)) {
            ConvertRowContiguous(destination + rowStart, source, pairs);
        } else {
            ConvertRowSpaced(destination, rowStart, xPitch, source, colours);
        }
    }
}

uint16_t *GetShadowOrigin() {
    return ShadowBuffer.origin;
}

uint16_t *ShadowCell(int32_t x, int32_t y) {
    const int64_t cell =
        static_cast<int64_t>(x) * DisplayInfo.xPitch + static_cast<int64_t>(y) * DisplayInfo.yPitch;
    if (ShadowBuffer.origin == nullptr || !CellInside(cell)) return nullptr;
    return ShadowBuffer.origin + cell;
}

int PresentShadow() {
    uint8_t *window = ShadowWindowOnScreen();
    if (window != nullptr && ShadowBuffer.block != nullptr) {
        std::memcpy(window, ShadowBuffer.block, kShadowBytes);
    }
    return GXEndDraw();
}

int ClearScreen(uint32_t value) {
    uint8_t *window = ShadowWindowOnScreen();
    if (window != nullptr) std::memset(window, static_cast<int>(value & 0xFF), kShadowBytes);
    return GXEndDraw();
}
