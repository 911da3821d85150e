// The intro movie file and its sound track.
#include "assets.h"

namespace assets {

Bytes MakeIntroMovie() {
    return {};
}

}  // namespace assets
