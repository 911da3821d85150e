// The process entry of pellax-rim.exe: the command line arrives as UTF-16
// and goes on as UTF-8, as on other systems. The program is a windowed one,
// so started from a console it borrows that console for its text.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "runner/runner.h"
#include "wince/seam/host.h"

namespace {

void BorrowConsole() {
    const bool hasOutput =
        GetStdHandle(STD_OUTPUT_HANDLE) != nullptr && GetStdHandle(STD_ERROR_HANDLE) != nullptr;
    if (hasOutput || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE *ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
    BorrowConsole();
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        const std::wstring_view arg(argv[i]);
        args.push_back(wince::ToUtf8(std::u16string(arg.begin(), arg.end())));
    }
    std::vector<char *> pointers;
    pointers.reserve(args.size() + 1);
    for (std::string &arg : args) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    return runner::RunCommandLine(argc, pointers.data(), std::cout, std::cerr);
}
