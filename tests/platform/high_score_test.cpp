// The score files: what a file reads as, and when the record is written.
#include "support/rules_env.h"

using namespace rules_test;

namespace {

// The lead character, then `text` in 16-bit characters, NULs up to `bytes`.
std::string ScoreBytes(const std::string &text, size_t bytes = 26) {
    std::string out("0\0", 2);
    for (char c : text) out += std::string{c, '\0'};
    out.resize(bytes, '\0');
    return out;
}

using HighScore = DeviceTest;

// Parsed as the runtime's _wtol parses, but never past the 12 characters of
// the field, never below 0 and never past the largest signed score.
TEST_F(HighScore, StartingFileReadsAsItsNumberField) {
    const std::pair<std::string, uint32_t> files[] = {
        {ScoreBytes("1234"), 1234},
        {ScoreBytes("  +42x7"), 42},
        {ScoreBytes("A100"), 0},
        {ScoreBytes("-5"), 0},
        {ScoreBytes("99999999999"), 2147483647},
        {ScoreBytes("000000000077") + ScoreBytes("9"), 77},  // no NUL in the field
        {ScoreBytes("37", 6), 37},                           // short file
        {std::string("0"), 0},
    };
    for (const auto &[bytes, expected] : files) {
        WriteRootFile("kbl_sc_s.uc2", bytes);
        GameState.highScore = 999;
        EXPECT_EQ(LoadHighScore(), 1);
        EXPECT_EQ(GameState.highScore, expected) << bytes.size() << " bytes";
        EXPECT_EQ(wince::OpenFileCount(), 0);
    }
}

TEST_F(HighScore, RecordIsWrittenWhenTheScoreHoldsItAndReadAfterARestart) {
    const std::string starting = ReadRootFile("kbl_sc_s.uc2");
    GameState.score = 3;
    GameState.highScore = 4;
    SaveHighScore();
    EXPECT_FALSE(fs::exists(root / "kbl_sc_l.uc2"));
    GameState.score = GameState.highScore = 0;
    SaveHighScore();
    EXPECT_EQ(ReadRootFile("kbl_sc_l.uc2"), ScoreBytes("0"));
    GameState.score = GameState.highScore = 2147483647;
    SaveHighScore();
    EXPECT_EQ(ReadRootFile("kbl_sc_l.uc2"), ScoreBytes("2147483647"));
    // Each save writes a file beside the record and then moves it into place.
    const std::string saving = "write .\\kbl_sc_l.tmp", saved = "write .\\kbl_sc_l.uc2";
    EXPECT_EQ(log.events, (std::vector<std::string>{saving, saved, saving, saved}));
    EXPECT_EQ(ReadRootFile("kbl_sc_s.uc2"), starting);

    GameState = InitialGameState();
    EXPECT_EQ(LoadHighScore(), 1);
    EXPECT_EQ(GameState.highScore, 2147483647u);
    EXPECT_EQ(ShutdownDone, 0);
}

}  // namespace
