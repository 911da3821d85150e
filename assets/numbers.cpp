// The numbers: the small level and rows-to-go numbers, the score digits and
// the large level plaque shown in the idle well.
#include <string>

#include "art.h"
#include "game/game.h"

namespace assets::art {
namespace {

constexpr int32_t kSmallNumbers = 20;  // frame k shows k + 1
constexpr int32_t kDigits = 10;
constexpr int32_t kLevels = kTopLevel;

// The glowing amber of every number on the panel.
constexpr TextStyle kPanelNumber{kAmberRamp, 14, 9};
constexpr int32_t kScoreDigitWidth = 6;  // the game draws them 6 pixels apart
constexpr int32_t kScoreDigitHeight = kGlyphHeight + 1;

constexpr int32_t kPlaqueWidth = 61;  // centred on the well from x = 52
constexpr int32_t kPlaqueHeight = 51;
constexpr int32_t kPlaqueScale = 3;

}  // namespace

std::vector<Canvas> MakeSmallNumbers() {
    std::vector<Canvas> frames;
    for (int32_t k = 0; k < kSmallNumbers; ++k) {
        Canvas frame(kCellSize, kCellSize, kReadoutFill);
        DrawTextCentred(frame, (kCellSize - kGlyphHeight) / 2, std::to_string(k + 1), 1,
                        kPanelNumber);
        frames.push_back(frame);
    }
    return frames;
}

std::vector<Canvas> MakeScoreDigits() {
    std::vector<Canvas> frames;
    TextStyle style = kPanelNumber;
    style.shadow = Shade(kAmberRamp, 3);
    for (int32_t d = 0; d < kDigits; ++d) {
        Canvas frame(kScoreDigitWidth, kScoreDigitHeight, kKeyColour);
        DrawText(frame, 0, 0, std::to_string(d), 1, style);
        frames.push_back(frame);
    }
    return frames;
}

std::vector<Canvas> MakeLevelPlaques() {
    std::vector<Canvas> frames;
    const TextStyle caption{kCyanRamp, 13, 9, -1, Shade(kWellRamp, 0)};
    const TextStyle number{kAmberRamp, 15, 7, Shade(kAmberRamp, 1)};
    for (int32_t k = 0; k < kLevels; ++k) {
        Canvas plaque(kPlaqueWidth, kPlaqueHeight, Shade(kWellRamp, 4));
        plaque.Edge(0, 0, kPlaqueWidth, kPlaqueHeight, Shade(kBrassRamp, 14), Shade(kBrassRamp, 3));
        plaque.Edge(1, 1, kPlaqueWidth - 2, kPlaqueHeight - 2, Shade(kBrassRamp, 10),
                    Shade(kBrassRamp, 5));
        plaque.Edge(2, 2, kPlaqueWidth - 4, kPlaqueHeight - 4, Shade(kWellRamp, 1),
                    Shade(kWellRamp, 7));
        DrawTextCentred(plaque, 5, "LEVEL", 1, caption);
        DrawTextCentred(plaque, 15, std::to_string(k + 1), kPlaqueScale, number);
        DrawTextCentred(plaque, 40, "PRESS KEY", 1, caption);
        frames.push_back(plaque);
    }
    return frames;
}

}  // namespace assets::art
