// Files: device paths inside the root, the dispositions, read-only files and
// folders, short reads, access rights, one position shared by reads and
// writes, and the trace of writes.
#include <unistd.h>

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
    void ExpectError(DWORD error) { EXPECT_EQ(GetLastError(), error); }
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
                                 u"\\Picture\\..\\Picture\\Kbl.plf"})
        EXPECT_TRUE(wince::ResolveDevicePath(outside).empty()) << wince::ToUtf8(outside);
    const std::string outside = "pellax_outside_" + std::to_string(getpid());
    EXPECT_FALSE(Write(wince::FromUtf8("\\..\\" + outside).c_str(), CREATE_ALWAYS));
    EXPECT_FALSE(fs::exists(root_.parent_path() / outside));
}

// Creations and replacements are traced with the path as passed.
TEST_F(Files, DispositionsCreateOpenAndTruncateAsOnTheDevice) {
    EXPECT_EQ(Open(u"\\f", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    ExpectError(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Write(u"\\f", TRUNCATE_EXISTING));
    EXPECT_TRUE(Write(u".\\f", CREATE_NEW, "hello"));
    EXPECT_FALSE(Write(u"\\F", CREATE_NEW));
    ExpectError(ERROR_FILE_EXISTS);
    EXPECT_TRUE(Write(u"\\F", OPEN_ALWAYS, "J"));
    EXPECT_EQ(ReadHostFile("f"), "Jello");
    EXPECT_TRUE(Write(u"\\f", TRUNCATE_EXISTING));
    EXPECT_EQ(ReadHostFile("f"), "");
    WriteHostFile("f", "old content");
    EXPECT_TRUE(Write(u"\\F", CREATE_ALWAYS, "new"));
    EXPECT_EQ(ReadHostFile("f"), "new");
    EXPECT_EQ(wince::OpenFileCount(), 0);
    EXPECT_EQ(host_.TraceLines(),
              (std::vector<std::string>{R"({"t":0,"event":"write","path":".\\f"})",
                                        R"({"t":0,"event":"write","path":"\\f"})",
                                        R"({"t":0,"event":"write","path":"\\F"})"}));
}

TEST_F(Files, ReadOnlyIsDecidedByModeBits) {
    WriteHostFile("locked", "data");
    WriteHostFile("shut/inside", "data");
    for (const char *name : {"locked", "shut"})
        fs::permissions(root_ / name,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    EXPECT_FALSE(Write(u"\\locked", OPEN_EXISTING));
    ExpectError(ERROR_ACCESS_DENIED);
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

TEST_F(Files, ShortReadsAccessRightsAndOnePosition) {
    WriteHostFile("seven", "1234567");
    HANDLE file = Open(u"\\seven", GENERIC_READ, OPEN_EXISTING);
    char buffer[16] = {};
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(file, buffer, 5, &got, nullptr));
    EXPECT_EQ(got, 5u);
    EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "67");
    EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr));
    EXPECT_EQ(got, 0u);
    EXPECT_FALSE(WriteFile(file, "x", 1, &got, nullptr));
    CloseHandle(file);
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_FALSE(ReadFile(file, buffer, 4, &got, nullptr));
    ExpectError(ERROR_INVALID_HANDLE);

    HANDLE writer = Open(u"\\seven", GENERIC_WRITE, OPEN_EXISTING);
    EXPECT_FALSE(ReadFile(writer, buffer, 4, &got, nullptr));
    EXPECT_EQ(got, 0u);
    CloseHandle(writer);

    // Each call starts where the last ended, whichever way it went.
    HANDLE both = Open(u"\\seven", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    EXPECT_TRUE(ReadFile(both, buffer, 2, &got, nullptr));
    EXPECT_TRUE(WriteFile(both, "XY", 2, &got, nullptr));
    EXPECT_TRUE(ReadFile(both, buffer, 1, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "5");
    EXPECT_TRUE(WriteFile(both, "Z!", 2, &got, nullptr));
    EXPECT_TRUE(ReadFile(both, buffer, 4, &got, nullptr));
    EXPECT_EQ(got, 0u);
    CloseHandle(both);
    EXPECT_EQ(ReadHostFile("seven"), "12XY5Z!");
}

}  // namespace
}  // namespace wince_test
