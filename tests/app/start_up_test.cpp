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
    // A file name is taken byte for byte, but a NUL cannot name a file.
    for (const std::string &line :
         {std::string("200 jump 3\n"), std::string("200 state a\0b\n", 14)}) {
        const RunResult run = RunScript("100 keydown 37\n" + line);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(Root())) << "the root was made for a run that never started";
        EXPECT_TRUE(run.trace.empty());
    }
    const RunResult run = RunScript(kSkipIntro + "200 shot s\xFF\xED\xA0\x80.png\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(fs::is_regular_file(dir / "s\xFF\xED\xA0\x80.png"));
}

// While one program holds a root (flock holds its lock here), a second
// start on it is refused at once and touches nothing.
TEST_F(CommandLineTest, ASecondProgramOnTheSameRootIsRefused) {
    CopyInstallation();
    WriteBytes(dir / "script.txt", "", 0);
    const std::string command = "cd '" + dir.string() + "' && flock root/pellax-rim.lock " +
                                ProgramCommand() +
                                " --headless --root root --script script.txt --trace t.jsonl "
                                "2>stderr.txt";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    EXPECT_EQ(ReadBytes(dir / "stderr.txt"),
              "pellax-rim: PELLAX RIM is already running with this folder\n");
    EXPECT_FALSE(fs::exists(dir / "t.jsonl"));
}

}  // namespace
}  // namespace pellax_test
