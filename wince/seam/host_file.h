// A file of the host opened by its path as the host spells it: UTF-16 on
// Windows, where a narrow name would go through the local code page.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace wince {

inline std::FILE *OpenHostFile(const std::filesystem::path &path, const char *mode) {
#ifdef _WIN32
    return _wfopen(path.c_str(),
                   std::wstring(mode, mode + std::char_traits<char>::length(mode)).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// Whole host files through C's streams, not C++'s: the page would carry the
// C++ streams' locale machinery for them, a fifth of its size.
std::optional<std::string> ReadHostFile(const std::filesystem::path &path);
// False when the file cannot be written whole (errno says why).
bool WriteHostFile(const std::filesystem::path &path, std::string_view bytes);
// One line on stderr, after "pellax-rim: ".
void SayOnStderr(const std::string &line);

}  // namespace wince
