// The default installation as the game finds it: the registry entry, the
// files in their places and the starting score file.
#include <fstream>
#include <iterator>

#include "assets_fixture.h"

namespace {

using assets::Bytes;
using assets_test::InstalledDevice;

Bytes ReadHostFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(InstalledDevice, EveryFileTheGameOpensIsThere) {
    std::vector<std::u16string> paths = {u".\\Windows\\qzmmf.dll", u".\\Windows\\qznwf.dll",
                                         u".\\kbl_sc_s.uc2"};
    for (const char16_t *name :
         {u"kbl.plf", u"kbl_b.nbf", u"kbl_bl.nbf", u"kbl_n.nbf", u"kbl_sn.nbf", u"kbl_cg.nbf",
          u"kbl_lv.nbf", u"kbl_gov.nbf", u"kbl_sl.nbf"})
        paths.push_back(u"\\Program Files\\Pellax Rim\\picture\\" + std::u16string(name));
    for (const char16_t *name :
         {u"kbl_s_b.nwf", u"kbl_s_fl.nwf", u"kbl_s_lv.nwf", u"kbl_s_gov.nwf"})
        paths.push_back(u"\\Program Files\\Pellax Rim\\sound\\" + std::u16string(name));
    for (const std::u16string &path : paths) {
        const std::filesystem::path file = wince::ResolveDevicePath(path.c_str());
        EXPECT_TRUE(!file.empty() && std::filesystem::file_size(file) > 0) << wince::ToUtf8(path);
    }
    EXPECT_EQ(std::filesystem::file_size(wince::ResolveDevicePath(paths[3].c_str())), 768u);
}

TEST_F(InstalledDevice, RegistryNamesTheInstallationFolder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, assets_test::kRegistryKey, 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    WCHAR value[130] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, TEXT("GAMEPATH"), nullptr, nullptr,
                               reinterpret_cast<LPBYTE>(value), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(std::u16string(value), u"\\Program Files\\Pellax Rim");
}

TEST(MakeScoreFile, HoldsTheNumberAfterALeadingZeroCharacter) {
    Bytes zero(26, 0);
    zero[0] = zero[2] = '0';
    EXPECT_EQ(assets::MakeScoreFile(0), zero);
    // The longest number still has its NUL inside the 12-character field.
    const Bytes lowest = assets::MakeScoreFile(INT32_MIN);
    ASSERT_EQ(lowest.size(), 26u);
    std::string text;
    for (size_t i = 2; i < 26; i += 2) text += static_cast<char>(lowest[i]);
    EXPECT_EQ(text, std::string("-2147483648") + '\0');
}

// Also: making the installation again over an altered one puts it right.
TEST_F(InstalledDevice, TheGameReadsTheStartingScore) {
    GameState.highScore = 77;
    LoadHighScore();
    EXPECT_EQ(GameState.highScore, 0u);

    const Bytes file = assets::MakeScoreFile(1234);
    std::ofstream(root / "kbl_sc_s.uc2", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(file.data()),
               static_cast<std::streamsize>(file.size()));
    LoadHighScore();
    EXPECT_EQ(GameState.highScore, 1234u);

    std::string message;
    ASSERT_TRUE(assets::MakeDefaultInstallation(root, message)) << message;
    EXPECT_EQ(ReadHostFile(root / "kbl_sc_s.uc2"), assets::MakeScoreFile(0));
}

TEST(MakeDefaultInstallation, SaysWhatCouldNotBeWritten) {
    const std::filesystem::path root = assets_test::ScratchRoot("unwritable");
    std::filesystem::create_directories(root / "kbl_sc_s.uc2");  // a folder in the file's place
    std::string error;
    EXPECT_FALSE(assets::MakeDefaultInstallation(root, error));
    EXPECT_NE(error.find("kbl_sc_s.uc2"), std::string::npos) << error;
    std::filesystem::remove_all(root);
}

}  // namespace
