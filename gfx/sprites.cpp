// The eight pictures of the play screen, loaded at start-up and freed at
// shutdown.
#include "gfx/gfx.h"

Sprite backgroundSprite;
Sprite blockSprite;
Sprite numberSprite;
Sprite scoreDigitSprite;
Sprite levelClearedSprite;
Sprite levelDigitSprite;
Sprite gameOverSprite;
Sprite overlaySprite;
