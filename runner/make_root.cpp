// --make-root: the whole default installation, written into a folder.
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "assets/assets.h"
#include "runner/runner.h"

namespace runner {

int MakeRoot(const std::filesystem::path &root) {
    std::string error;
    if (assets::MakeDefaultInstallation(root, error)) return 0;
    std::cerr << "pellax-rim: cannot make the installation in " << PathText(root) << ": " << error
              << "\n";
    return 1;
}

bool PrepareRoot(const std::filesystem::path &root, bool mend) {
    std::error_code error;
    if (!std::filesystem::exists(root, error)) return MakeRoot(root) == 0;
    if (!std::filesystem::is_directory(root, error)) {
        std::cerr << "pellax-rim: the root " << PathText(root) << " is not a folder\n";
        return false;
    }
    if (!mend) return true;
    std::vector<std::string> made;
    std::string why;
    const bool whole = assets::MakeMissingFiles(root, made, why);
    for (const std::string &file : made)
        std::cerr << "pellax-rim: " << file << " was missing from " << PathText(root)
                  << " and is made again\n";
    // A file that cannot be made is the game's to report, as on the device.
    if (!whole) std::cerr << "pellax-rim: " << why << "\n";
    return true;
}

}  // namespace runner
