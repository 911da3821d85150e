// Replay files as --verify and --replay read them: the fuzzed bytes are a
// file, and also a bare body. Whatever they are, reading ends with a body or
// a reason; a body that reads writes back to the same replay.
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "wince/replay/file.h"
#include "wince/replay/replay.h"

namespace {

[[noreturn]] void Fail(const char *why) {
    std::fprintf(stderr, "replay: %s\n", why);
    std::abort();
}

void ReadsBack(std::span<const uint8_t> body) {
    wince::replay::Replay replay, again;
    std::string why;
    if (!wince::replay::DecodeBody(body, replay, why)) {
        if (why.empty()) Fail("refused without a reason");
        return;
    }
    std::vector<uint8_t> raw;
    const auto file = wince::replay::MakeFile(wince::replay::EncodeBody(replay));
    if (!wince::replay::OpenFile(file, raw, why) || !wince::replay::DecodeBody(raw, again, why) ||
        !(again == replay))
        Fail("a written replay does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    std::vector<uint8_t> body;
    std::string why;
    if (wince::replay::OpenFile(bytes, body, why))
        ReadsBack(body);
    else if (why.empty())
        Fail("refused without a reason");
    ReadsBack(bytes);
    return 0;
}
