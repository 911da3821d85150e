// The registry file: values as the game looks them up, their sizes and
// ERROR_MORE_DATA. (Missing files, keys and values are met by the game's own
// tests of its installation directory.)
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
        EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    }
    LONG Query(const WCHAR *name, void *data, DWORD &size) {
        return RegQueryValueExW(key, name, nullptr, &type, static_cast<LPBYTE>(data), &size);
    }

    HKEY key = nullptr;
    DWORD type = REG_NONE;
};

// Strings run to the last quote and carry a terminator; hex values are raw
// bytes without one.
TEST_F(Registry, ValuesAndTheirSizes) {
    const std::u16string expected = u"\\Program Files\\Pellax \"Rim\"";
    const DWORD needed = static_cast<DWORD>((expected.size() + 1) * sizeof(WCHAR));
    DWORD size = 0;
    EXPECT_EQ(Query(u"gamepath", nullptr, size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, needed);
    // Too small by one byte: nothing is written and the size needed comes back.
    std::vector<WCHAR> text(64, u'#');
    size = needed - 1;
    EXPECT_EQ(Query(u"GAMEPATH", text.data(), size), ERROR_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(text[0], u'#');
    size = static_cast<DWORD>(text.size() * sizeof(WCHAR));
    EXPECT_EQ(Query(u"GAMEPATH", text.data(), size), ERROR_SUCCESS);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(std::u16string(text.data()), expected);
    size = sizeof(WCHAR);
    EXPECT_EQ(Query(u"Empty", text.data(), size), ERROR_SUCCESS);
    EXPECT_EQ(text[0], 0);

    BYTE bytes[8] = {};
    size = sizeof bytes;
    EXPECT_EQ(Query(u"BYTES", bytes, size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::vector<BYTE>(bytes, bytes + size), (std::vector<BYTE>{0x41, 0, 0x42, 0}));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace wince_test
