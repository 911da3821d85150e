// Wave files decoded for the sound device, good and bad, and one sound at a
// time coming out of it.
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

void Put(std::vector<uint8_t> &b, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A RIFF WAVE file of 8-bit mono samples, all of one value; dataLength may
// claim more than there is.
std::vector<uint8_t> Wave(uint8_t sample, uint32_t count, uint32_t rate = 22050,
                          uint16_t formatTag = 1, uint32_t dataLength = 0) {
    std::vector<uint8_t> b{'R', 'I', 'F', 'F'};
    Put(b, 36 + count);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put(b, 16);
    Put(b, formatTag, 2);
    Put(b, 1, 2);  // mono
    Put(b, rate);
    Put(b, rate);  // bytes a second
    Put(b, 1, 2);  // bytes a frame
    Put(b, 8, 2);  // bits a sample
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    Put(b, dataLength != 0 ? dataLength : count);
    b.insert(b.end(), count, sample);
    return b;
}

SDL_AudioSpec DeviceFormat() {
    SDL_AudioSpec spec{};
    spec.freq = 44100;
    spec.format = AUDIO_S16SYS;
    spec.channels = 2;
    return spec;
}

class Waves : public ::testing::Test {
protected:
    fs::path Write(const std::string &name, const std::vector<uint8_t> &bytes) {
        std::ofstream(dir_ / name, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return dir_ / name;
    }
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    // Each test runs in a process of its own, maybe beside the others.
    fs::path dir_ = fs::temp_directory_path() / ("pellax-sound-test-" + std::to_string(getpid()));
};

std::vector<int16_t> AsSamples(const Samples &bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST_F(Waves, EightBitMonoComesOutAsTheDevicesSixteenBitStereo) {
    std::string why;
    const auto decoded = DecodeWave(Write("cue.nwf", Wave(0xC0, 2205)), DeviceFormat(), why);
    ASSERT_TRUE(decoded.has_value()) << why;
    const auto samples = AsSamples(*decoded);
    // A tenth of a second, twice the rate, two channels.
    EXPECT_NEAR(static_cast<double>(samples.size()), 4410.0 * 2, 64.0);
    // 0xC0 is a quarter of full scale above silence, in both channels.
    EXPECT_NEAR(samples[samples.size() / 2], 0x4000, 0x200);
    EXPECT_NEAR(samples[samples.size() / 2 + 1], 0x4000, 0x200);

    // A data chunk that claims more than the file holds plays what is there.
    const auto cut =
        DecodeWave(Write("cut.nwf", Wave(0xC0, 2205, 22050, 1, 0x7FFFFFF0)), DeviceFormat(), why);
    ASSERT_TRUE(cut.has_value()) << why;
    EXPECT_EQ(cut->size(), decoded->size());
}

TEST_F(Waves, MissingAndBrokenFilesDecodeToNothing) {
    const auto whole = Wave(0x90, 1000);
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> broken{
        {"empty", {}},
        {"header only", {whole.begin(), whole.begin() + 12}},
        {"not riff", std::vector<uint8_t>(200, 'x')},
        {"compressed format", Wave(0x90, 1000, 22050, 0x55)},
        {"no samples per second", Wave(0x90, 1000, 0)},
        {"cut in the format", {whole.begin(), whole.begin() + 30}},
    };
    std::string why;
    EXPECT_FALSE(DecodeWave(dir_ / "absent.nwf", DeviceFormat(), why).has_value());
    for (const auto &[name, bytes] : broken) {
        EXPECT_FALSE(DecodeWave(Write("bad.nwf", bytes), DeviceFormat(), why).has_value()) << name;
    }
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
        ASSERT_TRUE(player.Play(Write("long.nwf", Wave(0xC0, 22050))));  // a second long
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ASSERT_TRUE(player.Play(Write("other.nwf", Wave(0x40, 22050))));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        player.Stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::ifstream in(output, std::ios::binary);
    const Samples bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto samples = AsSamples(bytes);
    // The first sound, then the second in its place, then silence.
    const auto first =
        std::find_if(samples.begin(), samples.end(), [](int16_t s) { return s > 0x3000; });
    const auto second = std::find_if(first, samples.end(), [](int16_t s) { return s < -0x3000; });
    ASSERT_NE(second, samples.end());
    EXPECT_EQ(std::find_if(second, samples.end(), [](int16_t s) { return s > 0x3000; }),
              samples.end());
    EXPECT_EQ(samples.back(), 0);
}

}  // namespace
}  // namespace wince::desktop
