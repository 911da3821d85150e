// Writes the starting corpus of every fuzz target: the files of the default
// installation, cut down where they are large, and a few crafted files that
// reach the readers' corners. Run it to refresh fuzz/corpus after the
// installation's files change:  pellax-fuzz-seeds fuzz/corpus
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets/assets.h"
#include "gfx/gfx.h"
#include "wince/seam/host.h"

namespace {

namespace fs = std::filesystem;
using assets::Bytes;

constexpr size_t kPaletteBytes = 768;
constexpr size_t kMovieHeaderBytes = 16 + kPaletteBytes;
constexpr size_t kMovieFramesKept = 3;

void Write(const fs::path &file, const Bytes &bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void Write(const fs::path &file, const std::string &text) {
    Write(file, Bytes(text.begin(), text.end()));
}

uint32_t Read32(const Bytes &bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | bytes.at(at + i);
    return value;
}

void Put32(Bytes &bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

Bytes Cut(const Bytes &bytes, size_t length) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

void SpriteSeeds(const fs::path &folder) {
    for (const assets::NamedFile &picture : assets::MakePictures()) {
        for (uint8_t role = 0; role < kPictureCount; ++role) {
            const std::string name = wince::ToUtf8(PictureFileTable[role].name);
            if (!picture.devicePath.ends_with("\\" + name)) continue;
            Bytes seed{role};
            seed.insert(seed.end(), picture.bytes.begin(), picture.bytes.end());
            Write(folder / name, seed);
        }
    }
    // Raw pixels, two 15 x 15 block frames, drawn as the blocks.
    Bytes pixels(30 * 15);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i % 251);
    Bytes raw{1};
    const Bytes rawFile = assets::MakeSpriteFile(pixels, 30, 15, 15, 15, false);
    raw.insert(raw.end(), rawFile.begin(), rawFile.end());
    Write(folder / "raw-blocks", raw);
    // A coded stream with an empty run and a run cut at the image's end.
    Bytes coded{3};
    const Bytes header = assets::MakeSpriteFile(Bytes(6 * 2), 6, 2, 6, 2, true);
    coded.insert(coded.end(), header.begin(), header.begin() + 28);
    for (uint8_t b : {0xC0, 0x09, 0x05, 0xC3, 0x07, 0xFF, 0x07, 0xC9, 0x2A}) coded.push_back(b);
    Write(folder / "coded-runs", coded);
}

void PaletteSeeds(const fs::path &folder) {
    const Bytes palette = assets::MakePalette();
    Write(folder / "kbl.plf", palette);
    Write(folder / "short", Cut(palette, 31));
}

// The default movie with its title, its header and the first few frames.
void IntroSeeds(const fs::path &folder) {
    const Bytes movie = assets::MakeIntroMovie();
    const size_t titleEnd = kPaletteBytes + 4 + Read32(movie, kPaletteBytes);
    size_t end = titleEnd + kMovieHeaderBytes;
    for (size_t frame = 0; frame < kMovieFramesKept; ++frame) end += 4 + Read32(movie, end);
    Bytes cut = Cut(movie, end);
    Put32(cut, titleEnd + 8, kMovieFramesKept);
    Write(folder / "three-frames", cut);
    Bytes still = Cut(movie, titleEnd + kMovieHeaderBytes);
    Put32(still, titleEnd + 8, 0);
    Write(folder / "no-frames", still);
    Write(folder / "title-only", Cut(movie, titleEnd));
}

void ScoreSeeds(const fs::path &folder) {
    Write(folder / "zero", assets::MakeScoreFile(0));
    Write(folder / "largest", assets::MakeScoreFile(2147483647));
    Bytes noTerminator(26, 0);
    for (size_t i = 0; i < 13; ++i) noTerminator[2 * i] = static_cast<uint8_t>('0' + i % 10);
    Write(folder / "no-terminator", noTerminator);
    Write(folder / "short", Cut(assets::MakeScoreFile(-45), 7));
}

void RegistrySeeds(const fs::path &folder) {
    Write(folder / "default.reg", assets::MakeRegistryText());
    const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax rim]\n";
    Write(folder / "longest.reg", key + "\"GAMEPATH\"=\"" + std::string(129, 'a') + "\"\n");
    Write(folder / "hex.reg", key + "\"GAMEPATH\"=hex:5c,00,61,00\n\"GAMEPATH\"=hex:\n");
    Write(folder / "escape.reg", key + "\"GAMEPATH\"=\"\\..\\..\\x\"\n[\n]\n\"=\"\n");
}

void ScriptSeeds(const fs::path &folder) {
    Write(folder / "every-kind",
          "# one of each\n100 down 20 20\n140 up 20 20\n150 move -32768 65535\n"
          "200 keydown 37\n240 keyup 37\n300 state s.json\n300 shot s.png\n900 close\n");
    Write(folder / "bad-line", "100 down 20\n");
    Write(folder / "going-back", "100 close\n50 close\n");
}

// A short 8-bit mono file and a 16-bit stereo one, both plain PCM.
Bytes Wave(uint16_t channels, uint16_t bits, uint32_t rate, uint32_t frames) {
    const uint32_t blockAlign = channels * bits / 8u;
    const uint32_t dataBytes = frames * blockAlign;
    Bytes wave(44 + dataBytes);
    std::memcpy(wave.data(), "RIFF", 4);
    Put32(wave, 4, 36 + dataBytes);
    std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
    Put32(wave, 16, 16);
    Put32(wave, 20, 1u | static_cast<uint32_t>(channels) << 16);
    Put32(wave, 24, rate);
    Put32(wave, 28, rate * blockAlign);
    Put32(wave, 32, blockAlign | static_cast<uint32_t>(bits) << 16);
    std::memcpy(wave.data() + 36, "data", 4);
    Put32(wave, 40, dataBytes);
    for (uint32_t i = 0; i < dataBytes; ++i) wave[44 + i] = static_cast<uint8_t>(i * 37);
    return wave;
}

void WaveSeeds(const fs::path &folder) {
    for (const assets::NamedFile &sound : assets::MakeSounds())
        if (sound.devicePath.ends_with("\\kbl_s_b.nwf")) Write(folder / "kbl_s_b.nwf", sound.bytes);
    Write(folder / "mono8", Wave(1, 8, 11025, 64));
    Write(folder / "stereo16", Wave(2, 16, 22050, 32));
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path corpus = argv[1];
    SpriteSeeds(corpus / "sprite");
    PaletteSeeds(corpus / "palette");
    IntroSeeds(corpus / "intro");
    ScoreSeeds(corpus / "score");
    RegistrySeeds(corpus / "registry");
    ScriptSeeds(corpus / "script");
    WaveSeeds(corpus / "wave");
    return 0;
}
