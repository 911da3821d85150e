// Writes the program's icon as a PNG of the size asked for, for the desktop's
// icon theme: pellax-rim-icon SIZE FILE.
#include <charconv>
#include <iostream>
#include <string_view>

#include "assets/assets.h"
#include "wince/seam/png.h"

int main(int argc, char **argv) {
    constexpr int kLargest = 1024;
    int size = 0;
    const std::string_view text = argc == 3 ? argv[1] : "";
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (argc != 3 || fault != std::errc() || end != text.data() + text.size() || size < 1 ||
        size > kLargest) {
        std::cerr << "usage: pellax-rim-icon SIZE FILE (SIZE from 1 to " << kLargest << ")\n";
        return 2;
    }
    std::string error;
    if (wince::WriteArgbPng(argv[2], assets::MakeIconArgb(size), size, size, error)) return 0;
    std::cerr << "pellax-rim-icon: " << error << "\n";
    return 1;
}
