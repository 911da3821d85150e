// The best score: read at start-up from the score file, written when a game
// ends holding it.
#include "game/game.h"
#include "gfx/gfx.h"

namespace {

constexpr const WCHAR *kStartingScoreFile = TEXT(".\\kbl_sc_s.uc2");
constexpr const WCHAR *kSavedScoreFile = TEXT(".\\kbl_sc_l.uc2");
constexpr const WCHAR *kSavingScoreFile = TEXT(".\\kbl_sc_l.tmp");
constexpr DWORD kLeadBytes = 2;  // one "0" character, skipped on reading
constexpr size_t kNumberChars = 12;
constexpr DWORD kNumberBytes = kNumberChars * sizeof(WCHAR);
// The device's long is 32 bits and its runtime saturates there.
constexpr long kLargestScore = 2147483647;

// The saved file holds the latest record; before the first one is saved,
// the file the installation supplied is read (docs/fidelity.md).
LPCWSTR ScoreFileToRead() {
    const DWORD attributes = GetFileAttributesW(kSavedScoreFile);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return kStartingScoreFile;
    return kSavedScoreFile;
}

constexpr DWORD kRecordBytes = kLeadBytes + kNumberBytes;
const WCHAR kWriteFailCaption[] = TEXT("Write file : Fail");

void QuitAfterFileFailure() {
    Shutdown();
    PostQuitMessage(0);
}

// A record that cannot be written ends the program, as it always did, but
// says so first (docs/fidelity.md).
void QuitAfterWriteFailure() {
    MessageBoxW(nullptr, kSavedScoreFile, kWriteFailCaption, MB_OK);
    QuitAfterFileFailure();
}

// A save stopped between removing the old record and moving the new one in
// leaves the new one whole beside it: it takes its place. Any other file left
// by a save is no record and goes (docs/fidelity.md).
void RecoverInterruptedSave() {
    const HANDLE file = CreateFileW(kSavingScoreFile, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    uint8_t bytes[kRecordBytes + 1];
    DWORD read = 0;
    const bool whole = ReadFile(file, bytes, sizeof bytes, &read, nullptr) && read == kRecordBytes;
    CloseHandle(file);
    const bool recordMissing = GetFileAttributesW(kSavedScoreFile) == INVALID_FILE_ATTRIBUTES;
    if (!whole || !recordMissing || !MoveFileW(kSavingScoreFile, kSavedScoreFile))
        DeleteFileW(kSavingScoreFile);
}

// The number field's text as the runtime's _wtol reads it; the field is
// parsed no further than its 12 characters, and a negative number reads as 0.
uint32_t ParseScoreField(const WCHAR (&field)[kNumberChars + 1]) {
    const long value = _wtol(field);
    if (value < 0) return 0;
    return static_cast<uint32_t>(value > kLargestScore ? kLargestScore : value);
}

// Both writes, each of its full length.
bool WriteScoreFile(HANDLE file) {
    const WCHAR lead = u'0';
    WCHAR field[kNumberChars] = {};
    swprintf(field, TEXT("%d"), static_cast<int32_t>(GameState.highScore));
    DWORD written = 0;
    return WriteFile(file, &lead, kLeadBytes, &written, nullptr) && written == kLeadBytes &&
           WriteFile(file, field, kNumberBytes, &written, nullptr) && written == kNumberBytes;
}

}  // namespace

// The file is only read, so a read-only one serves (docs/fidelity.md).
int LoadHighScore() {
    RecoverInterruptedSave();
    const HANDLE file = CreateFileW(ScoreFileToRead(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        QuitAfterFileFailure();
        return 0;
    }
    WCHAR lead = 0;
    WCHAR field[kNumberChars + 1] = {};
    DWORD read = 0;
    const bool ok = ReadFile(file, &lead, kLeadBytes, &read, nullptr) &&
                    ReadFile(file, field, kNumberBytes, &read, nullptr);
    // A short file gives what was read; the rest of the field stays zero.
    if (ok) GameState.highScore = ParseScoreField(field);
    CloseHandle(file);
    return ok ? 1 : 0;
}

// The record is written whole into a file beside it, flushed to the disk,
// and takes the record's name only then, so a full disk, a write cut off
// midway or a power loss leaves the previous record as it was
// (docs/fidelity.md). The device cannot move a file over another: the old
// record is deleted and the new one moved into its place right after; a stop
// between the two leaves the new record whole in the temporary file, which
// the next start moves into place.
void SaveHighScore() {
    if (GameState.highScore != GameState.score) return;
    const HANDLE file = CreateFileW(kSavingScoreFile, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        QuitAfterWriteFailure();
        return;
    }
    const bool written = WriteScoreFile(file) && FlushFileBuffers(file);
    CloseHandle(file);
    // A failed write was never reported: the game plays on, record unchanged.
    if (!written) {
        DeleteFileW(kSavingScoreFile);
        return;
    }
    // An old record that cannot be removed (read-only) cannot be replaced,
    // as it could not be created over before.
    if (!DeleteFileW(kSavedScoreFile) &&
        GetFileAttributesW(kSavedScoreFile) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileW(kSavingScoreFile);
        QuitAfterWriteFailure();
        return;
    }
    if (!MoveFileW(kSavingScoreFile, kSavedScoreFile)) QuitAfterWriteFailure();
}

// Leaving the program, by the exit area or the window's close button, keeps
// a record the game in progress holds, as NEW GAME does (docs/fidelity.md).
// After a failure has shut the program down there is nothing to keep.
void SaveHighScoreOnLeaving() {
    if (ShutdownDone || GameState.score == 0) return;
    SaveHighScore();
}
