// The intro movie file: a still title with the game's name in bevelled
// blocks, and a short scene of pieces falling, stacking and clearing two
// rows, each with its own palette and coded with the game's run-length scheme.
// Everything is worked out in integers, so every build writes the same bytes.
#include <algorithm>
#include <array>
#include <string_view>

#include "art.h"
#include "assets.h"
#include "integer_math.h"

namespace assets {
namespace {

using art::Canvas;
using PaletteBytes = std::array<uint8_t, 768>;

struct Rgb {
    int32_t r, g, b;
};

constexpr int32_t kShades = 16;
constexpr int32_t kKinds = 7;
constexpr int32_t kTitleWidth = 220, kTitleHeight = 100;

// The piece colours, kind by kind, and the silver of the smaller lettering.
constexpr Rgb kHues[kKinds] = {
    {48, 196, 214}, {236, 190, 52}, {186, 86, 214}, {108, 200, 72},
    {226, 74, 82},  {64, 112, 226}, {240, 136, 48},
};
constexpr Rgb kSilver = {176, 188, 210};
constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};

// The colour `part` / `whole` of the way from a to b, rounded to the nearest
// (halves up).
Rgb Mix(Rgb a, Rgb b, int32_t part, int32_t whole) {
    const auto channel = [&](int32_t from, int32_t to) {
        const int32_t twice = 2 * (from * whole + (to - from) * part) + whole;
        return std::clamp(twice / (2 * whole), 0, 255);
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

void SetEntry(PaletteBytes &palette, int32_t index, Rgb colour) {
    palette[3 * index] = static_cast<uint8_t>(colour.r);
    palette[3 * index + 1] = static_cast<uint8_t>(colour.g);
    palette[3 * index + 2] = static_cast<uint8_t>(colour.b);
}

// Sixteen shades: from near black (12% of the hue) up to the hue at shade
// 10, then 85% of the way towards white, so one ramp gives a block its
// shadow, face and glint.
void SetBlockRamp(PaletteBytes &palette, int32_t first, Rgb hue) {
    constexpr int32_t kHueShade = 10;
    constexpr int32_t kTopShades = kShades - 1 - kHueShade;
    for (int32_t s = 0; s < kShades; ++s) {
        const Rgb colour = s <= kHueShade
                               ? Mix(kBlack, hue, 12 * kHueShade + 88 * s, 100 * kHueShade)
                               : Mix(hue, kWhite, 85 * (s - kHueShade), 100 * kTopShades);
        SetEntry(palette, first + s, colour);
    }
}

// A straight blend over `count` entries.
void SetBlend(PaletteBytes &palette, int32_t first, int32_t count, Rgb from, Rgb to) {
    for (int32_t s = 0; s < count; ++s) SetEntry(palette, first + s, Mix(from, to, s, count - 1));
}

uint8_t Shade(int32_t ramp, int32_t shade) {
    return static_cast<uint8_t>(ramp + std::clamp(shade, 0, kShades - 1));
}

// One bevelled block: lit top and left edges, dark bottom and right, a face
// that darkens downwards and a glint in its upper left. `lift` brightens.
void DrawCell(Canvas &canvas, int32_t x, int32_t y, int32_t size, int32_t ramp, int32_t face,
              int32_t lift) {
    canvas.Fill(x, y, size, size, Shade(ramp, face + lift));
    canvas.Fill(x + 1, y + size / 2, size - 2, size / 2 - 1, Shade(ramp, face - 1 + lift));
    canvas.Edge(x, y, size, size, Shade(ramp, 13 + lift), Shade(ramp, 4 + lift));
    canvas.Set(x + size - 1, y, Shade(ramp, 9 + lift));
    canvas.Set(x, y + size - 1, Shade(ramp, 7 + lift));
    canvas.Set(x + 1, y + 1, Shade(ramp, 15));
    if (size >= 8) {
        canvas.Set(x + 2, y + 1, Shade(ramp, 14 + lift));
        canvas.Set(x + 1, y + 2, Shade(ramp, 14 + lift));
    }
}

Bytes PackBottomRowFirst(const Canvas &canvas) {
    const auto width = static_cast<size_t>(canvas.width);
    Bytes pixels(canvas.pixels.size());
    for (size_t row = 0; row < static_cast<size_t>(canvas.height); ++row)
        std::copy_n(canvas.pixels.end() - static_cast<std::ptrdiff_t>((row + 1) * width), width,
                    pixels.begin() + static_cast<std::ptrdiff_t>(row * width));
    return EncodeRuns(pixels.data(), pixels.size());
}

void PutLittleEndian32(Bytes &out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Grown first and then copied into: GCC 12's optimiser misreads a range
// insert at the end of a vector as writing past it.
void Append(Bytes &out, const uint8_t *bytes, size_t count) {
    const size_t at = out.size();
    out.resize(at + count);
    std::copy(bytes, bytes + count, out.begin() + static_cast<std::ptrdiff_t>(at));
}

// ---- The title ---------------------------------------------------------------

constexpr int32_t kGlowRamp = 16;
constexpr int32_t kTitleRamps = 32;  // kinds 0..6, then silver
constexpr int32_t kSilverRamp = kTitleRamps + kKinds * kShades;
constexpr int32_t kGlowRadius = 7;

PaletteBytes TitlePalette() {
    PaletteBytes palette{};
    SetBlend(palette, kGlowRamp, kShades, kBlack, {70, 92, 224});
    for (int32_t kind = 0; kind < kKinds; ++kind)
        SetBlockRamp(palette, kTitleRamps + kind * kShades, kHues[kind]);
    SetBlockRamp(palette, kSilverRamp, kSilver);
    return palette;
}

struct TitleCell {
    int32_t x, y, size, ramp, face;
    bool solid;  // part of a smooth letter rather than a separate block
};

// The letters of a word, one cell per pixel of the game's 5 x 7 glyphs; as
// blocks, their faces darken from the top row of the glyph to the bottom.
void AddWord(std::vector<TitleCell> &cells, std::string_view word, int32_t x, int32_t y,
             int32_t cell, int32_t gap, const int32_t *ramps, bool solid) {
    for (size_t i = 0; i < word.size(); ++i) {
        const uint8_t *rows = art::GlyphRows(word[i]);
        for (int32_t row = 0; row < art::kGlyphHeight; ++row)
            for (int32_t column = 0; column < art::kGlyphWidth; ++column)
                if ((rows[row] >> (art::kGlyphWidth - 1 - column)) & 1)
                    cells.push_back({x + column * cell, y + row * cell, cell, ramps[i],
                                     11 - row * 2 / 3, solid});
        x += art::kGlyphWidth * cell + gap;
    }
}

// Rows of small blocks either side of the second word, fading outwards.
void AddTrails(std::vector<TitleCell> &cells, int32_t left, int32_t right, int32_t y) {
    constexpr int32_t kTrailCells = 7, kTrailSize = 4, kTrailStep = 6;
    for (int32_t k = 0; k < kTrailCells; ++k) {
        const int32_t ramp = kTitleRamps + (k % kKinds) * kShades;
        const int32_t face = 11 - k;
        cells.push_back({left - (k + 1) * kTrailStep, y, kTrailSize, ramp, face, false});
        cells.push_back({right + k * kTrailStep + 2, y, kTrailSize, ramp, face, false});
    }
}

std::vector<TitleCell> TitleCells() {
    constexpr int32_t kBigCell = 6, kSmallCell = 4;
    constexpr int32_t kBigTop = 8, kSmallTop = 60;
    const auto ramp = [](int32_t kind) { return kTitleRamps + kind * kShades; };
    const int32_t bigRamps[] = {ramp(4), ramp(6), ramp(1), ramp(3), ramp(0), ramp(5)};
    const int32_t smallRamps[] = {kSilverRamp, kSilverRamp, kSilverRamp};
    std::vector<TitleCell> cells;
    const int32_t bigWidth = 6 * art::kGlyphWidth * kBigCell + 5 * kBigCell;
    AddWord(cells, "PELLAX", (kTitleWidth - bigWidth) / 2, kBigTop, kBigCell, kBigCell, bigRamps,
            false);
    const int32_t smallWidth = 3 * art::kGlyphWidth * kSmallCell + 2 * 5;
    const int32_t smallLeft = (kTitleWidth - smallWidth) / 2;
    AddWord(cells, "RIM", smallLeft, kSmallTop, kSmallCell, 5, smallRamps, true);
    AddTrails(cells, smallLeft, smallLeft + smallWidth,
              kSmallTop + art::kGlyphHeight * kSmallCell / 2 - 2);
    return cells;
}

std::vector<bool> CoverageOf(const std::vector<TitleCell> &cells, bool solidOnly) {
    std::vector<bool> covered(kTitleWidth * kTitleHeight, false);
    for (const TitleCell &c : cells) {
        if (solidOnly && !c.solid) continue;
        for (int32_t y = c.y; y < c.y + c.size; ++y)
            for (int32_t x = c.x; x < c.x + c.size; ++x)
                if (x >= 0 && y >= 0 && x < kTitleWidth && y < kTitleHeight)
                    covered[y * kTitleWidth + x] = true;
    }
    return covered;
}

// The halo's shade at a squared distance d (below (kGlowRadius + 1)^2) from
// the letters: 13 (1 - r)^2 rounded, where r = sqrt(d) / (kGlowRadius + 1). In units of 2^-16 of a
// pixel, the distance's square root is exact to the unit, far finer than
// a shade.
int32_t GlowShade(int32_t squaredDistance) {
    constexpr int64_t kUnit = int64_t{1} << 16;
    constexpr int64_t kReach = (kGlowRadius + 1) * kUnit;
    const auto distance =
        static_cast<int64_t>(integer::SquareRoot(static_cast<uint64_t>(squaredDistance) << 32));
    const int64_t closeness = kReach - distance;
    return static_cast<int32_t>((2 * 13 * closeness * closeness + kReach * kReach) /
                                (2 * kReach * kReach));
}

// A soft halo around the letters, strongest at their edge.
void PaintGlow(Canvas &canvas, const std::vector<bool> &covered) {
    // Squared distance to the nearest letter pixel, spread out from each one.
    constexpr int32_t kFar = kGlowRadius * kGlowRadius + 1;
    std::vector<int32_t> nearest(covered.size(), kFar);
    for (int32_t y = 0; y < kTitleHeight; ++y)
        for (int32_t x = 0; x < kTitleWidth; ++x) {
            if (!covered[y * kTitleWidth + x]) continue;
            for (int32_t sy = std::max(0, y - kGlowRadius);
                 sy <= std::min(kTitleHeight - 1, y + kGlowRadius); ++sy)
                for (int32_t sx = std::max(0, x - kGlowRadius);
                     sx <= std::min(kTitleWidth - 1, x + kGlowRadius); ++sx) {
                    int32_t &d = nearest[sy * kTitleWidth + sx];
                    d = std::min(d, (sx - x) * (sx - x) + (sy - y) * (sy - y));
                }
        }
    constexpr int32_t kReachSquared = (kGlowRadius + 1) * (kGlowRadius + 1);
    for (int32_t i = 0; i < kTitleWidth * kTitleHeight; ++i)
        if (nearest[i] < kReachSquared)
            canvas.Set(i % kTitleWidth, i / kTitleWidth, Shade(kGlowRamp, GlowShade(nearest[i])));
}

// A few faint stars in the dark around the name.
void PaintStars(Canvas &canvas) {
    uint32_t state = 0x1D872B41u;
    for (int32_t k = 0; k < 40; ++k) {
        state = state * 1664525u + 1013904223u;
        const auto x = static_cast<int32_t>((state >> 8) % kTitleWidth);
        const auto y = static_cast<int32_t>((state >> 20) % kTitleHeight);
        canvas.Set(x, y, Shade(kSilverRamp, 3 + static_cast<int32_t>(state % 5)));
    }
}

// Smooth letters: brushed metal, bright at the top and dark below, with a
// lit upper-left rim and a shaded lower-right one.
void PaintSolidLetters(Canvas &canvas, const std::vector<TitleCell> &cells) {
    const std::vector<bool> solid = CoverageOf(cells, true);
    const auto at = [&solid](int32_t x, int32_t y) {
        return x >= 0 && y >= 0 && x < kTitleWidth && y < kTitleHeight &&
               solid[y * kTitleWidth + x];
    };
    int32_t top = kTitleHeight, bottom = 0;
    for (const TitleCell &c : cells)
        if (c.solid) top = std::min(top, c.y), bottom = std::max(bottom, c.y + c.size);
    for (const TitleCell &c : cells) {
        if (!c.solid) continue;
        for (int32_t y = c.y; y < c.y + c.size; ++y)
            for (int32_t x = c.x; x < c.x + c.size; ++x) {
                int32_t shade = 14 - 9 * (y - top) / std::max(1, bottom - top - 1);
                if (!at(x, y - 1) || !at(x - 1, y)) shade = 15;
                if (!at(x, y + 1) || !at(x + 1, y)) shade = 3;
                canvas.Set(x, y, Shade(c.ramp, shade));
            }
    }
}

Canvas MakeTitle() {
    Canvas canvas(kTitleWidth, kTitleHeight, 0);
    const std::vector<TitleCell> cells = TitleCells();
    PaintStars(canvas);
    PaintGlow(canvas, CoverageOf(cells, false));
    constexpr int32_t kShadowOffset = 2;
    for (const TitleCell &c : cells)
        canvas.Fill(c.x + kShadowOffset, c.y + kShadowOffset, c.size, c.size, 0);
    for (const TitleCell &c : cells)
        if (!c.solid) DrawCell(canvas, c.x, c.y, c.size, c.ramp, c.face, 0);
    PaintSolidLetters(canvas, cells);
    return canvas;
}

// ---- The falling pieces ----------------------------------------------------------

constexpr int32_t kCell = 10;
constexpr int32_t kColumns = 16, kRows = 15;
constexpr int32_t kFloorHeight = 4;
constexpr int32_t kFrameWidth = kColumns * kCell;
constexpr int32_t kFrameHeight = kRows * kCell + kFloorHeight;
constexpr int32_t kFrameInterval = 50;  // ms
constexpr int32_t kSpawnGap = 3;        // frames between pieces entering
constexpr int32_t kFramesPerTurn = 3;
constexpr int32_t kFlashFrames = 8;
constexpr int32_t kClearedRows = 2;
constexpr int32_t kHoldFrames = 18;

constexpr int32_t kSkyRamp = 16, kSkyShades = 32;
constexpr int32_t kFrameRamps = kSkyRamp + kSkyShades;  // kinds 0..6
constexpr int32_t kWhiteRamp = kFrameRamps + kKinds * kShades;
constexpr int32_t kFloorRamp = kWhiteRamp + kShades;

PaletteBytes FramePalette() {
    PaletteBytes palette{};
    SetBlend(palette, kSkyRamp, kSkyShades, {2, 2, 6}, {22, 34, 84});
    for (int32_t kind = 0; kind < kKinds; ++kind)
        SetBlockRamp(palette, kFrameRamps + kind * kShades, kHues[kind]);
    SetBlend(palette, kWhiteRamp, kShades, {60, 64, 80}, kWhite);
    SetBlockRamp(palette, kFloorRamp, {96, 120, 170});
    return palette;
}

struct Offset {
    int32_t x, y;  // cells, y up
};
using Shape = std::array<Offset, 4>;

// The stack the scene builds, in the order the pieces fall: its two lowest
// rows fill up exactly as the last piece, an upright bar, drops into its slot.
struct Placement {
    int32_t kind;
    int32_t column;
    Shape shape;
    int32_t turns;  // quarter turns it tumbles through while high up
};
constexpr Placement kPlacements[] = {
    {0, 3, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}, 2},  {4, 6, {{{0, 1}, {1, 0}, {1, 1}, {2, 0}}}, 0},
    {3, 7, {{{0, 1}, {0, 2}, {1, 0}, {1, 1}}}, 1},  {6, 10, {{{0, 0}, {1, 0}, {2, 0}, {2, 1}}}, 0},
    {1, 14, {{{0, 0}, {0, 1}, {1, 0}, {1, 1}}}, 0}, {5, 4, {{{0, 0}, {1, 0}, {1, 1}, {1, 2}}}, 2},
    {2, 2, {{{0, 0}, {0, 1}, {0, 2}, {1, 1}}}, 1},  {1, 3, {{{0, 0}, {0, 1}, {1, 0}, {1, 1}}}, 0},
    {6, 12, {{{0, 2}, {1, 0}, {1, 1}, {1, 2}}}, 3}, {5, 12, {{{0, 1}, {1, 1}, {2, 0}, {2, 1}}}, 0},
    {1, 10, {{{0, 0}, {0, 1}, {1, 0}, {1, 1}}}, 0}, {1, 0, {{{0, 0}, {0, 1}, {1, 0}, {1, 1}}}, 0},
    {0, 9, {{{0, 0}, {0, 1}, {0, 2}, {0, 3}}}, 1},
};
constexpr int32_t kPieces = static_cast<int32_t>(std::size(kPlacements));

// When and where each piece travels: it enters above the top, falls one row
// a frame and settles on `landRow`.
struct Flight {
    int32_t landRow;
    int32_t spawnFrame;
    int32_t landFrame;
};

int32_t ShapeWidth(const Shape &shape) {
    int32_t width = 0;
    for (const Offset &o : shape) width = std::max(width, o.x + 1);
    return width;
}

// A quarter turn, kept centred over the same columns.
Shape Turned(const Shape &shape) {
    Shape turned;
    int32_t minX = 99, minY = 99;
    for (size_t i = 0; i < 4; ++i) {
        turned[i] = {shape[i].y, -shape[i].x};
        minX = std::min(minX, turned[i].x);
        minY = std::min(minY, turned[i].y);
    }
    for (Offset &o : turned) o = {o.x - minX, o.y - minY};
    const int32_t shift = (ShapeWidth(shape) - ShapeWidth(turned)) / 2;
    for (Offset &o : turned) o.x += shift;
    return turned;
}

int32_t FallRows(const Flight &flight) {
    return kRows - flight.landRow;
}

// The shape and the row of piece i at a frame, while it is in the air.
Shape ShapeInFlight(int32_t piece, int32_t frame, const Flight &flight) {
    Shape shape = kPlacements[piece].shape;
    const int32_t turnsLeft =
        kPlacements[piece].turns - (frame - flight.spawnFrame) / kFramesPerTurn;
    for (int32_t k = 0; k < turnsLeft; ++k) shape = Turned(shape);
    return shape;
}

int32_t RowInFlight(int32_t frame, const Flight &flight) {
    return std::max(flight.landRow, kRows - (frame - flight.spawnFrame));
}

using Occupancy = std::array<std::array<int32_t, kRows>, kColumns>;  // piece or -1

bool Fits(const Occupancy &board, const Shape &shape, int32_t column, int32_t row) {
    for (const Offset &o : shape) {
        const int32_t x = column + o.x, y = row + o.y;
        if (x < 0 || x >= kColumns || y < 0) return false;
        if (y < kRows && board[x][y] >= 0) return false;
    }
    return true;
}

// Whether two pieces in the air at the same frame would overlap.
bool CollidesInFlight(int32_t a, const Flight &fa, int32_t b, const Flight &fb, int32_t frame) {
    const Shape sa = ShapeInFlight(a, frame, fa), sb = ShapeInFlight(b, frame, fb);
    const int32_t ra = RowInFlight(frame, fa), rb = RowInFlight(frame, fb);
    for (const Offset &p : sa)
        for (const Offset &q : sb)
            if (kPlacements[a].column + p.x == kPlacements[b].column + q.x && ra + p.y == rb + q.y)
                return true;
    return false;
}

// A piece may not settle before what it rests on, nor meet another in the air.
bool FlightIsClear(int32_t piece, const std::array<Flight, kPieces> &flights,
                   const Occupancy &board) {
    const Flight &f = flights[piece];
    for (const Offset &o : kPlacements[piece].shape) {
        const int32_t x = kPlacements[piece].column + o.x, below = f.landRow + o.y - 1;
        if (below >= 0 && board[x][below] >= 0 && flights[board[x][below]].landFrame >= f.landFrame)
            return false;
    }
    for (int32_t other = 0; other < piece; ++other)
        for (int32_t frame = f.spawnFrame; frame <= f.landFrame; ++frame)
            if (frame >= flights[other].spawnFrame && frame < flights[other].landFrame &&
                CollidesInFlight(piece, f, other, flights[other], frame))
                return false;
    return true;
}

std::array<Flight, kPieces> PlanFlights() {
    Occupancy board;
    for (auto &column : board) column.fill(-1);
    std::array<Flight, kPieces> flights{};
    for (int32_t i = 0; i < kPieces; ++i) {
        const Placement &p = kPlacements[i];
        int32_t row = kRows;
        while (Fits(board, p.shape, p.column, row - 1)) --row;
        Flight &f = flights[i];
        f.landRow = row;
        f.spawnFrame = i == 0 ? 0 : std::max(kSpawnGap * i, flights[i - 1].spawnFrame + 1);
        for (f.landFrame = f.spawnFrame + FallRows(f); !FlightIsClear(i, flights, board);
             f.landFrame = f.spawnFrame + FallRows(f))
            ++f.spawnFrame;
        for (const Offset &o : p.shape) board[p.column + o.x][row + o.y] = i;
    }
    return flights;
}

struct Scene {
    std::array<Flight, kPieces> flights;
    int32_t clearFrame;  // the first frame without the full rows
    int32_t frameCount;
};

Scene PlanScene() {
    Scene scene{PlanFlights(), 0, 0};
    int32_t lastLanding = 0;
    for (const Flight &f : scene.flights) lastLanding = std::max(lastLanding, f.landFrame);
    scene.clearFrame = lastLanding + 1 + kFlashFrames;
    scene.frameCount = scene.clearFrame + kClearedRows + kHoldFrames;
    return scene;
}

// Pixel position of a cell's top-left corner; row 0 sits on the floor.
int32_t CellLeft(int32_t column) {
    return column * kCell;
}
int32_t CellTop(int32_t row) {
    return (kRows - 1 - row) * kCell;
}

Canvas MakeBackdrop() {
    Canvas canvas(kFrameWidth, kFrameHeight, 0);
    for (int32_t y = 0; y < kRows * kCell; ++y) {
        const int32_t shade = y * kSkyShades / (kRows * kCell);
        canvas.Fill(0, y, kFrameWidth, 1, static_cast<uint8_t>(kSkyRamp + shade));
        if (y % kCell == 0)
            for (int32_t x = 0; x < kFrameWidth; x += kCell)
                canvas.Set(x, y, static_cast<uint8_t>(kSkyRamp + std::min(shade + 5, 31)));
    }
    const int32_t floorShades[kFloorHeight] = {14, 11, 7, 3};
    for (int32_t k = 0; k < kFloorHeight; ++k)
        canvas.Fill(0, kRows * kCell + k, kFrameWidth, 1, Shade(kFloorRamp, floorShades[k]));
    return canvas;
}

// A bright band that sweeps once across the settled stack near the end.
int32_t SheenLift(const Scene &scene, int32_t frame, int32_t column, int32_t row) {
    const int32_t start = scene.clearFrame + kClearedRows + 2;
    const int32_t band = (frame - start) * 2 - (column + row);
    return band >= 0 && band < 3 ? 3 - band : 0;
}

void PaintSettled(Canvas &canvas, const Scene &scene, int32_t frame) {
    const bool cleared = frame >= scene.clearFrame;
    const int32_t drop = cleared ? std::min(kClearedRows, frame - scene.clearFrame + 1) : 0;
    const int32_t flash = frame - (scene.clearFrame - kFlashFrames);
    for (int32_t i = 0; i < kPieces; ++i) {
        const Flight &f = scene.flights[i];
        if (frame < f.landFrame) continue;
        const int32_t ramp = kFrameRamps + kPlacements[i].kind * kShades;
        for (const Offset &o : kPlacements[i].shape) {
            const int32_t column = kPlacements[i].column + o.x, row = f.landRow + o.y;
            if (row < kClearedRows && cleared) continue;
            const bool flashing = row < kClearedRows && flash >= 0 && flash % 2 == 0;
            const int32_t lift = frame - f.landFrame < 2 ? 3 : SheenLift(scene, frame, column, row);
            DrawCell(canvas, CellLeft(column), CellTop(row - drop), kCell,
                     flashing ? kWhiteRamp : ramp, 10, flashing ? 2 : lift);
        }
    }
}

void PaintFalling(Canvas &canvas, const Scene &scene, int32_t frame) {
    for (int32_t i = 0; i < kPieces; ++i) {
        const Flight &f = scene.flights[i];
        if (frame < f.spawnFrame || frame >= f.landFrame) continue;
        const int32_t ramp = kFrameRamps + kPlacements[i].kind * kShades;
        const int32_t row = RowInFlight(frame, f);
        for (const Offset &o : ShapeInFlight(i, frame, f))
            DrawCell(canvas, CellLeft(kPlacements[i].column + o.x), CellTop(row + o.y), kCell, ramp,
                     10, 0);
    }
}

// Sparks thrown up from the cleared rows, in the colours of their blocks.
void PaintSparks(Canvas &canvas, const Scene &scene, int32_t frame) {
    constexpr int32_t kSparks = 48, kLife = 16;
    const int32_t age = frame - (scene.clearFrame - kFlashFrames / 2);
    if (age < 0 || age >= kLife) return;
    uint32_t state = 0x6C8E9CF5u;
    for (int32_t k = 0; k < kSparks; ++k) {
        const auto next = [&state](int32_t range) {
            state = state * 1664525u + 1013904223u;
            return static_cast<int32_t>((state >> 12) % static_cast<uint32_t>(range));
        };
        // Tenths of a pixel a frame, and hundredths for the fall: x0 + vx t,
        // y0 + vy t + 0.35 t^2, cut towards zero.
        const int32_t x0 = next(kFrameWidth), y0 = CellTop(next(kClearedRows)) + 5;
        const int32_t vx = next(61) - 30, vy = -20 - next(50);
        const int32_t kind = next(kKinds), life = kLife - next(6);
        if (age >= life) continue;
        const int32_t x = (10 * x0 + vx * age) / 10;
        const int32_t y = (100 * y0 + 10 * vy * age + 35 * age * age) / 100;
        const int32_t shade = 15 - age * 8 / life;
        canvas.Fill(x, y, 2, 2, Shade(kFrameRamps + kind * kShades, shade));
    }
}

// Stars over the stack, each flaring now and then, out of step with the rest.
void PaintSkyStars(Canvas &canvas, int32_t frame) {
    constexpr int32_t kStars = 30, kSkyDepth = 100, kTwinkle = 14;
    uint32_t state = 0x3C6EF372u;
    for (int32_t k = 0; k < kStars; ++k) {
        state = state * 1664525u + 1013904223u;
        const auto x = static_cast<int32_t>((state >> 8) % kFrameWidth);
        const auto y = static_cast<int32_t>((state >> 20) % kSkyDepth);
        const bool flaring = (frame + k * 5) % kTwinkle < 2;
        const int32_t shade = 4 + static_cast<int32_t>(state % 4) + (flaring ? 6 : 0);
        canvas.Set(x, y, Shade(kWhiteRamp, shade));
        if (flaring && k % 3 == 0) {
            canvas.Set(x - 1, y, Shade(kWhiteRamp, shade - 6));
            canvas.Set(x + 1, y, Shade(kWhiteRamp, shade - 6));
            canvas.Set(x, y - 1, Shade(kWhiteRamp, shade - 6));
            canvas.Set(x, y + 1, Shade(kWhiteRamp, shade - 6));
        }
    }
}

Canvas PaintFrame(const Scene &scene, const Canvas &backdrop, int32_t frame) {
    Canvas canvas = backdrop;
    PaintSkyStars(canvas, frame);
    PaintSettled(canvas, scene, frame);
    PaintFalling(canvas, scene, frame);
    PaintSparks(canvas, scene, frame);
    return canvas;
}

}  // namespace

Bytes MakeIntroMovie() {
    Bytes movie;
    const PaletteBytes titlePalette = TitlePalette();
    Append(movie, titlePalette.data(), titlePalette.size());
    const Bytes title = PackBottomRowFirst(MakeTitle());
    PutLittleEndian32(movie, static_cast<uint32_t>(title.size()));
    Append(movie, title.data(), title.size());

    const Scene scene = PlanScene();
    PutLittleEndian32(movie, kFrameWidth);
    PutLittleEndian32(movie, kFrameHeight);
    PutLittleEndian32(movie, static_cast<uint32_t>(scene.frameCount));
    PutLittleEndian32(movie, kFrameInterval);
    const PaletteBytes framePalette = FramePalette();
    Append(movie, framePalette.data(), framePalette.size());
    const Canvas backdrop = MakeBackdrop();
    for (int32_t frame = 0; frame < scene.frameCount; ++frame) {
        const Bytes packed = PackBottomRowFirst(PaintFrame(scene, backdrop, frame));
        PutLittleEndian32(movie, static_cast<uint32_t>(packed.size()));
        Append(movie, packed.data(), packed.size());
    }
    return movie;
}

}  // namespace assets
