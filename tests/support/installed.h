// What the tests and the fuzz targets share: the default installation, made
// once per process and removed when the process ends, and the reset of the
// game's records to their values at program start.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/app.h"
#include "assets/assets.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace pellax_test {

namespace fs = std::filesystem;

inline const fs::path kPictureFolder = fs::path("Program Files") / "Pellax Rim" / "picture";

// A folder of this process's own, in memory where there is such a place:
// the fuzz targets write a file per input.
inline fs::path ScratchFolder(std::string name) {
    for (char &c : name)
        if (c == '/') c = '_';
    std::error_code ignored;
    const fs::path base =
        fs::is_directory("/dev/shm", ignored) ? "/dev/shm" : fs::temp_directory_path();
    return base / ("pellax-" + std::to_string(getpid()) + "-" + name);
}

// Removes a folder, giving back first the write bits a test took away.
inline void RemoveFolder(const fs::path &folder) {
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto &entry : fs::recursive_directory_iterator(folder, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder, ignored);
}

// The default installation, made on first use; copy it before changing it.
inline const fs::path &Installation() {
    static const struct Made {
        fs::path root = ScratchFolder("installation");
        Made() {
            std::string error;
            if (assets::MakeDefaultInstallation(root, error)) return;
            std::fprintf(stderr, "cannot make the installation: %s\n", error.c_str());
            std::abort();
        }
        ~Made() { RemoveFolder(root); }
    } made;
    return made.root;
}

inline std::string ReadBytes(const fs::path &file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

inline void WriteBytes(const fs::path &file, const void *data, size_t size) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(static_cast<const char *>(data), static_cast<std::streamsize>(size));
}

// The records as a freshly started program has them, but for the display's,
// which their users keep or release themselves.
inline void ResetGameRecords() {
    GameState = InitialGameState();
    ResetBoard();
    for (uint8_t &kind : PieceSequence) kind = 0;
    for (uint32_t &flag : KeyFlags) flag = 0;
    StylusState = {};
    frameLastTick = TickSlot[0] = 0;
    ShutdownDone = 0;
    MainWindowHandle = nullptr;
}

}  // namespace pellax_test
