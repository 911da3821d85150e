// The eight pictures of the play screen and the files they come from, loaded
// at start-up and freed at shutdown.
#include "gfx/gfx.h"

Sprite backgroundSprite;
Sprite blockSprite;
Sprite numberSprite;
Sprite scoreDigitSprite;
Sprite levelClearedSprite;
Sprite levelDigitSprite;
Sprite gameOverSprite;
Sprite overlaySprite;

const PictureFile PictureFileTable[kPictureCount] = {
    {kBackgroundFile, &backgroundSprite},
    {kBlockFile, &blockSprite},
    {kNumberFile, &numberSprite},
    {kScoreDigitFile, &scoreDigitSprite},
    {kLevelClearedFile, &levelClearedSprite},
    {kLevelDigitFile, &levelDigitSprite},
    {kGameOverFile, &gameOverSprite},
    {kOverlayFile, &overlaySprite},
};
