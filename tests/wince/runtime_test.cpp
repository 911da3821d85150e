// The device's rand, and text between UTF-16 and UTF-8. (swprintf and _wtol
// are pinned where the game uses them: the score digits and the score files.)
#include <cstdlib>
#include <string>

#include "wince_fixture.h"

namespace wince_test {
namespace {

using Runtime = WinceTest;

TEST_F(Runtime, RandFollowsTheDeviceSequence) {
    // A fresh process starts from state 1.
    for (int expected : {41, 18467, 6334}) EXPECT_EQ(rand(), expected);
    srand(1);
    EXPECT_EQ(std::rand(), 41);
    srand(12345);
    // 12345 * 214013 + 2531011 = 2644521496 (mod 2^32), whose bits 16..30 are 7584.
    EXPECT_EQ(rand(), 7584);
    EXPECT_EQ(rand(), 19164);
    wince::ResetForTest();
    EXPECT_EQ(rand(), 41);
}

TEST_F(Runtime, TextConvertsBetweenUtf16AndUtf8) {
    const std::u16string text = u"Pellax \u00e9\u20ac\U0001F600";
    EXPECT_EQ(wince::ToUtf8(text), "Pellax \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(wince::FromUtf8(wince::ToUtf8(text)), text);
    // Broken text becomes the replacement character, never invalid UTF-8.
    EXPECT_EQ(wince::ToUtf8(std::u16string(1, u'\xD800') + u"a"),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(wince::FromUtf8("\xC3(\xFF"), u"\uFFFD(\uFFFD");
    // The trace, which must stay valid JSON, is written from such text too.
    MessageBoxW(nullptr, std::u16string(1, u'\xDC00').c_str(), u"", MB_OK);
    ASSERT_EQ(host_.TraceLines().size(), 1u);
    EXPECT_NE(host_.TraceLines()[0].find("\xEF\xBF\xBD"), std::string::npos);
}

}  // namespace
}  // namespace wince_test
