// The registry, kept in the text file "registry.reg" in the root so that a
// person can read and edit it. The file is read afresh at each key opened,
// so a test may change it between runs of the program.
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "wince/core/internal.h"
#include "wince/seam/host_file.h"

namespace {

using wince::core::EqualNoCase;

struct Value {
    DWORD type;
    std::vector<BYTE> data;
};

struct Key {
    std::u16string path;
    std::vector<std::pair<std::u16string, Value>> values;
};

constexpr uintptr_t kFirstKey = 0x30000;
constexpr uintptr_t kKeyStep = 0x10;

struct Registry {
    std::map<uintptr_t, Key> open;
    uintptr_t next = kFirstKey;
};

Registry &State() {
    static Registry state;
    return state;
}

const char16_t *RootName(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return u"HKEY_LOCAL_MACHINE";
    if (root == HKEY_CURRENT_USER) return u"HKEY_CURRENT_USER";
    if (root == HKEY_CLASSES_ROOT) return u"HKEY_CLASSES_ROOT";
    return nullptr;
}

// The key path with empty names dropped, so "\A\\B\" and "A\B" compare equal.
std::u16string Normalize(const std::u16string &path) {
    std::u16string out, name;
    auto flush = [&] {
        if (name.empty()) return;
        if (!out.empty()) out += u'\\';
        out += name;
        name.clear();
    };
    for (char16_t c : path) {
        if (c == u'\\') {
            flush();
        } else {
            name += c;
        }
    }
    flush();
    return out;
}

std::string Trim(const std::string &text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

Value StringValue(const std::u16string &text) {
    Value value{REG_SZ, {}};
    for (char16_t c : text) {
        value.data.push_back(static_cast<BYTE>(c & 0xFF));
        value.data.push_back(static_cast<BYTE>(c >> 8));
    }
    value.data.push_back(0);
    value.data.push_back(0);
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "xx,xx,..." into bytes; empty means no bytes. Nothing on a malformed list.
std::optional<Value> HexValue(const std::string &list) {
    Value value{REG_BINARY, {}};
    std::string pair;
    for (size_t i = 0; i <= list.size(); ++i) {
        if (i < list.size() && list[i] != ',') {
            if (list[i] != ' ') pair += list[i];
            continue;
        }
        if (pair.empty() && i == list.size() && value.data.empty()) break;
        if (pair.size() != 2 || HexDigit(pair[0]) < 0 || HexDigit(pair[1]) < 0) return {};
        value.data.push_back(static_cast<BYTE>(HexDigit(pair[0]) * 16 + HexDigit(pair[1])));
        pair.clear();
    }
    return value;
}

// A value line: "NAME"="text" or "NAME"=hex:xx,xx. The text runs to the last
// quote of the line, backslashes and inner quotes included.
std::optional<std::pair<std::u16string, Value>> ParseValue(const std::string &line) {
    if (line.size() < 4 || line[0] != '"') return {};
    size_t close = line.find('"', 1);
    if (close == std::string::npos || close + 1 >= line.size() || line[close + 1] != '=') return {};
    std::u16string name = wince::FromUtf8(line.substr(1, close - 1));
    std::string rest = line.substr(close + 2);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
        return std::pair{name, StringValue(wince::FromUtf8(rest.substr(1, rest.size() - 2)))};
    }
    if (rest.rfind("hex:", 0) == 0) {
        std::optional<Value> value = HexValue(rest.substr(4));
        if (value) return std::pair{name, *value};
    }
    return {};
}

// The values of the key from the file; nothing when the file or key is missing.
std::optional<Key> ReadKey(const std::u16string &wanted) {
    const auto text = wince::ReadHostFile(wince::ResolveDevicePath(u"\\registry.reg"));
    if (!text) return {};
    std::optional<Key> found;
    bool inside = false;
    for (size_t at = 0, end = 0; at < text->size(); at = end + 1) {
        end = std::min(text->find('\n', at), text->size());
        std::string line = text->substr(at, end - at);
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            std::u16string path = Normalize(wince::FromUtf8(line.substr(1, line.size() - 2)));
            inside = EqualNoCase(path, wanted);
            if (inside && !found) found = Key{wanted, {}};
            continue;
        }
        if (!inside) continue;
        if (auto value = ParseValue(line)) found->values.push_back(std::move(*value));
    }
    return found;
}

Key *FindOpen(HKEY key) {
    auto &open = State().open;
    auto it = open.find(reinterpret_cast<uintptr_t>(key));
    return it == open.end() ? nullptr : &it->second;
}

// The full path of a sub key under one of the roots or under a key already open.
std::optional<std::u16string> FullPath(HKEY parent, LPCWSTR subKey) {
    std::u16string base;
    if (const char16_t *root = RootName(parent)) {
        base = root;
    } else if (Key *open = FindOpen(parent)) {
        base = open->path;
    } else {
        return {};
    }
    return Normalize(base + u'\\' + wince::core::FromDevice(subKey));
}

const Value *FindValue(const Key &key, LPCWSTR name) {
    std::u16string wanted = wince::core::FromDevice(name);
    // A later line for the same name replaces an earlier one.
    const Value *found = nullptr;
    for (const auto &entry : key.values) {
        if (EqualNoCase(entry.first, wanted)) found = &entry.second;
    }
    return found;
}

}  // namespace

LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::optional<std::u16string> path = FullPath(hKey, lpSubKey);
    if (!path) return ERROR_INVALID_HANDLE;
    std::optional<Key> key = ReadKey(*path);
    if (!key) return ERROR_FILE_NOT_FOUND;
    Registry &state = State();
    uintptr_t handle = state.next;
    state.next += kKeyStep;
    state.open[handle] = std::move(*key);
    *phkResult = reinterpret_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    Key *key = FindOpen(hKey);
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if (lpData != nullptr && lpcbData == nullptr) return ERROR_INVALID_PARAMETER;
    const Value *value = FindValue(*key, lpValueName);
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    if (lpType != nullptr) *lpType = value->type;
    auto size = static_cast<DWORD>(value->data.size());
    if (lpData != nullptr && *lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (lpData != nullptr) std::copy(value->data.begin(), value->data.end(), lpData);
    if (lpcbData != nullptr) *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    return State().open.erase(reinterpret_cast<uintptr_t>(hKey)) == 1 ? ERROR_SUCCESS
                                                                      : ERROR_INVALID_HANDLE;
}

namespace wince::core {

void ResetRegistry() {
    State().open.clear();
}

}  // namespace wince::core
