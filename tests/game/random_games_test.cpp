// A thousand whole games on virtual time. The player presses keys at random
// and, for a share of the pieces that differs from game to game, first steers
// the piece to a good resting place, so that rows and levels get cleared.
// The field is checked after every step.
#include <cstdio>
#include <random>

#include "support/rules_env.h"

using namespace rules_test;

namespace {

class RandomGames : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
    }

    static int32_t FilledCells(int32_t row) {
        int32_t filled = 0;
        for (int32_t c = 1; c <= 9; ++c) filled += CellOf(row, c) < kPieceKinds;
        return filled;
    }

    // What is wrong with the field after a step, or nothing.
    static const char *FieldFault() {
        for (int32_t c = 0; c < kBoardColumns; ++c)
            if (CellOf(0, c) != kCellFloor) return "floor broken";
        for (int32_t r = 1; r < kBoardRows; ++r) {
            if (CellOf(r, 0) != kCellWall || CellOf(r, 10) != kCellWall) return "wall broken";
            for (int32_t c = 1; c <= 9; ++c)
                if (CellOf(r, c) >= kPieceKinds && CellOf(r, c) != kCellEmpty) return "bad cell";
            if (FilledCells(r) == 9) return "full row left";
        }
        for (auto [i, j] : ShapeCells(PieceSequence[GameState.currentIndex], GameState.rotation)) {
            const int32_t row = GameState.pieceY / 15 - 1 + i, column = GameState.pieceX / 15 + j;
            if (row < 1 || row > 19 || column < 1 || column > 9) return "piece outside the well";
        }
        return nullptr;
    }

    // How good it is to rest there, dropped straight from the top: cells next
    // to others in their row, less height and less any hole left under it.
    static int32_t RestValue(uint8_t kind, uint8_t rotation, int32_t x) {
        int32_t y = kSpawnY;
        if (!PieceFits(x, y, kind, rotation)) return INT32_MIN;
        while (PieceFits(x, y - 15, kind, rotation)) y -= 15;
        int32_t value = 0;
        for (auto [i, j] : ShapeCells(kind, rotation)) {
            const int32_t row = y / 15 - 1 + i;
            if (row >= kBoardRows) return INT32_MIN;
            value += 10 * FilledCells(row) - 5 * row;
            const bool pieceBelow = i > 0 && PieceShapeTable[kind][rotation][i - 1][j];
            if (!pieceBelow && CellOf(row - 1, x / 15 + j) == kCellEmpty) value -= 40;
        }
        return value;
    }

    void ChooseTarget(uint8_t kind) {
        int32_t best = INT32_MIN;
        for (uint8_t rotation = 0; rotation < 4; ++rotation)
            for (int32_t x = -45; x <= 150; x += 15) {
                const int32_t value = RestValue(kind, rotation, x);
                if (value > best || (value == best && rng() % 2))
                    best = value, targetRotation = rotation, targetX = x;
            }
    }

    // One key this frame: towards the target while patience lasts, else any.
    void PressKeys() {
        if (GameState.currentIndex != pieceIndex) {
            pieceIndex = GameState.currentIndex;
            patience = rng() % 100 < aimPercent ? 12 : 0;
            if (patience) ChooseTarget(PieceSequence[pieceIndex]);
        }
        const uint8_t keys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyDrop};
        const uint32_t roll = rng() % 12;
        if (patience-- > 0)
            KeyFlags[GameState.rotation != targetRotation ? kKeyUp
                     : GameState.pieceX < targetX         ? kKeyRight
                     : GameState.pieceX > targetX         ? kKeyLeft
                                                          : kKeyDrop] = 1;
        else if (roll < 5)
            KeyFlags[keys[roll]] = 1;
    }

    // What the play screen does when a game key starts or resumes play.
    void StartPlay() {
        for (uint8_t flag = 0; flag <= kKey197; ++flag) ClearKeyFlag(flag);
        GameState.levelCleared = 0;
        GameState.playing = 1;
        BuildPieceSequence();
        pieceIndex = 0xFF;
    }

    // One game, from a level the player picked, to its game over; returns its steps.
    int64_t PlayOneGame() {
        GameState.level = static_cast<uint8_t>(1 + rng() % kTopLevel);
        aimPercent = 60 + rng() % 40;
        StartPlay();
        uint32_t lastScore = 0;
        for (int64_t step = 1; step < 100000; ++step) {
            PressKeys();
            host.AdvanceMs(26);
            StepGame();
            if (!GameState.playing && !GameState.levelCleared) return step;
            if (GameState.score < lastScore) ADD_FAILURE() << "score fell";
            lastScore = GameState.score;
            if (const char *fault = FieldFault()) {
                ADD_FAILURE() << fault;
                return step;
            }
            if (!GameState.playing) {
                ++levelUps;
                wraps += GameState.level == 1;
                StartPlay();
            }
        }
        ADD_FAILURE() << "a game did not end";
        return 0;
    }

    std::minstd_rand rng{20240611};
    uint32_t aimPercent = 0;
    uint8_t pieceIndex = 0xFF, targetRotation = 0;
    int32_t targetX = 0, patience = 0, levelUps = 0, wraps = 0;
};

TEST_F(RandomGames, ThousandGamesKeepTheFieldSound) {
    int64_t steps = 0;
    int32_t games = 0, rowLandings = 0;
    for (; games < 1000 && !HasFailure(); ++games) {
        steps += PlayOneGame();
        EXPECT_TRUE(GameState.score == 0 && GameState.level == 1 && BoardIsFresh());
        ASSERT_EQ(log.events.back(), "sleep 2000");
        rowLandings += std::count(log.events.begin(), log.events.end(), Sound("kbl_s_fl.nwf"));
        log.events.clear();
    }
    std::printf("%d games, %lld steps, %d landings with rows, %d levels, %d wraps\n", games,
                static_cast<long long>(steps), rowLandings, levelUps, wraps);
    // The games must reach the rules worth checking.
    EXPECT_GT(rowLandings, 1000);
    EXPECT_GT(levelUps, 10);
    EXPECT_GT(wraps, 0);
}

}  // namespace
