// The default installation as the game finds it: the files in their places
// and the starting score file.
#include "support/rules_env.h"

using namespace rules_test;

namespace {

using Installation = DeviceTest;

TEST_F(Installation, EveryFileTheGameOpensIsThere) {
    std::vector<std::string> paths = {".\\Windows\\qzmmf.dll", ".\\Windows\\qznwf.dll",
                                      ".\\kbl_sc_s.uc2"};
    for (const char *name : {"kbl.plf", "kbl_b.nbf", "kbl_bl.nbf", "kbl_n.nbf", "kbl_sn.nbf",
                             "kbl_cg.nbf", "kbl_lv.nbf", "kbl_gov.nbf", "kbl_sl.nbf"})
        paths.push_back(std::string(assets::kGamePath) + "\\picture\\" + name);
    for (const char *name : {"kbl_s_b.nwf", "kbl_s_fl.nwf", "kbl_s_lv.nwf", "kbl_s_gov.nwf"})
        paths.push_back(std::string(assets::kGamePath) + "\\sound\\" + name);
    for (const std::string &path : paths) {
        const fs::path file = wince::ResolveDevicePath(wince::FromUtf8(path).c_str());
        EXPECT_TRUE(!file.empty() && fs::file_size(file) > 0) << path;
    }
    EXPECT_EQ(fs::file_size(root / kPictureFolder / "kbl.plf"), 768u);
}

// The starting score file reads as 0, a made one as its number; making the
// installation again over an altered one puts it right.
TEST_F(Installation, ScoreFile) {
    GameState.highScore = 77;
    LoadHighScore();
    EXPECT_EQ(GameState.highScore, 0u);
    WriteRootFile("kbl_sc_s.uc2", assets::MakeScoreFile(1234));
    LoadHighScore();
    EXPECT_EQ(GameState.highScore, 1234u);
    std::string error;
    ASSERT_TRUE(assets::MakeDefaultInstallation(root, error)) << error;
    GameState.highScore = 77;
    LoadHighScore();
    EXPECT_EQ(GameState.highScore, 0u);
}

TEST(MakeDefaultInstallation, SaysWhatCouldNotBeWritten) {
    const fs::path root = TempRoot("unwritable");
    fs::create_directories(root / "kbl_sc_s.uc2");  // a folder in the file's place
    std::string error;
    EXPECT_FALSE(assets::MakeDefaultInstallation(root, error));
    EXPECT_NE(error.find("kbl_sc_s.uc2"), std::string::npos) << error;
    fs::remove_all(root);
}

}  // namespace
