// Wave files decoded for the sound device, good, bad and lying about their
// sizes, and one sound at a time coming out of it.
#include "wince/desktop/sound.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "gtest/gtest.h"

namespace wince::desktop {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Put(Bytes &b, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct WaveShape {
    uint32_t count = 2205, rate = 22050;
    uint32_t formatTag = 1;
    uint32_t formatSize = 16, dataSize = 0;  // 0: the true size
};

// A RIFF WAVE file of 8-bit mono samples, all of one value.
Bytes Wave(uint8_t sample, WaveShape s = {}) {
    Bytes b{'R', 'I', 'F', 'F'};
    Put(b, 36 + s.count);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put(b, s.formatSize);
    for (uint32_t v : {s.formatTag, 1u}) Put(b, v, 2);  // one channel
    for (uint32_t v : {s.rate, s.rate}) Put(b, v);      // frames and bytes a second
    for (uint32_t v : {1u, 8u}) Put(b, v, 2);           // bytes a frame, bits a sample
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    Put(b, s.dataSize != 0 ? s.dataSize : s.count);
    b.insert(b.end(), s.count, sample);
    return b;
}

// SDL's allocations through its own hook, so that the largest request is seen.
struct AllocationWatch {
    static inline size_t largest = 0;
    static inline SDL_malloc_func take = nullptr;
    static inline SDL_calloc_func takeZeroed = nullptr;
    static inline SDL_realloc_func resize = nullptr;
    static inline SDL_free_func giveBack = nullptr;
    static size_t Seen(size_t size) { return largest = std::max(largest, size), size; }
    AllocationWatch() {
        SDL_GetMemoryFunctions(&take, &takeZeroed, &resize, &giveBack);
        SDL_SetMemoryFunctions([](size_t n) { return take(Seen(n)); },
                               [](size_t c, size_t n) { return takeZeroed(c, Seen(c * n)); },
                               [](void *p, size_t n) { return resize(p, Seen(n)); },
                               [](void *p) { giveBack(p); });
    }
    ~AllocationWatch() { SDL_SetMemoryFunctions(take, takeZeroed, resize, giveBack); }
};

class Waves : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path Write(const std::string &name, const Bytes &bytes) {
        std::ofstream(dir_ / name, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return dir_ / name;
    }
    std::optional<Samples> Decode(const Bytes &bytes) {
        SDL_AudioSpec device{};
        device.freq = 44100;
        device.format = AUDIO_S16SYS;
        device.channels = 2;
        std::string why;
        return DecodeWave(Write("cue.nwf", bytes), device, why);
    }
    // Test processes run side by side, each with a folder of its own.
    fs::path dir_ = fs::temp_directory_path() / ("pellax-sound-test-" + std::to_string(getpid()));
};

std::vector<int16_t> AsSamples(const Samples &bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST_F(Waves, DecodedToTheDevicesFormatOrNothingAndNeverAskingForMoreThanTheFileHolds) {
    const auto honest = Decode(Wave(0xC0));
    ASSERT_TRUE(honest.has_value());
    const auto samples = AsSamples(*honest);
    // A tenth of a second at twice the rate in two channels; 0xC0 is a quarter
    // of full scale above silence.
    EXPECT_NEAR(static_cast<double>(samples.size()), 4410.0 * 2, 64.0);
    EXPECT_NEAR(samples[samples.size() / 2], 0x4000, 0x200);
    EXPECT_NEAR(samples[samples.size() / 2 + 1], 0x4000, 0x200);

    Bytes bare = Wave(0xC0, {.dataSize = 0xFFFFFF40u});  // without "RIFF", as SDL reads too
    bare.erase(bare.begin(), bare.begin() + 8);
    const Bytes whole = Wave(0x90);
    struct Case {
        const char *name;
        Bytes file;
        bool plays;
    };
    const Case cases[] = {
        {"data claims 4 GB", Wave(0xC0, {.dataSize = 0xFFFFFF40u}), true},
        {"data claims 2 GB", Wave(0xC0, {.dataSize = 0x7FFFFFF0u}), true},
        {"data claims a byte more", Wave(0xC0, {.dataSize = 2206}), true},
        {"no RIFF header", bare, true},
        {"format runs past the end", Wave(0xC0, {.formatSize = 0xFFFFFFF0u}), false},
        {"no whole frame", Wave(0xC0, {.count = 0}), false},
        {"empty", {}, false},
        {"header only", {whole.begin(), whole.begin() + 12}, false},
        {"cut in the format", {whole.begin(), whole.begin() + 30}, false},
        {"not riff", Bytes(200, 'x'), false},
        {"compressed", Wave(0x90, {.formatTag = 0x55}), false},
        {"no samples a second", Wave(0x90, {.rate = 0}), false},
    };
    const AllocationWatch watch;
    for (const Case &c : cases) {
        AllocationWatch::largest = 0;
        const auto decoded = Decode(c.file);
        if (c.plays)
            EXPECT_TRUE(decoded && *decoded == *honest) << c.name;
        else
            EXPECT_TRUE(!decoded || decoded->empty()) << c.name;
        EXPECT_LT(AllocationWatch::largest, 1u << 20) << c.name;
    }
    std::string why;
    EXPECT_FALSE(DecodeWave(dir_ / "absent.nwf", {}, why).has_value());
}

// The disk driver writes what the device would have played into a file.
TEST_F(Waves, ANewSoundEndsTheOnePlayingAndNoneStopsIt) {
    const fs::path output = dir_ / "played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    {
        SoundPlayer player;
        ASSERT_TRUE(player.HasDevice());
        EXPECT_LT(player.BufferMs(), 30.0);
        EXPECT_FALSE(player.Play(dir_ / "absent.nwf"));
        ASSERT_TRUE(player.Play(Write("long.nwf", Wave(0xC0, {.count = 22050}))));  // a second
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ASSERT_TRUE(player.Play(Write("other.nwf", Wave(0x40, {.count = 22050}))));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        player.Stop();
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
}

}  // namespace
}  // namespace wince::desktop
