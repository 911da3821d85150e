// The indexed canvas the pictures are painted on, and the strips of frames
// that become sprite files.
#include "art.h"

namespace assets::art {

Canvas::Canvas(int32_t w, int32_t h, uint8_t fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

void Canvas::Set(int32_t x, int32_t y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = colour;
}

uint8_t Canvas::Get(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return kKeyColour;
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

void Canvas::Fill(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour) {
    for (int32_t row = y; row < y + h; ++row)
        for (int32_t column = x; column < x + w; ++column) Set(column, row, colour);
}

void Canvas::Edge(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t light, uint8_t dark) {
    Fill(x, y, w, 1, light);
    Fill(x, y, 1, h, light);
    Fill(x, y + h - 1, w, 1, dark);
    Fill(x + w - 1, y + 1, 1, h - 1, dark);
}

void Canvas::Blit(const Canvas &source, int32_t x, int32_t y) {
    for (int32_t row = 0; row < source.height; ++row)
        for (int32_t column = 0; column < source.width; ++column)
            Set(x + column, y + row, source.Get(column, row));
}

Bytes StripBottomRowFirst(const std::vector<Canvas> &frames) {
    Bytes strip;
    if (frames.empty()) return strip;
    const int32_t height = frames.front().height;
    for (int32_t row = height - 1; row >= 0; --row)
        for (const Canvas &frame : frames)
            for (int32_t column = 0; column < frame.width; ++column)
                strip.push_back(frame.Get(column, row));
    return strip;
}

Bytes MakeStripFile(const std::vector<Canvas> &frames) {
    const Bytes strip = StripBottomRowFirst(frames);
    const auto width = static_cast<uint32_t>(frames.front().width);
    const auto height = static_cast<uint32_t>(frames.front().height);
    const auto stride = width * static_cast<uint32_t>(frames.size());
    return MakeSpriteFile(strip, stride, height, width, height, true);
}

}  // namespace assets::art
