// What the core's files share among themselves and nothing outside sees.
#pragma once

#include <cstdint>
#include <string>

#include "wince/core/control.h"

namespace wince::core {

// Each part of the core puts itself back to its freshly-started state.
void ResetQueue();
void ResetWindows();
void ResetFiles();
void ResetRegistry();
void ResetRandom();
void ResetDisplay();

// Whether a handle names a live window (a destroyed one does not).
bool WindowIsAlive(HWND window);

// ASCII and Latin-1 letters fold to lower case, as the device compares
// file, class and registry names.
char16_t FoldCase(char16_t c);
bool EqualNoCase(const std::u16string &a, const std::u16string &b);

// A null pointer reads as the empty text.
std::u16string FromDevice(const WCHAR *text);

}  // namespace wince::core
