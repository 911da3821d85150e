// The process entry of pellax-rim.
#include <iostream>

#include "runner/runner.h"

int main(int argc, char **argv) {
    return runner::RunCommandLine(argc, argv, std::cout, std::cerr);
}
