// Scripts as the headless host reads them. (When scripted events happen,
// the virtual time each look at the queue takes and the close after a
// script, the recorded runs pin.)
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "wince/headless/host.h"

namespace pellax_test {
namespace {

using wince::headless::ParseScript;

std::string ParseError(const std::string &text) {
    std::istringstream in(text);
    std::string error;
    EXPECT_FALSE(ParseScript(in, error).has_value()) << text;
    return error;
}

TEST(Script, ReadsEveryKindAndNamesTheLineItCannotRead) {
    std::istringstream in(
        "# a comment\n\n0 keydown 37\r\n10 keyup 37\n   \n20 down 120 -3\n20 move 121 4\n"
        "30 up 122 5\n40 shot out/screen one.png\n40 state s.json\n50 close\n");
    std::string error;
    auto events = ParseScript(in, error);
    ASSERT_TRUE(events.has_value()) << error;
    std::string kinds;
    for (const auto &event : *events) kinds += std::to_string(int(event.kind));
    EXPECT_EQ(kinds, "01243675");
    EXPECT_EQ(std::make_tuple((*events)[2].t, (*events)[2].a, (*events)[2].b),
              std::make_tuple(20, 120, -3));
    EXPECT_EQ((*events)[5].file, "out/screen one.png");
    EXPECT_EQ(ParseError("# comment\n\n5 jump\n"), "line 3: unknown event jump");
    EXPECT_EQ(ParseError("9 close\n#\n8 close\n"), "line 3: time goes backwards");
    for (const char *bad : {"x keydown 1", "-1 close", "1 keydown", "1 keydown 1 2", "1 down 5",
                            "1 down 5 y", "1 up 5 99999", "1 shot"})
        EXPECT_EQ(ParseError(std::string("0 close\n") + bad).rfind("line 2:", 0), 0u) << bad;
}

}  // namespace
}  // namespace pellax_test
