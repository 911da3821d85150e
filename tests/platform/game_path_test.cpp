// The installation directory read from the registry, and its two failures.
#include <gtest/gtest.h>

#include <fstream>

#include "support/rules_env.h"

using namespace rules_test;

namespace {

const char *const kKeyLine = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax rim]\n";
const std::string kProblem = "This is a problem in process of installation please reinstall";

class GamePathTest : public DeviceTest {
protected:
    void WriteRegistry(const std::string &text) {
        std::ofstream(root / assets::kRegistryFileName, std::ios::binary) << text;
    }

    int Read() { return ReadGamePath(nullptr, TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim")); }

    std::string Path() const { return wince::ToUtf8(std::u16string(GamePath)); }

    // Something left over from before, which every read must clear first.
    void SetUp() override {
        DeviceTest::SetUp();
        GamePath[0] = u'x';
        GamePath[kGamePathChars - 1] = u'y';
    }
};

TEST_F(GamePathTest, DefaultInstallationNamesItsFolder) {
    EXPECT_EQ(Read(), 1);
    EXPECT_EQ(Path(), assets::kGamePath);
    EXPECT_EQ(GamePath[kGamePathChars - 1], 0);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(GamePathTest, ValueOf129CharactersFillsThePathExactly) {
    const std::string longest = "\\" + std::string(128, 'p');
    WriteRegistry(kKeyLine + ("\"GAMEPATH\"=\"" + longest + "\"\n"));
    EXPECT_EQ(Read(), 1);
    EXPECT_EQ(Path(), longest);
}

TEST_F(GamePathTest, ValuesThatDoNotFitFailWithQueryError) {
    const std::string values[] = {
        "\"GAMEPATH\"=\"\\" + std::string(129, 'p') + "\"",  // 130 characters and a terminator
        "\"GAMEPATH\"=hex:" +
            [] {  // 260 bytes, no terminator
                std::string bytes;
                for (int i = 0; i < 130; ++i) bytes += std::string(i ? "," : "") + "41,00";
                return bytes;
            }(),
        "\"OTHER\"=\"\\x\"",  // no value of that name
    };
    for (const std::string &value : values) {
        log.events.clear();
        WriteRegistry(kKeyLine + value + "\n");
        EXPECT_EQ(Read(), 0) << value.substr(0, 30);
        EXPECT_EQ(log.events, std::vector<std::string>{"msgbox QueryError|" + kProblem});
        EXPECT_EQ(Path(), "");
        EXPECT_EQ(GamePath[kGamePathChars - 1], 0);
    }
}

TEST_F(GamePathTest, MissingKeyFailsWithOpenErrorAndLeavesThePathEmpty) {
    WriteRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Someone else]\n\"GAMEPATH\"=\"\\x\"\n");
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(log.events, std::vector<std::string>{"msgbox OpenError|" + kProblem});
    EXPECT_EQ(Path(), "");
}

TEST_F(GamePathTest, ValueIsTakenAsStoredWithoutAddingABackslash) {
    WriteRegistry(kKeyLine + std::string("\"GAMEPATH\"=\"\\Storage Card\\Game\\\"\n"));
    EXPECT_EQ(Read(), 1);
    EXPECT_EQ(Path(), "\\Storage Card\\Game\\");
}

}  // namespace
