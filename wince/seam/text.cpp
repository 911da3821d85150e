// UTF-16 and UTF-8, for hosts, the registry file, traces and tests.
#include "wince/seam/text.h"

#include <cstddef>
#include <optional>

namespace wince {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string &out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string &out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 | (c >> 10));
        out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
}

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xE000;
}

// Decodes one UTF-8 sequence at text[i], advancing i; malformed bytes and
// overlong forms become the replacement character rather than being dropped
// silently. An encoded surrogate (ED A0 80) decodes to the surrogate itself.
char32_t DecodeUtf8(std::string_view text, size_t &i) {
    auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4) return kReplacement;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    return c > 0x10FFFF || c < kLeast[extra] ? kReplacement : c;
}

// Whether text[i] begins a high-and-low surrogate pair.
bool PairAt(std::u16string_view text, size_t i) {
    return text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
           text[i + 1] < 0xE000;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (PairAt(text, i)) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (IsSurrogate(c)) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) AppendUtf16(out, DecodeUtf8(text, i));
    return out;
}

std::optional<std::string> ToUtf8Exact(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsSurrogate(text[i])) continue;
        if (!PairAt(text, i)) return std::nullopt;
        ++i;
    }
    return ToUtf8(text);
}

std::optional<std::u16string> FromUtf8Exact(std::string_view text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        const char32_t c = DecodeUtf8(text, i);
        // The replacement character is taken only where it was spelled out.
        if (IsSurrogate(c) ||
            (c == kReplacement && text.substr(start, i - start) != "\xEF\xBF\xBD"))
            return std::nullopt;
        AppendUtf16(out, c);
    }
    return out;
}

}  // namespace wince
