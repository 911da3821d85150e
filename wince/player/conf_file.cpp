#include "wince/player/conf_file.h"

#include <algorithm>
#include <system_error>

#include "wince/seam/host_file.h"
#include "wince/seam/text.h"

namespace wince::player {

namespace {

// These files are a few lines; anything much larger is not one, and a
// garbled file should not flood the terminal.
constexpr std::uintmax_t kMaxFileSize = 64 * 1024;
constexpr size_t kMaxWarnings = 8;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Printable UTF-8: no control characters but tab and carriage return, and
// nothing a strict decoder refuses (a cut sequence, an encoded surrogate).
bool IsText(std::string_view line) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t' && byte != '\r') || byte == 0x7F) return false;
    }
    return FromUtf8Exact(line).has_value();
}

}  // namespace

std::vector<std::string> Warnings(std::vector<ConfProblem> problems) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const ConfProblem &a, const ConfProblem &b) { return a.line < b.line; });
    std::vector<std::string> warnings;
    for (const ConfProblem &problem : problems) {
        if (warnings.size() == kMaxWarnings) {
            warnings.push_back("(and more)");
            break;
        }
        warnings.push_back(problem.line == 0
                               ? problem.why
                               : "line " + std::to_string(problem.line) + ": " + problem.why);
    }
    return warnings;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

ConfText ReadConfText(std::string_view text) {
    ConfText conf;
    int number = 0;
    for (size_t at = 0, end = 0; at < text.size(); at = end + 1) {
        end = std::min(text.find('\n', at), text.size());
        const std::string line(text.substr(at, end - at));
        ++number;
        if (!IsText(line)) {
            conf.problems.push_back({number, "not text"});
            continue;
        }
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;
        const auto equals = trimmed.find('=');
        if (equals == std::string_view::npos) {
            conf.problems.push_back({number, "expected NAME = VALUE"});
            continue;
        }
        conf.lines.push_back({number, std::string(Trim(trimmed.substr(0, equals))),
                              std::string(Trim(trimmed.substr(equals + 1)))});
    }
    return conf;
}

ConfText ReadConfFile(const std::filesystem::path &file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return {};
    if (!std::filesystem::is_regular_file(file, error) || file_size(file, error) > kMaxFileSize)
        return {{}, {{0, "not a settings file"}}};
    const auto read = ReadHostFile(file);
    if (!read) return {{}, {{0, "cannot be read"}}};
    const std::string &bytes = *read;
    if (bytes.find('\0') != std::string::npos) return {{}, {{0, "not a text file"}}};
    return ReadConfText(bytes);
}

}  // namespace wince::player
