// The installation directory read from the registry file, and the sound cues
// found under it.
#include "support/device.h"

namespace pellax_test {
namespace {

const std::string kKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax rim]\n";
const std::string kProblem = "This is a problem in process of installation please reinstall";

using Installation = DeviceTest;

// A string value runs to the last quote of its line and carries a
// terminator; a hex value is raw bytes; the key's path and the value's name
// compare without regard to case; a later line replaces an earlier one.
TEST_F(Installation, PathIsTakenAsStoredUpTo129CharactersOrReported) {
    EXPECT_EQ(wince::ToUtf8(GamePath), assets::kGamePath);
    std::string noTerminator = "\"GAMEPATH\"=hex:41,00";  // 260 bytes
    for (int i = 1; i < 130; ++i) noTerminator += ",41,00";
    const std::string longest = "\\" + std::string(127, 'p') + "\\";
    const std::pair<std::string, std::string> cases[] = {
        // registry file, path or caption
        {"; the game\r\n# and more\r\n[HKEY_LOCAL_MACHINE\\software\\APPS\\Brackwell Pellax "
         "rim]\r\n"
         "\"GAMEPATH\"=\"\\x\"\n\"gamepath\"=\"\\Jeux\\P\xC3\xADm \"R\"\"\r\n",
         "\\Jeux\\P\xC3\xADm \"R\""},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax "
         "rim\\]\n\"GAMEPATH\"=hex:5c,00,61,00,00,00",
         "\\a"},
        {kKey + "\"GAMEPATH\"=\"" + longest + "\"", longest},
        {kKey + "\"GAMEPATH\"=\"\\" + std::string(129, 'p') + "\"", "QueryError"},
        {kKey + noTerminator, "QueryError"},
        {kKey + "\"OTHER\"=\"\\x\"", "QueryError"},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Other]\n\"GAMEPATH\"=\"\\x\"", "OpenError"},
    };
    for (const auto &[registry, expected] : cases) {
        SCOPED_TRACE(registry.substr(0, 80));
        WriteRootFile(assets::kRegistryFileName, registry + "\n");
        host.events.clear();
        const bool fails = expected.ends_with("Error");
        EXPECT_EQ(ReadGamePath(nullptr, kRegistryKey), fails ? 0 : 1);
        EXPECT_EQ(wince::ToUtf8(GamePath), fails ? "" : expected);
        EXPECT_EQ(host.events, fails ? std::vector{"msgbox " + expected + "|" + kProblem}
                                     : std::vector<std::string>{});
    }
}

TEST_F(Installation, CuesPlayFromTheSoundFolder) {
    fs::remove(root / "Program Files" / "Pellax Rim" / "sound" / "kbl_s_lv.nwf");
    EXPECT_EQ(PlaySoundCue(TEXT("kbl_s_lv.nwf")), FALSE);
    EXPECT_EQ(PlaySoundCue(std::u16string(240, u'a').c_str()), FALSE);  // too long for a path
    EXPECT_EQ(host.events, std::vector<std::string>{Sound("kbl_s_lv.nwf")});
}

}  // namespace
}  // namespace pellax_test
