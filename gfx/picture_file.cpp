// Opening the files of the "\picture\" folder: the palette and the sprites.
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace {

const WCHAR kPictureFolder[] = TEXT("\\picture\\");
const WCHAR kOpenFailCaption[] = TEXT("Open file : Fail");

// GamePath + "\picture\" + name, or 0 when the whole path would not fit.
int BuildPicturePath(WCHAR *path, LPCWSTR name) {
    const size_t length = wcslen(GamePath) + wcslen(kPictureFolder) + wcslen(name);
    if (length >= kPathChars) return 0;
    path[0] = 0;
    wcscat(path, GamePath);
    wcscat(path, kPictureFolder);
    wcscat(path, name);
    return 1;
}

}  // namespace

HANDLE OpenPictureFile(LPCWSTR name) {
    WCHAR path[kPathChars];
    if (name == nullptr || !BuildPicturePath(path, name)) return INVALID_HANDLE_VALUE;
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        MessageBoxW(nullptr, path, kOpenFailCaption, MB_OK);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}
