// Sprite files: the fuzzed bytes take the place of one of the eight pictures
// (chosen by the first byte), are loaded as start-up loads them, and every
// frame the game draws from that picture is drawn: the idle screen, a frame
// of play over a full Board with ten-digit scores, and the game-over picture.
#include <cstring>

#include "fuzz/fuzz_support.h"

namespace {

const WCHAR kFuzzedName[] = TEXT("fuzzed.nbf");
constexpr uint8_t kReuseBlockBit = 0x08;
constexpr int32_t kNumberFrames = 20;

Sprite Pristine[kPictureCount];

void CopySprite(Sprite &to, const Sprite &from) {
    FreeSprite(to);
    to = from;
    to.pixels = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, from.capacity, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    std::memcpy(to.pixels, from.pixels, from.capacity);
}

// The display and the eight pictures as start-up leaves them; done again
// whenever a run ended in Shutdown.
void OpenScreen() {
    wince::ResetForTest();
    if (!OpenGraphics(nullptr, kPaletteFile, kRegistryKey, kScreenWidth, kScreenHeight))
        std::abort();
    for (size_t i = 0; i < kPictureCount; ++i) {
        if (Pristine[i].pixels == nullptr && !LoadSprite(PictureFileTable[i].name, Pristine[i], 0))
            std::abort();
        CopySprite(*PictureFileTable[i].sprite, Pristine[i]);
    }
    StartClock();
}

// Rows 1..15 hold every kind, one gap per row so that no row is full.
void FillBoard() {
    ResetBoard();
    for (int32_t row = 1; row <= 15; ++row)
        for (int32_t column = 1; column < kBoardColumns - 1; ++column)
            if (column != 1 + row % 9)
                Board[row * kBoardColumns + column] =
                    static_cast<uint8_t>((row + column) % kPieceKinds);
    for (int32_t i = 0; i < kSequenceLength; ++i) PieceSequence[i] = i % kPieceKinds;
}

void DrawIdleScreens(uint8_t level) {
    GameState.playing = 0;
    GameState.levelCleared = 1;
    GameState.level = static_cast<uint8_t>(1 + level % kTopLevel);
    RunFrame();
}

void DrawPlayScreen() {
    FillBoard();
    GameState.playing = 1;
    GameState.score = 1234567890;
    GameState.highScore = 4000000000u;  // shows as a negative number
    GameState.nextIndex = 6;
    RunFrame();
}

// The spawn place is blocked, so the landing ends the game.
void DrawGameOver() {
    FillBoard();
    for (int32_t row = 16; row < kBoardRows; ++row)
        for (int32_t column = 1; column < kBoardColumns - 1; ++column)
            Board[row * kBoardColumns + column] = static_cast<uint8_t>(column % kPieceKinds);
    GameState.score = GameState.highScore = 987654321;
    GameState.playing = 1;
    LockPiece(kCellSize * 4, kCellSize * 2, 1, 0);
}

// Every frame the play screen may pick from the number pictures.
void DrawNumberFrames() {
    for (uint32_t frame = 0; frame < kNumberFrames; ++frame) {
        DrawSpriteFrame(numberSprite, 195, 113, frame);
        DrawSpriteFrame(numberSprite, 210, 135, frame);
        DrawSpriteFrame(levelDigitSprite, 52, 112, frame);
    }
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        DrawPreviewShape(blockSprite, 165, 45, kind);
        for (uint8_t rotation = 0; rotation < 4; ++rotation)
            DrawPiece(blockSprite, kSpawnX, kSpawnY, kind, rotation);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const fuzzing::Installation &installation = fuzzing::SetUp();
    if (size < 1) return 0;
    if (ShutdownDone || BackBuffer.pixels == nullptr) OpenScreen();
    fuzzing::ResetGameRecords();
    const size_t index = data[0] % kPictureCount;
    Sprite &sprite = *PictureFileTable[index].sprite;
    fuzzing::WriteBytes(installation.Pictures() / "fuzzed.nbf", data + 1, size - 1);
    if ((data[0] & kReuseBlockBit) == 0) FreeSprite(sprite);
    if (LoadSprite(kFuzzedName, sprite, 0)) {
        DrawIdleScreens(data[0] >> 4);
        DrawNumberFrames();
        DrawPlayScreen();
        DrawGameOver();
    }
    if (ShutdownDone) {
        OpenScreen();
    } else {
        CopySprite(sprite, Pristine[index]);
    }
    return 0;
}
