// Set-up of the stand-in: the host and recorder every call goes to, the root
// folder, the reset used by tests, and UTF-8 conversions.
#include <chrono>
#include <cstdio>
#include <thread>

#include "internal.h"

namespace wince {
namespace {

// Serves until a real host is set, so tests of the game's folders need no set-up.
class BuiltInHost final : public Host {
public:
    void Present(const Picture &) override {}
    void PumpInput() override {}
    void Idle() override {}
    int64_t CounterNow() override {
        auto since = std::chrono::steady_clock::now() - start_;
        return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
    }
    int64_t CounterFrequency() override { return 1000000; }
    void Sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    bool PlaySound(const std::filesystem::path *) override { return true; }
    int ShowMessageBox(HWND, const std::u16string &text, const std::u16string &caption,
                       uint32_t) override {
        std::fprintf(stderr, "[%s] %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
        return IDOK;
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

Host *currentHost = nullptr;
Recorder *currentRecorder = nullptr;

std::filesystem::path &RootFolder() {
    static std::filesystem::path root;
    return root;
}

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

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i], advancing i; malformed bytes become
// the replacement character rather than being dropped silently.
char32_t DecodeUtf8(const std::string &text, size_t &i) {
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
    return c > 0x10FFFF ? kReplacement : c;
}

}  // namespace

void SetHost(Host *host) {
    currentHost = host;
}

Host &CurrentHost() {
    static BuiltInHost builtIn;
    return currentHost != nullptr ? *currentHost : builtIn;
}

void SetRecorder(Recorder *recorder) {
    currentRecorder = recorder;
}

void SetRoot(const std::filesystem::path &root) {
    RootFolder() = root;
}

const std::filesystem::path &Root() {
    return RootFolder();
}

void ResetForTest() {
    core::ResetQueue();
    core::ResetWindows();
    core::ResetFiles();
    core::ResetRegistry();
    core::ResetRandom();
    core::ResetDisplay();
    SetLastError(0);
}

std::string ToUtf8(const std::u16string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                    text[i + 1] < 0xE000;
        if (pair) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string FromUtf8(const std::string &text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) AppendUtf16(out, DecodeUtf8(text, i));
    return out;
}

Recorder *CurrentRecorder() {
    return currentRecorder;
}

namespace core {

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

}  // namespace core
}  // namespace wince

namespace {
DWORD lastError = 0;
}

DWORD WINAPI GetLastError(void) {
    return lastError;
}

void WINAPI SetLastError(DWORD dwErrCode) {
    lastError = dwErrCode;
}
