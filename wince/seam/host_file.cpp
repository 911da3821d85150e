#include "wince/seam/host_file.h"

namespace wince {

std::optional<std::string> ReadHostFile(const std::filesystem::path &path) {
    std::FILE *in = OpenHostFile(path, "rb");
    if (in == nullptr) return std::nullopt;
    std::string bytes;
    char block[16384];
    for (size_t got; (got = std::fread(block, 1, sizeof block, in)) > 0;) bytes.append(block, got);
    const bool whole = std::ferror(in) == 0;
    std::fclose(in);
    if (!whole) return std::nullopt;
    return bytes;
}

bool WriteHostFile(const std::filesystem::path &path, std::string_view bytes) {
    std::FILE *out = OpenHostFile(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

void SayOnStderr(const std::string &line) {
    std::fprintf(stderr, "pellax-rim: %s\n", line.c_str());
}

}  // namespace wince
