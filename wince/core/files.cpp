// Files on the device, kept as host files under the root folder. Whether a
// file or folder is read-only is decided by its mode bits alone, so that the
// answer is the same for every host user, root included.
#include <cstdio>
#include <map>
#include <string>
#include <system_error>

#include "wince/core/internal.h"
#include "wince/seam/host_file.h"

namespace fs = std::filesystem;

namespace {

enum class Access { None, Read, Write };

struct OpenFile {
    std::FILE *stream;
    fs::path path;
    bool canRead;
    bool canWrite;
    Access last;
};

constexpr uintptr_t kFirstHandle = 0x20000;
constexpr uintptr_t kHandleStep = 0x10;

struct Files {
    std::map<uintptr_t, OpenFile> open;
    uintptr_t next = kFirstHandle;
    wince::FileFaults faults;
    int64_t calls = 0;
    bool stopped = false;
};

Files &State() {
    static Files state;
    return state;
}

OpenFile *Find(HANDLE handle) {
    auto &open = State().open;
    auto it = open.find(reinterpret_cast<uintptr_t>(handle));
    return it == open.end() ? nullptr : &it->second;
}

bool IsReadOnly(const fs::path &path) {
    std::error_code error;
    fs::perms perms = fs::status(path, error).permissions();
    if (error) return false;
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (perms & kAnyWrite) == fs::perms::none;
}

bool FolderTakesChanges(const fs::path &path) {
    return !IsReadOnly(path.parent_path());
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Counts a call of the file API; false once the program has been stopped
// there (the call must then fail and touch nothing).
bool Proceed() {
    Files &state = State();
    if (state.stopped) return SetLastError(ERROR_NOT_READY), false;
    if (++state.calls != state.faults.stopAtCall) return true;
    if (state.faults.powerCutAtStop) wince::core::CutPower();
    state.stopped = true;
    return SetLastError(ERROR_NOT_READY), false;
}

void RecordWrite(LPCWSTR devicePath) {
    if (wince::Recorder *recorder = wince::CurrentRecorder()) {
        recorder->FileWritten(devicePath);
    }
}

// Whether the disposition may open what exists, and whether it empties it.
struct Disposition {
    bool mayCreate;
    bool mayOpen;
    bool truncates;
};

bool DecodeDisposition(DWORD disposition, Disposition &out) {
    switch (disposition) {
        case CREATE_NEW:
            out = {true, false, false};
            return true;
        case CREATE_ALWAYS:
            out = {true, true, true};
            return true;
        case OPEN_EXISTING:
            out = {false, true, false};
            return true;
        case OPEN_ALWAYS:
            out = {true, true, false};
            return true;
        case TRUNCATE_EXISTING:
            out = {false, true, true};
            return true;
        default:
            return false;
    }
}

// Creates or empties the file on the host; then it is opened like any other.
bool MakeEmpty(const fs::path &path) {
    std::FILE *stream = wince::OpenHostFile(path, "wb");
    if (stream == nullptr) return false;
    std::fclose(stream);
    return true;
}

HANDLE Register(std::FILE *stream, const fs::path &path, DWORD access) {
    Files &state = State();
    uintptr_t key = state.next;
    state.next += kHandleStep;
    state.open[key] = {stream, path, (access & GENERIC_READ) != 0, (access & GENERIC_WRITE) != 0,
                       Access::None};
    return reinterpret_cast<HANDLE>(key);
}

// Checks what the disposition and the file's state allow; returns 0 when the
// file may be opened, else the error to report.
DWORD CheckOpen(const fs::path &path, DWORD access, const Disposition &how, bool exists) {
    std::error_code error;
    if (exists) {
        if (fs::is_directory(path, error)) return ERROR_ACCESS_DENIED;
        if (!how.mayOpen) return ERROR_FILE_EXISTS;
        bool writes = (access & GENERIC_WRITE) != 0 || how.truncates;
        if (writes && IsReadOnly(path)) return ERROR_ACCESS_DENIED;
        return 0;
    }
    if (!how.mayCreate) return ERROR_FILE_NOT_FOUND;
    if (!fs::is_directory(path.parent_path(), error)) return ERROR_PATH_NOT_FOUND;
    if (!FolderTakesChanges(path)) return ERROR_ACCESS_DENIED;
    return 0;
}

// A C stream needs a seek between a write and a read that follows it, and
// the other way round; seeking before every call would cost a system call
// per byte of a file read byte by byte, as sprite files are.
void TurnTo(OpenFile &file, Access next) {
    if (file.last != Access::None && file.last != next) std::fseek(file.stream, 0, SEEK_CUR);
    file.last = next;
}

}  // namespace

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD, HANDLE) {
    if (!Proceed()) return INVALID_HANDLE_VALUE;
    Disposition how{};
    if (!DecodeDisposition(dwCreationDisposition, how)) return Fail(ERROR_INVALID_PARAMETER);
    fs::path path = wince::ResolveDevicePath(lpFileName);
    if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND);
    std::error_code error;
    bool exists = fs::exists(path, error);
    if (DWORD refusal = CheckOpen(path, dwDesiredAccess, how, exists)) return Fail(refusal);
    bool empties = !exists || how.truncates;
    if (empties) wince::core::BeforeDataChange(path);
    if (empties && !MakeEmpty(path)) return Fail(ERROR_ACCESS_DENIED);
    const char *mode = (dwDesiredAccess & GENERIC_WRITE) != 0 ? "r+b" : "rb";
    std::FILE *stream = wince::OpenHostFile(path, mode);
    if (stream == nullptr) return Fail(ERROR_ACCESS_DENIED);
    if (empties) RecordWrite(lpFileName);
    // As on the device, opening what already existed says so in the last error.
    SetLastError(exists && how.mayCreate ? ERROR_ALREADY_EXISTS : 0);
    return Register(stream, path, dwDesiredAccess);
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED) {
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
    if (!Proceed()) return FALSE;
    OpenFile *file = Find(hFile);
    if (file == nullptr) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    if (!file->canRead) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    if (nNumberOfBytesToRead > 0 && lpBuffer == nullptr) {
        return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    }
    TurnTo(*file, Access::Read);
    size_t got = std::fread(lpBuffer, 1, nNumberOfBytesToRead, file->stream);
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = static_cast<DWORD>(got);
    if (std::ferror(file->stream)) {
        std::clearerr(file->stream);
        return SetLastError(ERROR_READ_FAULT), FALSE;
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED) {
    if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = 0;
    if (!Proceed()) return FALSE;
    OpenFile *file = Find(hFile);
    if (file == nullptr) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    if (!file->canWrite) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    if (nNumberOfBytesToWrite > 0 && lpBuffer == nullptr) {
        return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    }
    int64_t &room = State().faults.bytesUntilDiskFull;
    DWORD allowed = nNumberOfBytesToWrite;
    if (room >= 0 && room < allowed) allowed = static_cast<DWORD>(room);
    wince::core::BeforeDataChange(file->path);
    TurnTo(*file, Access::Write);
    size_t put = std::fwrite(lpBuffer, 1, allowed, file->stream);
    std::fflush(file->stream);
    if (room >= 0) room -= static_cast<int64_t>(put);
    if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = static_cast<DWORD>(put);
    if (put < allowed) return SetLastError(ERROR_WRITE_FAULT), FALSE;
    if (allowed < nNumberOfBytesToWrite) return SetLastError(ERROR_DISK_FULL), FALSE;
    return TRUE;
}

// The device writes through to its storage; here the data goes to the disk
// only now, which makes a record that takes its name afterwards whole.
BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    if (!Proceed()) return FALSE;
    OpenFile *file = Find(hFile);
    if (file == nullptr) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    if (!file->canWrite) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    if (!wince::core::SyncStream(file->stream)) return SetLastError(ERROR_WRITE_FAULT), FALSE;
    wince::core::DataFlushed(file->path);
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    if (Find(hObject) != nullptr && !Proceed()) return FALSE;
    OpenFile *file = Find(hObject);
    if (file == nullptr) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    std::fclose(file->stream);
    State().open.erase(reinterpret_cast<uintptr_t>(hObject));
    return TRUE;
}

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
    if (!Proceed()) return FALSE;
    fs::path path = wince::ResolveDevicePath(lpFileName);
    std::error_code error;
    if (path.empty() || !fs::exists(path, error)) return SetLastError(ERROR_FILE_NOT_FOUND), FALSE;
    if (fs::is_directory(path, error) || IsReadOnly(path) || !FolderTakesChanges(path)) {
        return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    }
    wince::core::BeforeDelete(path);
    if (!fs::remove(path, error)) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    wince::core::SyncFolder(path.parent_path());
    return TRUE;
}

BOOL WINAPI MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
    if (!Proceed()) return FALSE;
    fs::path from = wince::ResolveDevicePath(lpExistingFileName);
    fs::path to = wince::ResolveDevicePath(lpNewFileName);
    std::error_code error;
    if (from.empty() || !fs::exists(from, error)) return SetLastError(ERROR_FILE_NOT_FOUND), FALSE;
    if (to.empty() || !fs::is_directory(to.parent_path(), error)) {
        return SetLastError(ERROR_PATH_NOT_FOUND), FALSE;
    }
    if (fs::exists(to, error)) return SetLastError(ERROR_ALREADY_EXISTS), FALSE;
    if (!FolderTakesChanges(from) || !FolderTakesChanges(to)) {
        return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    }
    fs::rename(from, to, error);
    if (error) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    wince::core::Moved(from, to);
    wince::core::SyncFolder(from.parent_path());
    if (to.parent_path() != from.parent_path()) wince::core::SyncFolder(to.parent_path());
    RecordWrite(lpNewFileName);
    return TRUE;
}

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
    if (!Proceed()) return INVALID_FILE_ATTRIBUTES;
    fs::path path = wince::ResolveDevicePath(lpFileName);
    std::error_code error;
    if (path.empty() || !fs::exists(path, error)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (fs::is_directory(path, error)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (IsReadOnly(path)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

namespace wince {

void SetFileFaults(const FileFaults &faults) {
    Files &state = State();
    state.faults = faults;
    state.calls = 0;
    state.stopped = false;
    core::FollowDisk(faults.powerCutAtStop);
}

int64_t FileCallCount() {
    return State().calls;
}

int OpenFileCount() {
    return static_cast<int>(State().open.size());
}

namespace core {

void ResetFiles() {
    Files &state = State();
    for (auto &entry : state.open) std::fclose(entry.second.stream);
    state.open.clear();
    SetFileFaults(FileFaults{});
}

}  // namespace core
}  // namespace wince
