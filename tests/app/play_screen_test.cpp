// The play screen through the whole program: games to their end below the
// record, and the taps that must end the program without presenting more.
#include "assets/assets.h"
#include "program_run.h"

namespace apptest {
namespace {

constexpr int kNewGameX = 195, kNewGameY = 277;

// Key 197 starts a game at 300, then hard drops every 600 ms pile pieces up
// in the middle of the well, where no row can fill, until the game is lost
// (and, as the drop key also starts a game, the next games too).
std::string GamesToTheirEnd() {
    std::string script = SkipIntro() + Press(300, 197);
    for (int i = 0; i < 30; ++i) script += Press(1000 + 600 * i, 195);
    return script + "20000 state end.json\n";
}

using PlayTest = ProgramTest;

TEST_F(PlayTest, AScoreBelowTheRecordIsWrittenNeitherAtGameOverNorAtNewGame) {
    MakeRoot();
    const assets::Bytes record = assets::MakeScoreFile(500);
    std::ofstream(Root() / "kbl_sc_s.uc2", std::ios::binary)
        << std::string(record.begin(), record.end());
    const RunResult run = RunScript(GamesToTheirEnd() + Tap(20100, kNewGameX, kNewGameY));
    EXPECT_GE(run.Events("sleep").size(), 1u);
    EXPECT_TRUE(run.Events("write").empty());
    EXPECT_EQ(State("end.json")["highScore"], 500);
}

// Taps at t and takes a shot every millisecond from then on: the run must end
// on the frame that answers the tap, with nothing more presented.
class EndingFrameTest : public ProgramTest {
protected:
    void ExpectNothingPresentedAfterTap(const std::string &before, int t, int x, int y) {
        const std::string at = std::to_string(t);
        std::string script = before + at + " shot before.png\n" + at + " down " +
                             std::to_string(x) + " " + std::to_string(y) + "\n";
        for (int ms = t; ms < t + 60; ++ms) script += std::to_string(ms) + " shot " + at + ".png\n";
        const RunResult run = RunScript(script);
        ASSERT_EQ(run.trace.back()["event"], "exit");
        const int end = run.trace.back()["t"];
        EXPECT_EQ(run.trace.back()["code"], 0);
        EXPECT_GE(end, t);
        EXPECT_LT(end, t + 60);
        EXPECT_EQ(Shot(at + ".png"), Shot("before.png"));
    }
};

TEST_F(EndingFrameTest, TheExitAreaEndsTheProgramWithoutPresenting) {
    // The tap on the area's edge ends nothing.
    ExpectNothingPresentedAfterTap(SkipIntro() + Tap(300, 165, 300) + Press(400, 197), 1000, 200,
                                   300);
}

TEST_F(EndingFrameTest, AScoreFileThatCannotBeWrittenEndsTheRunAtNewGame) {
    MakeRoot();
    fs::create_directory(Root() / "kbl_sc_l.uc2");
    ExpectNothingPresentedAfterTap(SkipIntro(), 500, kNewGameX, kNewGameY);
}

}  // namespace
}  // namespace apptest
