// Device text as the core compares it: names without regard to case.
#include "wince/core/internal.h"

namespace wince::core {

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return c;
}

bool EqualNoCase(const std::u16string &a, const std::u16string &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

std::u16string FromDevice(const WCHAR *text) {
    return text != nullptr ? std::u16string(text) : std::u16string();
}

}  // namespace wince::core
