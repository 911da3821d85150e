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
        if (locked) {
            EXPECT_EQ(host.events.back(), "msgbox Write file : Fail|.\\kbl_sc_l.uc2");
            fs::permissions(root / locked, writeBits, fs::perm_options::add);
        }
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

// What a save left beside the record, read at the next start: a whole new
// record whose old one was already removed takes its place; anything else is
// removed and the record as it stands is read.
TEST_F(HighScore, AStartFinishesASaveThatWasCutOff) {
    const std::string installed = "7";  // the installation's record, read when none was saved
    WriteRootFile("kbl_sc_s.uc2", ScoreBytes(installed));
    const struct {
        const char *record, *saving;
        size_t savingBytes;
        uint32_t read;
    } cases[] = {{nullptr, "900", 26, 900},
                 {nullptr, "900", 13, 7},
                 {"500", "900", 26, 500},
                 {"500", "garbage", 30, 500},
                 {nullptr, nullptr, 0, 7}};
    for (const auto &[record, saving, savingBytes, read] : cases) {
        SCOPED_TRACE(testing::Message() << (record ? record : "-") << " " << savingBytes);
        fs::remove(root / kRecord);
        if (record) WriteRootFile(kRecord, ScoreBytes(record));
        if (saving) WriteRootFile(kSaving, ScoreBytes(saving, savingBytes));
        EXPECT_EQ(LoadHighScore(), 1);
        EXPECT_EQ(GameState.highScore, read);
        EXPECT_FALSE(fs::exists(root / kSaving));
        EXPECT_EQ(ReadRootFile(kRecord), read == 7 ? "" : ScoreBytes(std::to_string(read)));
    }
}

// A save that beats the record, stopped at each of its file calls or at the
// program's next one, with the power failing there or not: a fresh start on
// the folder reads the old record or the new one, never the installed one or
// none. The cut costs no more than the stop alone, as every step the save
// leans on is flushed or its folder synced, and a save that returned has the
// new record in its place on the disk.
TEST_F(HighScore, EveryStopAndPowerCutInASaveLeavesTheOldOrTheNewRecord) {
    WriteRootFile("kbl_sc_s.uc2", ScoreBytes("7"));
    WriteRootFile(kRecord, ScoreBytes("500"));
    wince::SetFileFaults({});
    Save(900, 900);
    const int64_t calls = wince::FileCallCount();
    ASSERT_GE(calls, 6);  // create, two writes, flush, close, delete, move
    for (int64_t stop = 1; stop <= calls + 1; ++stop) {
        uint32_t read[2] = {};
        for (const bool powerCut : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "stop at call " << stop << (powerCut ? ", power cut" : ""));
            fs::remove(root / kSaving);
            WriteRootFile(kRecord, ScoreBytes("500"));
            wince::SetFileFaults({.stopAtCall = stop, .powerCutAtStop = powerCut});
            Save(900, 900);
            GetFileAttributesW(u".\\kbl_sc_l.uc2");  // the program's next file call
            if (stop > calls) {
                EXPECT_EQ(ReadRootFile(kRecord), ScoreBytes("900"));
                EXPECT_FALSE(fs::exists(root / kSaving));
            }
            wince::ResetForTest();  // the program is gone: a fresh start
            GameState = InitialGameState();
            EXPECT_EQ(LoadHighScore(), 1);
            read[powerCut] = GameState.highScore;
            EXPECT_TRUE(read[powerCut] == 500 || read[powerCut] == 900) << read[powerCut];
        }
        EXPECT_EQ(read[true], read[false]) << "stop at call " << stop;
    }
}

}  // namespace
}  // namespace pellax_test
