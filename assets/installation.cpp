// The default installation: the registry entry, the installation folder with
// its pictures and sounds, the intro's two files and the starting score file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "assets.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/seam/host.h"
#include "wince/seam/host_file.h"

namespace assets {
namespace {

constexpr const char *kStartingScoreFile = "\\kbl_sc_s.uc2";
constexpr const char *kIntroMovieFile = "\\Windows\\qzmmf.dll";
constexpr const char *kIntroSoundFile = "\\Windows\\qznwf.dll";
constexpr size_t kScoreFieldChars = 12;  // the number's text and its NUL

std::string Lower(std::string text) {
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

void PutUtf16(Bytes &out, char c) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(0);
}

// A device path ("\a\b", ".\a\b") as a host path under root; empty when it
// names no file or tries to leave the root.
std::filesystem::path HostPath(const std::filesystem::path &root, const std::string &devicePath) {
    std::string rest = devicePath;
    if (rest.rfind(".\\", 0) == 0) rest.erase(0, 1);
    std::filesystem::path host = root;
    size_t start = 0;
    bool named = false;
    while (start <= rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        const std::string part = rest.substr(start, end - start);
        if (part == "." || part == "..") return {};
        if (!part.empty()) {
            host /= part;
            named = true;
        }
        start = end + 1;
    }
    return named ? host : std::filesystem::path();
}

bool WriteDeviceFile(const std::filesystem::path &root, const std::string &devicePath,
                     const Bytes &bytes, std::string &error) {
    const std::filesystem::path host = HostPath(root, devicePath);
    if (host.empty()) {
        error = "cannot place \"" + devicePath + "\" under " + root.string();
        return false;
    }
    std::error_code code;
    std::filesystem::create_directories(host.parent_path(), code);
    errno = 0;
    if (!wince::WriteHostFile(host, {reinterpret_cast<const char *>(bytes.data()), bytes.size()})) {
        const std::string reason = code ? code.message() : std::strerror(errno);
        error = "cannot write " + host.string() + ": " + reason;
        return false;
    }
    return true;
}

// Sound cues given by bare file name go to the installation's sound folder.
std::string SoundDevicePath(const std::string &name) {
    if (name.rfind('\\', 0) == 0 || name.rfind(".\\", 0) == 0) return name;
    return std::string(kGamePath) + "\\sound\\" + name;
}

std::vector<NamedFile> AllFiles() {
    std::vector<NamedFile> files;
    files.push_back(
        {std::string(kGamePath) + "\\picture\\" + wince::ToUtf8(kPaletteFile), MakePalette()});
    for (NamedFile &picture : MakePictures()) files.push_back(std::move(picture));
    for (NamedFile &sound : MakeSounds())
        files.push_back({SoundDevicePath(sound.devicePath), std::move(sound.bytes)});
    files.push_back({kIntroMovieFile, MakeIntroMovie()});
    files.push_back({kIntroSoundFile, MakeIntroSoundTrack()});
    files.push_back({kStartingScoreFile, MakeScoreFile(0)});
    const std::string registry = MakeRegistryText();
    files.push_back(
        {std::string("\\") + kRegistryFileName, Bytes(registry.begin(), registry.end())});
    return files;
}

// The host folder that a device path names under root, following folders
// and files that exist there whatever their case, as the device compares
// names; the default names for the rest.
std::filesystem::path ExistingOrDefault(const std::filesystem::path &root,
                                        const std::filesystem::path &relative) {
    std::filesystem::path at = root;
    for (const std::filesystem::path &part : relative) {
        std::filesystem::path next = at / part;
        std::error_code error;
        if (!std::filesystem::exists(next, error)) {
            const std::string wanted = Lower(part.string());
            for (const auto &entry : std::filesystem::directory_iterator(at, error)) {
                if (Lower(entry.path().filename().string()) == wanted) {
                    next = entry.path();
                    break;
                }
            }
        }
        at = next;
    }
    return at;
}

}  // namespace

std::string MakeRegistryText() {
    return std::string("; PELLAX RIM: the folder the game is installed in\n") +
           "[HKEY_LOCAL_MACHINE" + wince::ToUtf8(kRegistryKey) + "]\n" + "\"GAMEPATH\"=\"" +
           kGamePath + "\"\n";
}

Bytes MakeScoreFile(int32_t value) {
    Bytes file;
    PutUtf16(file, '0');
    char text[kScoreFieldChars] = {};
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    for (char c : text) PutUtf16(file, c);
    return file;
}

bool MakeMissingFiles(const std::filesystem::path &root, std::vector<std::string> &made,
                      std::string &error) {
    for (const NamedFile &file : AllFiles()) {
        const std::filesystem::path canonical = HostPath(root, file.devicePath);
        const std::filesystem::path host =
            ExistingOrDefault(root, canonical.lexically_relative(root));
        std::error_code code;
        if (std::filesystem::exists(host, code) || code) continue;
        std::filesystem::create_directories(host.parent_path(), code);
        errno = 0;
        if (!wince::WriteHostFile(
                host, {reinterpret_cast<const char *>(file.bytes.data()), file.bytes.size()})) {
            error = "cannot write " + host.string() + ": " + std::strerror(errno);
            return false;
        }
        made.push_back(file.devicePath);
    }
    return true;
}

bool MakeDefaultInstallation(const std::filesystem::path &root, std::string &error) {
    std::error_code code;
    std::filesystem::create_directories(root, code);
    if (code || !std::filesystem::is_directory(root)) {
        error = "cannot make the folder " + root.string() + (code ? ": " + code.message() : "");
        return false;
    }
    for (const NamedFile &file : AllFiles())
        if (!WriteDeviceFile(root, file.devicePath, file.bytes, error)) return false;
    return true;
}

}  // namespace assets
