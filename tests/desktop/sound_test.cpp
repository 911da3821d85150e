// One sound at a time coming out of the sound device, converted to its
// format.
#include "wince/desktop/sound.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "gtest/gtest.h"

namespace wince::desktop {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A RIFF WAVE file of `count` 8-bit mono samples, all of one value.
Bytes Wave(uint8_t sample, uint32_t count = 2205, uint32_t formatTag = 1, uint32_t dataSize = 0) {
    std::string b = "RIFF";
    const auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b += static_cast<char>(v >> (8 * i));
    };
    put(36 + count, 4), b += "WAVEfmt ", put(16, 4), put(formatTag, 2), put(1, 2);
    put(22050, 4), put(22050, 4), put(1, 2), put(8, 2);  // mono, 22050 bytes a second
    b += "data", put(dataSize ? dataSize : count, 4), b.append(count, static_cast<char>(sample));
    return Bytes(b.begin(), b.end());
}

std::vector<int16_t> AsSamples(const Samples &bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::shared_ptr<const player::Wave> Decoded(const Bytes &bytes) {
    std::string why;
    auto wave = player::DecodeWave(bytes, why);
    return wave ? std::make_shared<const player::Wave>(std::move(*wave)) : nullptr;
}

const fs::path kDir = fs::temp_directory_path() / ("pellax-sound-" + std::to_string(getpid()));

// The disk driver writes what the device would have played into a file.
TEST(Waves, ANewSoundEndsTheOnePlayingAndNoneStopsIt) {
    fs::create_directories(kDir);
    const fs::path output = kDir / "played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    {
        SoundPlayer player;
        ASSERT_TRUE(player.HasDevice());
        EXPECT_LT(player.BufferMs(), 30.0);
        player.Play(Decoded(Wave(0xC0, 22050)));  // a second
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        player.Play(Decoded(Wave(0x40, 22050)));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        player.Play(nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::ifstream in(output, std::ios::binary);
    const auto samples =
        AsSamples({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    // The first sound, then the second in its place, then silence.
    const auto loud = [](int16_t s) { return s > 0x3000; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto second = std::find_if(first, samples.end(), [](int16_t s) { return s < -0x3000; });
    ASSERT_NE(second, samples.end());
    EXPECT_EQ(std::find_if(second, samples.end(), loud), samples.end());
    EXPECT_EQ(samples.back(), 0);
    fs::remove_all(kDir);
}

}  // namespace
}  // namespace wince::desktop
