// Text that names no host file, from the registry or from the script: the
// whole run still ends its usual way, with the game's own messages or the
// script's error, and never aborts.
#include "faults/fault_run.h"

namespace faults {
namespace {

const std::string kInstalledLine = "\"GAMEPATH\"=\"\\Program Files\\Pellax Rim\"";
const char *const kPictureFiles[] = {"kbl.plf",    "kbl_b.nbf",   "kbl_bl.nbf",
                                     "kbl_n.nbf",  "kbl_sn.nbf",  "kbl_cg.nbf",
                                     "kbl_lv.nbf", "kbl_gov.nbf", "kbl_sl.nbf"};

struct Case {
    const char *name;
    std::string gamePathLine;  // in place of the installed one
    std::string firstLine;     // of the script, before the short game
    int exitCode;
    std::string err;
    std::string missingFolder;  // as the messages name it; empty: the game plays
    std::string writtenFile;    // a file the script names, which must exist
};

const Case kCases[] = {
    {"SurrogateInUtf8Form", "\"GAMEPATH\"=\"\\Program Files\\Pellax Rim\xED\xA0\x80\"", "", 0, "",
     "\\Program Files\\Pellax Rim\xEF\xBF\xBD", ""},
    {"SurrogateInRawBytes", "\"GAMEPATH\"=hex:5c,00,00,d8,41,00,00,00", "", 0, "",
     "\\\xEF\xBF\xBD"
     "A",
     ""},
    {"ShotNamedWithStrayBytes", kInstalledLine, "50 shot s\xFF\xED\xA0\x80.png\n", 0, "", "",
     "s\xFF\xED\xA0\x80.png"},
    {"StateNamedWithNul", kInstalledLine, std::string("50 state a\0b.json\n", 18), 1,
     "pellax-rim: script.txt: line 1: a NUL byte in the file name\n", "", ""},
};

class TextFaultTest : public WholeRunTest, public ::testing::WithParamInterface<Case> {};

TEST_P(TextFaultTest, EndsTheUsualWay) {
    const Case &test = GetParam();
    std::string registry = ReadBytes(Root() / "registry.reg");
    registry.replace(registry.find(kInstalledLine), kInstalledLine.size(), test.gamePathLine);
    WriteBytes(Root() / "registry.reg", registry);

    const RunResult run = Run(test.firstLine + kShortGame);

    EXPECT_EQ(run.exitCode, test.exitCode);
    EXPECT_EQ(run.err, test.err);
    EXPECT_TRUE(run.Events("write").empty());
    if (test.exitCode != 0) return;
    std::vector<std::string> expected;
    if (!test.missingFolder.empty()) {
        for (const char *file : kPictureFiles)
            expected.push_back("Open file : Fail|" + test.missingFolder + "\\picture\\" + file);
    }
    EXPECT_EQ(run.MessageBoxes(), expected);
    EXPECT_EQ(run.Played(), test.missingFolder.empty());
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back()["event"], "exit");
    if (!test.writtenFile.empty()) {
        EXPECT_TRUE(fs::exists(Root().parent_path() / test.writtenFile));
    }
}

std::string CaseName(const ::testing::TestParamInfo<Case> &info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Names, TextFaultTest, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
}  // namespace faults
