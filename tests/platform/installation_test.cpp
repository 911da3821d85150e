// The installation directory read from the registry, and the sound cues
// found under it.
#include "support/rules_env.h"

using namespace rules_test;

namespace {

const std::string kKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax rim]\n";
const std::string kProblem = "This is a problem in process of installation please reinstall";

class Installation : public DeviceTest {
protected:
    // Reads the directory from a registry holding `text`.
    int ReadWith(const std::string &text) {
        WriteRootFile(assets::kRegistryFileName, text);
        log.events.clear();
        return ReadGamePath(nullptr, kRegistryKey);
    }
    static std::string Path() { return wince::ToUtf8(GamePath); }
};

TEST_F(Installation, ValueIsTakenAsStoredUpTo129Characters) {
    EXPECT_EQ(Path(), assets::kGamePath);
    const std::string longest = "\\" + std::string(127, 'p') + "\\";
    EXPECT_EQ(ReadWith(kKey + "\"GAMEPATH\"=\"" + longest + "\"\n"), 1);
    EXPECT_EQ(Path(), longest);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(Installation, FailuresAreReportedAndLeaveThePathEmpty) {
    std::string noTerminator = "\"GAMEPATH\"=hex:41,00";  // 260 bytes
    for (int i = 1; i < 130; ++i) noTerminator += ",41,00";
    const std::pair<std::string, std::string> cases[] = {
        {kKey + "\"GAMEPATH\"=\"\\" + std::string(129, 'p') + "\"", "QueryError"},
        {kKey + noTerminator, "QueryError"},
        {kKey + "\"OTHER\"=\"\\x\"", "QueryError"},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Other]\n\"GAMEPATH\"=\"\\x\"", "OpenError"},
    };
    for (const auto &[registry, caption] : cases) {
        EXPECT_EQ(ReadWith(registry + "\n"), 0) << registry.substr(0, 80);
        EXPECT_EQ(log.events, std::vector<std::string>{"msgbox " + caption + "|" + kProblem});
        EXPECT_EQ(Path(), "");
    }
}

TEST_F(Installation, CuesPlayFromTheSoundFolder) {
    fs::remove(root / "Program Files" / "Pellax Rim" / "sound" / "kbl_s_lv.nwf");
    EXPECT_EQ(PlaySoundCue(TEXT("kbl_s_lv.nwf")), FALSE);
    EXPECT_EQ(PlaySoundCue(std::u16string(240, u'a').c_str()), FALSE);  // too long for a path
    EXPECT_EQ(log.events, std::vector<std::string>{Sound("kbl_s_lv.nwf")});
}

}  // namespace
