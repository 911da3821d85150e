// The device's root folder on the host, and device paths in it: "\a\b" and
// ".\a\b" name ROOT/a/b, and each name is found among the entries that exist
// without regard to case.
#include <optional>
#include <system_error>
#include <vector>

#include "wince/core/internal.h"

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::vector<std::u16string> SplitNames(const std::u16string &path) {
    std::vector<std::u16string> names;
    std::u16string name;
    for (char16_t c : path) {
        if (!IsSeparator(c)) {
            name += c;
            continue;
        }
        if (!name.empty()) names.push_back(name);
        name.clear();
    }
    if (!name.empty()) names.push_back(name);
    return names;
}

// The host spelling of one device name; nothing for a name that no host
// file can carry, such as one holding a lone surrogate.
std::optional<fs::path> HostName(const std::u16string &name) {
    std::optional<std::string> utf8 = wince::ToUtf8Exact(name);
    if (!utf8) return std::nullopt;
    return fs::path(std::u8string(utf8->begin(), utf8->end()));
}

// The entry of folder whose name equals name without regard to case; an
// exact match wins when the host folder holds several spellings. Host
// entries whose names are not UTF-8 match no device name.
std::optional<fs::path> FindEntry(const fs::path &folder, const std::u16string &name,
                                  const fs::path &hostName) {
    std::error_code error;
    if (fs::exists(folder / hostName, error)) return folder / hostName;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::u8string entry = it->path().filename().u8string();
        std::optional<std::u16string> entryName =
            wince::FromUtf8Exact(std::string(entry.begin(), entry.end()));
        if (entryName && wince::core::EqualNoCase(*entryName, name)) return it->path();
    }
    return std::nullopt;
}

}  // namespace

namespace wince {

namespace {
fs::path &RootFolder() {
    static fs::path root;
    return root;
}
}  // namespace

void SetRoot(const fs::path &root) {
    RootFolder() = root;
}

const fs::path &Root() {
    return RootFolder();
}

fs::path ResolveDevicePath(const WCHAR *devicePath) {
    if (devicePath == nullptr || Root().empty()) return {};
    std::vector<std::u16string> names = SplitNames(devicePath);
    fs::path at = Root();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::u16string &name = names[i];
        // ".\" means the root as well: the device has no current folder.
        if (name == u".") continue;
        if (name == u"..") return {};
        std::optional<fs::path> hostName = HostName(name);
        if (!hostName) return {};
        std::optional<fs::path> entry = FindEntry(at, name, *hostName);
        bool last = i + 1 == names.size();
        if (entry) {
            at = *entry;
        } else if (last) {
            at /= *hostName;
        } else {
            return {};
        }
    }
    return at;
}

}  // namespace wince
