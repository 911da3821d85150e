// The record file is never lost: a save that fails at any byte (a full disk,
// an interrupted write) leaves the previous record as it was, a save that
// completes replaces it whole, and a record that cannot be replaced at all
// ends the program as the game always has, with the old record kept.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/app.h"
#include "assets/assets.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/core/control.h"

namespace {

namespace fs = std::filesystem;

constexpr int64_t kRecordBytes = 26;

std::string ReadBytes(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string ScoreFile(int32_t value) {
    const assets::Bytes bytes = assets::MakeScoreFile(value);
    return std::string(bytes.begin(), bytes.end());
}

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pellax-record-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        std::ofstream(root_ / "kbl_sc_s.uc2", std::ios::binary) << ScoreFile(0);
        wince::ResetForTest();
        wince::SetRoot(root_);
        GameState = InitialGameState();
        ShutdownDone = 0;
    }
    void TearDown() override {
        wince::SetFileFaults({});
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
        ShutdownDone = 0;
    }

    fs::path Record() const { return root_ / "kbl_sc_l.uc2"; }
    fs::path Temporary() const { return root_ / "kbl_sc_l.tmp"; }
    void SetRecord(int32_t value) { std::ofstream(Record(), std::ios::binary) << ScoreFile(value); }

    void Save(uint32_t score) {
        GameState.score = GameState.highScore = score;
        SaveHighScore();
    }

    bool QuitPosted() {
        MSG message{};
        return PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message == WM_QUIT &&
               message.wParam == 0;
    }

    fs::path root_;
};

TEST_F(RecordTest, SaveCutShortAnywhereKeepsThePreviousRecord) {
    for (int64_t room : {int64_t{0}, int64_t{1}, int64_t{2}, int64_t{13}, kRecordBytes - 1}) {
        SetRecord(500);
        wince::SetFileFaults({room});
        Save(900);
        wince::SetFileFaults({});
        EXPECT_EQ(ReadBytes(Record()), ScoreFile(500)) << room << " bytes of room";
        EXPECT_FALSE(fs::exists(Temporary())) << room << " bytes of room";
        // A failed write was always ignored: the game plays on.
        EXPECT_EQ(ShutdownDone, 0);
        EXPECT_EQ(wince::OpenFileCount(), 0);
    }
}

TEST_F(RecordTest, FirstSaveCutShortLeavesNoHalfRecord) {
    wince::SetFileFaults({13});
    Save(900);
    EXPECT_FALSE(fs::exists(Record()));
    EXPECT_FALSE(fs::exists(Temporary()));
}

TEST_F(RecordTest, CompleteSaveReplacesTheRecordWhole) {
    SetRecord(500);
    std::ofstream(Temporary(), std::ios::binary) << "left by a save that was cut off";
    wince::SetFileFaults({kRecordBytes});  // exactly enough room
    Save(2147483647);
    EXPECT_EQ(ReadBytes(Record()), ScoreFile(2147483647));
    EXPECT_FALSE(fs::exists(Temporary()));
    EXPECT_EQ(ShutdownDone, 0);
    EXPECT_EQ(ReadBytes(root_ / "kbl_sc_s.uc2"), ScoreFile(0));
}

// A record that may not be replaced, or a folder that takes no new file: the
// game's own ending, and the old record kept whole.
TEST_F(RecordTest, UnwritablePlacesEndTheProgramAndKeepTheRecord) {
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "folder" : "record");
        ShutdownDone = 0;
        SetRecord(500);
        const fs::path locked = folder ? root_ : Record();
        const auto writeBits =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        fs::permissions(locked, writeBits, fs::perm_options::remove);
        Save(900);
        EXPECT_EQ(ShutdownDone, 1);
        EXPECT_TRUE(QuitPosted());
        EXPECT_EQ(ReadBytes(Record()), ScoreFile(500));
        EXPECT_FALSE(fs::exists(Temporary()));
        fs::permissions(locked, writeBits, fs::perm_options::add);
    }
}

}  // namespace
