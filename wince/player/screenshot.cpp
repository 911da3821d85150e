#include "wince/player/screenshot.h"

#include <array>
#include <ctime>
#include <system_error>

namespace wince::player {

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::array<char, 32> text{};
    // One thread asks, so the shared result of localtime is safe here.
    if (const std::tm *local = std::localtime(&now))  // NOLINT(concurrency-mt-unsafe)
        std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", local);
    return text.data();
}

std::filesystem::path FreeScreenshotPath(const std::filesystem::path &folder,
                                         const std::string &prefix, const std::string &stamp) {
    const std::string stem = prefix + "-" + stamp;
    std::filesystem::path file = folder / (stem + ".png");
    std::error_code error;
    for (int n = 2; std::filesystem::exists(file, error); ++n)
        file = folder / (stem + "-" + std::to_string(n) + ".png");
    return file;
}

}  // namespace wince::player
