// Prints the program's icon, 16 x 16 on its grid, as one 0xAARRGGBB word in
// hex a line, top row first: the web build has no PNG library, so
// wince/web/make_icons.js makes the page's icons of it.
#include <cstdio>

#include "assets/assets.h"

int main() {
    constexpr int kGrid = 16;
    for (const uint32_t pixel : assets::MakeIconArgb(kGrid))
        std::printf("%08x\n", static_cast<unsigned>(pixel));
    return 0;
}
