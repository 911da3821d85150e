// The device's C runtime: rand, swprintf and _wtol; and text between UTF-16
// and UTF-8.
#include <climits>
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

TEST_F(Runtime, Swprintf) {
    const struct {
        const WCHAR *format;
        int value;
        const WCHAR *expected;
    } cases[] = {{u"%d", 0, u"0"},
                 {u"%d", INT_MIN, u"-2147483648"},
                 {u"%i", INT_MAX, u"2147483647"},
                 {u"%u", -1, u"4294967295"},
                 {u"%x", 0xBEEF, u"beef"},
                 {u"%5d|", -42, u"  -42|"},
                 {u"%-5d|", 42, u"42   |"},
                 {u"%05d", -42, u"-0042"},
                 {u"%ld%%", 99, u"99%"}};
    WCHAR buffer[64];
    for (const auto &c : cases) {
        const int length = swprintf(buffer, c.format, c.value);
        EXPECT_EQ(std::u16string(buffer), c.expected) << wince::ToUtf8(c.format);
        EXPECT_EQ(length, static_cast<int>(std::u16string(c.expected).size()));
    }
}

// Beyond the 32-bit range the result clamps instead of wrapping.
TEST_F(Runtime, WtolReadsLikeTheDeviceRuntime) {
    const std::pair<const WCHAR *, long> cases[] = {{u"-5", -5},
                                                    {u"  12abc", 12},
                                                    {u"\t\n+7", 7},
                                                    {u"abc", 0},
                                                    {u"", 0},
                                                    {u"- 5", 0},
                                                    {u"000123", 123},
                                                    {u"-2147483648", INT32_MIN},
                                                    {u"2147483648", INT32_MAX},
                                                    {u"99999999999999999999999", INT32_MAX},
                                                    {u"-99999999999", INT32_MIN}};
    for (auto [text, value] : cases) EXPECT_EQ(_wtol(text), value) << wince::ToUtf8(text);
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
