// The taps that must end the program on the frame that answers them, without
// presenting anything more.
#include "support/program_run.h"

namespace pellax_test {
namespace {

// Taps at t and takes a shot every millisecond from then on: the run must end
// on the frame that answers the tap, with nothing more presented.
class EndingFrameTest : public ProgramTest {
protected:
    RunResult ExpectNothingPresentedAfterTap(const std::string &before, int t, int x, int y) {
        const std::string at = std::to_string(t);
        std::string script = before + at + " shot before.png\n" + at + " down " +
                             std::to_string(x) + " " + std::to_string(y) + "\n";
        for (int ms = t; ms < t + 60; ++ms) script += std::to_string(ms) + " shot " + at + ".png\n";
        const RunResult run = RunScript(script);
        if (run.trace.empty()) return ADD_FAILURE() << "no trace", run;
        EXPECT_EQ(run.trace.back()["event"], "exit");
        EXPECT_EQ(run.trace.back()["code"], 0);
        EXPECT_GE(run.trace.back()["t"], t);
        EXPECT_LT(run.trace.back()["t"], t + 60);
        EXPECT_EQ(ReadBytes(dir / (at + ".png")), ReadBytes(dir / "before.png"));
        return run;
    }
};

TEST_F(EndingFrameTest, TheExitAreaEndsTheProgramWithoutPresenting) {
    // Taps on the area's edges end nothing.
    ExpectNothingPresentedAfterTap(
        kSkipIntro + Tap(300, 165, 300) + Tap(350, 200, 307) + Press(400, 197), 1000, 200, 300);
}

// NEW GAME saves the record (0 equals 0); a record that cannot be replaced
// ends the program there, as the game always has, says so, and keeps the old one.
TEST_F(EndingFrameTest, ARecordThatCannotBeWrittenEndsTheRunAtNewGame) {
    CopyInstallation();
    fs::create_directory(Root() / "kbl_sc_l.uc2");
    const RunResult run = ExpectNothingPresentedAfterTap(kSkipIntro, 500, 195, 277);
    EXPECT_EQ(run.MessageBoxes(), std::vector<std::string>{"Write file : Fail|.\\kbl_sc_l.uc2"});
    EXPECT_TRUE(fs::is_directory(Root() / "kbl_sc_l.uc2"));
    EXPECT_FALSE(fs::exists(Root() / "kbl_sc_l.tmp"));
}

}  // namespace
}  // namespace pellax_test
