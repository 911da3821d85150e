// The score files: what a starting or saved file reads as, when the record
// is written, and the program ending when a file cannot be used.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/rules_env.h"

using namespace rules_test;

namespace {

class HighScoreTest : public DeviceTest {
protected:
    // A score file: the lead character, then `text` as 16-bit characters,
    // padded with NULs to `bytes` in all.
    static std::string ScoreBytes(const std::string &text, size_t bytes = 26) {
        std::string out = std::string("0\0", 2);
        for (char c : text) out += std::string{c, '\0'};
        out.resize(bytes, '\0');
        return out;
    }

    void WriteFile(const std::string &name, const std::string &bytes) {
        std::ofstream(root / name, std::ios::binary) << bytes;
    }

    std::string ReadFile(const std::string &name) {
        std::ifstream in(root / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The high score read from a starting file with these bytes.
    uint32_t LoadFrom(const std::string &bytes) {
        WriteFile("kbl_sc_s.uc2", bytes);
        GameState.highScore = 999;
        EXPECT_EQ(LoadHighScore(), 1);
        EXPECT_EQ(wince::OpenFileCount(), 0);
        return GameState.highScore;
    }

    void ExpectQuitPosted() {
        EXPECT_EQ(ShutdownDone, 1);
        MSG message{};
        ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
        EXPECT_EQ(message.wParam, 0u);
    }
};

TEST_F(HighScoreTest, NumberFieldReadsAsTheRuntimeParsesIt) {
    EXPECT_EQ(LoadFrom(ScoreBytes("1234")), 1234u);
    EXPECT_EQ(LoadFrom(ScoreBytes("  +42x7")), 42u);
    EXPECT_EQ(LoadFrom(ScoreBytes("A100")), 0u);
    EXPECT_EQ(LoadFrom(ScoreBytes("")), 0u);
    EXPECT_EQ(LoadFrom(ScoreBytes("1234") + ScoreBytes("55")), 1234u);  // the rest is not read
}

TEST_F(HighScoreTest, NegativeAndOversizedNumbersStayInRange) {
    EXPECT_EQ(LoadFrom(ScoreBytes("-5")), 0u);
    EXPECT_EQ(LoadFrom(ScoreBytes("-2147483648")), 0u);
    EXPECT_EQ(LoadFrom(ScoreBytes("99999999999")), 2147483647u);
}

TEST_F(HighScoreTest, FieldWithoutANulIsReadNoFurtherThanItsTwelveCharacters) {
    EXPECT_EQ(LoadFrom(ScoreBytes("000000000077") + ScoreBytes("9")), 77u);
}

TEST_F(HighScoreTest, ShortFileGivesWhatWasRead) {
    EXPECT_EQ(LoadFrom(ScoreBytes("37", 6)), 37u);  // "37" with no NUL after it
    EXPECT_EQ(LoadFrom(ScoreBytes("8", 5)), 8u);    // half a character more
    EXPECT_EQ(LoadFrom(std::string("0", 1)), 0u);   // not even the lead character
}

TEST_F(HighScoreTest, RecordIsWrittenOnlyWhenTheScoreHoldsIt) {
    const std::string starting = ReadFile("kbl_sc_s.uc2");
    GameState.score = 3;
    GameState.highScore = 4;
    SaveHighScore();
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(std::filesystem::exists(root / "kbl_sc_l.uc2"));

    GameState.score = GameState.highScore = 0;
    SaveHighScore();
    EXPECT_EQ(ReadFile("kbl_sc_l.uc2"), ScoreBytes("0"));

    GameState.score = GameState.highScore = 2147483647;
    SaveHighScore();
    EXPECT_EQ(ReadFile("kbl_sc_l.uc2"), ScoreBytes("2147483647"));
    EXPECT_EQ(log.events, std::vector<std::string>(2, "write .\\kbl_sc_l.uc2"));
    EXPECT_EQ(wince::OpenFileCount(), 0);
    EXPECT_EQ(ReadFile("kbl_sc_s.uc2"), starting);  // the starting file is never written
}

TEST_F(HighScoreTest, RestartReadsTheSavedRecordOnceThereIsOne) {
    WriteFile("kbl_sc_s.uc2", ScoreBytes("55"));
    EXPECT_EQ(LoadHighScore(), 1);
    EXPECT_EQ(GameState.highScore, 55u);
    GameState.score = GameState.highScore = 4520;
    SaveHighScore();
    GameState = InitialGameState();
    EXPECT_EQ(LoadHighScore(), 1);
    EXPECT_EQ(GameState.highScore, 4520u);
    EXPECT_EQ(ShutdownDone, 0);
}

TEST_F(HighScoreTest, MissingScoreFileEndsTheProgram) {
    std::filesystem::remove(root / "kbl_sc_s.uc2");
    GameState.highScore = 12;
    EXPECT_EQ(LoadHighScore(), 0);
    EXPECT_EQ(GameState.highScore, 12u);
    ExpectQuitPosted();
}

TEST_F(HighScoreTest, UncreatableRecordFileEndsTheProgram) {
    std::filesystem::create_directory(root / "kbl_sc_l.uc2");
    SaveHighScore();
    ExpectQuitPosted();
    EXPECT_TRUE(log.events.empty());
}

}  // namespace
