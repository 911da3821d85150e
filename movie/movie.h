// The intro movie: its file format and its player.
#pragma once

#include <cstdint>

#include "wince.h"

constexpr uint32_t kTitleWidth = 220;
constexpr uint32_t kTitleHeight = 100;
constexpr uint32_t kTitleBytes = kTitleWidth * kTitleHeight;
constexpr uint32_t kPackedTitleBytes = 44000;
constexpr int32_t kMaxFrameWidth = 200;
constexpr int32_t kMaxFrameHeight = 280;

struct MovieHeader {
    int32_t width;
    int32_t height;
    int32_t frameCount;
    int32_t frameInterval;  // ms
    uint8_t palette[768];
};

int PlayIntroMovie();
