// The libretro host on a program of the test's own that runs its frames as
// the game's main loop does (a frame when more than 25 ms have passed, read
// after each look at an empty queue), each picture numbered in its first
// pixel: the frontend's frames against the program's.
#include "wince/libretro/host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

using wince::libretro::FrameInput;
using wince::libretro::kFrameUs;
using wince::libretro::RetroHost;

// Ten minutes of the frontend's frames.
constexpr int64_t kTenMinutes = 600'000'000 / kFrameUs + 1;

struct LoopProgram {
    RetroHost &host;
    int64_t sleepAtMs = -1;     // the frame after this sleeps 2 s, as at a game over
    int64_t messageAtMs = -1;   // the frame after this shows a box
    int64_t endAtMs = 700'000;  // the program returns
    std::vector<uint8_t> memory = std::vector<uint8_t>(sizeof(wince::Screen));
    uint16_t frames = 0;

    void Present() {
        ++frames;
        std::memcpy(memory.data(), &frames, sizeof frames);
        host.Present({memory, 0, 2, wince::kScreenWidth * 2, wince::PixelFormat::Rgb565});
    }
    int Run() {
        int64_t lastMs = 0;
        for (;;) {
            host.PumpInput();
            host.Idle();
            const int64_t ms = host.CounterNow() / 1000;
            if (ms >= endAtMs) return 7;
            if (ms - lastMs <= 25) continue;
            lastMs = ms;
            Present();
            if (sleepAtMs >= 0 && ms >= sleepAtMs) {
                sleepAtMs = -1;
                host.Sleep(2000);
            }
            if (messageAtMs >= 0 && ms >= messageAtMs) {
                messageAtMs = -1;
                host.ShowMessage({u"Read me", u"PELLAX RIM", true, false});
            }
        }
    }
};

// The program ends before the host and the test's records go.
struct Running {
    RetroHost host;
    LoopProgram program{host};
    Running() {
        host.Start([this] { return program.Run(); });
    }
    ~Running() { host.Finish(); }
};

uint16_t Shown(const RetroHost &host) {
    uint16_t number = 0;
    std::memcpy(&number, host.Picture().data(), sizeof number);
    return number;
}

TEST(LibretroHost, EachFrameOfTenMinutesHoldsOneOfTheProgramsAndSleepsHandTheLastAgain) {
    Running run;
    RetroHost &host = run.host;
    run.program.sleepAtMs = 300'000;
    int dropped = 0, repeated = 0;
    for (int64_t frame = 1; frame <= kTenMinutes; ++frame) {
        const uint16_t before = Shown(host);
        host.RunFrame({});
        EXPECT_EQ(host.NowUs(), frame * kFrameUs);
        const int step = static_cast<uint16_t>(Shown(host) - before);
        repeated += step == 0;
        dropped += step > 1;
    }
    EXPECT_EQ(dropped, 0);
    // The first frame, whose 26 ms end before the program's first picture,
    // and the 75 that lie wholly in the sleep after the picture at 300,014 ms;
    // from 302,015 ms on, one picture a frame again.
    EXPECT_EQ(repeated, 76);
    EXPECT_EQ(run.program.frames, kTenMinutes - 76);
    host.Finish();
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.ExitCode(), 7);
}

TEST(LibretroHost, ABoxStopsTheClockUntilAOrStartAnswersIt) {
    Running run;
    RetroHost &host = run.host;
    run.program.messageAtMs = 100;
    for (int frame = 0; frame < 6; ++frame) host.RunFrame({});
    ASSERT_TRUE(host.MessageOpen());
    EXPECT_FALSE(host.OpenedMessage());  // told once, in the frame it opened
    const int64_t stoodAt = host.NowUs();
    EXPECT_EQ(stoodAt, 104'000);  // the picture at 104 ms, then the box
    const uint16_t picture = Shown(host);
    FrameInput b;
    b.buttons = wince::player::PadBit(wince::player::PadButton::B);
    host.RunFrame(b);   // B is not an answer
    host.RunFrame({});  // and the pointer neither
    FrameInput tap;
    tap.pointerDown = true;
    host.RunFrame(tap);
    EXPECT_TRUE(host.MessageOpen());
    EXPECT_EQ(host.NowUs(), stoodAt);
    EXPECT_EQ(Shown(host), picture);
    FrameInput start;
    start.buttons = wince::player::PadBit(wince::player::PadButton::Start);
    host.RunFrame(start);
    EXPECT_FALSE(host.MessageOpen());
    // The rest of the frame the box cut short, then whole frames again.
    EXPECT_EQ(host.NowUs(), 5 * kFrameUs);
    host.RunFrame({});
    EXPECT_EQ(host.NowUs(), 6 * kFrameUs);
    EXPECT_EQ(Shown(host), picture + 1);
}

TEST(LibretroHost, SoundIsTheWaveAtTheFrontendsRateInFramesOf573Or574Samples) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("pellax-libretro-" + std::to_string(getpid()) + ".wav");
    wince::player::Wave wave{wince::libretro::kSampleRate, 1, {}};
    for (int i = 0; i < 1000; ++i) wave.samples.push_back(static_cast<int16_t>(i * 7 - 3000));
    const auto bytes = wince::player::EncodeWave(wave);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    Running run;
    RetroHost &host = run.host;
    host.RunFrame({});
    ASSERT_TRUE(host.PlayWave(&file));  // as the program would, between frames
    std::vector<int16_t> heard;
    int64_t total = host.Audio().size() / 2;
    for (int frame = 2; frame <= 100; ++frame) {
        host.RunFrame({});
        const auto &audio = host.Audio();
        EXPECT_TRUE(audio.size() == 2 * 573 || audio.size() == 2 * 574) << audio.size();
        total += static_cast<int64_t>(audio.size() / 2);
        for (size_t i = 0; i < audio.size(); i += 2) {
            EXPECT_EQ(audio[i], audio[i + 1]);
            heard.push_back(audio[i]);
        }
    }
    // 22,050 x 26 / 1000 = 573.3 a frame, the fraction carried.
    EXPECT_EQ(total, 100 * 5733 / 10);
    ASSERT_GE(heard.size(), wave.samples.size());
    EXPECT_TRUE(std::equal(wave.samples.begin(), wave.samples.end(), heard.begin()));
    EXPECT_TRUE(std::all_of(heard.begin() + 1000, heard.end(), [](int16_t s) { return s == 0; }));
    EXPECT_TRUE(host.PlayWave(nullptr));
    const std::filesystem::path missing = file.string() + ".gone";
    EXPECT_FALSE(host.PlayWave(&missing));
    std::filesystem::remove(file);
}

}  // namespace
