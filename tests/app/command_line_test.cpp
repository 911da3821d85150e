// The pellax-rim command line as a user meets it.
#include "program_run.h"

namespace apptest {
namespace {

using CommandLineTest = ProgramTest;

TEST_F(CommandLineTest, VersionAndHelpAnswerOnStandardOutput) {
    std::string out, err;
    EXPECT_EQ(Run("--version", &out, &err), 0);
    EXPECT_EQ(out, "pellax-rim 1.0.0\n");
    EXPECT_EQ(err, "");

    EXPECT_EQ(Run("--help", &out, &err), 0);
    for (const char *option : {"--make-root DIR", "--headless", "--root DIR", "--script FILE",
                               "--trace FILE", "--scale N", "--fullscreen", "--help", "--version"})
        EXPECT_NE(out.find(option), std::string::npos) << option;
    EXPECT_EQ(err, "");
}

TEST_F(CommandLineTest, ACommandLineThatCannotBeUnderstoodExitsTwoWithUsage) {
    for (const char *arguments :
         {"--bogus", "stray", "--headless --root root", "--headless --script s.txt", "--scale",
          "--scale 0", "--scale x2", "--trace t.jsonl", "--make-root root --headless",
          "--fullscreen=yes"}) {
        std::string out, err;
        EXPECT_EQ(Run(arguments, &out, &err), 2) << arguments;
        EXPECT_EQ(out, "") << arguments;
        EXPECT_NE(err.find("Usage:"), std::string::npos) << arguments;
    }
    std::string err;
    Run("--bogus", nullptr, &err);
    EXPECT_NE(err.find("--bogus"), std::string::npos);
}

TEST_F(CommandLineTest, MakeRootWritesAnInstallationOrSaysWhyNot) {
    MakeRoot();
    EXPECT_TRUE(fs::exists(Root() / "registry.reg"));
    EXPECT_TRUE(fs::exists(Root() / "kbl_sc_s.uc2"));
    EXPECT_TRUE(fs::exists(Picture("kbl_b.nbf")));

    WriteText(Dir() / "plain-file", "x");
    std::string err;
    EXPECT_NE(Run("--make-root plain-file/root", nullptr, &err), 0);
    EXPECT_NE(err, "");
}

TEST_F(CommandLineTest, AnUnreadableScriptLineStopsTheRunBeforeItStarts) {
    const RunResult run = RunScript("100 keydown 37\n200 jump 3\n");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Root())) << "the root was made although the run never started";
    EXPECT_TRUE(run.trace.empty());

    std::string err;
    EXPECT_NE(Run("--headless --root root --script missing.txt", nullptr, &err), 0);
    EXPECT_NE(err.find("missing.txt"), std::string::npos) << err;
}

TEST_F(CommandLineTest, HeadlessIgnoresTheDesktopsOptions) {
    WriteText(Dir() / "script.txt", SkipIntro() + "500 state s.json\n");
    ASSERT_EQ(Run("--headless --root root --script script.txt --scale 3 --fullscreen"), 0);
    EXPECT_EQ(State("s.json")["t"], 500);
}

}  // namespace
}  // namespace apptest
