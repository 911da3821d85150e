// From the entry point to the play screen: the intro and its ways out, and
// start-ups that fail and must still end cleanly.
#include <functional>

#include "program_run.h"
#include "wince/headless/headless.h"

namespace apptest {
namespace {

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
        RunScript("90 shot intro.png\n" + SkipIntro() + StateAt(400, "idle.json"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Boxes(run).empty());
    const std::vector<Json> sounds = run.Events("sound");
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[0], (Json{{"t", 0}, {"event", "sound"}, {"path", ".\\Windows\\qznwf.dll"}}));
    EXPECT_EQ(sounds[1], (Json{{"t", 100}, {"event", "sound"}, {"path", nullptr}}));
    // The tap that ended the intro does not reach the play screen.
    const Json idle = State("idle.json");
    EXPECT_EQ(idle["stylus"]["down"], 0);
    EXPECT_GT(idle["frameLastTick"], 100);
    EXPECT_EQ(run.trace.back(), (Json{{"t", 400}, {"event", "exit"}, {"code", 0}}));
}

TEST_F(StartTest, WithoutTheMovieFileTheGameStartsAfterItsMessage) {
    MakeRoot();
    RunScript(SkipIntro() + "400 shot idle.png\n");
    const std::string idleAfterIntro = Shot("idle.png");

    fs::remove(Root() / "Windows" / "qzmmf.dll");
    const RunResult run = RunScript("200 shot idle.png\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Boxes(run),
              std::vector<Json>{Box("Open movie file : Fail", ".\\Windows\\qzmmf.dll")});
    EXPECT_TRUE(run.Events("sound").empty());
    // Every frame redraws the whole screen: nothing of the intro is left.
    EXPECT_EQ(Shot("idle.png"), idleAfterIntro);
}

TEST_F(StartTest, OnlyTheHardwareKeysEndTheIntroAndTheirFlagsCanStartAGame) {
    // Key 197 ends the intro with its flag still set: the first frame starts a game.
    RunResult run = RunScript("100 keydown 197\n" + StateAt(150, "s.json") + "300 keyup 197\n");
    EXPECT_EQ(run.Events("sound").at(1)["path"], nullptr);
    EXPECT_EQ(State("s.json")["playing"], 1);
    EXPECT_EQ(State("s.json")["keys"], Json::array({0, 0, 0, 0, 0, 0, 0, 0}));

    // An arrow key does not end it; its key-up is dropped, so the flag
    // starts a game once a tap has ended the intro.
    run = RunScript(Press(100, 37) + StateAt(300, "during.json") + Tap(400, 20, 20) +
                    StateAt(600, "after.json"));
    EXPECT_EQ(State("during.json")["frameLastTick"], 0) << "a frame ran during the intro";
    EXPECT_EQ(State("during.json")["keys"][2], 1);
    EXPECT_EQ(State("after.json")["playing"], 1);
}

// A start-up that fails shows each failure's message in order and ends with
// exit code 0 at once: no intro, no frame, nothing presented.
struct FailingStart {
    const char *name;
    std::function<void(const fs::path &root)> spoil;
    std::vector<Json> boxes;
};

class FailingStartTest : public ProgramTest, public ::testing::WithParamInterface<FailingStart> {};

TEST_P(FailingStartTest, EndsCleanlyAfterItsMessages) {
    MakeRoot();
    GetParam().spoil(Root());
    const RunResult run = RunScript("0 shot first.png\n50 shot later.png\n");
    EXPECT_EQ(Boxes(run), GetParam().boxes);
    EXPECT_EQ(run.trace.size(), GetParam().boxes.size() + 1) << "only the boxes and the exit";
    EXPECT_EQ(run.trace.back(), (Json{{"t", 0}, {"event", "exit"}, {"code", 0}}));
    wince::headless::HeadlessHost nothingPresented;
    ASSERT_TRUE(nothingPresented.WriteScreenPng(Dir() / "black.png"));
    EXPECT_EQ(Shot("first.png"), Shot("black.png"));
    EXPECT_FALSE(Exists("later.png"));
}

const std::string kPictures = "\\Program Files\\Pellax Rim\\picture\\";

std::function<void(const fs::path &)> Remove(std::vector<std::string> files) {
    return [files](const fs::path &root) {
        for (const std::string &file : files) fs::remove(root / file);
    };
}

std::vector<Json> NoRegistryBoxes() {
    std::vector<Json> boxes{
        Box("This is a problem in process of installation please reinstall", "OpenError")};
    for (const char *name : {"kbl_b.nbf", "kbl_bl.nbf", "kbl_n.nbf", "kbl_sn.nbf", "kbl_cg.nbf",
                             "kbl_lv.nbf", "kbl_gov.nbf", "kbl_sl.nbf"})
        boxes.push_back(Box(std::string("\\picture\\") + name, "Open file : Fail"));
    return boxes;
}

INSTANTIATE_TEST_SUITE_P(
    Start, FailingStartTest,
    ::testing::Values(FailingStart{"MissingPicture",
                                   Remove({"Program Files/Pellax Rim/picture/kbl_lv.nbf"}),
                                   {Box(kPictures + "kbl_lv.nbf", "Open file : Fail")}},
                      FailingStart{"NoRegistryEntry", Remove({"registry.reg"}), NoRegistryBoxes()},
                      FailingStart{"ReadOnlyScoreFile",
                                   [](const fs::path &root) {
                                       fs::permissions(root / "kbl_sc_s.uc2",
                                                       fs::perms::owner_read);
                                   },
                                   {}}),
    [](const auto &start) { return std::string(start.param.name); });

}  // namespace
}  // namespace apptest
