// The eight sprite files of the play screen, under the installation's
// picture folder.
#include <string>

#include "art.h"

namespace assets {
namespace {

NamedFile Picture(const char *name, Bytes bytes) {
    return {std::string(kGamePath) + "\\picture\\" + name, std::move(bytes)};
}

}  // namespace

std::vector<NamedFile> MakePictures() {
    using namespace art;
    return {
        Picture("kbl_b.nbf", MakeStripFile({MakeBackground()})),
        Picture("kbl_sl.nbf", MakeStripFile({MakeTitleStrip()})),
        Picture("kbl_bl.nbf", MakeStripFile(MakeBlocks())),
        Picture("kbl_n.nbf", MakeStripFile(MakeSmallNumbers())),
        Picture("kbl_sn.nbf", MakeStripFile(MakeScoreDigits())),
        Picture("kbl_cg.nbf", MakeStripFile({MakeLevelClearedBanner()})),
        Picture("kbl_lv.nbf", MakeStripFile(MakeLevelPlaques())),
        Picture("kbl_gov.nbf", MakeStripFile({MakeGameOverBanner()})),
    };
}

}  // namespace assets
