// The play screen through the whole program: a game to its end, the stylus
// menu's four areas, and the frames that must present nothing.
#include "assets/assets.h"
#include "program_run.h"

namespace apptest {
namespace {

const char kScoreFileWritten[] = ".\\kbl_sc_l.uc2";
const std::string kSounds = "\\Program Files\\Pellax Rim\\sound\\";

constexpr int kDropKey = 195;
constexpr int kStartKey = 197;  // starts a game and is not read by the game step

// Starts a game at 300 and hard-drops a piece every 600 ms into the middle
// of the well; the pause at game over ends at about 6.6 s.
std::string GameToItsEnd(int drops) {
    std::string script = SkipIntro() + Press(300, kStartKey);
    for (int i = 0; i < drops; ++i) script += Press(1000 + 600 * i, kDropKey);
    return script;
}

constexpr int kDropsToGameOver = 6;  // the default sequence tops out on the sixth

std::string TapState(int t, int x, int y, const std::string &file) {
    return Tap(t, x, y) + std::to_string(t + 80) + " state " + file + "\n";
}

std::vector<std::string> Paths(const std::vector<Json> &events) {
    std::vector<std::string> paths;
    for (const Json &e : events) paths.push_back(e["path"].is_null() ? "" : e["path"]);
    return paths;
}

bool BoardIsEmpty(const Json &state) {
    for (int r = 1; r < 20; ++r)
        for (int c = 1; c < 10; ++c)
            if (state["board"][r][c] != 224) return false;
    return true;
}

size_t IndexOf(const RunResult &run, const std::string &event) {
    for (size_t i = 0; i < run.trace.size(); ++i)
        if (run.trace[i]["event"] == event) return i;
    return run.trace.size();
}

using PlayTest = ProgramTest;

TEST_F(PlayTest, AGameEndsWithItsCueItsRecordAndTwoSecondsStill) {
    const RunResult run = RunScript(GameToItsEnd(kDropsToGameOver) + "8000 state end.json\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::vector<Json> sleeps = run.Events("sleep");
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0]["ms"], 2000);

    // Landing cues only, the last landing's followed by the game-over cue;
    // then the record is written, then the pause.
    std::vector<std::string> cues;
    for (const std::string &path : Paths(run.Events("sound")))
        if (path.starts_with(kSounds)) cues.push_back(path);
    ASSERT_GE(cues.size(), 2u);
    EXPECT_EQ(cues.back(), kSounds + "kbl_s_gov.nwf");
    for (size_t i = 0; i + 1 < cues.size(); ++i) EXPECT_EQ(cues[i], kSounds + "kbl_s_b.nwf");

    const std::vector<Json> writes = run.Events("write");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0]["path"], kScoreFileWritten);
    EXPECT_LT(IndexOf(run, "write"), IndexOf(run, "sleep"));
    EXPECT_EQ(ReadText(Root() / "kbl_sc_l.uc2").substr(0, 6), std::string("0\0"
                                                                          "0\0\0\0",
                                                                          6));

    const Json end = State("end.json");
    EXPECT_EQ(end["playing"], 0);
    EXPECT_EQ(end["score"], 0);
    EXPECT_EQ(end["level"], 1);
    EXPECT_TRUE(BoardIsEmpty(end));
}

TEST_F(PlayTest, AScoreBelowTheRecordIsNeverWritten) {
    MakeRoot();
    const assets::Bytes record = assets::MakeScoreFile(500);
    WriteText(Root() / "kbl_sc_s.uc2", std::string(record.begin(), record.end()));
    const RunResult run = RunScript(GameToItsEnd(kDropsToGameOver) + "8000 state end.json\n" +
                                    Press(8100, kStartKey) + Tap(8300, 195, 277));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Events("sleep").size(), 1u);
    EXPECT_TRUE(run.Events("write").empty());
    EXPECT_EQ(State("end.json")["highScore"], 500);
}

TEST_F(PlayTest, NewGameAbandonsTheGameAndSavesTheRecordItHolds) {
    const RunResult run =
        RunScript(SkipIntro() + Tap(300, 172, 120) + Tap(400, 172, 120) + Press(600, kStartKey) +
                  "1500 state before.json\n" + TapState(1600, 195, 277, "after.json"));
    EXPECT_EQ(run.exitCode, 0);
    const Json before = State("before.json"), after = State("after.json");
    EXPECT_EQ(before["playing"], 1);
    EXPECT_EQ(before["level"], 3);
    EXPECT_EQ(after["playing"], 0);
    EXPECT_EQ(after["level"], 1);
    EXPECT_EQ(after["pieceX"], 60);
    EXPECT_EQ(after["pieceY"], 255);
    EXPECT_TRUE(BoardIsEmpty(after));
    const std::vector<Json> writes = run.Events("write");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0]["path"], kScoreFileWritten);
    EXPECT_GE(writes[0]["t"], 1600);
}

TEST_F(PlayTest, TheLevelAreasStopAtTheirLimitsAndExcludeTheirEdges) {
    std::string script = SkipIntro();
    script += TapState(300, 165, 120, "edge-x.json") + TapState(400, 172, 112, "edge-y.json");
    for (int i = 0; i < 11; ++i) script += Tap(500 + 100 * i, 172, 120);
    script += "1700 state top.json\n" + TapState(1800, 225, 120, "edge-down.json");
    for (int i = 0; i < 11; ++i) script += Tap(2000 + 100 * i, 217, 120);
    script += "3200 state bottom.json\n";
    // A stylus held down over several frames acts once.
    script += "3300 down 172 120\n3700 up 172 120\n3800 state held.json\n";
    script += Press(3900, kStartKey) + TapState(4000, 172, 120, "playing.json");
    ASSERT_EQ(RunScript(script).exitCode, 0);

    EXPECT_EQ(State("edge-x.json")["level"], 1);
    EXPECT_EQ(State("edge-x.json")["stylus"]["down"], 0) << "a tap on no area is still consumed";
    EXPECT_EQ(State("edge-y.json")["level"], 1);
    EXPECT_EQ(State("top.json")["level"], 10);
    EXPECT_EQ(State("edge-down.json")["level"], 10);
    EXPECT_EQ(State("bottom.json")["level"], 1);
    EXPECT_EQ(State("held.json")["level"], 2);
    EXPECT_EQ(State("playing.json")["level"], 3);
    EXPECT_EQ(State("playing.json")["playing"], 1);
}

TEST_F(PlayTest, ReturnAloneNeverStartsAGame) {
    const RunResult run = RunScript(SkipIntro() + Press(300, 13) + "500 state s.json\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(State("s.json")["playing"], 0);
}

// Taps at `t` and takes a shot every millisecond from just before it until
// well past the frame that answers it; the run must end on that frame with
// nothing more presented.
class EndingFrameTest : public ProgramTest {
protected:
    void ExpectNothingPresentedAfterTap(const std::string &before, int t, int x, int y) {
        std::string script = before + std::to_string(t) + " shot before.png\n" + std::to_string(t) +
                             " down " + std::to_string(x) + " " + std::to_string(y) + "\n";
        for (int ms = t; ms < t + 60; ++ms)
            script += std::to_string(ms) + " shot after-" + std::to_string(ms) + ".png\n";
        const RunResult run = RunScript(script);
        EXPECT_EQ(run.exitCode, 0);
        ASSERT_FALSE(run.trace.empty());
        const Json &exit = run.trace.back();
        ASSERT_EQ(exit["event"], "exit");
        const int end = exit["t"];
        EXPECT_LT(end, t + 60);
        ASSERT_TRUE(Exists("after-" + std::to_string(end) + ".png"));
        for (int ms = t; ms <= end; ++ms)
            EXPECT_EQ(Shot("after-" + std::to_string(ms) + ".png"), Shot("before.png")) << ms;
    }
};

TEST_F(EndingFrameTest, TheExitAreaEndsTheProgramWithoutPresenting) {
    // A tap on the area's edge does not end anything.
    ExpectNothingPresentedAfterTap(SkipIntro() + Tap(300, 165, 300) + Press(400, kStartKey), 1000,
                                   200, 300);
}

TEST_F(EndingFrameTest, AScoreFileThatCannotBeWrittenEndsTheRunAtNewGame) {
    MakeRoot();
    fs::create_directory(Root() / "kbl_sc_l.uc2");
    ExpectNothingPresentedAfterTap(SkipIntro(), 500, 195, 277);
}

}  // namespace
}  // namespace apptest
