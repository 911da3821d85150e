// A build without a window (PELLAX_HOSTS without desktop or windows): the
// program still plays headless, and says so when a window is asked for.
#include <iostream>

#include "runner/runner.h"

namespace runner {

int RunDesktop(const DesktopOptions &) {
    std::cerr << "pellax-rim: this build has no window; it plays only with --headless "
                 "(see --help).\n";
    return 1;
}

void PrintDesktopHelp(std::ostream &out) {
    out << "This build has no window: it plays only with --headless.\n";
}

}  // namespace runner
