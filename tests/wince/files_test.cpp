#include <string>

#include "wince_fixture.h"

namespace wince_test {
namespace {

class Files : public WinceTest {
protected:
    HANDLE Open(const WCHAR *path, DWORD access, DWORD disposition) {
        return CreateFileW(path, access, 0, nullptr, disposition, 0, nullptr);
    }

    // Opens for writing, writes the text and closes; false when it cannot open.
    bool Write(const WCHAR *path, DWORD disposition, const std::string &text = "") {
        HANDLE file = Open(path, GENERIC_WRITE, disposition);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD put = 0;
        EXPECT_TRUE(WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &put, nullptr));
        CloseHandle(file);
        return true;
    }

    void MakeReadOnly(const fs::path &relative) {
        fs::permissions(root_ / relative,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
};

TEST_F(Files, DevicePathsResolveInsideTheRootWithoutRegardToCase) {
    WriteHostFile("Picture/Kbl.plf", "x");
    const fs::path found = root_ / "Picture" / "Kbl.plf";
    EXPECT_EQ(wince::ResolveDevicePath(u"\\picture\\kbl.plf"), found);
    EXPECT_EQ(wince::ResolveDevicePath(u".\\PICTURE\\KBL.PLF"), found);
    EXPECT_EQ(wince::ResolveDevicePath(u"\\Picture\\\\Kbl.plf"), found);
    // A missing last name keeps the spelling given; a missing folder fails.
    EXPECT_EQ(wince::ResolveDevicePath(u"\\PICTURE\\New.Dat"), root_ / "Picture" / "New.Dat");
    for (const WCHAR *outside : {u"\\nowhere\\file", u"\\..\\etc\\passwd", u".\\Picture\\..\\..\\x",
                                 u"\\Picture\\..\\Picture\\Kbl.plf"}) {
        EXPECT_TRUE(wince::ResolveDevicePath(outside).empty()) << wince::ToUtf8(outside);
    }
    EXPECT_FALSE(Write(u"\\..\\outside", CREATE_ALWAYS));
    EXPECT_FALSE(fs::exists(root_.parent_path() / "outside"));
}

TEST_F(Files, DispositionsCreateOpenAndTruncateAsOnTheDevice) {
    EXPECT_EQ(Open(u"\\f", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Write(u"\\f", TRUNCATE_EXISTING));
    EXPECT_TRUE(Write(u"\\f", CREATE_NEW, "hello"));
    EXPECT_FALSE(Write(u"\\F", CREATE_NEW));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_TRUE(Write(u"\\F", OPEN_ALWAYS, "J"));
    EXPECT_EQ(ReadHostFile("f"), "Jello");
    EXPECT_TRUE(Write(u"\\f", TRUNCATE_EXISTING));
    EXPECT_EQ(ReadHostFile("f"), "");
    WriteHostFile("f", "old content");
    EXPECT_TRUE(Write(u"\\f", CREATE_ALWAYS, "new"));
    EXPECT_EQ(ReadHostFile("f"), "new");
    EXPECT_EQ(wince::OpenFileCount(), 0);
}

TEST_F(Files, ReadOnlyIsDecidedByModeBits) {
    WriteHostFile("locked", "data");
    WriteHostFile("shut/inside", "data");
    MakeReadOnly("locked");
    MakeReadOnly("shut");
    EXPECT_FALSE(Write(u"\\locked", OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open(u"\\locked", GENERIC_READ, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileW(u"\\locked"));
    EXPECT_EQ(ReadHostFile("locked"), "data");
    EXPECT_EQ(GetFileAttributesW(u"\\locked") & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    HANDLE reader = Open(u"\\locked", GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    // No new file in a read-only folder, but one already there may be rewritten.
    EXPECT_FALSE(Write(u"\\shut\\new", CREATE_NEW));
    EXPECT_FALSE(fs::exists(root_ / "shut" / "new"));
    EXPECT_TRUE(Write(u"\\shut\\inside", CREATE_ALWAYS));
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

TEST_F(Files, MoveNeverReplacesAndDeleteTakesOnlyFiles) {
    WriteHostFile("a", "A");
    WriteHostFile("b", "B");
    WriteHostFile("dir/x", "");
    EXPECT_FALSE(MoveFileW(u"\\a", u"\\B"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadHostFile("b"), "B");
    EXPECT_TRUE(MoveFileW(u"\\A", u"\\DIR\\c"));
    EXPECT_EQ(ReadHostFile("dir/c"), "A");
    EXPECT_FALSE(MoveFileW(u"\\a", u"\\d"));
    EXPECT_EQ(GetFileAttributesW(u"\\dir"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(DeleteFileW(u"\\dir"));
    EXPECT_TRUE(DeleteFileW(u"\\B"));
    EXPECT_EQ(GetFileAttributesW(u"\\b"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Files, CreationsAndReplacementsAreRecordedAsPassed) {
    WriteHostFile("kept", "k");
    Write(u".\\Kbl_Sc_L.uc2", CREATE_ALWAYS);
    Write(u"\\kept", OPEN_ALWAYS);
    MoveFileW(u"\\kept", u"\\Moved");
    const std::vector<std::string> expected = {
        R"({"t":0,"event":"write","path":".\\Kbl_Sc_L.uc2"})",
        R"({"t":0,"event":"write","path":"\\Moved"})"};
    EXPECT_EQ(host_.TraceLines(), expected);
}

}  // namespace
}  // namespace wince_test
