// The full-screen background: the dark well in its brass rim on the left,
// the slate side panel on the right with its readouts, labels and buttons,
// each placed where the game draws its numbers and tests its taps.
#include "art.h"
#include "game/game.h"
#include "gfx/gfx.h"

namespace assets::art {
namespace {

struct Box {
    int32_t x, y, w, h;
};

constexpr int32_t kScreenW = static_cast<int32_t>(kScreenWidth);
constexpr int32_t kScreenH = static_cast<int32_t>(kScreenHeight);
// The playable cells: columns 1..9, rows 19..1.
constexpr Box kWell{kCellSize, 2 * kCellSize, 9 * kCellSize, 19 * kCellSize};
constexpr int32_t kRim = 4;
constexpr int32_t kPanelLeft = kWell.x + kWell.w + kRim;

// Readouts the game draws into: the high score (digits from row 31), the
// next piece, the level with its two buttons, the rows to go and the score
// (digits from row 166).
constexpr Box kHighScoreReadout{157, 28, 71, 14};
constexpr Box kNextReadout{157, 43, 71, 65};
constexpr Box kLevelUpButton{165, 112, 15, 16};
constexpr Box kLevelReadout{194, 112, 17, 17};
constexpr Box kLevelDownButton{211, 112, 15, 16};
constexpr Box kRowsReadout{209, 134, 17, 17};
constexpr Box kScoreReadout{157, 163, 71, 14};
constexpr Box kNewGameButton{165, 270, 61, 16};
constexpr Box kExitButton{165, 292, 61, 16};

constexpr TextStyle kLabel{kPanelRamp, 15, 12, -1, Shade(kPanelRamp, 2)};
constexpr TextStyle kCaption{kCyanRamp, 12, 9};
constexpr TextStyle kButtonText{kWellRamp, 1, 1, -1, Shade(kBrassRamp, 12)};

void DrawWell(Canvas &screen) {
    screen.Fill(kWell.x, kWell.y, kWell.w, kWell.h, kReadoutFill);
    // A faint cell grid, so the eye can line pieces up.
    for (int32_t x = kWell.x; x < kWell.x + kWell.w; x += kCellSize)
        screen.Fill(x, kWell.y, 1, kWell.h, Shade(kWellRamp, 2));
    for (int32_t y = kWell.y; y < kWell.y + kWell.h; y += kCellSize) {
        screen.Fill(kWell.x, y, kWell.w, 1, Shade(kWellRamp, 2));
        for (int32_t x = kWell.x; x < kWell.x + kWell.w; x += kCellSize)
            screen.Set(x, y, Shade(kWellRamp, 4));
    }
}

void DrawRim(Canvas &screen) {
    const Box outer{kWell.x - kRim, kWell.y - kRim, kWell.w + 2 * kRim, kWell.h + 2 * kRim};
    screen.Fill(outer.x, outer.y, outer.w, outer.h, Shade(kBrassRamp, 8));
    screen.Edge(outer.x, outer.y, outer.w, outer.h, Shade(kBrassRamp, 14), Shade(kBrassRamp, 2));
    screen.Edge(outer.x + 1, outer.y + 1, outer.w - 2, outer.h - 2, Shade(kBrassRamp, 11),
                Shade(kBrassRamp, 5));
    // The innermost ring is lit from below: the well lies sunk in the rim.
    screen.Edge(kWell.x - 1, kWell.y - 1, kWell.w + 2, kWell.h + 2, Shade(kBrassRamp, 3),
                Shade(kBrassRamp, 12));
}

void DrawPanel(Canvas &screen) {
    screen.Fill(0, 0, kScreenW, kScreenH, Shade(kPanelRamp, 6));
    screen.Edge(0, 0, kWell.x - kRim, kScreenH, Shade(kPanelRamp, 10), Shade(kPanelRamp, 2));
    screen.Edge(kPanelLeft, 0, kScreenW - kPanelLeft, kScreenH, Shade(kPanelRamp, 10),
                Shade(kPanelRamp, 2));
}

void DrawInset(Canvas &screen, const Box &box) {
    screen.Fill(box.x, box.y, box.w, box.h, kReadoutFill);
    screen.Edge(box.x, box.y, box.w, box.h, Shade(kPanelRamp, 2), Shade(kPanelRamp, 11));
}

void DrawButton(Canvas &screen, const Box &box, std::string_view text) {
    screen.Fill(box.x, box.y, box.w, box.h, Shade(kBrassRamp, 9));
    screen.Edge(box.x, box.y, box.w, box.h, Shade(kBrassRamp, 15), Shade(kBrassRamp, 2));
    screen.Edge(box.x + 1, box.y + 1, box.w - 2, box.h - 2, Shade(kBrassRamp, 12),
                Shade(kBrassRamp, 5));
    const int32_t x = box.x + (box.w - TextWidth(text, 1)) / 2;
    DrawText(screen, x, box.y + (box.h - kGlyphHeight) / 2, text, 1, kButtonText);
}

// One small tile of each block colour, as a maker's mark above the panel.
void DrawColourMark(Canvas &screen) {
    constexpr int32_t kTile = 6, kStep = 9, kTop = 7;
    const int32_t left = kHighScoreReadout.x + (kHighScoreReadout.w - 6 * kStep - kTile) / 2;
    for (int32_t kind = 0; kind < kPieceKinds; ++kind) {
        const int32_t x = left + kind * kStep;
        screen.Fill(x, kTop, kTile, kTile, Shade(BlockRamp(kind), 9));
        screen.Edge(x, kTop, kTile, kTile, Shade(BlockRamp(kind), 14), Shade(BlockRamp(kind), 3));
    }
}

void DrawReadouts(Canvas &screen) {
    DrawText(screen, 160, 19, "HI-SCORE", 1, kLabel);
    DrawInset(screen, kHighScoreReadout);
    DrawInset(screen, kNextReadout);
    DrawText(screen, 160, 46, "NEXT", 1, kCaption);
    DrawButton(screen, kLevelUpButton, "+");
    DrawText(screen, 182, 117, "LV", 1, kLabel);
    DrawInset(screen, kLevelReadout);
    DrawButton(screen, kLevelDownButton, "-");
    DrawText(screen, 162, 139, "LINES", 1, kLabel);
    DrawInset(screen, kRowsReadout);
    DrawText(screen, 160, 154, "SCORE", 1, kLabel);
    DrawInset(screen, kScoreReadout);
}

void DrawKeyGuide(Canvas &screen) {
    constexpr std::string_view kLines[] = {"^  TURN", "<> MOVE", "v  DOWN", "*  DROP"};
    int32_t y = 196;
    for (std::string_view line : kLines) {
        DrawText(screen, 170, y, line, 1, kLabel);
        y += 14;
    }
}

}  // namespace

Canvas MakeBackground() {
    Canvas screen(kScreenW, kScreenH, 0);
    DrawPanel(screen);
    DrawRim(screen);
    DrawWell(screen);
    DrawColourMark(screen);
    DrawReadouts(screen);
    DrawKeyGuide(screen);
    DrawButton(screen, kNewGameButton, "NEW GAME");
    DrawButton(screen, kExitButton, "EXIT");
    return screen;
}

}  // namespace assets::art
