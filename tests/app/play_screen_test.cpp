// The play screen through the whole program: a game to its end, the stylus
// menu's four areas, and the frames that must present nothing.
#include "assets/assets.h"
#include "program_run.h"

namespace apptest {
namespace {

const std::string kCues = "\\Program Files\\Pellax Rim\\sound\\";
const Json kRecordWritten = ".\\kbl_sc_l.uc2";
constexpr int kNewGameX = 195, kNewGameY = 277;

// Key 197 starts a game at 300, then hard drops every 600 ms pile pieces up
// in the middle of the well, where no row can fill, until the game is lost
// (and, as the drop key also starts a game, the next games too).
std::string GamesToTheirEnd() {
    std::string script = SkipIntro() + Press(300, 197);
    for (int i = 0; i < 30; ++i) script += Press(1000 + 600 * i, 195);
    return script + StateAt(20000, "end.json");
}

bool BoardIsEmpty(const Json &state) {
    for (int r = 1; r < 20; ++r)
        for (int c = 1; c < 10; ++c)
            if (state["board"][r][c] != 224) return false;
    return true;
}

using PlayTest = ProgramTest;

TEST_F(PlayTest, AGameEndsWithItsCueItsRecordAndTwoSecondsStill) {
    const RunResult run = RunScript(GamesToTheirEnd());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // After the intro's track and its stop: landing cues, the game-over cue
    // right after the last, the record held at 0 written, the pause.
    ASSERT_GE(run.trace.size(), 6u);
    EXPECT_EQ(run.trace[1]["path"], nullptr);
    size_t over = 2;
    while (over < run.trace.size() && run.trace[over]["path"] == kCues + "kbl_s_b.nwf") ++over;
    ASSERT_LT(over + 2, run.trace.size());
    EXPECT_GT(over, 2u);
    EXPECT_EQ(run.trace[over]["path"], kCues + "kbl_s_gov.nwf");
    EXPECT_EQ(run.trace[over + 1]["path"], kRecordWritten);
    EXPECT_EQ(run.trace[over + 2]["ms"], 2000);
    EXPECT_EQ(ReadText(Root() / "kbl_sc_l.uc2").substr(0, 6), std::string("0\0"
                                                                          "0\0\0\0",
                                                                          6));
}

TEST_F(PlayTest, AScoreBelowTheRecordIsWrittenNeitherAtGameOverNorAtNewGame) {
    MakeRoot();
    const assets::Bytes record = assets::MakeScoreFile(500);
    WriteText(Root() / "kbl_sc_s.uc2", std::string(record.begin(), record.end()));
    const RunResult run = RunScript(GamesToTheirEnd() + Tap(20100, kNewGameX, kNewGameY));
    EXPECT_GE(run.Events("sleep").size(), 1u);
    EXPECT_TRUE(run.Events("write").empty());
    EXPECT_EQ(State("end.json")["highScore"], 500);
}

TEST_F(PlayTest, NewGameAbandonsTheGameAndSavesTheRecordItHolds) {
    const RunResult run = RunScript(SkipIntro() + Tap(300, 172, 120) + Press(600, 197) +
                                    StateAt(1500, "before.json") + Tap(1600, kNewGameX, kNewGameY) +
                                    StateAt(1700, "after.json"));
    const Json before = State("before.json"), after = State("after.json");
    EXPECT_EQ(before["playing"], 1);
    EXPECT_EQ(before["level"], 2);
    EXPECT_EQ(after["playing"], 0);
    EXPECT_EQ(after["level"], 1);
    EXPECT_EQ(after["pieceY"], 255);
    EXPECT_TRUE(BoardIsEmpty(after));
    ASSERT_EQ(run.Events("write").size(), 1u);
    EXPECT_EQ(run.Events("write")[0]["path"], kRecordWritten);
    EXPECT_GE(run.Events("write")[0]["t"], 1600);
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
