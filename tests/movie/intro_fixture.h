// The intro on the headless device: the window and display opened as
// start-up opens them, movie files written to order, and what was shown.
#pragma once

#include "movie/movie.h"
#include "support/rules_env.h"

namespace movie_test {

namespace fs = std::filesystem;
using assets::Bytes;
using Kind = wince::headless::ScriptEvent::Kind;
using Texts = std::vector<std::string>;

constexpr uint16_t kRed565 = 0xF800, kGreen565 = 0x07E0, kWhite565 = 0xFFFF, kBlack565 = 0;
inline const std::string kTrackStart = "sound .\\Windows\\qznwf.dll", kTrackStop = "sound stop";
inline const fs::path kMovie = fs::path("Windows") / "qzmmf.dll";

inline wince::headless::ScriptEvent At(int64_t t, Kind kind, int32_t a = 120) {
    return {t, kind, a, 160, {}};
}

// A movie file built field by field, so that tests can make it lie anywhere.
// Palettes: 1 red, 2 green, 4 white; in frames, 10 + k a grey of 8 x (k + 1).
struct MovieBytes {
    Bytes bytes;

    static Bytes Palette() {
        Bytes palette(768, 0);
        palette[3] = palette[7] = palette[12] = palette[13] = palette[14] = 255;
        for (int k = 0; k < 30; ++k) std::fill_n(&palette[3 * (10 + k)], 3, 8 * (k + 1));
        return palette;
    }
    // w x h of `fill` over a first stored row (the bottom one on screen) of `bottom`.
    static Bytes Packed(int32_t w, int32_t h, uint8_t fill, uint8_t bottom) {
        Bytes pixels(static_cast<size_t>(w * h), fill);
        std::fill_n(pixels.begin(), w, bottom);
        return assets::EncodeRuns(pixels.data(), pixels.size());
    }
    MovieBytes &Raw(const Bytes &more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    MovieBytes &Number(int64_t value) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(value >> shift));
        return *this;
    }
    MovieBytes &Sized(const Bytes &packed) { return Number(int64_t(packed.size())).Raw(packed); }
    MovieBytes &Title() { return Raw(Palette()).Sized(Packed(220, 100, 1, 2)); }
    MovieBytes &Header(int32_t w, int32_t h, int32_t n, int32_t t,
                       const Bytes &palette = Palette()) {
        return Number(w).Number(h).Number(n).Number(t).Raw(palette);
    }
    MovieBytes &Frames(int32_t w, int32_t h, int32_t count) {
        for (int32_t k = 0; k < count; ++k) Sized(Packed(w, h, uint8_t(10 + k), 4));
        return *this;
    }
};

inline uint16_t FrameColour(int32_t k) {
    return uint16_t(ConvertColour(kfDirect565, 8 * (k + 1), 8 * (k + 1), 8 * (k + 1)));
}

class IntroTest : public rules_test::DeviceTest {
protected:
    // The script's end closes the window, so every run ends.
    void Play(std::vector<wince::headless::ScriptEvent> script) {
        OpenWindow();
        ASSERT_EQ(OpenGraphics(MainWindowHandle, TEXT("kbl.plf"), kRegistryKey, 240, 320), 1);
        host.SetScript(std::move(script));
        PlayIntroMovie();
    }

    uint16_t ScreenAt(int32_t x, int32_t y) const { return host.Screen()[size_t(y * 240 + x)]; }
    bool AreaIs(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour) const {
        const std::vector<uint16_t> screen = host.Screen();
        for (int32_t row = y; row < y + h; ++row)
            for (int32_t column = x; column < x + w; ++column)
                if (screen[size_t(row * 240 + column)] != colour) return false;
        return true;
    }
    // MovieBytes' title upright at (10, 200), black beside and below it.
    bool TitleShown() const {
        return AreaIs(10, 200, 220, 99, kRed565) && AreaIs(10, 299, 220, 1, kGreen565) &&
               AreaIs(0, 300, 240, 20, kBlack565) && AreaIs(0, 200, 10, 100, kBlack565) &&
               AreaIs(230, 200, 10, 100, kBlack565);
    }
    bool OnlyTitleShown() const { return TitleShown() && AreaIs(0, 0, 240, 200, kBlack565); }
    // Frame k of MovieBytes, w x h, upright at (40, 40).
    bool FrameShown(int32_t w, int32_t h, int32_t k) const {
        return AreaIs(40, 40, w, h - 1, FrameColour(k)) && AreaIs(40, 39 + h, w, 1, kWhite565);
    }
    Texts Sounds() const {
        Texts sounds;
        for (const std::string &event : log.events)
            if (event.rfind("sound", 0) == 0) sounds.push_back(event);
        return sounds;
    }
    size_t FramesPresented() const {  // everything after the title, shown at 0 ms
        return size_t(std::count_if(host.presents.begin(), host.presents.end(),
                                    [](int64_t t) { return t > 0; }));
    }
};

}  // namespace movie_test
