// Wave files whose sizes lie: a chunk that claims gigabytes in a file of a
// hundred bytes must not make the decoder ask for them, and a file with no
// whole sample frame decodes to nothing.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "gtest/gtest.h"
#include "wince/desktop/sound.h"

namespace wince::desktop {
namespace {

namespace fs = std::filesystem;

void Put32(std::vector<uint8_t> &bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// 8-bit mono at 11025 Hz; each chunk's size field as given.
std::vector<uint8_t> Wave(uint32_t formatSize, uint32_t dataSize, uint32_t samples) {
    std::vector<uint8_t> bytes{'R', 'I', 'F', 'F'};
    Put32(bytes, 36 + samples);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(bytes, formatSize);
    Put32(bytes, 1u | 1u << 16);  // plain samples, one channel
    Put32(bytes, 11025);
    Put32(bytes, 11025);
    Put32(bytes, 1u | 8u << 16);  // one byte a frame, eight bits
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    Put32(bytes, dataSize);
    bytes.insert(bytes.end(), samples, 0xA0);
    return bytes;
}

// SDL's allocations, through its own hook, so the largest request is seen.
struct AllocationWatch {
    static inline size_t largest = 0;
    static inline SDL_malloc_func takeBlock = nullptr;
    static inline SDL_calloc_func takeZeroedBlock = nullptr;
    static inline SDL_realloc_func resizeBlock = nullptr;
    static inline SDL_free_func giveBack = nullptr;

    // One at a time: a second would take the first one's hooks for SDL's own.
    AllocationWatch() {
        SDL_GetMemoryFunctions(&takeBlock, &takeZeroedBlock, &resizeBlock, &giveBack);
        largest = 0;
        SDL_SetMemoryFunctions(
            [](size_t size) { return takeBlock(Seen(size)); },
            [](size_t count, size_t size) { return takeZeroedBlock(count, Seen(count * size)); },
            [](void *block, size_t size) { return resizeBlock(block, Seen(size)); },
            [](void *block) { giveBack(block); });
    }
    ~AllocationWatch() {
        SDL_SetMemoryFunctions(takeBlock, takeZeroedBlock, resizeBlock, giveBack);
    }
    static size_t Seen(size_t size) {
        largest = std::max(largest, size);
        return size;
    }
};

class WaveLimits : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path Write(const std::vector<uint8_t> &bytes) {
        const fs::path file = dir_ / "cue.nwf";
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file;
    }
    static SDL_AudioSpec DeviceFormat() {
        SDL_AudioSpec spec{};
        spec.freq = 44100;
        spec.format = AUDIO_S16SYS;
        spec.channels = 2;
        return spec;
    }
    fs::path dir_ = fs::temp_directory_path() / "pellax-wave-limits";
};

TEST_F(WaveLimits, ChunksClaimingMoreThanTheFileAskForNoMoreThanItHolds) {
    const std::vector<uint8_t> honest = Wave(16, 60, 60);
    std::string why;
    const auto expected = DecodeWave(Write(honest), DeviceFormat(), why);
    ASSERT_TRUE(expected.has_value()) << why;

    const AllocationWatch watch;
    for (uint32_t claimed : {0xFFFFFF40u, 0x7FFFFFF0u, 61u}) {
        AllocationWatch::largest = 0;
        const auto decoded = DecodeWave(Write(Wave(16, claimed, 60)), DeviceFormat(), why);
        ASSERT_TRUE(decoded.has_value()) << std::hex << claimed << ": " << why;
        EXPECT_EQ(*decoded, *expected) << std::hex << claimed;
        EXPECT_LT(AllocationWatch::largest, 1u << 20) << std::hex << claimed;
    }
    // The same without the "RIFF" header, which SDL reads as well.
    AllocationWatch::largest = 0;
    std::vector<uint8_t> bare = Wave(16, 0xFFFFFF40u, 60);
    bare.erase(bare.begin(), bare.begin() + 8);
    const auto decoded = DecodeWave(Write(bare), DeviceFormat(), why);
    ASSERT_TRUE(decoded.has_value()) << why;
    EXPECT_EQ(*decoded, *expected);
    EXPECT_LT(AllocationWatch::largest, 1u << 20);

    // A format chunk that claims to run past the end leaves no samples.
    AllocationWatch::largest = 0;
    EXPECT_FALSE(DecodeWave(Write(Wave(0xFFFFFFF0u, 60, 60)), DeviceFormat(), why).has_value());
    EXPECT_LT(AllocationWatch::largest, 1u << 20);
}

TEST_F(WaveLimits, NoWholeSampleFrameDecodesToNothing) {
    std::string why;
    const auto decoded = DecodeWave(Write(Wave(16, 0, 0)), DeviceFormat(), why);
    EXPECT_TRUE(!decoded || decoded->empty());
}

}  // namespace
}  // namespace wince::desktop
