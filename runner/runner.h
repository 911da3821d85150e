// The pellax-rim program: its command line and the hosts it runs the game on.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace runner {

struct HeadlessOptions {
    std::filesystem::path root;
    std::filesystem::path script;
    std::optional<std::filesystem::path> trace;
    std::optional<std::filesystem::path> record;  // the run's replay
};

struct DesktopOptions {
    std::optional<std::filesystem::path> root;  // default: the user's data folder
    int scale = 0;                              // 0: the largest whole factor that fits
    bool fullScreen = false;
    // A replay to watch instead of a game to play: it runs on a scratch copy
    // of root (by default, of the default installation).
    std::optional<std::filesystem::path> replay;
};

inline constexpr const char *kTitle = "PELLAX RIM";

// The game's own entry, WinMain, on the host and root set up; returns the
// program's exit code.
int RunProgram();
// The program's records and the stand-in's state as at the start of a process.
void ResetProgram();
// The game waits at its idle screen for a key, which a window's title asks for.
bool AwaitsKey();

// Each returns the process exit code.
int RunHeadless(const HeadlessOptions &options);
int RunDesktop(const DesktopOptions &options);
int MakeRoot(const std::filesystem::path &root);
// A missing root is made with the default installation (a first run). One that
// exists is used as it stands, so a broken installation gets the game's own
// messages as on the device, unless mend is set: then the installation's
// files it lacks are made again, each named on stderr. False, with a message
// on stderr, when the root cannot be had.
bool PrepareRoot(const std::filesystem::path &root, bool mend = false);

// The data folder is one running program's: a second start on it is refused
// with this message and a non-zero exit code, touching nothing.
inline constexpr const char *kAlreadyRunning = "PELLAX RIM is already running with this folder";
class FolderLock {
public:
    // Null when another program holds the folder. A folder where no lock
    // file can be made (read-only) is taken without one: nothing can be
    // saved there to interleave.
    static std::unique_ptr<FolderLock> Take(const std::filesystem::path &root);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    explicit FolderLock(int fd) : fd_(fd) {}
    int fd_;
};

// The root made ready (PrepareRoot) and held (FolderLock): the lock comes
// first where the folder exists, so that a refused start touches nothing.
// Null, with the reason on stderr, when either fails; refused says another
// program holds the folder.
std::unique_ptr<FolderLock> TakeRoot(const std::filesystem::path &root, bool mend, bool &refused);

// Paths as UTF-8 text and back, the same on every system (Windows would
// otherwise go through its local code page).
inline std::string PathText(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The whole command line of pellax-rim; returns the process exit code.
int RunCommandLine(int argc, char **argv, std::ostream &out, std::ostream &err);

// The game's state as a headless `state` line writes it (JSON, the keys of
// docs/headless.md), stamped with the virtual time given.
std::string StateJson(int64_t virtualMs);

// The desktop part of --help: the root in use, the config files, the keys in
// effect.
void PrintDesktopHelp(std::ostream &out);

// The desktop's files: the default root, keys.conf and settings.conf.
std::filesystem::path DefaultRoot();
std::filesystem::path KeyMapPath();
std::filesystem::path SettingsPath();

}  // namespace runner
