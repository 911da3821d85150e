#include "wince/windows/user_folders.h"

#include <shlobj.h>
#include <windows.h>

namespace wince::windows {

namespace {

std::optional<std::filesystem::path> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::optional<std::filesystem::path> folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path)))
        folder = std::filesystem::path(path);
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::optional<std::filesystem::path> LocalAppData() {
    return KnownFolder(FOLDERID_LocalAppData);
}

std::optional<std::filesystem::path> PicturesFolder() {
    return KnownFolder(FOLDERID_Pictures);
}

}  // namespace wince::windows
