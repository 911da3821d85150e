// Sound cues found under the installation directory, and the stop call.
#include <gtest/gtest.h>

#include "support/rules_env.h"

using namespace rules_test;

namespace {

class SoundTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        ASSERT_EQ(ReadGamePath(nullptr, TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim")), 1);
    }
};

TEST_F(SoundTest, CuesAreStartedFromTheSoundFolderAndStopped) {
    EXPECT_EQ(PlaySoundCue(TEXT("kbl_s_b.nwf")), TRUE);
    EXPECT_EQ(PlaySoundCue(TEXT("kbl_s_gov.nwf")), TRUE);
    EXPECT_EQ(StopSound(), TRUE);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"sound " + SoundPath("kbl_s_b.nwf"),
                                        "sound " + SoundPath("kbl_s_gov.nwf"), "sound stop"}));
}

TEST_F(SoundTest, MissingSoundsAreSilentlyNotPlayed) {
    std::filesystem::remove_all(root / "Program Files" / "Pellax Rim" / "sound");
    EXPECT_EQ(PlaySoundCue(TEXT("kbl_s_lv.nwf")), FALSE);
    EXPECT_EQ(log.events, std::vector<std::string>{"sound " + SoundPath("kbl_s_lv.nwf")});
}

TEST_F(SoundTest, NameTooLongForThePathIsNotPlayed) {
    const std::u16string name(260, u'a');
    EXPECT_EQ(PlaySoundCue(name.c_str()), FALSE);
    EXPECT_TRUE(log.events.empty());
}

}  // namespace
