// The page's keys by the player's names: every name given is one the player
// knows, so keys.conf and the defaults mean the same keys in a browser.
#include <set>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "wince/player/device_keys.h"
#include "wince/player/keys.h"
#include "wince/web/keys.h"

namespace wince::web {
namespace {

// The codes that follow a pattern: letters, digits, the keypad's digits, F1
// to F24.
std::vector<std::string> PatternCodes() {
    std::vector<std::string> codes;
    for (char c = 'A'; c <= 'Z'; ++c) codes.push_back(std::string("Key") + c);
    for (char c = '0'; c <= '9'; ++c) {
        codes.push_back(std::string("Digit") + c);
        codes.push_back(std::string("Numpad") + c);
    }
    for (int n = 1; n <= 24; ++n) codes.push_back("F" + std::to_string(n));
    return codes;
}

TEST(PageKeys, EveryKeyIsNamedAsThePlayerNamesIt) {
    std::set<std::string> names;
    for (const NamedCode &named : NamedCodes()) {
        EXPECT_EQ(KeyName(named.code), named.name);
        EXPECT_EQ(player::CanonicalKeyName(named.name), named.name) << named.code;
        names.insert(named.name);
    }
    for (const std::string &code : PatternCodes()) {
        const auto name = KeyName(code);
        ASSERT_TRUE(name) << code;
        EXPECT_EQ(player::CanonicalKeyName(*name), *name) << code;
        names.insert(*name);
    }
    EXPECT_EQ(KeyName("Numpad7"), "Keypad 7");
    EXPECT_EQ(KeyName("Digit7"), "7");
    // Every key the game has by default, and every one the player keeps,
    // can be struck.
    const player::KeyMap defaults = player::DefaultKeyMap();
    for (const player::DeviceKey &key : player::DeviceKeys())
        for (const std::string &name : defaults.KeysFor(key.code))
            EXPECT_TRUE(names.contains(name)) << name;
    for (const player::ReservedKey &key : player::ReservedKeys())
        EXPECT_TRUE(names.contains(key.name)) << key.name;
}

TEST(PageKeys, CodesNearTheNamedOnesAreNoKeys) {
    for (const char *code : {"", "Key", "KeyAB", "Keya", "Digit10", "Numpad", "NumpadPlus", "F0",
                             "F25", "F01", "F99999999999999999999", "IntlBackslash", "arrowleft"})
        EXPECT_FALSE(KeyName(code)) << code;
}

}  // namespace
}  // namespace wince::web
