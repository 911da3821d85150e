// --make-root: the whole default installation, written into a folder.
#include <iostream>
#include <string>

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

}  // namespace runner
