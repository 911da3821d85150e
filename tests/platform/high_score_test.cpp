// The score files: what a file reads as, and when and how the record is
// written, so that it is never lost.
#include "support/device.h"

namespace pellax_test {
namespace {

// The lead character, then `text` in 16-bit characters, NULs up to `bytes`.
std::string ScoreBytes(const std::string &text, size_t bytes = 26) {
    std::string out("0\0", 2);
    for (char c : text) out += std::string{c, '\0'};
    out.resize(bytes, '\0');
    return out;
}

class HighScore : public DeviceTest {
protected:
    void Save(uint32_t score, uint32_t highScore) {
        GameState.score = score;
        GameState.highScore = highScore;
        SaveHighScore();
    }
    const std::string kRecord = "kbl_sc_l.uc2", kSaving = "kbl_sc_l.tmp";
};

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

// Each save writes the record beside its file and then moves it into place
// (the recorded runs pin that order); the starting file stays as installed.
TEST_F(HighScore, RecordIsWrittenWhenTheScoreHoldsItAndReadAfterARestart) {
    const std::string starting = ReadRootFile("kbl_sc_s.uc2");
    Save(3, 4);
    EXPECT_FALSE(fs::exists(root / kRecord));
    Save(2147483647, 2147483647);
    EXPECT_EQ(ReadRootFile(kRecord), ScoreBytes("2147483647"));
    EXPECT_EQ(ReadRootFile("kbl_sc_s.uc2"), starting);
    GameState = InitialGameState();
    EXPECT_EQ(LoadHighScore(), 1);
    EXPECT_EQ(GameState.highScore, 2147483647u);
    EXPECT_EQ(ShutdownDone, 0);
}

// A save cut short at any byte (a full disk, an interrupted write) keeps the
// previous record and, as always, the game plays on; a record that may not
// be replaced, or a folder that takes no new file, ends the program as the
// game always has, with the old record kept whole.
TEST_F(HighScore, AFailedSaveKeepsThePreviousRecord) {
    const auto writeBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const struct {
        int64_t room;
        const char *locked;
    } cases[] = {{0, nullptr},  {1, nullptr},         {2, nullptr}, {13, nullptr},
                 {25, nullptr}, {-1, "kbl_sc_l.uc2"}, {-1, "."}};
    for (const auto &[room, locked] : cases) {
        SCOPED_TRACE(testing::Message()
                     << room << " bytes of room, locked " << (locked ? locked : "-"));
        ShutdownDone = 0;
        WriteRootFile(kRecord, ScoreBytes("500"));
        wince::SetFileFaults({room});
        if (locked) fs::permissions(root / locked, writeBits, fs::perm_options::remove);
        Save(900, 900);
        EXPECT_EQ(ShutdownDone, locked ? 1 : 0);
        MSG message{};
        EXPECT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message == WM_QUIT,
                  locked != nullptr);
        EXPECT_EQ(ReadRootFile(kRecord), ScoreBytes("500"));
        EXPECT_FALSE(fs::exists(root / kSaving));
        if (locked) fs::permissions(root / locked, writeBits, fs::perm_options::add);
    }
    // A complete save replaces what a cut-off one left; a first one cut short leaves nothing.
    WriteRootFile(kSaving, std::string("left by a save that was cut off"));
    wince::SetFileFaults({26});  // exactly enough room
    Save(900, 900);
    EXPECT_EQ(ReadRootFile(kRecord), ScoreBytes("900"));
    EXPECT_FALSE(fs::exists(root / kSaving));
    fs::remove(root / kRecord);
    wince::SetFileFaults({13});
    Save(900, 900);
    EXPECT_FALSE(fs::exists(root / kRecord));
}

}  // namespace
}  // namespace pellax_test
