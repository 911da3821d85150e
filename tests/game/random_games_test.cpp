// Whole games played on virtual time by a player who presses keys at
// random, and now and then aims a piece at the lowest place it can reach,
// so that rows are filled and levels cleared. The field is checked after
// every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "support/rules_board.h"
#include "support/rules_env.h"

using namespace rules_test;

namespace {

constexpr int kGames = 1000;
constexpr int kFrameMs = 26;
constexpr int kStepLimitPerGame = 100000;

struct Target {
    uint8_t rotation;
    int32_t x;
};

// Where the field went wrong after a step, or empty.
std::string FieldFault() {
    for (int32_t c = 0; c < kBoardColumns; ++c)
        if (CellOf(0, c) != kCellFloor) return "floor broken";
    for (int32_t r = 1; r < kBoardRows; ++r) {
        if (CellOf(r, 0) != kCellWall || CellOf(r, kBoardColumns - 1) != kCellWall)
            return "wall broken in row " + std::to_string(r);
        int32_t filled = 0;
        for (int32_t c = 1; c < kBoardColumns - 1; ++c) {
            const uint8_t cell = CellOf(r, c);
            if (cell >= kPieceKinds && cell != kCellEmpty)
                return "bad cell " + std::to_string(cell);
            filled += cell < kPieceKinds;
        }
        if (filled == kBoardColumns - 2) return "full row " + std::to_string(r) + " left";
    }
    const int32_t leftColumn = GameState.pieceX / kCellSize;
    const int32_t lowestRow = (GameState.pieceY - kCellSize) / kCellSize;
    const auto &shape = PieceShapeTable[PieceSequence[GameState.currentIndex]][GameState.rotation];
    for (int32_t i = 0; i < 4; ++i) {
        for (int32_t j = 0; j < 4; ++j) {
            if (!shape[i][j]) continue;
            const int32_t row = lowestRow + i, column = leftColumn + j;
            if (row < 1 || row > 19 || column < 1 || column > 9) return "piece outside the well";
        }
    }
    return {};
}

class RandomGamesTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
    }

    // What the play screen does when a game key starts or resumes play.
    static void StartPlay() {
        for (uint8_t flag = 0; flag <= kKey197; ++flag) ClearKeyFlag(flag);
        GameState.levelCleared = 0;
        GameState.playing = 1;
        BuildPieceSequence();
    }

    // How good a resting place is: rows it completes, less the holes it
    // covers and its height.
    static int32_t PlacementValue(uint8_t kind, uint8_t rotation, int32_t x, int32_t y) {
        const int32_t leftColumn = x / kCellSize, lowestRow = (y - kCellSize) / kCellSize;
        int32_t value = 0;
        for (auto [i, j] : ShapeCells(kind, rotation)) {
            const int32_t row = lowestRow + i, column = leftColumn + j;
            value -= 5 * row;
            const bool coveredBelow =
                PieceShapeTable[kind][rotation][i > 0 ? i - 1 : 0][j] && i > 0;
            if (!coveredBelow && CellOf(row - 1, column) == kCellEmpty) value -= 40;
            int32_t filled = 0;
            for (int32_t c = 1; c <= 9; ++c) filled += CellOf(row, c) < kPieceKinds;
            value += 10 * filled;
        }
        return value;
    }

    // The best resting place over every rotation and column, each dropped
    // from the spawn height.
    Target BestPlacement(uint8_t kind) {
        Target best{0, kSpawnX};
        int32_t bestValue = INT32_MIN;
        for (uint8_t rotation = 0; rotation < 4; ++rotation) {
            for (int32_t x = -45; x <= 150; x += kCellSize) {
                int32_t y = kSpawnY;
                if (!PieceFits(x, y, kind, rotation)) continue;
                while (PieceFits(x, y - kCellSize, kind, rotation)) y -= kCellSize;
                const int32_t value = PlacementValue(kind, rotation, x, y);
                if (value > bestValue || (value == bestValue && rng() % 2))
                    best = {rotation, x}, bestValue = value;
            }
        }
        return best;
    }

    // One key for this frame: towards the target, or anything at all.
    void PressKeys() {
        if (GameState.currentIndex != pieceIndex || GameState.pieceY == kSpawnY) {
            if (GameState.currentIndex != pieceIndex) {
                pieceIndex = GameState.currentIndex;
                aiming = rng() % 100 < aimPercent;
                if (aiming) target = BestPlacement(PieceSequence[pieceIndex]);
                patience = 12;
            }
        }
        if (aiming && patience-- > 0) {
            if (GameState.rotation != target.rotation)
                KeyFlags[kKeyUp] = 1;
            else if (GameState.pieceX < target.x)
                KeyFlags[kKeyRight] = 1;
            else if (GameState.pieceX > target.x)
                KeyFlags[kKeyLeft] = 1;
            else
                KeyFlags[kKeyDrop] = 1;
            return;
        }
        const uint32_t roll = rng() % 100;
        if (roll < 12)
            KeyFlags[kKeyLeft] = 1;
        else if (roll < 24)
            KeyFlags[kKeyRight] = 1;
        else if (roll < 32)
            KeyFlags[kKeyUp] = 1;
        else if (roll < 38)
            KeyFlags[kKeyDown] = 1;
        else if (roll < 42)
            KeyFlags[kKeyDrop] = 1;
    }

    // One game to its end; returns the steps it took.
    int PlayOneGame() {
        GameState.level = static_cast<uint8_t>(1 + rng() % kTopLevel);  // as the level areas choose
        StartPlay();
        aimPercent = 60 + rng() % 40;
        pieceIndex = 0xFF;
        uint32_t lastScore = GameState.score;
        for (int step = 0; step < kStepLimitPerGame; ++step) {
            PressKeys();
            host.AdvanceMs(kFrameMs);
            StepGame();
            if (!GameState.playing && !GameState.levelCleared) return step;  // game over
            if (GameState.score < lastScore) ADD_FAILURE() << "score fell";
            lastScore = GameState.score;
            const std::string fault = FieldFault();
            if (!fault.empty()) {
                ADD_FAILURE() << fault << " at step " << step;
                return step;
            }
            if (!GameState.playing) {  // next level, score kept
                ++levelUps;
                wraps += GameState.level == 1;
                pieceIndex = 0xFF;
                StartPlay();
            }
        }
        ADD_FAILURE() << "a game did not end";
        return kStepLimitPerGame;
    }

    std::minstd_rand rng{20240611};
    uint32_t aimPercent = 0;
    uint8_t pieceIndex = 0xFF;
    bool aiming = false;
    int patience = 0;
    Target target{};
    int levelUps = 0;
    int wraps = 0;
};

TEST_F(RandomGamesTest, ThousandGamesKeepTheFieldSound) {
    const auto start = std::chrono::steady_clock::now();
    int64_t steps = 0;
    int rowLandings = 0;
    const std::string rowsSound = "sound " + SoundPath("kbl_s_fl.nwf");
    for (int game = 0; game < kGames && !HasFailure(); ++game) {
        steps += PlayOneGame();
        EXPECT_EQ(GameState.score, 0u);
        EXPECT_EQ(GameState.level, 1);
        EXPECT_TRUE(BoardIsFresh());
        ASSERT_FALSE(log.events.empty());
        EXPECT_EQ(log.events.back(), "sleep 2000");
        rowLandings +=
            static_cast<int>(std::count(log.events.begin(), log.events.end(), rowsSound));
        log.events.clear();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "%d games, %lld steps, %d landings with rows, %d levels cleared, %d wraps, %.2f s\n",
        kGames, static_cast<long long>(steps), rowLandings, levelUps, wraps, seconds);
    // The games must reach the rules worth checking.
    EXPECT_GT(rowLandings, kGames);
    EXPECT_GT(levelUps, 10);
    EXPECT_GT(wraps, 0);
}

}  // namespace
