// Whole runs on an installation the game may not change: a root folder with
// no write bits and a read-only starting score file. The game ends as it
// always has, quietly and with exit code 0, and no file is changed or lost.
#include <map>

#include "faults/fault_run.h"

namespace faults {
namespace {

constexpr fs::perms kWriteBits =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

// The intro ends, then a tap on NEW GAME saves the record (0 equals 0).
const char *const kNewGame =
    "100 down 20 20\n140 up 20 20\n"
    "300 down 195 277\n340 up 195 277\n"
    "600 state state.json\n"
    "700 close\n";

class LockedFilesTest : public WholeRunTest {
protected:
    // Every file under the root, with its bytes, to hold the run against.
    std::map<fs::path, std::string> Snapshot() const {
        std::map<fs::path, std::string> files;
        for (const auto &entry : fs::recursive_directory_iterator(Root()))
            if (entry.is_regular_file()) files[entry.path()] = ReadBytes(entry.path());
        return files;
    }
};

TEST_F(LockedFilesTest, RootThatTakesNoFilesEndsTheRunAtTheFirstSave) {
    fs::permissions(Root(), kWriteBits, fs::perm_options::remove);
    const auto before = Snapshot();

    const RunResult run = Run(kNewGame);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.MessageBoxes().empty());
    EXPECT_TRUE(run.state.is_null()) << "the run should have ended at the tap";
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back()["event"], "exit");
    EXPECT_GE(run.trace.back()["t"], 300);
    EXPECT_LT(run.trace.back()["t"], 600);
    EXPECT_TRUE(run.Events("write").empty());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(LockedFilesTest, ReadOnlyScoreFileEndsTheRunAtStartUp) {
    fs::permissions(Root() / "kbl_sc_s.uc2", kWriteBits, fs::perm_options::remove);
    const auto before = Snapshot();

    const RunResult run = Run(kShortGame);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.MessageBoxes().empty());
    EXPECT_FALSE(run.Played());
    // Start-up failed, so the intro never started its sound track.
    EXPECT_TRUE(run.Events("sound").empty());
    EXPECT_EQ(Snapshot(), before);
}

// The control: the same tap on a writable root saves the record and plays on.
TEST_F(LockedFilesTest, WritableRootSavesTheRecordAndPlaysOn) {
    const RunResult run = Run(kNewGame);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.state.is_object());
    EXPECT_EQ(ReadBytes(Root() / "kbl_sc_l.uc2"), ReadBytes(Root() / "kbl_sc_s.uc2"));
    EXPECT_FALSE(fs::exists(Root() / "kbl_sc_l.tmp"));
}

}  // namespace
}  // namespace faults
