#include "wince/replay/checks.h"

#include <utility>

namespace wince::replay {

uint64_t PictureDigest(const Screen &screen) {
    uint64_t digest = 0xcbf29ce484222325ull;
    // Pixels by value, four at a time, so the digest is the same whatever a
    // machine's byte order, and quick enough for once a second.
    for (size_t i = 0; i < screen.size(); i += 4) {
        const uint64_t word = uint64_t{screen[i]} | uint64_t{screen[i + 1]} << 16 |
                              uint64_t{screen[i + 2]} << 32 | uint64_t{screen[i + 3]} << 48;
        digest = (digest ^ word) * 0x100000001b3ull;
        digest ^= digest >> 29;
    }
    return digest;
}

Checker::Checker(int64_t counterFrequency, ReadFacts facts)
    : frequency_(counterFrequency > 0 ? counterFrequency : 1), facts_(std::move(facts)) {}

void Checker::Presented(const Picture &picture, int64_t lastReading, std::vector<Check> &out) {
    ++frames_;
    setRecord_ = false;
    if (lastReading / frequency_ >= nextSecond_) {
        nextSecond_ = lastReading / frequency_ + 1;
        ReadScreen(picture, screen_);
        out.push_back({frames_, CheckKind::Picture, PictureDigest(screen_), 0, 0});
    }
    if (!facts_) return;
    const GameFacts facts = facts_();
    if (facts.playing && !playing_) highAtStart_ = facts.highScore;
    // The game may clear its score as it ends: the game's score is the last
    // one it showed while it was played.
    if (!facts.playing && playing_) {
        out.push_back({frames_, CheckKind::GameOver, 0, score_, facts.highScore});
        setRecord_ = facts.highScore > highAtStart_;
    }
    if (facts.playing) score_ = facts.score;
    playing_ = facts.playing;
}

Check Checker::End() const {
    const GameFacts facts = facts_ ? facts_() : GameFacts{};
    return {frames_, CheckKind::End, 0, facts.score, facts.highScore};
}

}  // namespace wince::replay
