// The pellax-rim command line as a user meets it.
#include "program_run.h"

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

}  // namespace
}  // namespace apptest
