#include <string>

#include "wince_fixture.h"

namespace wince_test {
namespace {

constexpr fs::perms kNoWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

class Files : public WinceTest {
protected:
    HANDLE Open(const WCHAR *path, DWORD access, DWORD disposition) {
        return CreateFileW(path, access, 0, nullptr, disposition, 0, nullptr);
    }

    std::string ReadAll(HANDLE file) {
        char buffer[64];
        DWORD got = 0;
        std::string out;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            out.append(buffer, got);
        }
        return out;
    }
};

TEST_F(Files, BothPrefixesAndAnySpellingNameTheSameHostFile) {
    WriteHostFile("Picture/Kbl.plf", "x");
    fs::path expected = root_ / "Picture" / "Kbl.plf";
    EXPECT_EQ(wince::ResolveDevicePath(u"\\picture\\kbl.plf"), expected);
    EXPECT_EQ(wince::ResolveDevicePath(u".\\PICTURE\\KBL.PLF"), expected);
    EXPECT_EQ(wince::ResolveDevicePath(u"\\Picture\\\\Kbl.plf"), expected);
    // A missing last name keeps the spelling given; a missing folder fails.
    EXPECT_EQ(wince::ResolveDevicePath(u"\\PICTURE\\New.Dat"), root_ / "Picture" / "New.Dat");
    EXPECT_TRUE(wince::ResolveDevicePath(u"\\nowhere\\file").empty());
}

TEST_F(Files, PathsThatLeaveTheRootResolveToNothing) {
    WriteHostFile("a/b", "x");
    EXPECT_TRUE(wince::ResolveDevicePath(u"\\..\\etc\\passwd").empty());
    EXPECT_TRUE(wince::ResolveDevicePath(u".\\a\\..\\..\\b").empty());
    EXPECT_TRUE(wince::ResolveDevicePath(u"\\a\\..\\a\\b").empty());
    EXPECT_TRUE(wince::ResolveDevicePath(nullptr).empty());
    EXPECT_EQ(Open(u"\\..\\outside", GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fs::exists(root_.parent_path() / "outside"));
}

TEST_F(Files, DispositionsCreateOpenAndTruncateAsOnTheDevice) {
    EXPECT_EQ(Open(u"\\f", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open(u"\\f", GENERIC_WRITE, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);

    HANDLE created = Open(u"\\f", GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    DWORD put = 0;
    EXPECT_TRUE(WriteFile(created, "hello", 5, &put, nullptr));
    EXPECT_EQ(put, 5u);
    EXPECT_TRUE(CloseHandle(created));
    EXPECT_EQ(Open(u"\\F", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

    HANDLE kept = Open(u"\\F", GENERIC_READ, OPEN_ALWAYS);
    EXPECT_EQ(ReadAll(kept), "hello");
    CloseHandle(kept);

    HANDLE emptied = Open(u"\\f", GENERIC_WRITE, TRUNCATE_EXISTING);
    ASSERT_NE(emptied, INVALID_HANDLE_VALUE);
    CloseHandle(emptied);
    EXPECT_EQ(ReadHostFile("f"), "");

    WriteHostFile("f", "old content");
    HANDLE replaced = Open(u"\\f", GENERIC_WRITE, CREATE_ALWAYS);
    WriteFile(replaced, "new", 3, &put, nullptr);
    CloseHandle(replaced);
    EXPECT_EQ(ReadHostFile("f"), "new");
    EXPECT_EQ(wince::OpenFileCount(), 0);
}

TEST_F(Files, ReadOnlyIsDecidedByModeBits) {
    WriteHostFile("locked", "data");
    WriteHostFile("shut/inside", "data");
    fs::permissions(root_ / "locked", kNoWrite, fs::perm_options::remove);
    fs::permissions(root_ / "shut", kNoWrite, fs::perm_options::remove);

    EXPECT_EQ(Open(u"\\locked", GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open(u"\\locked", GENERIC_READ, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadHostFile("locked"), "data");
    HANDLE reader = Open(u"\\locked", GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    EXPECT_EQ(GetFileAttributesW(u"\\locked") & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteFileW(u"\\locked"));

    EXPECT_EQ(Open(u"\\shut\\new", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fs::exists(root_ / "shut" / "new"));
    // A file already in such a folder may still be rewritten.
    HANDLE inside = Open(u"\\shut\\inside", GENERIC_WRITE, CREATE_ALWAYS);
    EXPECT_NE(inside, INVALID_HANDLE_VALUE);
    CloseHandle(inside);
}

TEST_F(Files, ShortReadsEndOfFileAndAccessRights) {
    WriteHostFile("seven", "1234567");
    HANDLE file = Open(u"\\seven", GENERIC_READ, OPEN_EXISTING);
    char buffer[16] = {};
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(file, buffer, 5, &got, nullptr));
    EXPECT_EQ(got, 5u);
    EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr));
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(std::string(buffer, 2), "67");
    EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr));
    EXPECT_EQ(got, 0u);
    EXPECT_FALSE(WriteFile(file, "x", 1, &got, nullptr));
    CloseHandle(file);

    HANDLE writer = Open(u"\\seven", GENERIC_WRITE, OPEN_EXISTING);
    EXPECT_FALSE(ReadFile(writer, buffer, 4, &got, nullptr));
    EXPECT_EQ(got, 0u);
    CloseHandle(writer);
    EXPECT_FALSE(CloseHandle(writer));
    EXPECT_FALSE(ReadFile(writer, buffer, 4, &got, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Files, AFullDiskWritesUpToTheLimitThenFails) {
    wince::SetFileFaults({10});
    HANDLE file = Open(u"\\scores", GENERIC_WRITE, CREATE_ALWAYS);
    DWORD put = 0;
    EXPECT_TRUE(WriteFile(file, "123456", 6, &put, nullptr));
    EXPECT_FALSE(WriteFile(file, "abcdef", 6, &put, nullptr));
    EXPECT_EQ(put, 4u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_FALSE(WriteFile(file, "z", 1, &put, nullptr));
    EXPECT_EQ(put, 0u);
    CloseHandle(file);
    EXPECT_EQ(ReadHostFile("scores"), "123456abcd");
}

TEST_F(Files, MoveDeleteAndAttributes) {
    WriteHostFile("a", "A");
    WriteHostFile("b", "B");
    WriteHostFile("dir/x", "");
    EXPECT_FALSE(MoveFileW(u"\\a", u"\\B"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadHostFile("b"), "B");
    EXPECT_TRUE(MoveFileW(u"\\A", u"\\DIR\\c"));
    EXPECT_EQ(ReadHostFile("dir/c"), "A");
    EXPECT_FALSE(MoveFileW(u"\\a", u"\\d"));

    EXPECT_EQ(GetFileAttributesW(u"\\dir") & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(u"\\b") & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY),
              0u);
    EXPECT_TRUE(DeleteFileW(u"\\B"));
    EXPECT_EQ(GetFileAttributesW(u"\\b"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFileW(u"\\b"));
    EXPECT_FALSE(DeleteFileW(u"\\dir"));
}

TEST_F(Files, CreationsAndReplacementsAreRecordedAsPassed) {
    WriteHostFile("kept", "k");
    CloseHandle(Open(u".\\Kbl_Sc_L.uc2", GENERIC_WRITE, CREATE_ALWAYS));
    CloseHandle(Open(u"\\kept", GENERIC_READ, OPEN_EXISTING));
    CloseHandle(Open(u"\\kept", GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS));
    MoveFileW(u"\\kept", u"\\Moved");
    ASSERT_EQ(host_.TraceLines().size(), 2u);
    EXPECT_EQ(host_.TraceLines()[0], R"({"t":0,"event":"write","path":".\\Kbl_Sc_L.uc2"})");
    EXPECT_EQ(host_.TraceLines()[1], R"({"t":0,"event":"write","path":"\\Moved"})");
}

}  // namespace
}  // namespace wince_test
