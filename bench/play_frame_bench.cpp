// One frame of the play screen at its busiest: a Board full of settled
// blocks, a falling piece, the preview and ten-digit scores, drawn, stepped,
// converted and presented. The state is put back before every frame, so a
// gravity step never lands the piece and every frame does the same work.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace {

constexpr int32_t kFilledRows = 14;  // the piece at the top can still fall

struct PlayScene {
    GameStateRecord state;
    uint8_t board[kBoardCells];
    uint8_t sequence[kSequenceLength];
    uint32_t tickSlot;
    uint32_t frameTick;
};

// The pictures the graphics benchmarks do not load, as start-up loads them.
bool LoadRemainingPictures() {
    for (const PictureFile &picture : PictureFileTable)
        if (picture.sprite->pixels == nullptr && !LoadSprite(picture.name, *picture.sprite, 0))
            return false;
    return true;
}

// Every settled row has one gap, so no landing could clear it.
PlayScene BusyScene() {
    ResetBoard();
    for (int32_t row = 1; row <= kFilledRows; ++row)
        for (int32_t column = 1; column < kBoardColumns - 1; ++column)
            if (column != 1 + row % (kBoardColumns - 2))
                Board[row * kBoardColumns + column] =
                    static_cast<uint8_t>((row * 3 + column) % kPieceKinds);
    PlayScene scene{};
    scene.state = InitialGameState();
    scene.state.playing = 1;
    scene.state.level = 7;
    scene.state.score = 1234567890;
    scene.state.highScore = 2000000000;
    scene.state.nextIndex = 1;
    std::memcpy(scene.board, Board, sizeof Board);
    for (int32_t i = 0; i < kSequenceLength; ++i) scene.sequence[i] = i % kPieceKinds;
    StartClock();
    scene.tickSlot = TickSlot[0] = static_cast<uint32_t>(ClockMs());
    scene.frameTick = frameLastTick = TickSlot[0];
    return scene;
}

void Restore(const PlayScene &scene) {
    GameState = scene.state;
    std::memcpy(Board, scene.board, sizeof Board);
    std::memcpy(PieceSequence, scene.sequence, sizeof PieceSequence);
    TickSlot[0] = scene.tickSlot;
    frameLastTick = scene.frameTick;
}

void RunFramePlaying(benchmark::State &state) {
    if (!LoadRemainingPictures() || ShadowBuffer.block == nullptr) {
        state.SkipWithError("the default installation is not open");
        return;
    }
    const PlayScene scene = BusyScene();
    for (auto _ : state) {
        Restore(scene);
        RunFrame();
        benchmark::ClobberMemory();
    }
    if (GameState.playing != 1) state.SkipWithError("the frame left the game");
}
BENCHMARK(RunFramePlaying);

}  // namespace
