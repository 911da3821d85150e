// WAV files as the desktop host decodes them before playing: the fuzzed
// bytes are a cue file, decoded and converted to the desktop's audio format.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "wince/desktop/sound.h"

namespace {

std::filesystem::path WaveFile() {
    static const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                              ("pellax-fuzz-" + std::to_string(getpid()) + ".nwf");
    return file;
}

// Holds its own copy of the name: statics made later are gone by its turn.
struct RemoveAtExit {
    std::filesystem::path file;
    ~RemoveAtExit() {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const RemoveAtExit cleaner{WaveFile()};
    {
        std::ofstream out(WaveFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    SDL_AudioSpec format{};
    format.freq = 44100;
    format.format = AUDIO_S16SYS;
    format.channels = 2;
    std::string why;
    wince::desktop::DecodeWave(WaveFile(), format, why);
    return 0;
}
