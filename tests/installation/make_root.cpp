// The default installation as the page's build makes it: the game's own code
// compiled by Emscripten, run under node on the real file system, so that
// tools/web.sh --check can hold its fingerprint to the Linux build's. Takes
// --make-root DIR, as the program does.
#include <cstdio>
#include <cstring>
#include <string>

#include "assets/assets.h"

int main(int argc, char **argv) {
    if (argc != 3 || std::strcmp(argv[1], "--make-root") != 0) {
        std::fprintf(stderr, "usage: make_root --make-root DIR\n");
        return 2;
    }
    std::string error;
    if (assets::MakeDefaultInstallation(argv[2], error)) return 0;
    std::fprintf(stderr, "cannot make the installation: %s\n", error.c_str());
    return 1;
}
