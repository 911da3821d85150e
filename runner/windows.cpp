// The game in a Windows window: the user's folders and the Windows host
// under the player.
#include "runner/windowed.h"
#include "wince/windows/host.h"
#include "wince/windows/user_folders.h"

namespace runner {

namespace {

std::filesystem::path Screenshots() {
    return wince::windows::PicturesFolder().value_or(DefaultRoot());
}

}  // namespace

// The handheld's root is the program's own folder under %LOCALAPPDATA%;
// keys.conf and settings.conf live beside the handheld's files in it.
std::filesystem::path DefaultRoot() {
    return wince::windows::LocalAppData().value_or(".") / kProgramFolder;
}

std::filesystem::path KeyMapPath() {
    return DefaultRoot() / "keys.conf";
}

std::filesystem::path SettingsPath() {
    return DefaultRoot() / "settings.conf";
}

int RunDesktop(const DesktopOptions &options) {
    return RunWindowed(options, wince::windows::OpenWindows, "windows", Screenshots(), "");
}

void PrintDesktopHelp(std::ostream &out) {
    PrintWindowHelp(out, Screenshots());
}

}  // namespace runner
