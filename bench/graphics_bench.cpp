// The per-frame costs of the graphics library, measured on the default
// installation and the default display, next to the yardstick every frame's
// conversion is held to: a plain table loop over 240 x 320 bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/core/control.h"

namespace {

constexpr uint32_t kPixels = kScreenWidth * kScreenHeight;

void Yardstick(benchmark::State &state) {
    std::vector<uint8_t> source(kPixels);
    std::vector<uint16_t> destination(kPixels);
    uint16_t table[256];
    for (uint32_t i = 0; i < kPixels; ++i) source[i] = static_cast<uint8_t>(i * 7);
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(i * 257);
    for (auto _ : state) {
        for (uint32_t i = 0; i < kPixels; ++i) destination[i] = table[source[i]];
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Yardstick);

void ConvertBackBufferDefaultDisplay(benchmark::State &state) {
    for (auto _ : state) {
        ConvertBackBuffer(GetShadowOrigin(), 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ConvertBackBufferDefaultDisplay);

void DrawBackground(benchmark::State &state) {
    for (auto _ : state) {
        DrawSpriteFrame(backgroundSprite, 0, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawBackground);

void DrawBlock(benchmark::State &state) {
    for (auto _ : state) {
        DrawSpriteFrame(blockSprite, 60, 150, 3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawBlock);

void DrawDigitTransparent(benchmark::State &state) {
    for (auto _ : state) {
        DrawSpriteFrameTransparent(scoreDigitSprite, 180, 40, 7);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawDigitTransparent);

assets::Bytes BackgroundRuns() {
    for (const assets::NamedFile &picture : assets::MakePictures()) {
        if (picture.devicePath.ends_with(wince::ToUtf8(kBackgroundFile))) {
            return assets::Bytes(picture.bytes.begin() + kSpriteHeaderBytes, picture.bytes.end());
        }
    }
    return {};
}

void DecodeBackground(benchmark::State &state) {
    const assets::Bytes runs = BackgroundRuns();
    std::vector<uint8_t> image(kPixels);
    for (auto _ : state) {
        size_t next = 0;
        const uint32_t produced = DecodeRuns(image.data(), kPixels, [&]() -> int32_t {
            return next < runs.size() ? runs[next++] : -1;
        });
        benchmark::DoNotOptimize(produced);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kPixels);
}
BENCHMARK(DecodeBackground);

// The default installation on the default display, as start-up leaves it.
bool OpenDefaultInstallation(const std::filesystem::path &root) {
    std::string error;
    if (!assets::MakeDefaultInstallation(root, error)) {
        std::fprintf(stderr, "pellax-bench: %s\n", error.c_str());
        return false;
    }
    wince::SetRoot(root);
    return OpenGraphics(nullptr, kPaletteFile, kRegistryKey, kScreenWidth, kScreenHeight) &&
           LoadSprite(kBackgroundFile, backgroundSprite, 0) &&
           LoadSprite(kBlockFile, blockSprite, 0) &&
           LoadSprite(kScoreDigitFile, scoreDigitSprite, 0);
}

}  // namespace

int main(int argc, char **argv) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("pellax-bench-" + std::to_string(::getpid()));
    const bool ready = OpenDefaultInstallation(root);
    if (ready) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } else {
        std::fprintf(stderr, "pellax-bench: the default installation did not open\n");
    }
    std::filesystem::remove_all(root);
    return ready ? 0 : 1;
}
