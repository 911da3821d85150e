#include <vector>

#include "wince_fixture.h"

namespace wince_test {
namespace {

constexpr const WCHAR *kKey = u"\\SOFTWARE\\Apps\\Brackwell Pellax rim";

class Registry : public WinceTest {
protected:
    void SetUp() override {
        WinceTest::SetUp();
        WriteHostFile("registry.reg",
                      "; installation of the game\r\n"
                      "# another comment\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\APPS\\Brackwell Pellax rim]\n"
                      "\"GAMEPATH\"=\"\\Program Files\\Pellax \"Rim\"\"\n"
                      "\"Bytes\"=hex:41,00,42,00\n"
                      "\"Empty\"=\"\"\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
                      "\"Elsewhere\"=\"x\"\n");
    }

    HKEY OpenGameKey() {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
        return key;
    }
};

TEST_F(Registry, MissingFileKeyOrValueIsFileNotFound) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\Nothing", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    key = OpenGameKey();
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Elsewhere", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

    fs::remove(root_ / "registry.reg");
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, StringValuesRunToTheLastQuoteAndCarryATerminator) {
    HKEY key = OpenGameKey();
    const std::u16string expected = u"\\Program Files\\Pellax \"Rim\"";
    const DWORD needed = static_cast<DWORD>((expected.size() + 1) * sizeof(WCHAR));

    DWORD type = REG_NONE, size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"gamepath", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, needed);

    // Too small by one byte: nothing is written and the size needed comes back.
    std::vector<WCHAR> text(64, u'#');
    size = needed - 1;
    EXPECT_EQ(RegQueryValueExW(key, u"GAMEPATH", nullptr, &type,
                               reinterpret_cast<LPBYTE>(text.data()), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(text[0], u'#');

    size = static_cast<DWORD>(text.size() * sizeof(WCHAR));
    EXPECT_EQ(RegQueryValueExW(key, u"GAMEPATH", nullptr, &type,
                               reinterpret_cast<LPBYTE>(text.data()), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(std::u16string(text.data()), expected);

    size = sizeof(WCHAR);
    EXPECT_EQ(RegQueryValueExW(key, u"Empty", nullptr, &type, reinterpret_cast<LPBYTE>(text.data()),
                               &size),
              ERROR_SUCCESS);
    EXPECT_EQ(text[0], 0);
    RegCloseKey(key);
}

TEST_F(Registry, HexValuesAreRawBytesWithoutTerminator) {
    HKEY key = OpenGameKey();
    BYTE bytes[8] = {};
    DWORD type = REG_NONE, size = sizeof bytes;
    EXPECT_EQ(RegQueryValueExW(key, u"BYTES", nullptr, &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(bytes[0], 0x41);
    EXPECT_EQ(bytes[2], 0x42);
    RegCloseKey(key);
}

TEST_F(Registry, TheFileIsReadAgainAtEachOpen) {
    HKEY before = OpenGameKey();
    WriteHostFile("registry.reg", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax rim]\n");
    HKEY after = OpenGameKey();
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(after, u"Bytes", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(before, u"Bytes", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(before);
    RegCloseKey(after);
}

}  // namespace
}  // namespace wince_test
