// swprintf of the device runtime on 16-bit text. Integer arguments are the
// device's 32-bit int; a length letter (l, h) is accepted and changes nothing.
#include <cstdarg>
#include <string>

#include "wince/core/internal.h"

namespace {

struct Spec {
    bool left = false;
    bool zero = false;
    bool plus = false;
    bool space = false;
    int width = 0;
};

std::u16string Digits(uint32_t value, uint32_t base, bool upper) {
    const char *digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(digits[value % base]));
        value /= base;
    } while (value != 0);
    return out;
}

// Pads to the width: zeros go between the sign and the digits.
void Emit(std::u16string &out, const Spec &spec, const std::u16string &sign,
          const std::u16string &body, bool numeric) {
    int pad = spec.width - static_cast<int>(sign.size() + body.size());
    if (pad < 0) pad = 0;
    if (spec.left) {
        out += sign + body + std::u16string(pad, u' ');
    } else if (spec.zero && numeric) {
        out += sign + std::u16string(pad, u'0') + body;
    } else {
        out += std::u16string(pad, u' ') + sign + body;
    }
}

const WCHAR *ReadSpec(const WCHAR *f, Spec &spec, va_list &args) {
    for (;; ++f) {
        if (*f == u'-')
            spec.left = true;
        else if (*f == u'0')
            spec.zero = true;
        else if (*f == u'+')
            spec.plus = true;
        else if (*f == u' ')
            spec.space = true;
        else
            break;
    }
    if (*f == u'*') {
        spec.width = va_arg(args, int);
        if (spec.width < 0) spec.left = true, spec.width = -spec.width;
        ++f;
    }
    for (; *f >= u'0' && *f <= u'9'; ++f) spec.width = spec.width * 10 + (*f - u'0');
    while (*f == u'l' || *f == u'h') ++f;
    return f;
}

void Convert(std::u16string &out, WCHAR conversion, const Spec &spec, va_list &args) {
    switch (conversion) {
        case u'd':
        case u'i': {
            int value = va_arg(args, int);
            // Through unsigned, so the most negative int has a magnitude too.
            uint32_t magnitude =
                value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
            std::u16string sign = value < 0 ? u"-" : spec.plus ? u"+" : spec.space ? u" " : u"";
            Emit(out, spec, sign, Digits(magnitude, 10, false), true);
            break;
        }
        case u'u':
            Emit(out, spec, u"", Digits(va_arg(args, unsigned), 10, false), true);
            break;
        case u'x':
            Emit(out, spec, u"", Digits(va_arg(args, unsigned), 16, false), true);
            break;
        case u'X':
            Emit(out, spec, u"", Digits(va_arg(args, unsigned), 16, true), true);
            break;
        case u'c':
            Emit(out, spec, u"", std::u16string(1, static_cast<WCHAR>(va_arg(args, int))), false);
            break;
        case u's': {
            const WCHAR *text = va_arg(args, const WCHAR *);
            Emit(out, spec, u"", text != nullptr ? text : u"(null)", false);
            break;
        }
        default:
            out += conversion;
            break;  // %% and anything unknown stand as written
    }
}

}  // namespace

int swprintf(WCHAR *buffer, const WCHAR *format, ...) {
    if (buffer == nullptr || format == nullptr) return -1;
    std::u16string out;
    va_list args;
    va_start(args, format);
    for (const WCHAR *f = format; *f != 0; ++f) {
        if (*f != u'%') {
            out += *f;
            continue;
        }
        Spec spec;
        f = ReadSpec(f + 1, spec, args);
        if (*f == 0) break;
        Convert(out, *f, spec, args);
    }
    va_end(args);
    out.copy(buffer, out.size());
    buffer[out.size()] = 0;
    return static_cast<int>(out.size());
}
