// Reading a headless script: one event per line, "T kind arguments".
#include <charconv>
#include <limits>
#include <sstream>

#include "wince/headless/host.h"

namespace wince::headless {
namespace {

using Kind = ScriptEvent::Kind;

struct KindName {
    const char *name;
    Kind kind;
    int numbers;  // how many numbers follow; -1: a file name
};

constexpr KindName kKinds[] = {
    {"keydown", Kind::KeyDown, 1}, {"keyup", Kind::KeyUp, 1},  {"down", Kind::Down, 2},
    {"up", Kind::Up, 2},           {"move", Kind::Move, 2},    {"close", Kind::Close, 0},
    {"shot", Kind::Shot, -1},      {"state", Kind::State, -1},
};

bool ParseInteger(const std::string &token, int64_t low, int64_t high, int64_t &out) {
    const char *end = token.data() + token.size();
    auto [stop, error] = std::from_chars(token.data(), end, out);
    return error == std::errc() && stop == end && out >= low && out <= high;
}

std::string Trim(const std::string &text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The numbers of a key or stylus event: a key code, or a position. Positions
// go to lParam as two 16-bit words, so they are kept to that range.
bool ReadNumbers(std::istringstream &words, int count, ScriptEvent &event, std::string &error) {
    constexpr int64_t kLow = std::numeric_limits<int16_t>::min();
    constexpr int64_t kHigh = std::numeric_limits<uint16_t>::max();
    for (int i = 0; i < count; ++i) {
        std::string token;
        int64_t value = 0;
        if (!(words >> token)) return error = "missing number", false;
        if (!ParseInteger(token, kLow, kHigh, value)) return error = "bad number " + token, false;
        (i == 0 ? event.a : event.b) = static_cast<int32_t>(value);
    }
    std::string extra;
    if (words >> extra) return error = "unexpected " + extra, false;
    return true;
}

bool ReadEvent(const std::string &line, ScriptEvent &event, std::string &error) {
    std::istringstream words(line);
    std::string time, kind;
    words >> time >> kind;
    if (!ParseInteger(time, 0, std::numeric_limits<int64_t>::max(), event.t)) {
        return error = "bad time " + time, false;
    }
    for (const KindName &known : kKinds) {
        if (kind != known.name) continue;
        event.kind = known.kind;
        if (known.numbers >= 0) return ReadNumbers(words, known.numbers, event, error);
        std::string rest;
        std::getline(words, rest);
        event.file = Trim(rest);
        if (event.file.empty()) return error = "missing file name", false;
        // The host would cut the name at a NUL and write some other file.
        if (event.file.find('\0') != std::string::npos) {
            return error = "a NUL byte in the file name", false;
        }
        return true;
    }
    return error = kind.empty() ? "missing event" : "unknown event " + kind, false;
}

}  // namespace

std::optional<std::vector<ScriptEvent>> ParseScript(std::istream &in, std::string &error) {
    std::vector<ScriptEvent> events;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        ScriptEvent event;
        std::string problem;
        if (!ReadEvent(line, event, problem)) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        if (!events.empty() && event.t < events.back().t) {
            error = "line " + std::to_string(number) + ": time goes backwards";
            return std::nullopt;
        }
        events.push_back(std::move(event));
    }
    return events;
}

}  // namespace wince::headless
