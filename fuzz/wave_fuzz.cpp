// Wave files as every host decodes them before playing: the fuzzed bytes are
// a cue file. Whatever they are, decoding ends; a wave it gives has whole
// frames at a rate a sound card plays, and written out as a plain file it
// reads back as the same wave.
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "wince/player/wave.h"

namespace {

[[noreturn]] void Fail(const char *why) {
    std::fprintf(stderr, "wave: %s\n", why);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string why;
    const auto wave = wince::player::DecodeWave(std::span(data, size), why);
    if (!wave) {
        if (why.empty()) Fail("refused without a reason");
        return 0;
    }
    if (wave->channels < 1 || wave->samples.size() % wave->channels != 0) Fail("not whole frames");
    if (wave->rate < 3000 || wave->rate > 384000) Fail("a rate no sound card plays");
    const auto again = wince::player::DecodeWave(wince::player::EncodeWave(*wave), why);
    if (!again || again->rate != wave->rate || again->channels != wave->channels ||
        again->samples != wave->samples)
        Fail("a written wave does not read back");
    return 0;
}
