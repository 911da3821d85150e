// A file of the host opened by its path as the host spells it: UTF-16 on
// Windows, where a narrow name would go through the local code page.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace wince {

inline std::FILE *OpenHostFile(const std::filesystem::path &path, const char *mode) {
#ifdef _WIN32
    return _wfopen(path.c_str(),
                   std::wstring(mode, mode + std::char_traits<char>::length(mode)).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace wince
