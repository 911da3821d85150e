// From the entry point to the play screen: the intro and its ways out, and
// start-ups that fail and must still end cleanly.
#include "program_run.h"
#include "wince/headless/headless.h"

namespace apptest {
namespace {

const char kTrack[] = ".\\Windows\\qznwf.dll";
const char kInstallMessage[] = "This is a problem in process of installation please reinstall";

// The screen before anything has been presented.
std::string BlackShot(const fs::path &file) {
    wince::headless::HeadlessHost blank;
    EXPECT_TRUE(blank.WriteScreenPng(file));
    return ReadText(file);
}

Json Box(const std::string &text, const std::string &caption) {
    return {{"text", text}, {"caption", caption}};
}

std::vector<Json> Boxes(const RunResult &run) {
    std::vector<Json> boxes;
    for (const Json &line : run.Events("msgbox"))
        boxes.push_back(Box(line["text"], line["caption"]));
    return boxes;
}

using StartTest = ProgramTest;

TEST_F(StartTest, TheIntroPlaysWithItsTrackUntilATapCutsItOff) {
    const RunResult run =
        RunScript("90 shot intro.png\n" + SkipIntro() + "400 shot idle.png\n400 state idle.json\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Boxes(run).empty());
    const std::vector<Json> sounds = run.Events("sound");
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[0]["path"], kTrack);
    EXPECT_LT(sounds[0]["t"], 90);
    EXPECT_TRUE(sounds[1]["path"].is_null());
    EXPECT_GE(sounds[1]["t"], 100);

    // The tap ended the intro and was not seen by the play screen.
    const Json idle = State("idle.json");
    EXPECT_EQ(idle["playing"], 0);
    EXPECT_EQ(idle["level"], 1);
    EXPECT_EQ(idle["stylus"]["down"], 0);
    EXPECT_GT(idle["frameLastTick"], 100);

    const std::string black = BlackShot(Dir() / "black.png");
    EXPECT_NE(Shot("intro.png"), black);
    EXPECT_NE(Shot("idle.png"), black);
    EXPECT_NE(Shot("intro.png"), Shot("idle.png"));
    EXPECT_EQ(run.trace.back()["event"], "exit");
    EXPECT_EQ(run.trace.back()["code"], 0);
}

TEST_F(StartTest, WithoutTheMovieFileTheGameStartsAfterItsMessage) {
    MakeRoot();
    RunScript(SkipIntro() + "400 shot idle.png\n");
    const std::string idleAfterIntro = Shot("idle.png");

    fs::remove(Root() / "Windows" / "qzmmf.dll");
    const RunResult run = RunScript("200 shot idle.png\n200 state idle.json\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Boxes(run),
              std::vector<Json>{Box("Open movie file : Fail", ".\\Windows\\qzmmf.dll")});
    EXPECT_TRUE(run.Events("sound").empty());
    EXPECT_GT(State("idle.json")["frameLastTick"], 0);
    // Every frame redraws the whole screen, so nothing of the intro remains.
    EXPECT_EQ(Shot("idle.png"), idleAfterIntro);
}

TEST_F(StartTest, Key197EndsTheIntroAndItsStillSetFlagStartsAGame) {
    const RunResult run = RunScript("100 keydown 197\n150 state s.json\n300 keyup 197\n");
    EXPECT_EQ(run.exitCode, 0);
    const std::vector<Json> sounds = run.Events("sound");
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_TRUE(sounds[1]["path"].is_null());
    const Json state = State("s.json");
    EXPECT_EQ(state["playing"], 1);
    EXPECT_EQ(state["keys"], Json::array({0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(StartTest, AnArrowKeyDoesNotEndTheIntroButStartsTheGameAfterIt) {
    const RunResult run = RunScript(Press(100, 37) + "300 state during.json\n" + Tap(400, 20, 20) +
                                    "600 state after.json\n");
    EXPECT_EQ(run.exitCode, 0);
    const Json during = State("during.json");
    EXPECT_EQ(during["frameLastTick"], 0) << "a frame ran while the intro should still play";
    EXPECT_EQ(during["keys"][2], 1) << "the intro dispatches the key-down and drops the key-up";
    EXPECT_EQ(State("after.json")["playing"], 1);
}

// A start-up that fails shows each failure's message, in order, and ends
// with exit code 0 before any frame or intro has drawn anything.
struct FailingStart {
    const char *name;
    std::vector<std::string> removed;  // relative to the root
    std::vector<Json> boxes;
};

class FailingStartTest : public ProgramTest, public ::testing::WithParamInterface<FailingStart> {};

std::vector<Json> PictureBoxes(const std::string &folder) {
    std::vector<Json> boxes;
    for (const char *name : {"kbl_b.nbf", "kbl_bl.nbf", "kbl_n.nbf", "kbl_sn.nbf", "kbl_cg.nbf",
                             "kbl_lv.nbf", "kbl_gov.nbf", "kbl_sl.nbf"})
        boxes.push_back(Box(folder + name, "Open file : Fail"));
    return boxes;
}

const std::string kPictures = "\\Program Files\\Pellax Rim\\picture\\";

std::vector<Json> NoRegistryBoxes() {
    std::vector<Json> boxes{Box(kInstallMessage, "OpenError")};
    for (const Json &box : PictureBoxes("\\picture\\")) boxes.push_back(box);
    return boxes;
}

TEST_P(FailingStartTest, EndsCleanlyAfterItsMessages) {
    MakeRoot();
    for (const std::string &file : GetParam().removed) fs::remove(Root() / file);
    const RunResult run = RunScript("0 shot first.png\n50 shot later.png\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Boxes(run), GetParam().boxes);
    EXPECT_TRUE(run.Events("sound").empty()) << "the intro ran after a failed start-up";
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back(), (Json{{"t", 0}, {"event", "exit"}, {"code", 0}}));
    EXPECT_EQ(Shot("first.png"), BlackShot(Dir() / "black.png"));
    EXPECT_FALSE(Exists("later.png"));
}

INSTANTIATE_TEST_SUITE_P(
    Start, FailingStartTest,
    ::testing::Values(FailingStart{"MissingPicture",
                                   {"Program Files/Pellax Rim/picture/kbl_lv.nbf"},
                                   {Box(kPictures + "kbl_lv.nbf", "Open file : Fail")}},
                      FailingStart{"MissingPaletteAndPicture",
                                   {"Program Files/Pellax Rim/picture/kbl.plf",
                                    "Program Files/Pellax Rim/picture/kbl_sl.nbf"},
                                   {Box(kPictures + "kbl.plf", "Open file : Fail"),
                                    Box(kPictures + "kbl_sl.nbf", "Open file : Fail")}},
                      FailingStart{"NoRegistryEntry", {"registry.reg"}, NoRegistryBoxes()},
                      FailingStart{"NoScoreFile", {"kbl_sc_s.uc2"}, {}}),
    [](const auto &start) { return std::string(start.param.name); });

TEST_F(StartTest, AReadOnlyScoreFileEndsTheRunBeforeAnyFrame) {
    MakeRoot();
    fs::permissions(Root() / "kbl_sc_s.uc2", fs::perms::owner_read | fs::perms::group_read);
    const RunResult run = RunScript("0 shot first.png\n50 state later.json\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(Boxes(run).empty());
    EXPECT_EQ(run.trace.size(), 1u) << "only the exit: no intro, no sound, no write";
    EXPECT_EQ(Shot("first.png"), BlackShot(Dir() / "black.png"));
}

}  // namespace
}  // namespace apptest
