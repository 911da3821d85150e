// Files: device paths inside the root, dispositions, read-only files and
// folders, short reads and closed handles.
#include "support/device.h"

namespace pellax_test {
namespace {

class Files : public DeviceTest {
protected:
    HANDLE Open(const WCHAR *path, DWORD access, DWORD disposition) {
        return CreateFileW(path, access, 0, nullptr, disposition, 0, nullptr);
    }
    // Opens for writing, writes the text and closes; false when it cannot open.
    bool Write(const WCHAR *path, DWORD disposition, const std::string &text = "") {
        HANDLE file = Open(path, GENERIC_WRITE, disposition);
        DWORD put = 0;
        return file != INVALID_HANDLE_VALUE &&
               WriteFile(file, text.data(), DWORD(text.size()), &put, nullptr) && CloseHandle(file);
    }
};

TEST_F(Files, DevicePathsResolveInsideTheRootWithoutRegardToCase) {
    WriteRootFile("Picture/Kbl.plf", std::string("x"));
    for (const WCHAR *path :
         {u"\\picture\\kbl.plf", u".\\PICTURE\\KBL.PLF", u"\\Picture\\\\Kbl.plf"})
        EXPECT_EQ(wince::ResolveDevicePath(path), root / "Picture" / "Kbl.plf");
    // A missing last name keeps the spelling given; a missing folder fails.
    EXPECT_EQ(wince::ResolveDevicePath(u"\\PICTURE\\New.Dat"), root / "Picture" / "New.Dat");
    for (const WCHAR *outside : {u"\\nowhere\\file", u"\\..\\etc\\passwd", u".\\Picture\\..\\..\\x",
                                 u"\\Picture\\..\\Picture\\Kbl.plf"})
        EXPECT_TRUE(wince::ResolveDevicePath(outside).empty()) << wince::ToUtf8(outside);
    const std::string outside = root.filename().string() + "-outside";  // the test's own
    EXPECT_FALSE(Write(wince::FromUtf8("\\..\\" + outside).c_str(), CREATE_ALWAYS));
    EXPECT_FALSE(fs::exists(root.parent_path() / outside));
}

// Creations and replacements are recorded with the path as passed; a file
// or folder is read-only by its mode bits, and a read-only folder takes no
// new file but lets one already there be rewritten.
TEST_F(Files, DispositionsAndReadOnlyFilesAndFolders) {
    EXPECT_FALSE(Write(u"\\f", OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_TRUE(Write(u".\\f", CREATE_NEW, "hello"));
    EXPECT_FALSE(Write(u"\\F", CREATE_NEW));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_EXISTS});
    EXPECT_TRUE(Write(u"\\F", CREATE_ALWAYS, "new") && ReadRootFile("f") == "new");
    EXPECT_EQ(host.events, (std::vector<std::string>{"write .\\f", "write \\F"}));
    WriteRootFile("shut/inside", std::string("data"));
    for (const char *name : {"f", "shut"})
        fs::permissions(root / name,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    EXPECT_FALSE(Write(u"\\f", OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_FALSE(DeleteFileW(u"\\f"));
    EXPECT_EQ(GetFileAttributesW(u"\\f") & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_TRUE(CloseHandle(Open(u"\\f", GENERIC_READ, OPEN_EXISTING)));
    EXPECT_FALSE(Write(u"\\shut\\new", CREATE_NEW));
    EXPECT_TRUE(Write(u"\\shut\\inside", CREATE_ALWAYS));
    EXPECT_EQ(ReadRootFile("f") + ReadRootFile("shut/inside"), "new");
}

// A short read gives what there is; a closed handle is no handle.
TEST_F(Files, ShortReadsAndClosedHandles) {
    WriteRootFile("seven", std::string("1234567"));
    char buffer[16] = {};
    DWORD got = 99;
    HANDLE file = Open(u"\\seven", GENERIC_READ, OPEN_EXISTING);
    EXPECT_TRUE(ReadFile(file, buffer, 5, &got, nullptr) && got == 5);
    EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr) && std::string(buffer, got) == "67");
    EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr) && got == 0);
    EXPECT_FALSE(WriteFile(file, "x", 1, &got, nullptr));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file) || ReadFile(file, buffer, 4, &got, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
}

}  // namespace
}  // namespace pellax_test
