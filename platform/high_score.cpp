// The best score: read at start-up from the score file, written when a game
// ends holding it.
#include "app/app.h"
#include "game/game.h"
#include "platform/platform.h"

namespace {

constexpr const WCHAR *kStartingScoreFile = TEXT(".\\kbl_sc_s.uc2");
constexpr const WCHAR *kSavedScoreFile = TEXT(".\\kbl_sc_l.uc2");
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

void QuitAfterFileFailure() {
    Shutdown();
    PostQuitMessage(0);
}

// The number field's text as the runtime's _wtol reads it; the field is
// parsed no further than its 12 characters, and a negative number reads as 0.
uint32_t ParseScoreField(const WCHAR (&field)[kNumberChars + 1]) {
    const long value = _wtol(field);
    if (value < 0) return 0;
    return static_cast<uint32_t>(value > kLargestScore ? kLargestScore : value);
}

}  // namespace

int LoadHighScore() {
    const HANDLE file = CreateFileW(ScoreFileToRead(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
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

void SaveHighScore() {
    if (GameState.highScore != GameState.score) return;
    const HANDLE file = CreateFileW(kSavedScoreFile, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        QuitAfterFileFailure();
        return;
    }
    const WCHAR lead = u'0';
    WCHAR field[kNumberChars] = {};
    swprintf(field, TEXT("%d"), static_cast<int32_t>(GameState.highScore));
    DWORD written = 0;
    WriteFile(file, &lead, kLeadBytes, &written, nullptr);
    WriteFile(file, field, kNumberBytes, &written, nullptr);
    CloseHandle(file);
}
