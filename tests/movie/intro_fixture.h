// The intro on the headless device: a default installation in a temporary
// root, the game's window and display opened as start-up opens them, movie
// files written to order, and a record of what the intro showed and when.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "assets/assets.h"
#include "gfx/gfx.h"
#include "movie/movie.h"
#include "platform/platform.h"
#include "support/rules_env.h"
#include "wince/headless/headless.h"
#include "wince/host.h"

namespace movie_test {

using assets::Bytes;
using wince::headless::ScriptEvent;

constexpr uint16_t kRed565 = 0xF800, kGreen565 = 0x07E0, kBlue565 = 0x001F, kWhite565 = 0xFFFF;
constexpr uint16_t kBlack565 = 0;
constexpr int32_t kTitleLeft = 10, kTitleTop = 200, kFrameLeft = 40, kFrameTop = 40;

// The headless host, also noting the virtual time of every picture shown.
class TimedHost : public wince::headless::HeadlessHost {
public:
    std::vector<int64_t> presents;
    void Present(const wince::Picture &picture) override {
        presents.push_back(NowMs());
        HeadlessHost::Present(picture);
    }
};

inline ScriptEvent Tap(int64_t t) {
    return {t, ScriptEvent::Kind::Down, 120, 160, {}};
}
inline ScriptEvent KeyDown(int64_t t, int32_t code) {
    return {t, ScriptEvent::Kind::KeyDown, code, 0, {}};
}
inline ScriptEvent KeyUp(int64_t t, int32_t code) {
    return {t, ScriptEvent::Kind::KeyUp, code, 0, {}};
}
inline ScriptEvent Close(int64_t t) {
    return {t, ScriptEvent::Kind::Close, 0, 0, {}};
}

inline void Put32(Bytes &out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A palette of pure colours: 1 red, 2 green, 3 blue, 4 white, 0 black.
inline Bytes PurePalette() {
    Bytes palette(768, 0);
    const uint8_t entries[][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    for (int i = 0; i < 4; ++i) std::memcpy(&palette[3 * (i + 1)], entries[i], 3);
    return palette;
}

// A picture of `fill`, its first stored row (the bottom one on screen) `bottom`.
inline Bytes Picture(int32_t width, int32_t height, uint8_t fill, uint8_t bottom) {
    Bytes pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    std::fill_n(pixels.begin(), width, bottom);
    return pixels;
}

inline Bytes Packed(const Bytes &pixels) {
    return assets::EncodeRuns(pixels.data(), pixels.size());
}

// A movie file built field by field, so that tests can make it lie anywhere.
struct MovieBytes {
    Bytes bytes;

    MovieBytes &Raw(const Bytes &more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    MovieBytes &Number(uint32_t value) {
        Put32(bytes, value);
        return *this;
    }
    MovieBytes &Sized(const Bytes &packed) {
        return Number(static_cast<uint32_t>(packed.size())).Raw(packed);
    }
    // The title palette and a title of red over a green bottom row.
    MovieBytes &Title() { return Raw(PurePalette()).Sized(Packed(Picture(220, 100, 1, 2))); }
    MovieBytes &Header(int32_t w, int32_t h, int32_t n, int32_t t) {
        Number(static_cast<uint32_t>(w)).Number(static_cast<uint32_t>(h));
        Number(static_cast<uint32_t>(n)).Number(static_cast<uint32_t>(t));
        return Raw(FramePalette());
    }
    // Frame k is all of index 10 + k over a white bottom row.
    MovieBytes &Frame(int32_t w, int32_t h, int32_t k) {
        return Sized(Packed(Picture(w, h, static_cast<uint8_t>(10 + k), 4)));
    }
    MovieBytes &Frames(int32_t w, int32_t h, int32_t count) {
        for (int32_t k = 0; k < count; ++k) Frame(w, h, k);
        return *this;
    }
    // The pure colours, then entry 10 + k a grey of level 8 x (k + 1).
    static Bytes FramePalette() {
        Bytes palette = PurePalette();
        for (int k = 0; k < 30; ++k)
            for (int c = 0; c < 3; ++c)
                palette[3 * (10 + k) + c] = static_cast<uint8_t>(8 * (k + 1));
        return palette;
    }
};

inline uint16_t FrameColour(int32_t k) {
    const auto level = static_cast<uint8_t>(8 * (k + 1));
    return static_cast<uint16_t>(ConvertColour(kfDirect565, level, level, level));
}

class IntroTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = rules_test::FreshRootPath();
        std::string error;
        ASSERT_TRUE(rules_test::MakeInstallation(root, error)) << error;
        wince::SetHost(&host);
        wince::SetRoot(root);
        wince::ResetForTest();
        wince::SetRecorder(&log);
        ResetRecords();
    }

    void TearDown() override {
        CloseGraphics();
        ReleaseShadowBuffer();
        wince::SetRecorder(nullptr);
        wince::SetHost(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // The program starts with no ShadowBuffer; a fresh one is all black.
    static void ReleaseShadowBuffer() {
        if (ShadowBuffer.block != nullptr) VirtualFree(ShadowBuffer.block, 0, MEM_RELEASE);
        ShadowBuffer = {};
    }

    static void ResetRecords() {
        ReleaseShadowBuffer();
        for (uint32_t &flag : KeyFlags) flag = 0;
        StylusState = {};
        for (uint32_t &tick : TickSlot) tick = 0;
        counterFrequency = 0;
        ShutdownDone = 0;
    }

    // What start-up does before the intro: the window, the display, the clock.
    void OpenDevice() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.lpszClassName = TEXT("pellax rim");
        RegisterClassW(&windowClass);
        MainWindowHandle = CreateWindowExW(0, TEXT("pellax rim"), TEXT("PELLAX RIM"), WS_VISIBLE, 0,
                                           0, 240, 320, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(MainWindowHandle, nullptr);
        ASSERT_EQ(OpenGraphics(MainWindowHandle, TEXT("kbl.plf"),
                               TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim"), kScreenWidth,
                               kScreenHeight),
                  1);
        StartClock();
    }

    void WriteMovie(const Bytes &bytes) {
        std::ofstream(root / "Windows" / "qzmmf.dll", std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    Bytes ReadMovie() const {
        std::ifstream in(root / "Windows" / "qzmmf.dll", std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    // Plays the intro with the script; the script's end closes the window,
    // so every run ends even if nothing else would end it.
    void Play(std::vector<ScriptEvent> script) {
        OpenDevice();
        host.SetScript(std::move(script));
        PlayIntroMovie();
    }

    uint16_t ScreenAt(int32_t x, int32_t y) const {
        return host.Screen()[static_cast<size_t>(y) * kScreenWidth + static_cast<size_t>(x)];
    }

    // Whether every pixel of the area shows the colour.
    bool AreaIs(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour) const {
        const std::vector<uint16_t> screen = host.Screen();
        for (int32_t row = y; row < y + h; ++row)
            for (int32_t column = x; column < x + w; ++column)
                if (screen[static_cast<size_t>(row) * kScreenWidth + column] != colour)
                    return false;
        return true;
    }

    // The title of MovieBytes::Title at its place, black beside and below it.
    bool TitleShown() const {
        return AreaIs(kTitleLeft, kTitleTop, 220, 99, kRed565) &&
               AreaIs(kTitleLeft, kTitleTop + 99, 220, 1, kGreen565) &&
               AreaIs(0, 300, 240, 20, kBlack565) &&
               AreaIs(0, kTitleTop, kTitleLeft, 100, kBlack565) &&
               AreaIs(230, kTitleTop, 10, 100, kBlack565);
    }
    bool OnlyTitleShown() const { return TitleShown() && AreaIs(0, 0, 240, kTitleTop, kBlack565); }

    // Frame k of MovieBytes::Frame, w x h, on screen at its place.
    bool FrameShown(int32_t w, int32_t h, int32_t k) const {
        return AreaIs(kFrameLeft, kFrameTop, w, h - 1, FrameColour(k)) &&
               AreaIs(kFrameLeft, kFrameTop + h - 1, w, 1, kWhite565);
    }

    std::vector<std::string> Sounds() const {
        std::vector<std::string> sounds;
        for (const std::string &event : log.events)
            if (event.rfind("sound", 0) == 0) sounds.push_back(event);
        return sounds;
    }

    // The pictures shown after the first frame's interval began: the frames.
    size_t PresentsAfter(int64_t t) const {
        size_t count = 0;
        for (int64_t at : host.presents) count += at > t;
        return count;
    }

    std::filesystem::path root;
    TimedHost host;
    rules_test::EventLog log;
};

inline const std::string kTrackStart = "sound .\\Windows\\qznwf.dll";
inline const std::string kTrackStop = "sound stop";

}  // namespace movie_test
