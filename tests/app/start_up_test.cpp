// The pellax-rim command line as a user meets it, and start-ups that fail
// and must still end cleanly.
#include <functional>

#include "program_run.h"
#include "wince/headless/headless.h"

namespace apptest {
namespace {

using CommandLineTest = ProgramTest;

TEST_F(CommandLineTest, VersionAndHelpAnswerOnStandardOutput) {
    std::string out, err;
    EXPECT_EQ(Run("--version", &out, &err), 0);
    EXPECT_EQ(out, "pellax-rim 1.0.0\n");
    EXPECT_EQ(Run("--help", &out, &err), 0);
    for (const char *option : {"--make-root DIR", "--headless", "--root DIR", "--script FILE",
                               "--trace FILE", "--scale N", "--fullscreen", "--version"})
        EXPECT_NE(out.find(option), std::string::npos) << option;
    EXPECT_EQ(err, "");
}

TEST_F(CommandLineTest, ACommandLineThatCannotBeUnderstoodExitsTwoWithUsage) {
    for (const char *arguments : {"--bogus", "stray", "--headless --root root", "--scale 0",
                                  "--trace t.jsonl", "--make-root root --headless"}) {
        std::string out, err;
        EXPECT_EQ(Run(arguments, &out, &err), 2) << arguments;
        EXPECT_EQ(out, "") << arguments;
        EXPECT_NE(err.find("Usage:"), std::string::npos) << arguments;
    }
}

TEST_F(CommandLineTest, AnUnreadableScriptLineStopsTheRunBeforeItStarts) {
    const RunResult run = RunScript("100 keydown 37\n200 jump 3\n");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Root())) << "the root was made for a run that never started";
    EXPECT_TRUE(run.trace.empty());
}

// A start-up that fails shows its message and ends with exit code 0 at
// once: no intro, no frame, nothing presented.
struct FailingStart {
    const char *name;
    std::function<void(const fs::path &root)> spoil;
    std::vector<std::string> boxes;  // "caption|text"
};

class FailingStartTest : public ProgramTest, public ::testing::WithParamInterface<FailingStart> {};

TEST_P(FailingStartTest, EndsCleanlyAfterItsMessage) {
    MakeRoot();
    GetParam().spoil(Root());
    const RunResult run = RunScript("0 shot first.png\n50 shot later.png\n");
    std::vector<std::string> boxes;
    for (const Json &box : run.Events("msgbox"))
        boxes.push_back(box["caption"].get<std::string>() + "|" + box["text"].get<std::string>());
    EXPECT_EQ(boxes, GetParam().boxes);
    EXPECT_EQ(run.trace.size(), boxes.size() + 1) << "only the boxes and the exit";
    EXPECT_EQ(run.trace.back(), (Json{{"t", 0}, {"event", "exit"}, {"code", 0}}));
    wince::headless::HeadlessHost nothingPresented;
    ASSERT_TRUE(nothingPresented.WriteScreenPng(Dir() / "black.png"));
    EXPECT_EQ(Shot("first.png"), Shot("black.png"));
    EXPECT_FALSE(fs::exists(Dir() / "later.png"));
}

INSTANTIATE_TEST_SUITE_P(
    Start, FailingStartTest,
    ::testing::Values(
        FailingStart{"MissingPicture",
                     [](const fs::path &root) {
                         fs::remove(root / "Program Files/Pellax Rim/picture/kbl_lv.nbf");
                     },
                     {"Open file : Fail|\\Program Files\\Pellax Rim\\picture\\kbl_lv.nbf"}},
        FailingStart{"ReadOnlyScoreFile",
                     [](const fs::path &root) {
                         fs::permissions(root / "kbl_sc_s.uc2", fs::perms::owner_read);
                     },
                     {}}),
    [](const auto &start) { return std::string(start.param.name); });

}  // namespace
}  // namespace apptest
