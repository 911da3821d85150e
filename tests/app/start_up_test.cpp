// The pellax-rim command line as a user meets it.
#include "support/program_run.h"

namespace pellax_test {
namespace {

using CommandLineTest = ProgramTest;

TEST_F(CommandLineTest, VersionHelpAndMakeRoot) {
    std::string out, err;
    EXPECT_EQ(Run("--version", &out, &err), 0);
    EXPECT_EQ(out, "pellax-rim 1.0.0\n");
    EXPECT_EQ(Run("--help", &out, &err), 0);
    for (const char *option : {"--make-root DIR", "--headless", "--root DIR", "--script FILE",
                               "--trace FILE", "--scale N", "--fullscreen", "--version"})
        EXPECT_NE(out.find(option), std::string::npos) << option;
    EXPECT_EQ(err, "");
    EXPECT_EQ(Run("--make-root root"), 0);
    EXPECT_EQ(ReadBytes(Root() / "registry.reg"), assets::MakeRegistryText());
    // A file that cannot be written is named.
    fs::remove(Root() / "kbl_sc_s.uc2");
    fs::create_directory(Root() / "kbl_sc_s.uc2");
    EXPECT_EQ(Run("--make-root root", &out, &err), 1);
    EXPECT_NE(err.find("kbl_sc_s.uc2"), std::string::npos) << err;
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
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Root())) << "the root was made for a run that never started";
    EXPECT_TRUE(run.trace.empty());
}

}  // namespace
}  // namespace pellax_test
