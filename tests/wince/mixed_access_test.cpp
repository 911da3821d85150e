// One handle that both reads and writes: each call starts where the last one
// ended, whichever way the last one went.
#include <string>

#include "wince_fixture.h"

namespace wince_test {
namespace {

class MixedAccess : public WinceTest {};

TEST_F(MixedAccess, ReadsAndWritesTakeTurnsAtOnePosition) {
    WriteHostFile("mixed", "abcdefgh");
    HANDLE file = CreateFileW(u"\\mixed", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[4] = {};
    DWORD count = 0;
    EXPECT_TRUE(ReadFile(file, buffer, 2, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "ab");
    EXPECT_TRUE(WriteFile(file, "XY", 2, &count, nullptr));
    EXPECT_TRUE(ReadFile(file, buffer, 1, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "e");
    EXPECT_TRUE(ReadFile(file, buffer, 1, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "f");
    EXPECT_TRUE(WriteFile(file, "Z", 1, &count, nullptr));
    EXPECT_TRUE(WriteFile(file, "!", 1, &count, nullptr));
    EXPECT_TRUE(ReadFile(file, buffer, 4, &count, nullptr));
    EXPECT_EQ(count, 0u);
    CloseHandle(file);
    EXPECT_EQ(ReadHostFile("mixed"), "abXYefZ!");
}

}  // namespace
}  // namespace wince_test
