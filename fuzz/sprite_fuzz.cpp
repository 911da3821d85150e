// Sprite files: the fuzzed bytes take the place of one of the eight pictures
// (chosen by the first byte), are loaded as start-up loads them, and every
// frame the game draws from that picture is drawn: the idle screen, a frame
// of play over a full Board with ten-digit scores, and the game-over picture.
#include "fuzz/fuzz_support.h"

namespace {

constexpr uint8_t kReuseBlockBit = 0x08;

// The display and the eight pictures as start-up leaves them; done again
// whenever a run ended in Shutdown.
void OpenScreen() {
    fuzzing::FreshDevice();
    if (!OpenGraphics(nullptr, kPaletteFile, kRegistryKey, kScreenWidth, kScreenHeight))
        std::abort();
    for (const PictureFile &picture : PictureFileTable)
        if (!LoadSprite(picture.name, *picture.sprite, 0)) std::abort();
    StartClock();
}

// Rows 1..top hold every kind, one gap per row below 16 so that no row there is full.
void FillBoard(int32_t top) {
    ResetBoard();
    for (int32_t row = 1; row <= top; ++row)
        for (int32_t column = 1; column < kBoardColumns - 1; ++column)
            if (row > 15 || column != 1 + row % 9)
                Board[row * kBoardColumns + column] =
                    static_cast<uint8_t>((row + column) % kPieceKinds);
    for (int32_t i = 0; i < kSequenceLength; ++i) PieceSequence[i] = i % kPieceKinds;
}

void DrawEverything(uint8_t level) {
    // The idle screen with the level banner.
    GameState.levelCleared = 1;
    GameState.level = static_cast<uint8_t>(1 + level % kTopLevel);
    RunFrame();
    // Every frame the play screen may pick from the number pictures.
    for (uint32_t frame = 0; frame < 20; ++frame) {
        DrawSpriteFrame(numberSprite, 195, 113, frame);
        DrawSpriteFrame(numberSprite, 210, 135, frame);
        DrawSpriteFrame(levelDigitSprite, 52, 112, frame);
    }
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        DrawPreviewShape(blockSprite, 165, 45, kind);
        for (uint8_t rotation = 0; rotation < 4; ++rotation)
            DrawPiece(blockSprite, kSpawnX, kSpawnY, kind, rotation);
    }
    // A frame of play; the high score shows as a negative number.
    FillBoard(15);
    GameState.playing = 1;
    GameState.score = 1234567890;
    GameState.highScore = 4000000000u;
    GameState.nextIndex = 6;
    RunFrame();
    // The spawn place is blocked, so the landing ends the game.
    FillBoard(kBoardRows - 1);
    GameState.score = GameState.highScore = 987654321;
    GameState.playing = 1;
    LockPiece(kCellSize * 4, kCellSize * 2, 1, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    if (ShutdownDone || BackBuffer.pixels == nullptr) OpenScreen();
    fuzzing::ResetGameRecords();
    const size_t index = data[0] % 8;
    fuzzing::WriteBytes(fuzzing::Installation() / fuzzing::kPictureFolder / "fuzzed.nbf", data + 1,
                        size - 1);
    if ((data[0] & kReuseBlockBit) == 0) FreeSprite(*PictureFileTable[index].sprite);
    if (LoadSprite(TEXT("fuzzed.nbf"), *PictureFileTable[index].sprite, 0))
        DrawEverything(data[0] >> 4);
    // The installed picture back in its place, for the next input.
    if (ShutdownDone ||
        !LoadSprite(PictureFileTable[index].name, *PictureFileTable[index].sprite, 0))
        OpenScreen();
    return 0;
}
