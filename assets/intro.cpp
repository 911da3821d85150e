// The intro movie file and its sound track.
#include "assets.h"

namespace assets {

Bytes MakeIntroMovie() { return {}; }

Bytes MakeIntroSoundTrack() { return {}; }

}  // namespace assets
