// Writes the program's icon for the desktop's icon theme: a PNG of the size
// asked for, or the scalable one as SVG, squares on the icon's 16 x 16 grid;
// or, for the Windows program's resources, an icon file of several sizes.
//   pellax-rim-icon SIZE FILE.png | pellax-rim-icon svg FILE.svg | pellax-rim-icon ico FILE.ico
#include <array>
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

// An icon file holding the icon at each size a Windows shell asks for, each a
// PNG (which Windows reads inside icon files since Vista).
bool WriteIco(const char *file) {
    constexpr std::array<int, 4> kSizes{16, 32, 48, 256};
    std::vector<uint8_t> out;
    const auto put16 = [&out](uint32_t value) {
        out.insert(out.end(), {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
    };
    const auto put32 = [&put16](uint32_t value) {
        put16(value & 0xFFFF);
        put16(value >> 16);
    };
    put16(0);  // reserved
    put16(1);  // an icon, not a cursor
    put16(kSizes.size());
    std::vector<std::vector<uint8_t>> images;
    uint32_t offset = 6 + 16 * kSizes.size();
    for (const int size : kSizes) {
        images.push_back(wince::EncodeArgbPng(assets::MakeIconArgb(size), size, size));
        if (images.back().empty()) return false;
        const auto side = static_cast<uint8_t>(size == 256 ? 0 : size);  // 0 stands for 256
        out.insert(out.end(), {side, side, 0, 0});                       // no palette
        put16(1);                                                        // planes
        put16(32);                                                       // bits a pixel
        put32(static_cast<uint32_t>(images.back().size()));
        put32(offset);
        offset += static_cast<uint32_t>(images.back().size());
    }
    for (const std::vector<uint8_t> &image : images)
        out.insert(out.end(), image.begin(), image.end());
    std::ofstream file_out(file, std::ios::binary);
    file_out.write(reinterpret_cast<const char *>(out.data()),
                   static_cast<std::streamsize>(out.size()));
    file_out.close();
    return static_cast<bool>(file_out);
}

}  // namespace

int main(int argc, char **argv) {
    constexpr int kLargest = 1024;
    const std::string_view text = argc == 3 ? argv[1] : "";
    if (text == "svg" || text == "ico") {
        if (text == "svg" ? WriteSvg(argv[2]) : WriteIco(argv[2])) return 0;
        std::cerr << "pellax-rim-icon: cannot write " << argv[2] << "\n";
        return 1;
    }
    int size = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (argc != 3 || fault != std::errc() || end != text.data() + text.size() || size < 1 ||
        size > kLargest) {
        std::cerr << "usage: pellax-rim-icon SIZE FILE (SIZE from 1 to " << kLargest
                  << ") | pellax-rim-icon svg|ico FILE\n";
        return 2;
    }
    std::string error;
    if (wince::WriteArgbPng(argv[2], assets::MakeIconArgb(size), size, size, error)) return 0;
    std::cerr << "pellax-rim-icon: " << error << "\n";
    return 1;
}
