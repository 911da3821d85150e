// --make-root: the whole default installation, written into a folder.
#include <string>
#include <system_error>
#include <vector>

#include "assets/assets.h"
#include "runner/runner.h"
#include "wince/seam/host_file.h"

namespace runner {

int MakeRoot(const std::filesystem::path &root) {
    std::string error;
    if (assets::MakeDefaultInstallation(root, error)) return 0;
    wince::SayOnStderr("cannot make the installation in " + PathText(root) + ": " + error);
    return 1;
}

bool PrepareRoot(const std::filesystem::path &root, bool mend) {
    std::error_code error;
    if (!std::filesystem::exists(root, error)) return MakeRoot(root) == 0;
    if (!std::filesystem::is_directory(root, error)) {
        wince::SayOnStderr("the root " + PathText(root) + " is not a folder");
        return false;
    }
    if (!mend) return true;
    std::vector<std::string> made;
    std::string why;
    const bool whole = assets::MakeMissingFiles(root, made, why);
    for (const std::string &file : made)
        wince::SayOnStderr(file + " was missing from " + PathText(root) + " and is made again");
    // A file that cannot be made is the game's to report, as on the device.
    if (!whole) wince::SayOnStderr(why);
    return true;
}

}  // namespace runner
