// WAV files as the desktop host decodes them before playing: the fuzzed
// bytes are a cue file, decoded and converted to the desktop's audio format.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "wince/desktop/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string file = (std::filesystem::temp_directory_path() /
                                     ("pellax-fuzz-" + std::to_string(getpid()) + ".nwf"))
                                        .string();
    // Removed when the process ends, as a name it holds itself.
    static const int removeAtExit = std::atexit([] { std::remove(file.c_str()); });
    (void)removeAtExit;
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    SDL_AudioSpec format{};
    format.freq = 44100;
    format.format = AUDIO_S16SYS;
    format.channels = 2;
    std::string why;
    wince::desktop::DecodeWave(file, format, why);
    return 0;
}
