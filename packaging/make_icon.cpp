// Writes the program's icon for the desktop's icon theme: a PNG of the size
// asked for, or the scalable one as SVG, squares on the icon's 16 x 16 grid.
//   pellax-rim-icon SIZE FILE.png | pellax-rim-icon svg FILE.svg
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string_view>

#include "assets/assets.h"
#include "wince/seam/png.h"

namespace {

constexpr int kGrid = 16;

// One rectangle for each run of equal pixels along a row.
bool WriteSvg(const char *file) {
    const std::vector<uint32_t> argb = assets::MakeIconArgb(kGrid);
    std::ofstream out(file);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 "
        << kGrid << " " << kGrid << "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid;) {
            const uint32_t pixel = argb[y * kGrid + x];
            int run = 1;
            while (x + run < kGrid && argb[y * kGrid + x + run] == pixel) ++run;
            if ((pixel >> 24) != 0) {
                char colour[8];
                std::snprintf(colour, sizeof colour, "#%06x", pixel & 0xFFFFFF);
                out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << run
                    << "\" height=\"1\" fill=\"" << colour << "\"";
                if ((pixel >> 24) != 0xFF)
                    out << " fill-opacity=\"" << (pixel >> 24) / 255.0 << "\"";
                out << "/>\n";
            }
            x += run;
        }
    }
    out << "</svg>\n";
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char **argv) {
    constexpr int kLargest = 1024;
    const std::string_view text = argc == 3 ? argv[1] : "";
    if (text == "svg") {
        if (WriteSvg(argv[2])) return 0;
        std::cerr << "pellax-rim-icon: cannot write " << argv[2] << "\n";
        return 1;
    }
    int size = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (argc != 3 || fault != std::errc() || end != text.data() + text.size() || size < 1 ||
        size > kLargest) {
        std::cerr << "usage: pellax-rim-icon SIZE FILE (SIZE from 1 to " << kLargest
                  << ") | pellax-rim-icon svg FILE\n";
        return 2;
    }
    std::string error;
    if (wince::WriteArgbPng(argv[2], assets::MakeIconArgb(size), size, size, error)) return 0;
    std::cerr << "pellax-rim-icon: " << error << "\n";
    return 1;
}
