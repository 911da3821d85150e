// A fresh device for the tests of the game and of the stand-in: the headless
// host on a copy of the default installation, the game's records at their
// program-start values, a log of what the game asked of the device, and
// helpers to set up the Board and to read back what was drawn.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_folder.h"
#include "wince/core/control.h"
#include "wince/headless/host.h"

namespace pellax_test {

// The headless host, keeping each event as a line ("sound PATH", "sound
// stop", "sleep MS", "write PATH", "msgbox CAPTION|TEXT") and the virtual
// time of each picture presented.
class TestHost : public wince::headless::HeadlessHost {
public:
    std::vector<std::string> events;
    std::vector<int64_t> presents;

    void Present(const wince::Picture &picture) override {
        presents.push_back(NowMs());
        HeadlessHost::Present(picture);
    }
    void MessageShown(const std::u16string &text, const std::u16string &caption) override {
        events.push_back("msgbox " + wince::ToUtf8(caption) + "|" + wince::ToUtf8(text));
    }
    void SoundCall(const char16_t *path) override {
        events.push_back(path ? "sound " + wince::ToUtf8(path) : "sound stop");
    }
    void Slept(uint32_t ms) override { events.push_back("sleep " + std::to_string(ms)); }
    void FileWritten(const char16_t *path) override {
        events.push_back("write " + wince::ToUtf8(path));
    }
};

inline std::string Sound(const std::string &name) {
    return "sound " + std::string(assets::kGamePath) + "\\sound\\" + name;
}

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = FreshTestFolder();
        fs::copy(Installation(), root, fs::copy_options::recursive);
        wince::SetHost(&host);
        wince::SetRecorder(&host);
        wince::SetRoot(root);
        wince::ResetForTest();
        ResetGameRecords();
        // Shutdown keeps the ShadowBuffer; the program starts without one.
        if (ShadowBuffer.block != nullptr) VirtualFree(ShadowBuffer.block, 0, MEM_RELEASE);
        ShadowBuffer = {};
        Palette = {};
        DisplayInfo = {};
        ASSERT_EQ(ReadGamePath(nullptr, kRegistryKey), 1);
        StartClock();
    }

    void TearDown() override {
        EXPECT_EQ(wince::OpenFileCount(), 0) << "a file was left open";
        Shutdown();
        wince::ResetForTest();
        wince::SetRecorder(nullptr);
        wince::SetHost(nullptr);  // the host dies with the test
        RemoveFolder(root);
    }

    // The game's window, as the entry point makes it.
    void OpenWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.lpszClassName = TEXT("pellax rim");
        RegisterClassW(&windowClass);
        MainWindowHandle = CreateWindowExW(0, TEXT("pellax rim"), TEXT(""), WS_VISIBLE, 0, 0, 240,
                                           320, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(MainWindowHandle, nullptr);
    }

    // The display and the pictures the game rules draw with.
    void OpenPictures() {
        ASSERT_EQ(OpenGraphics(nullptr, kPaletteFile, kRegistryKey, 240, 320), 1);
        for (auto [name, sprite] : {std::pair{kBlockFile, &blockSprite},
                                    {kNumberFile, &numberSprite},
                                    {kScoreDigitFile, &scoreDigitSprite},
                                    {kGameOverFile, &gameOverSprite}})
            ASSERT_EQ(LoadSprite(name, *sprite, 0), 1);
    }

    std::string ReadRootFile(const fs::path &relative) const { return ReadBytes(root / relative); }
    template <typename Bytes>
    void WriteRootFile(const fs::path &relative, const Bytes &bytes) const {
        fs::create_directories((root / relative).parent_path());
        WriteBytes(root / relative, bytes.data(), bytes.size());
    }

    static uint8_t &CellOf(int32_t row, int32_t column) {
        return Board[row * kBoardColumns + column];
    }
    // Columns 1..9 of a row: '.' is empty, a digit a block of that kind.
    static void SetRow(int32_t row, const std::string &columns) {
        for (int32_t c = 0; c < 9; ++c)
            CellOf(row, c + 1) = columns[c] == '.' ? kCellEmpty : uint8_t(columns[c] - '0');
    }
    static std::string RowText(int32_t row) {
        std::string text;
        for (int32_t c = 1; c <= 9; ++c) {
            const uint8_t cell = CellOf(row, c);
            text += cell == kCellEmpty ? '.' : cell < kPieceKinds ? char('0' + cell) : '?';
        }
        return text;
    }
    // Walls, floor and an empty well, as ResetBoard leaves them.
    static bool BoardIsFresh() {
        for (int32_t c = 0; c < kBoardColumns; ++c)
            if (CellOf(0, c) != kCellFloor) return false;
        for (int32_t r = 1; r < kBoardRows; ++r)
            if (CellOf(r, 0) != kCellWall || CellOf(r, 10) != kCellWall ||
                RowText(r) != ".........")
                return false;
        return true;
    }
    // The shape cells as (row from the bottom of the box, column).
    static std::vector<std::pair<int32_t, int32_t>> ShapeCells(uint8_t kind, uint8_t rotation) {
        std::vector<std::pair<int32_t, int32_t>> cells;
        for (int32_t k = 0; k < 16; ++k)
            if (PieceShapeTable[kind][rotation][k / 4][k % 4]) cells.emplace_back(k / 4, k % 4);
        return cells;
    }

    static constexpr uint8_t kMarker = 0xEE;  // a colour no picture of the installation uses
    static void FillBackBuffer() { std::memset(BackBuffer.pixels, kMarker, 240 * 320); }
    static uint8_t PixelAt(int32_t x, int32_t y) { return BackBuffer.pixels[y * 240 + x]; }
    // Whether the frame lies at (x, y); drawn transparent, the sprite's
    // transparent pixels must have left the marker.
    static bool FrameAt(const Sprite &sprite, uint32_t frame, int32_t x, int32_t y,
                        bool transparent = false) {
        for (uint32_t r = 0; r < sprite.frameHeight; ++r) {
            const uint8_t *source = sprite.pixels + sprite.frameWidth * frame + sprite.stride * r;
            for (uint32_t c = 0; c < sprite.frameWidth; ++c) {
                const uint8_t expected =
                    transparent && source[c] == sprite.transparent ? kMarker : source[c];
                if (PixelAt(x + c, y + sprite.frameHeight - 1 - r) != expected) return false;
            }
        }
        return true;
    }
    static int32_t ChangedPixels(int32_t x0 = 0, int32_t y0 = 0, int32_t w = 240, int32_t h = 320) {
        int32_t changed = 0;
        for (int32_t y = y0; y < y0 + h; ++y)
            for (int32_t x = x0; x < x0 + w; ++x) changed += PixelAt(x, y) != kMarker;
        return changed;
    }

    fs::path root;
    TestHost host;
};

}  // namespace pellax_test
