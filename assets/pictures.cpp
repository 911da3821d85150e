// The eight sprite files of the play screen, under the installation's
// picture folder.
#include <string>

#include "art.h"
#include "gfx/gfx.h"
#include "wince/seam/host.h"

namespace assets {
namespace {

NamedFile Picture(const WCHAR *name, Bytes bytes) {
    return {std::string(kGamePath) + "\\picture\\" + wince::ToUtf8(name), std::move(bytes)};
}

}  // namespace

std::vector<NamedFile> MakePictures() {
    using namespace art;
    return {
        Picture(kBackgroundFile, MakeStripFile({MakeBackground()})),
        Picture(kOverlayFile, MakeStripFile({MakeTitleStrip()})),
        Picture(kBlockFile, MakeStripFile(MakeBlocks())),
        Picture(kNumberFile, MakeStripFile(MakeSmallNumbers())),
        Picture(kScoreDigitFile, MakeStripFile(MakeScoreDigits())),
        Picture(kLevelClearedFile, MakeStripFile({MakeLevelClearedBanner()})),
        Picture(kLevelDigitFile, MakeStripFile(MakeLevelPlaques())),
        Picture(kGameOverFile, MakeStripFile({MakeGameOverBanner()})),
    };
}

}  // namespace assets
