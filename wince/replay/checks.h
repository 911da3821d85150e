// The checks a run leaves in its replay, made the same way when it is
// recorded and when it is replayed, so that the two lists compare.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "wince/replay/replay.h"
#include "wince/seam/screen.h"

namespace wince::replay {

// What the program's state says, read from it by the program entry (the
// stand-in knows nothing of the game).
struct GameFacts {
    int64_t score = 0;
    int64_t highScore = 0;
    bool playing = false;
};
using ReadFacts = std::function<GameFacts()>;

uint64_t PictureDigest(const Screen &screen);

class Checker {
public:
    Checker(int64_t counterFrequency, ReadFacts facts);

    // A frame was presented; lastReading is the counter's latest reading.
    // Adds the checks due at this frame: the picture's digest at the first
    // frame of each second of the device's time, the scores when a game ends.
    void Presented(const Picture &picture, int64_t lastReading, std::vector<Check> &out);
    Check End() const;
    uint64_t Frames() const { return frames_; }
    // Whether a game that ended at this frame beat the record it started
    // against.
    bool SetRecord() const { return setRecord_; }

private:
    int64_t frequency_;
    ReadFacts facts_;
    uint64_t frames_ = 0;
    int64_t nextSecond_ = 0;
    bool playing_ = false, setRecord_ = false;
    int64_t highAtStart_ = 0, score_ = 0;
    Screen screen_{};
};

}  // namespace wince::replay
