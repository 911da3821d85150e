// One handle that both reads and writes: each call starts where the last one
// ended, whichever way the last one went, and a file read byte by byte gives
// back every byte.
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

TEST_F(MixedAccess, ByteByByteReadsGiveEveryByte) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes += static_cast<char>(i * 31 % 251);
    WriteHostFile("long", bytes);
    HANDLE file =
        CreateFileW(u"\\long", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string read;
    char byte = 0;
    DWORD count = 0;
    while (ReadFile(file, &byte, 1, &count, nullptr) && count == 1) read += byte;
    CloseHandle(file);
    EXPECT_EQ(read, bytes);
}

}  // namespace
}  // namespace wince_test
