// The device's C runtime where its results differ from the host's: rand and
// srand, and the wide-character text functions on 16-bit characters.
#include <cstdarg>
#include <cstdlib>
#include <limits>
#include <string>

#include "wince/core/internal.h"

namespace {

constexpr uint32_t kRandMultiplier = 214013;
constexpr uint32_t kRandIncrement = 2531011;
constexpr uint32_t kRandStart = 1;
uint32_t randState = kRandStart;

bool IsWhite(WCHAR c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

// These replace the host C library's rand and srand for the whole program,
// so every caller gets the device's sequence. They must be declared as the
// library declares them: glibc's throw nothing, the browser build's (musl)
// say nothing.
#ifdef __EMSCRIPTEN__
#define PELLAX_AS_LIBC
#else
#define PELLAX_AS_LIBC noexcept
#endif
extern "C" int rand() PELLAX_AS_LIBC {
    randState = randState * kRandMultiplier + kRandIncrement;
    return static_cast<int>((randState >> 16) & 0x7FFF);
}

extern "C" void srand(unsigned seed) PELLAX_AS_LIBC {
    randState = seed;
}

// Overflow clamps to the 32-bit LONG range, as the device runtime's strtol does.
long _wtol(const WCHAR *string) {
    if (string == nullptr) return 0;
    while (IsWhite(*string)) ++string;
    bool negative = *string == u'-';
    if (*string == u'-' || *string == u'+') ++string;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; *string >= u'0' && *string <= u'9'; ++string) {
        magnitude = magnitude * 10 + (*string - u'0');
        if (magnitude > kLimit) magnitude = kLimit;
    }
    if (negative) return static_cast<long>(-magnitude);
    return static_cast<long>(magnitude == kLimit ? kLimit - 1 : magnitude);
}

size_t wcslen(const WCHAR *string) {
    const WCHAR *end = string;
    while (*end != 0) ++end;
    return static_cast<size_t>(end - string);
}

WCHAR *wcscpy(WCHAR *destination, const WCHAR *source) {
    WCHAR *out = destination;
    while ((*out++ = *source++) != 0) {
    }
    return destination;
}

WCHAR *wcscat(WCHAR *destination, const WCHAR *source) {
    wcscpy(destination + wcslen(destination), source);
    return destination;
}

int wcscmp(const WCHAR *a, const WCHAR *b) {
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    if (*a == *b) return 0;
    return *a < *b ? -1 : 1;
}

namespace wince::core {

void ResetRandom() {
    randState = kRandStart;
}

}  // namespace wince::core
