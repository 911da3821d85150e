// The game's 256 colours: ramps of 16 shades from a deep tone through the
// base colour to a pale one, so that every picture can shade and bevel.
#include "art.h"

namespace assets {
namespace {

using art::kShades;

struct Rgb {
    int32_t r, g, b;
};

struct Ramp {
    uint8_t first;
    Rgb dark, base, light;
};

// The base colour sits at this shade; below it the ramp deepens, above it
// the colour pales towards the light end.
constexpr int32_t kBaseShade = 9;

constexpr Ramp kRamps[] = {
    {art::kGreenRamp, {0, 40, 10}, {60, 212, 92}, {222, 255, 222}},
    {art::BlockRamp(0), {64, 32, 0}, {240, 172, 24}, {255, 250, 205}},  // amber
    {art::BlockRamp(1), {0, 38, 52}, {28, 186, 206}, {212, 255, 255}},  // aqua
    {art::BlockRamp(2), {72, 20, 4}, {238, 108, 38}, {255, 226, 190}},  // coral
    {art::BlockRamp(3), {8, 16, 72}, {52, 92, 232}, {204, 218, 255}},   // cobalt
    {art::BlockRamp(4), {46, 8, 62}, {168, 68, 210}, {246, 212, 255}},  // violet
    {art::BlockRamp(5), {4, 50, 20}, {48, 188, 78}, {212, 255, 212}},   // jade
    {art::BlockRamp(6), {66, 4, 14}, {214, 34, 54}, {255, 202, 206}},   // crimson
    {art::kPanelRamp, {12, 14, 22}, {78, 90, 114}, {220, 226, 238}},
    {art::kWellRamp, {2, 3, 8}, {26, 34, 64}, {96, 112, 176}},
    {art::kBrassRamp, {34, 20, 4}, {176, 128, 52}, {255, 242, 196}},
    {art::kAmberRamp, {48, 16, 0}, {255, 158, 28}, {255, 246, 214}},
    {art::kCyanRamp, {0, 24, 34}, {40, 198, 228}, {226, 255, 255}},
    {art::kRedRamp, {52, 0, 6}, {224, 40, 40}, {255, 212, 200}},
    {art::kSpareGreyRamp, {0, 0, 0}, {138, 138, 138}, {255, 255, 255}},
};

constexpr Rgb kKey{255, 0, 255};

int32_t Mix(int32_t from, int32_t to, int32_t step, int32_t steps) {
    return from + (to - from) * step / steps;
}

Rgb RampShade(const Ramp &ramp, int32_t shade) {
    const Rgb &from = shade <= kBaseShade ? ramp.dark : ramp.base;
    const Rgb &to = shade <= kBaseShade ? ramp.base : ramp.light;
    const int32_t step = shade <= kBaseShade ? shade : shade - kBaseShade;
    const int32_t steps = shade <= kBaseShade ? kBaseShade : kShades - 1 - kBaseShade;
    return {Mix(from.r, to.r, step, steps), Mix(from.g, to.g, step, steps),
            Mix(from.b, to.b, step, steps)};
}

void Put(Bytes &palette, size_t index, const Rgb &colour) {
    palette[index * 3] = static_cast<uint8_t>(colour.r);
    palette[index * 3 + 1] = static_cast<uint8_t>(colour.g);
    palette[index * 3 + 2] = static_cast<uint8_t>(colour.b);
}

}  // namespace

Bytes MakePalette() {
    Bytes palette(768, 0);
    for (const Ramp &ramp : kRamps)
        for (int32_t shade = 0; shade < kShades; ++shade)
            Put(palette, ramp.first + static_cast<size_t>(shade), RampShade(ramp, shade));
    Put(palette, art::kKeyColour, kKey);
    return palette;
}

}  // namespace assets
