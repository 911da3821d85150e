// Device paths: the fuzzed bytes are UTF-16LE text, resolved against a small
// root whose names need the case-insensitive match, one of them not UTF-8.
// Every folder is read-only by its mode bits, so no call can change the root.
// Nothing throws; a path resolves inside the root or not at all; the text and
// its case-swapped twin name the same file; the file calls agree with it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "wince/core/control.h"
#include "wince/seam/quiet_host.h"

namespace {

namespace fs = std::filesystem;

void Check(bool holds, const char *what) {
    if (holds) return;
    std::fprintf(stderr, "paths: %s\n", what);
    std::abort();
}

class SmallRoot {
public:
    SmallRoot() {
        std::string pattern = (fs::temp_directory_path() / "pellax-paths-XXXXXX").string();
        Check(mkdtemp(pattern.data()) != nullptr, "a temporary folder");
        root_ = pattern;
        for (const char *file : {"Program Files/Pellax Rim/picture/kbl.plf", "Windows/qzmmf.dll",
                                 "\xC3\x84\xC3\x96/\xC3\xA9.txt", "bad\xFF", "surr\xED\xA0\x80"}) {
            fs::create_directories((root_ / file).parent_path());
            std::ofstream(root_ / file) << "bytes";
        }
        SetFolderModes(fs::perms::owner_read | fs::perms::owner_exec);
    }
    ~SmallRoot() {
        SetFolderModes(fs::perms::owner_all);
        fs::remove_all(root_);
    }
    const fs::path &Root() const { return root_; }

private:
    void SetFolderModes(fs::perms mode) {
        fs::permissions(root_, mode);
        for (const auto &entry : fs::recursive_directory_iterator(root_))
            if (entry.is_directory()) fs::permissions(entry.path(), mode);
    }
    fs::path root_;
};

// ASCII and Latin-1 letters in the other case, as the device folds them.
std::u16string SwapCase(std::u16string text) {
    for (char16_t &c : text) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c += 32;
        else if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c -= 32;
    }
    return text;
}

bool HasLoneSurrogate(const std::u16string &text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto low = [&](size_t at) {
            return at < text.size() && (text[at] & 0xFC00) == 0xDC00;
        };
        if (low(i) || ((text[i] & 0xFC00) == 0xD800 && !low(++i))) return true;
    }
    return false;
}

void CheckInsideRoot(const fs::path &resolved, const fs::path &root) {
    if (resolved.empty()) return;
    const fs::path relative = resolved.lexically_relative(root);
    Check(!relative.empty(), "a path outside the root");
    for (const fs::path &part : relative) Check(part != "..", "a path that climbs out of the root");
}

// What GetFileAttributesW says decides what the other file calls must do.
DWORD CheckFileCalls(const WCHAR *text) {
    const DWORD attributes = GetFileAttributesW(text);
    const bool missing = attributes == INVALID_FILE_ATTRIBUTES;
    Check(!missing || GetLastError() == ERROR_FILE_NOT_FOUND, "a missing file's error");
    const bool file = !missing && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    const HANDLE handle =
        CreateFileW(text, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    Check((handle != INVALID_HANDLE_VALUE) == file, "CreateFileW agrees");
    Check(handle != INVALID_HANDLE_VALUE || GetLastError() != 0, "a failed open's error");
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    Check((sndPlaySoundW(text, 0) == TRUE) == file, "sndPlaySoundW agrees");
    Check(!DeleteFileW(text) && !MoveFileW(text, TEXT("\\moved")), "the read-only root kept");
    Check(GetFileAttributesW(text) == attributes, "the file kept");
    return attributes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const SmallRoot root;
    static wince::QuietHost host(true);
    wince::SetHost(&host);
    wince::SetRecorder(nullptr);
    wince::SetRoot(root.Root());

    // The device reads a path up to its terminator.
    std::u16string text;
    for (size_t i = 0; i + 1 < size && (data[i] | data[i + 1]) != 0; i += 2)
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    const std::u16string swapped = SwapCase(text);

    const fs::path resolved = wince::ResolveDevicePath(text.c_str());
    CheckInsideRoot(resolved, root.Root());
    CheckInsideRoot(wince::ResolveDevicePath(swapped.c_str()), root.Root());
    Check(resolved.empty() || !HasLoneSurrogate(text), "a lone surrogate names nothing");
    Check(CheckFileCalls(text.c_str()) == CheckFileCalls(swapped.c_str()), "case does not matter");

    MessageBoxW(nullptr, text.c_str(), swapped.c_str(), MB_OK);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, text.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    Check(wince::OpenFileCount() == 0, "no handle left open");
    return 0;
}
