// --make-root: the whole default installation, written into a folder.
#include <iostream>
#include <string>
#include <system_error>

#include "assets/assets.h"
#include "runner/runner.h"

namespace runner {

int MakeRoot(const std::filesystem::path &root) {
    std::string error;
    if (assets::MakeDefaultInstallation(root, error)) return 0;
    std::cerr << "pellax-rim: cannot make the installation in " << root.string() << ": " << error
              << "\n";
    return 1;
}

bool PrepareRoot(const std::filesystem::path &root) {
    std::error_code error;
    if (!std::filesystem::exists(root, error)) return MakeRoot(root) == 0;
    if (std::filesystem::is_directory(root, error)) return true;
    std::cerr << "pellax-rim: the root " << root.string() << " is not a folder\n";
    return false;
}

}  // namespace runner
