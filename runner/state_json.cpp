// The game's state as a headless run's `state` line writes it: one JSON
// object whose keys other tools rely on, laid out so a person can read it.
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "game/game.h"
#include "platform/platform.h"
#include "runner/runner.h"

namespace runner {

namespace {

using Json = nlohmann::ordered_json;

Json BoardJson() {
    Json rows = Json::array();
    for (int32_t r = 0; r < kBoardRows; ++r) {
        Json row = Json::array();
        for (int32_t c = 0; c < kBoardColumns; ++c) row.push_back(Board[r * kBoardColumns + c]);
        rows.push_back(row);
    }
    return rows;
}

Json GameFieldsJson(int64_t virtualMs) {
    const GameStateRecord &g = GameState;
    return Json{{"t", virtualMs},
                {"level", g.level},
                {"rowsThisLevel", g.rowsThisLevel},
                {"score", g.score},
                {"highScore", g.highScore},
                {"pieceX", g.pieceX},
                {"pieceY", g.pieceY},
                {"rotation", g.rotation},
                {"currentIndex", g.currentIndex},
                {"nextIndex", g.nextIndex},
                {"playing", g.playing},
                {"dropping", g.dropping},
                {"levelCleared", g.levelCleared}};
}

}  // namespace

std::string StateJson(int64_t virtualMs) {
    Json state = GameFieldsJson(virtualMs);
    state["board"] = BoardJson();
    state["sequence"] = std::vector<int>(std::begin(PieceSequence), std::end(PieceSequence));
    state["keys"] = std::vector<uint32_t>(std::begin(KeyFlags), std::end(KeyFlags));
    state["stylus"] = Json{{"down", StylusState.down}, {"x", StylusState.x}, {"y", StylusState.y}};
    state["frameLastTick"] = frameLastTick;
    state["tickSlot0"] = TickSlot[0];

    // One key a line, and one board row a line, so that two dumps diff well.
    std::ostringstream out;
    out << "{\n";
    bool first = true;
    for (const auto &[key, value] : state.items()) {
        out << (first ? "" : ",\n") << "  " << Json(key).dump() << ": ";
        first = false;
        if (key != "board") {
            out << value.dump();
            continue;
        }
        out << "[\n";
        for (size_t r = 0; r < value.size(); ++r)
            out << "    " << value[r].dump() << (r + 1 < value.size() ? ",\n" : "\n");
        out << "  ]";
    }
    out << "\n}\n";
    return out.str();
}

}  // namespace runner
