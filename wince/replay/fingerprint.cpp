#include "wince/replay/fingerprint.h"

#include <algorithm>
#include <vector>

#include "wince/replay/replay.h"
#include "wince/seam/host_file.h"

namespace wince::replay {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

std::string Generic(const std::filesystem::path &path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path &file) {
    const auto text = ReadHostFile(file);
    if (!text) return std::nullopt;
    return std::vector<uint8_t>(text->begin(), text->end());
}

std::optional<uint64_t> Fingerprint(const std::filesystem::path &root,
                                    std::span<const std::string_view> leaveOut,
                                    std::string &error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    std::vector<std::string> names;
    for (fs::recursive_directory_iterator it(root, failure), end; !failure && it != end;
         it.increment(failure)) {
        const std::string name = Generic(it->path().lexically_relative(root));
        const std::string top = Lower(name.substr(0, name.find('/')));
        if (std::any_of(leaveOut.begin(), leaveOut.end(),
                        [&](std::string_view out) { return top == Lower(std::string(out)); })) {
            if (it->is_directory(failure)) it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file(failure)) names.push_back(name);
    }
    if (failure)
        return error = "cannot read " + Generic(root) + ": " + failure.message(), std::nullopt;
    // The same order on every system, whatever order its folders list in.
    std::sort(names.begin(), names.end());
    uint64_t digest = 0;
    for (const std::string &name : names) {
        const auto bytes = ReadWholeFile(root / fs::path(std::u8string(name.begin(), name.end())));
        if (!bytes) return error = "cannot read " + name, std::nullopt;
        digest = Digest({reinterpret_cast<const uint8_t *>(name.data()), name.size() + 1}, digest);
        digest = Digest(*bytes, digest);
    }
    return digest;
}

}  // namespace wince::replay
